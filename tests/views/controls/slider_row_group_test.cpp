// The slider rows of one card share the label column their titles need: a
// monitor row's tag stands beside its title on one baseline, titles stay on
// one line while the card has room, and sliders start at one x.

#include <gtest/gtest.h>

#include <QApplication>
#include <QVBoxLayout>
#include <memory>
#include <vector>

#include "views/controls/hardware_write_tag.hpp"
#include "views/controls/native_slider_row.hpp"
#include "views/controls/slider_row_group.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/support/text_ink_baseline.hpp"

namespace quorvane {
namespace {

// A card of monitor rows laid out `width` wide.
struct MonitorCard {
    explicit MonitorCard(Theme& theme) {
        auto* column = new QVBoxLayout(&card);
        column->setContentsMargins(0, 0, 0, 0);
        auto* group = new SliderRowGroup(&card);
        for (const char* title : {"모니터 밝기", "모니터 자체 RGB · 빨강", "모니터 볼륨"}) {
            auto* row = new NativeDDCSliderRow(theme, title, std::nullopt, 0.5, "50%", 0.0, 1.0,
                                               [](double) {});
            row->joinColumn(group);
            column->addWidget(row);
            rows.push_back(row);
        }
    }
    void layOut(int width) {
        card.resize(width, card.layout()->heightForWidth(width));
        card.show();
        QApplication::processEvents();
        card.resize(width, card.layout()->heightForWidth(width));
        QApplication::processEvents();
    }

    QWidget card;
    std::vector<NativeSliderRow*> rows;
};

TEST(SliderRowGroupTest, TagsStandBesideTheirTitlesOnOneBaselineAndSlidersLineUp) {
    Theme theme(false);
    MonitorCard monitor(theme);
    monitor.layOut(535);
    const QImage picture = monitor.card.grab().toImage();
    const QFontMetrics metrics(theme.baseFont());
    const int sliderLeft = testing::boxIn(&monitor.card, monitor.rows.front()->slider()).left();
    for (auto* row : monitor.rows) {
        auto* title = row->findChild<WrappingLabel*>();
        auto* tag = row->findChild<HardwareWriteTag*>();
        ASSERT_TRUE(title && tag);
        const QRect titleInk = testing::inkBounds(picture, testing::boxIn(&monitor.card, title));
        // One line: the title does not wrap while the card has room.
        EXPECT_LT(titleInk.height(), metrics.lineSpacing()) << title->text().toStdString();
        // The tag's text follows the title's on the same line.
        const double titleLine =
            testing::inkBaseline(&monitor.card, picture, title, title->font(), title->text());
        const double tagLine = testing::inkBaseline(
            &monitor.card, picture, tag, theme.font(QuorvaneFontStyle::caption2, QFont::DemiBold),
            QStringLiteral("직접 적용"), testing::TextPart::capsuleAfterSymbol);
        EXPECT_NEAR(tagLine, titleLine, 1.0) << title->text().toStdString();
        const QRect tagBox = testing::boxIn(&monitor.card, tag);
        EXPECT_GT(tagBox.left(), titleInk.right()) << title->text().toStdString();
        EXPECT_LE(tagBox.left() - titleInk.right(), 10) << title->text().toStdString();
        EXPECT_EQ(testing::boxIn(&monitor.card, row->slider()).left(), sliderLeft);
    }
}

// At the largest text size a full-width card of the colour page keeps its
// sliders wider than their least width: the labels give way first.
TEST(SliderRowGroupTest, AtTheLargestSizeSlidersKeepTheirComfortableWidth) {
    Theme theme(false);
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    QWidget card;
    auto* column = new QVBoxLayout(&card);
    column->setContentsMargins(0, 0, 0, 0);
    auto* group = new SliderRowGroup(&card);
    std::vector<NativeSliderRow*> rows;
    for (const auto& [title, subtitle] : std::vector<std::pair<std::string, std::string>>{
             {"색온도", "낮은 K는 따뜻하게, 높은 K는 차갑게"},
             {"어두운 영역", "그림자와 깊이감을 대비로 근사 조정"}}) {
        auto* row = new NativeSliderRow(theme, {title, subtitle, 0.2, 2.0, 0.05}, 1.0, "1.00",
                                        [](double) {});
        row->joinColumn(group);
        column->addWidget(row);
        rows.push_back(row);
    }
    card.resize(435, column->heightForWidth(435));
    card.show();
    QApplication::processEvents();
    const QImage picture = card.grab().toImage();
    for (auto* row : rows) {
        // The drawn groove, not the slider's box.
        const QRect groove = testing::inkBounds(picture, testing::boxIn(&card, row->slider()));
        EXPECT_GE(groove.width(), 110);
        EXPECT_LT(testing::boxIn(&card, row->label()).right(),
                  testing::boxIn(&card, row->slider()).left());
    }
}

}  // namespace
}  // namespace quorvane
