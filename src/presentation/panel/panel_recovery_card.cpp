#include "presentation/panel/panel_recovery_card.hpp"

namespace quorvane {

std::string panelRecoveryHelpText(const HotKeyCombination& emergencyCombination) {
    return "모든 연결된 화면을 안전한 밝기와 기본 화면 색감으로 되돌립니다. 단축키: " +
           emergencyCombination.displayLabel();
}

}  // namespace quorvane
