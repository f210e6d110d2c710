// Texts drawn in the warm palette's warning, destructive and green colours
// read at 4.5:1 on what they are drawn on, in either scheme, as drawn: the
// labels of warning and destructive chips (pressed too), the hardware-write
// tag, status pills and the tray panel's recovery card. Each stands on the
// wash its look gives it, as drawn: only the text's shade makes it read.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QVBoxLayout>
#include <optional>

#include "views/controls/hardware_write_tag.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/panel/panel_recovery_card.hpp"
#include "views/panel/panel_slider_row.hpp"
#include "views/settings/settings_toggle_row_view.hpp"
#include "views/support/ink_contrast.hpp"

namespace quorvane::testing {
namespace {

constexpr double kLeast = 4.5;

const char* nameOf(QuorvaneAppearance appearance) {
    return appearance == QuorvaneAppearance::light ? "light" : "dark";
}

ColorScheme schemeOf(QuorvaneAppearance appearance) {
    return appearance == QuorvaneAppearance::light ? ColorScheme::light : ColorScheme::dark;
}

// A wash of `role`, `light` or `dark` opaque by the scheme, over `under`.
QColor washed(ColorRole role, double light, double dark, QuorvaneAppearance appearance,
              const QColor& under) {
    const ColorScheme scheme = schemeOf(appearance);
    const Rgb8 below{static_cast<std::uint8_t>(under.red()),
                     static_cast<std::uint8_t>(under.green()),
                     static_cast<std::uint8_t>(under.blue())};
    return toQColor(laidOver({role, bySchemePair(scheme, light, dark)}, scheme, below));
}

// The inside of a capsule or tag in `root`'s picture: clear of its border
// and rounded ends, so its ground is the fill.
QRect insideOf(const QWidget* root, const QWidget* widget, int ends) {
    return boxIn(root, widget).adjusted(ends, 3, -ends, -3);
}

// A window laid out as the windows lay these out: some on a card, some on
// the window's own ground.
class StatusInkContrastTest : public ::testing::Test {
  protected:
    void SetUp() override {
        theme.setTextSize(QuorvaneTextSize::standard);
        theme.applyToWindow(&window);
        card = new SurfacePanel(theme, SurfacePanel::Kind::soft, 16, 12, &window);
        (new QVBoxLayout(card))->setContentsMargins(0, 0, 0, 0);
        auto* column = new QVBoxLayout(&window);
        column->addWidget(card);
    }

    template <class W>
    W* onCard(W* widget) {
        card->layout()->addWidget(widget);
        return widget;
    }

    template <class W>
    W* onWindow(W* widget) {
        window.layout()->addWidget(widget);
        return widget;
    }

    // What `widget` stands on: the card's fill or the window's ground.
    QColor underneath(const QWidget* widget, QuorvaneAppearance appearance) const {
        const ColorScheme scheme = schemeOf(appearance);
        const Rgb8 window = colorValue(ColorRole::windowBackground, scheme);
        if (widget->parentWidget() != card)
            return toQColor(window);
        return toQColor(laidOver({ColorRole::surface, 0.98}, scheme, window));
    }

    QImage seen(QuorvaneAppearance appearance) {
        theme.setAppearance(appearance);
        window.resize(420, window.sizeHint().height());
        window.show();
        QCoreApplication::processEvents();
        return window.grab().toImage();
    }

