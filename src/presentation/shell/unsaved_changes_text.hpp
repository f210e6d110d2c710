#pragma once

#include <string>
#include <vector>

#include "platform/interfaces/deferred_save_reporting.hpp"

namespace quorvane {

class DisplayStore;

// What an unwritten save holds, in the words of the windows: the display and
// setting of each part the user's actions set ("DUMMY0의 색상값", "글자
// 크기", "프리셋 Coding"), each said once; "모든 설정" for a reset or an
// import; the record itself ("설정", "복구 기록", "모니터 기능 확인 결과")
// where no part is known. Displays are named as the windows name them, by
// the store's displays; one not connected by its stored key.
std::vector<std::string> unsavedChangeNames(const UnwrittenSave& save, const DisplayStore& store);

// The way out's word on changes it ends without: one line for each reason
// (several records that failed alike are told together), naming everything
// lost for it and then the reason, each ending in a line feed. Empty when
// nothing was lost.
std::string unsavedChangesAtQuit(const std::vector<UnwrittenSave>& unwritten,
                                 const DisplayStore& store);

}  // namespace quorvane
