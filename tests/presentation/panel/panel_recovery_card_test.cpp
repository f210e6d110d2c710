#include "presentation/panel/panel_recovery_card.hpp"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(PanelRecoveryCard, TheTooltipNamesTheCurrentEmergencyKey) {
    EXPECT_EQ(panelRecoveryHelpText(HotKeyCombination::defaultEmergencyRecovery()),
              "모든 연결된 화면을 안전한 밝기와 기본 화면 색감으로 되돌립니다. 단축키: "
              "Super+Shift+L");
    const HotKeyCombination changed(15, "R", {HotKeyModifier::shift, HotKeyModifier::control});
    EXPECT_EQ(panelRecoveryHelpText(changed),
              "모든 연결된 화면을 안전한 밝기와 기본 화면 색감으로 되돌립니다. 단축키: "
              "Ctrl+Shift+R");
}

}  // namespace
}  // namespace quorvane
