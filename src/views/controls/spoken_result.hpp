#pragma once

#include <cstdint>
#include <functional>

class QString;
class QWidget;

namespace quorvane {

class DisplayStore;

// Runs the user's own action, one that answers with a status ("프리셋
// 적용됨: 아침", "진단 리포트 복사 완료"), and has a screen reader hear the
// status as shown, once, from the window of `near` (speakNotice()); the same
// words as last time too, since they answer this press. An action that
// leaves the store as it was says nothing.
//
// Usage, in a button's click handler:
//   speakResultOf(apply, store, [&] { PresetsSection::apply(store, preset, id); });
void speakResultOf(QWidget* near, DisplayStore& store, const std::function<void()>& action);

// Has a screen reader hear `text`, the result of an action the user took
// in a dialog over `window` (a file dialog, an import sheet), once `window`
// is the active window again: the dialog has closed and the focus is back,
// so the words come with the window's control as it is read afresh
// (carryWithFocus()), rather than being dropped with the dialog or in the
// flood of events it leaves. Said once, from `window`; a newer result
// replaces one not yet said, and none waits past the window being hidden.
// Said at once, in a notice, while `window` is active already.
//
// Usage, in a file dialog's answer:
//   speakWhenBackIn(window, toQString(store.statusMessage()));
void speakWhenBackIn(QWidget* window, const QString& text);

// Runs such an action and has its status heard as speakWhenBackIn() does;
// an action that leaves the store as it was says nothing.
void speakResultWhenBackIn(QWidget* window, DisplayStore& store,
                           const std::function<void()>& action);

// Has a screen reader hear the result of the emergency-recovery hot key
// ("비상 복구 완료: 화면 색감 2개, 밝기 조절 경로 없음"), pressed from
// wherever the user is, in the application's active window (speakNotice());
// while none is active, nothing is said. Lives no longer than the store.
class SpokenHotKeyResults {
  public:
    explicit SpokenHotKeyResults(DisplayStore& store);
    ~SpokenHotKeyResults();
    SpokenHotKeyResults(const SpokenHotKeyResults&) = delete;
    SpokenHotKeyResults& operator=(const SpokenHotKeyResults&) = delete;

  private:
    DisplayStore& store_;
    std::uint64_t observer_;
};

}  // namespace quorvane