    Theme theme{false};
    QWidget window;
    SurfacePanel* card = nullptr;
};

TEST_F(StatusInkContrastTest, WarningAndDestructiveChipLabelsReadOnCardsAndWindowEvenPressed) {
    std::vector<ChipButton*> chips;
    for (const bool inCard : {true, false}) {
        const auto place = [this, &chips, inCard](ChipButton* chip) {
            chips.push_back(inCard ? onCard(chip) : onWindow(chip));
            return chip;
        };
        place(new ChipButton(theme, QStringLiteral("전체 복구"), QuorvaneChipProminence::warning));
        place(new ChipButton(theme, QStringLiteral("저장값 삭제"),
                             QuorvaneChipProminence::destructive));
        place(new ChipButton(theme, QStringLiteral("모든 설정 초기화"),
                             QuorvaneChipProminence::neutral))
            ->setRole(ButtonRole::destructive);
    }
    for (const auto appearance : {QuorvaneAppearance::light, QuorvaneAppearance::dark}) {
        for (const bool pressed : {false, true}) {
            for (auto* chip : chips)
                chip->setDown(pressed);
            const QImage picture = seen(appearance);
            for (auto* chip : chips) {
                EXPECT_GE(inkContrast(picture, insideOf(&window, chip, chip->height() / 2)), kLeast)
                    << nameOf(appearance) << (pressed ? " pressed " : " ")
                    << chip->text().toStdString()
                    << (chip->parentWidget() == card ? " on a card" : " on the window");
            }
        }
    }
}

// The tag reads on a card, on the window and in the panel's monitor slider
// row (a track tile on the panel's ground), on its own 9 % (light) or 14 %
// (dark) wash.
TEST_F(StatusInkContrastTest, TheHardwareWriteTagReadsOnCardsWindowAndThePanelsRows) {
    std::vector<HardwareWriteTag*> tags = {onCard(new HardwareWriteTag(theme, true)),
                                           onCard(new HardwareWriteTag(theme, false)),
                                           onWindow(new HardwareWriteTag(theme, true))};
    PanelSliderRowContent monitor;
    monitor.title = "모니터 밝기";
    monitor.icon = "sun.max";
    monitor.valueText = "50%";
    monitor.value = 0.5;
    monitor.showsHardwareWriteTag = true;
    auto* row = onWindow(new PanelSliderRow(theme, monitor, [](double) {}));
    tags.push_back(row->findChild<HardwareWriteTag*>());
    ASSERT_NE(tags.back(), nullptr);
    for (const auto appearance : {QuorvaneAppearance::light, QuorvaneAppearance::dark}) {
        const QImage picture = seen(appearance);
        for (auto* tag : tags) {
            const char* where = tag->parentWidget() == card      ? " on a card"
                                : tag->parentWidget() == &window ? " on the window"
                                                                 : " in a panel row";
            const QRect inside = insideOf(&window, tag, 2);
            EXPECT_GE(inkContrast(picture, inside), kLeast) << nameOf(appearance) << where;
            ASSERT_TRUE(tag->isVisible());
            QColor under = underneath(tag, appearance);
            if (tag->parentWidget() == row)
                under = washed(ColorRole::track, 0.55, 0.55, appearance, under);
            EXPECT_LE(channelDistance(groundOf(picture, inside),
                                      washed(ColorRole::warning, 0.09, 0.14, appearance, under)),
                      1)
                << nameOf(appearance) << where;
        }
    }
}

// The panel's recovery card sits on the panel's ground in a warning wash: its
// secondary detail and its warning chip both read on it.
TEST_F(StatusInkContrastTest, ThePanelRecoveryCardsDetailAndChipReadOnItsWash) {
    auto* recovery = onWindow(new PanelRecoveryCard(theme));
    for (const auto appearance : {QuorvaneAppearance::light, QuorvaneAppearance::dark}) {
        for (const bool pressed : {false, true}) {
            auto* chip = recovery->findChild<ChipButton*>();
            ASSERT_NE(chip, nullptr);
            chip->setDown(pressed);
            const QImage picture = seen(appearance);
            const QColor wash = washed(ColorRole::warning, 0.09, 0.14, appearance,
                                       underneath(recovery, appearance));
            EXPECT_LE(channelDistance(groundOf(picture, insideOf(&window, recovery, 12)), wash), 1)
                << nameOf(appearance);
            EXPECT_GE(inkContrast(picture, insideOf(&window, chip, chip->height() / 2)), kLeast)
                << nameOf(appearance) << (pressed ? " pressed" : "");
            for (auto* label : recovery->findChildren<WrappingLabel*>())
                EXPECT_GE(inkContrast(picture, boxIn(&window, label)), kLeast)
                    << nameOf(appearance) << " " << label->text().toStdString();
        }
    }
}

// A switch's status pill on a settings card is its tint at 11 % in either
// scheme; its text, in the tint or its shade, reads on it.
TEST_F(StatusInkContrastTest, StatusPillsOfEveryTintReadOnTheirElevenPercentWash) {
    const std::pair<std::optional<ColorRole>, const char*> tints[] = {
        {ColorRole::green, "켜짐"},
        {ColorRole::mutedInk, "꺼짐"},
        {ColorRole::warning, "주의"},
        {ColorRole::accent, "사용 중"},
        {std::nullopt, "기본값"}};
    std::vector<std::pair<SettingsToggleRowView*, ColorRole>> rows;
    for (const auto& [tint, status] : tints) {
        auto* row = onCard(new SettingsToggleRowView(theme));
        row->show({"설정", "설명", true, std::string(status), tint});
        rows.emplace_back(row, tint.value_or(ColorRole::secondary));
    }
    for (const auto appearance : {QuorvaneAppearance::light, QuorvaneAppearance::dark}) {
        const QImage picture = seen(appearance);
        const QColor cardFill = underneath(rows.front().first, appearance);
        for (const auto& [row, tint] : rows) {
            StatusPill* pill = row->statusPill();
            ASSERT_NE(pill, nullptr);
            const QRect inside = insideOf(&window, pill, pill->height() / 2);
            EXPECT_GE(inkContrast(picture, inside), kLeast)
                << nameOf(appearance) << " " << pill->text().toStdString();
            EXPECT_LE(channelDistance(groundOf(picture, inside),
                                      washed(tint, 0.11, 0.11, appearance, cardFill)),
                      1)
                << nameOf(appearance) << " " << pill->text().toStdString();
        }
    }
}

}  // namespace
}  // namespace quorvane::testing
