#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QVBoxLayout>
#include <memory>

#include "presentation/design/control_metrics.hpp"
#include "views/design/application_style.hpp"
#include "views/design/theme.hpp"
#include "views/design/window_control_size.hpp"
#include "views/design/window_theme_follower.hpp"
#include "views/support/layout_points_of.hpp"
#include "views/support/themed_window.hpp"

namespace quorvane {
namespace {

using testing::expectThemed;

struct WindowThemeFollowerTest : ::testing::Test {
    WindowThemeFollowerTest() {
        theme.setAppearance(QuorvaneAppearance::dark);
        theme.setTextSize(QuorvaneTextSize::veryLarge);
        owner.resize(400, 300);
        owner.show();
    }

    Theme theme{false};
    WindowThemeFollower follower{theme};
    QWidget owner;
};

TEST_F(WindowThemeFollowerTest, EveryKindOfWindowTakesTheThemeWhenItOpensAndFollowsItWhileOpen) {
    auto* menu = new QMenu(&owner);
    menu->addAction(QStringLiteral("디스플레이 다시 검색"));
    menu->popup(owner.mapToGlobal(QPoint(10, 10)));
    auto loneMenu = std::make_unique<QMenu>();  // the tray's menu has no parent
    loneMenu->addAction(QStringLiteral("Quorvane 종료"));
    loneMenu->popup(QPoint(40, 40));
    auto* box = new QMessageBox(&owner);
    box->setText(QStringLiteral("모든 화면에 비상 복구를 실행할까요?"));
    box->setWindowModality(Qt::WindowModal);
    box->open();
    auto* sheet = new QDialog(&owner);
    sheet->open();
    QApplication::processEvents();

    const std::vector<const QWidget*> windows{&owner, menu, loneMenu.get(), box, sheet};
    for (const QWidget* window : windows)
        expectThemed(window, theme);
    EXPECT_LT(owner.palette().color(QPalette::Window).lightness(), 100);
    EXPECT_DOUBLE_EQ(testing::layoutPointsOf(box->font()), 20.16);

    // A change while all of them are open reaches each one.
    theme.setAppearance(QuorvaneAppearance::light);
    theme.setTextSize(QuorvaneTextSize::standard);
    for (const QWidget* window : windows)
        expectThemed(window, theme);
    EXPECT_GT(box->palette().color(QPalette::Window).lightness(), 200);
    EXPECT_DOUBLE_EQ(testing::layoutPointsOf(menu->font()), 14);
    EXPECT_EQ(controlSizeOf(sheet), QuorvaneControlSize::regular);
}

// A widget that opens a window of its own when its font changes, as a
// picker's list is polished when its owner takes a new font.
class OpensAWindowOnAFontChange : public QWidget {
  public:
    using QWidget::QWidget;
    std::unique_ptr<QMenu> opened;

  protected:
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::FontChange && !opened) {
            opened = std::make_unique<QMenu>();
            opened->ensurePolished();  // joins the theme now
        }
        QWidget::changeEvent(event);
    }
};

TEST_F(WindowThemeFollowerTest, AWindowThatJoinsWhileTheThemeChangesTakesTheNewTheme) {
    auto* opener = new OpensAWindowOnAFontChange(&owner);
    opener->show();
    // Enough windows that one more makes the theme's list grow.
    std::vector<std::unique_ptr<QMenu>> menus;
    for (int i = 0; i < 31; ++i) {
        menus.push_back(std::make_unique<QMenu>());
        menus.back()->ensurePolished();
    }
    QApplication::processEvents();
    theme.setTextSize(QuorvaneTextSize::standard);
    ASSERT_NE(opener->opened, nullptr);
    expectThemed(opener->opened.get(), theme);
    for (const auto& menu : menus)
        expectThemed(menu.get(), theme);
}

// Menus and dialogs take the theme's font before they first measure
// themselves, so they are placed for their real size: a menu opened at the
// screen's corner in veryLarge lies wholly on the screen, as large as its
// veryLarge entries, and a dialog stands centred over its owner with room
// for its veryLarge text.
TEST_F(WindowThemeFollowerTest, MenusAndDialogsMeasureThemselvesInTheThemesFont) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QFontMetrics veryLarge(theme.baseFont());
    auto* menu = new QMenu(&owner);
    const QString longest = QStringLiteral("디스플레이 다시 검색");
    menu->addAction(QStringLiteral("크게"));
    menu->addAction(longest);
    menu->popup(screen.bottomRight() - QPoint(2, 2));
    QApplication::processEvents();
    EXPECT_GE(menu->width(), veryLarge.horizontalAdvance(longest));
    EXPECT_GE(menu->height(), 2 * veryLarge.height());
    EXPECT_TRUE(screen.contains(menu->geometry()));

    owner.setGeometry(screen.center().x() - 350, screen.center().y() - 250, 700, 500);
    auto* dialog = new QDialog(&owner);
    auto* text = new QLabel(QStringLiteral("비상 복구를 실행할까요?"));
    (new QVBoxLayout(dialog))->addWidget(text);
    dialog->open();
    QApplication::processEvents();
    EXPECT_GE(text->width(), veryLarge.horizontalAdvance(text->text()));
    const QPoint offset = dialog->geometry().center() - owner.geometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << ", " << offset.y();
}

