#pragma once

#include <QAccessible>

namespace quorvane {

// While it lives, nothing done to the widgets is told to assistive
// technology. For filling a page no one has heard yet: its fields' texts
// set before it shows would reach a screen reader as text typed and a
// caret moved, and the reader, finding the field focused by the time it
// reads them, takes the field for the focus already and says only its
// text ("Left") instead of the field ("모니터 별칭 text. Left"). What the
// page holds is read when the focus reaches it.
//
// Qt offers one hook for this, the application-wide update handler; the
// one in place before (none, or a test's) is put back on leaving.
//
// Usage:
//   {
//       const UnheardFilling unheard;
//       page->refresh(display);
//   }
class UnheardFilling {
  public:
    UnheardFilling();
    ~UnheardFilling();
    UnheardFilling(const UnheardFilling&) = delete;
    UnheardFilling& operator=(const UnheardFilling&) = delete;

  private:
    QAccessible::UpdateHandler previous_;
};

}  // namespace quorvane
