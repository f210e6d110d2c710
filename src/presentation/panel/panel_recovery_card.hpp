#pragma once

#include <string>

#include "models/hot_keys/hot_key_combination.hpp"

namespace quorvane {

// The tooltip of the panel's "전체 복구" button, naming the emergency hot key
// as the desktop writes it ("Super+Shift+L").
std::string panelRecoveryHelpText(const HotKeyCombination& emergencyCombination);

}  // namespace quorvane
