#pragma once

#include <QAccessible>
#include <QString>

class QObject;

namespace quorvane {

// The words a control shows for its state (a picker's chosen name, a sidebar
// row's "선택됨"), read by assistive technology as the control's own text:
// read-only, and selected as a whole, as a chosen entry is. A screen reader
// reads it with the control when the focus lands there, and reads the new
// words when they replace the old ones under the focus (announceShownText()).
// An accessible interface offers it through interface_cast().
class ShownStateText : public QAccessibleTextInterface {
  public:
    // The words shown now, as spoken.
    virtual QString shownText() const = 0;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;
};

// Tells assistive technology that `control`'s shown words changed from
// `before` to `after` (both as spoken): the new words come in first, then
// the old ones after them go, so a screen reader speaks the new words alone
// (they are the selected text) and the text reads `after` at every step.
// Nothing is told when the words are the same.
void announceShownText(QObject* control, const QString& before, const QString& after);

}  // namespace quorvane
