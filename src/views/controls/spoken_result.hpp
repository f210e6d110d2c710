#pragma once

#include <functional>

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

}  // namespace quorvane
