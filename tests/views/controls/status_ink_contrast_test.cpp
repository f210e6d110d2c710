// Texts drawn in the warm palette's warning, destructive and green colours
// read at 4.5:1 on what they are drawn on, in either scheme, as drawn: the
// labels of warning and destructive chips (pressed too), the hardware-write
// tag and the tray panel's recovery card.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QVBoxLayout>

#include "views/controls/hardware_write_tag.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/panel/panel_recovery_card.hpp"
#include "views/support/ink_contrast.hpp"

namespace quorvane::testing {
namespace {

constexpr double kLeast = 4.5;

const char* nameOf(QuorvaneAppearance appearance) {
    return appearance == QuorvaneAppearance::light ? "light" : "dark";
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

TEST_F(StatusInkContrastTest, TheHardwareWriteTagReadsOnCardsAndWindow) {
    const std::vector<HardwareWriteTag*> tags = {onCard(new HardwareWriteTag(theme, true)),
                                                 onCard(new HardwareWriteTag(theme, false)),
                                                 onWindow(new HardwareWriteTag(theme, true))};
    for (const auto appearance : {QuorvaneAppearance::light, QuorvaneAppearance::dark}) {
        const QImage picture = seen(appearance);
        for (auto* tag : tags) {
            EXPECT_GE(inkContrast(picture, insideOf(&window, tag, 2)), kLeast)
                << nameOf(appearance) << (tag->parentWidget() == card ? " on a card" : " window");
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
            EXPECT_GE(inkContrast(picture, insideOf(&window, chip, chip->height() / 2)), kLeast)
                << nameOf(appearance) << (pressed ? " pressed" : "");
            for (auto* label : recovery->findChildren<WrappingLabel*>())
                EXPECT_GE(inkContrast(picture, boxIn(&window, label)), kLeast)
                    << nameOf(appearance) << " " << label->text().toStdString();
        }
    }
}

}  // namespace
}  // namespace quorvane::testing
