// The header of a panel slider row: its Hangul title, the caption tag and
// the Latin readout stand on one baseline, as seen in the rendered row.

#include <gtest/gtest.h>

#include <QApplication>

#include "views/controls/hardware_write_tag.hpp"
#include "views/design/readout_label.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/panel/panel_slider_row.hpp"
#include "views/support/text_ink_baseline.hpp"

namespace quorvane {
namespace {

TEST(PanelSliderRowBaselineTest, TitleTagAndValueStandOnOneLine) {
    for (auto size : {QuorvaneTextSize::standard, QuorvaneTextSize::veryLarge}) {
        Theme theme(false);
        theme.setTextSize(size);
        PanelSliderRowContent content;
        content.title = "모니터 밝기";
        content.icon = "sun.max";
        content.value = 0.7;
        content.valueText = "70%";
        content.format = PanelValueFormat::percent;
        content.showsHardwareWriteTag = true;
        content.commitsToMonitor = true;
        PanelSliderRow row(theme, content, [](double) {});
        row.resize(460, row.heightForWidth(460));
        row.show();
        QApplication::processEvents();
        const QImage picture = row.grab().toImage();

        auto* title = row.findChild<WrappingLabel*>();
        auto* tag = row.findChild<HardwareWriteTag*>();
        auto* value = row.findChild<ReadoutLabel*>();
        ASSERT_TRUE(title && tag && value);
        using testing::inkBaseline;
        const double titleLine = inkBaseline(&row, picture, title, title->font(), title->text());
        const double valueLine = inkBaseline(&row, picture, value, value->font(), value->text());
        const double tagLine = inkBaseline(
            &row, picture, tag, theme.font(QuorvaneFontStyle::caption2, QFont::DemiBold),
            QStringLiteral("직접 적용"), testing::TextPart::capsuleAfterSymbol);
        EXPECT_NEAR(valueLine, titleLine, 1.0) << static_cast<int>(size);
        EXPECT_NEAR(tagLine, titleLine, 1.0) << static_cast<int>(size);
    }
}

}  // namespace
}  // namespace quorvane