TEST_F(WindowThemeFollowerTest, ChildWidgetsInheritFromTheirWindowAndClosedWindowsAreForgotten) {
    auto* child = new QPushButton(QStringLiteral("저장"), &owner);
    child->show();
    QApplication::processEvents();
    // Only windows get a font of their own; a child keeps inheriting, so a
    // font it sets itself is never overwritten.
    EXPECT_FALSE(child->testAttribute(Qt::WA_SetFont));
    EXPECT_DOUBLE_EQ(testing::layoutPointsOf(child->font()), 20.16);
    EXPECT_EQ(controlSizeOf(child), QuorvaneControlSize::extraLarge);

    auto transient = std::make_unique<QMenu>();
    transient->popup(QPoint(0, 0));
    QApplication::processEvents();
    transient.reset();
    theme.setTextSize(QuorvaneTextSize::large);  // no dangling window is touched
    EXPECT_EQ(controlSizeOf(child), QuorvaneControlSize::large);
}

TEST_F(WindowThemeFollowerTest, AWidgetMeasuredBeforeItIsPlacedIsNoWindowOfItsOwn) {
    auto* card = new QWidget;
    card->ensurePolished();  // measured while it has no parent yet
    auto* column = new QVBoxLayout(&owner);
    column->addWidget(card);
    QApplication::processEvents();
    EXPECT_FALSE(card->testAttribute(Qt::WA_SetFont));
    EXPECT_FALSE(card->testAttribute(Qt::WA_SetPalette));
    EXPECT_FALSE(card->autoFillBackground());
    theme.setAppearance(QuorvaneAppearance::light);
    EXPECT_EQ(card->palette().color(QPalette::Window), owner.palette().color(QPalette::Window));
}

TEST_F(WindowThemeFollowerTest, ASeeThroughWindowKeepsItsTransparency) {
    QWidget icon;
    icon.setAttribute(Qt::WA_TranslucentBackground);
    icon.show();
    QApplication::processEvents();
    EXPECT_FALSE(icon.autoFillBackground());
    EXPECT_TRUE(owner.autoFillBackground());
}

TEST_F(WindowThemeFollowerTest, StandardControlsGrowWithTheControlSizeOfTheirWindow) {
    ApplicationStyle style;
    auto* column = new QVBoxLayout(&owner);
    auto* box = new QCheckBox(QStringLiteral("화면 색감 보정"));
    auto* slider = new QSlider(Qt::Horizontal);
    auto* picker = new QComboBox;
    picker->addItem(QStringLiteral("sRGB"));
    auto* button = new QPushButton(QStringLiteral("닫기"));
    for (QWidget* control : std::initializer_list<QWidget*>{box, slider, picker, button}) {
        control->setStyle(&style);
        control->setFont(QFont(control->font().family(), 9));  // the size must not come from text
        column->addWidget(control);
    }
    const auto measure = [&] {
        QStyleOptionSlider option;
        option.initFrom(slider);
        option.orientation = Qt::Horizontal;
        option.rect = QRect(0, 0, 200, 40);
        option.maximum = 100;
        QStyleOptionButton check;
        check.initFrom(box);
        check.rect = QRect(0, 0, 200, 60);
        return std::array<int, 5>{
            style.subElementRect(QStyle::SE_CheckBoxIndicator, &check, box).height(),
            style.subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider)
                .height(),
            style.subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, slider)
                .height(),
            picker->sizeHint().height(), button->sizeHint().height()};
    };

    theme.setTextSize(QuorvaneTextSize::standard);
    const auto regular = controlMetrics(QuorvaneControlSize::regular);
    auto sizes = measure();
    EXPECT_EQ(sizes[0], regular.indicator);
    EXPECT_EQ(sizes[1], regular.sliderHandle);
    EXPECT_EQ(sizes[2], regular.sliderGroove);
    EXPECT_GE(sizes[3], regular.buttonMinHeight);
    EXPECT_GE(sizes[4], regular.buttonMinHeight);

    // extraLarge and veryLarge share one control size; each control grows
    // in place, cached sizes included.
    theme.setTextSize(QuorvaneTextSize::extraLarge);
    const auto largest = controlMetrics(QuorvaneControlSize::extraLarge);
    sizes = measure();
    EXPECT_EQ(sizes[0], largest.indicator);
    EXPECT_EQ(sizes[1], largest.sliderHandle);
    EXPECT_EQ(sizes[2], largest.sliderGroove);
    EXPECT_GE(sizes[3], largest.buttonMinHeight);
    EXPECT_GE(sizes[4], largest.buttonMinHeight);
    EXPECT_GE(box->sizeHint().height(), largest.indicator);
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    EXPECT_EQ(measure(), sizes);
    for (QWidget* control : std::initializer_list<QWidget*>{box, slider, picker, button})
        control->setStyle(nullptr);
}

}  // namespace
}  // namespace quorvane
