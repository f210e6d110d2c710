// The shared surfaces and standard controls as a user sees them: panel
// shadows that spread past the panel (and never leave a stale copy behind),
// check boxes in the accent tint, text fields as tall as their buttons with
// a placeholder dimmer than text.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "views/design/application_style.hpp"
#include "views/design/focus_ring.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/surface_shadow.hpp"
#include "views/design/text_field.hpp"
#include "views/design/theme.hpp"
#include "views/support/live_accessibility.hpp"

namespace quorvane {
namespace {

int lightness(const QColor& color) {
    return color.red() + color.green() + color.blue();
}

// A page of the window colour holding one soft panel in a container that
// hugs it, so a shadow beyond the panel is beyond the container too.
struct ShadowPage {
    QWidget page;
    QWidget* container = new QWidget;
    SurfacePanel* panel;

    explicit ShadowPage(Theme& theme) : panel(new SurfacePanel(theme, SurfaceKind::soft, 16, 16)) {
        page.setPalette(theme.palette());
        page.setAutoFillBackground(true);
        auto* inner = new QVBoxLayout(container);
        inner->setContentsMargins(0, 0, 0, 0);
        inner->addWidget(panel);
        panel->setFixedSize(200, 120);
        auto* outer = new QVBoxLayout(&page);
        outer->setContentsMargins(40, 40, 40, 40);
        outer->addWidget(container);
        page.resize(280, 240);
        page.show();
    }

    QColor at(int x, int y) { return page.grab().toImage().pixelColor(x, y); }
    QPoint panelTopLeft() const { return panel->mapTo(&page, QPoint(0, 0)); }
};

TEST(SurfaceShadowTest, ALightPanelCastsASoftShadowPastItsContainerThatFadesOut) {
    Theme theme(false);
    theme.setAppearance(QuorvaneAppearance::light);
    ShadowPage shadow(theme);
    const QPoint origin = shadow.panelTopLeft();
    const QColor background = theme.color(ColorRole::windowBackground);
    const int middle = origin.x() + 100;
    const int bottom = origin.y() + 120;
    // Just below the panel (outside its container) the page is darker ...
    EXPECT_LT(lightness(shadow.at(middle, bottom + 3)), lightness(background));
    // ... more so than above it, as the shadow falls 5 points down ...
    EXPECT_LT(lightness(shadow.at(middle, bottom + 3)),
              lightness(shadow.at(middle, origin.y() - 4)));
    // ... and untouched beyond its reach.
    EXPECT_EQ(shadow.at(middle, bottom + 5 + 19), background);
    EXPECT_EQ(shadow.at(origin.x() - 19, origin.y() + 60), background);
}

TEST(SurfaceShadowTest, MovingAPanelLeavesNoShadowBehind) {
    Theme theme(false);
    theme.setAppearance(QuorvaneAppearance::light);
    ShadowPage shadow(theme);
    const QPoint before = shadow.panelTopLeft();
    const QColor background = theme.color(ColorRole::windowBackground);
    // The container moves, not the panel inside it.
    shadow.page.layout()->setContentsMargins(40, 10, 40, 70);
    shadow.page.layout()->activate();
    ASSERT_NE(shadow.panelTopLeft(), before);
    EXPECT_EQ(shadow.at(before.x() + 100, before.y() + 120 + 3), background);
}

TEST(SurfaceShadowTest, DarkPanelsKeepAnAlmostInvisibleShadow) {
    Theme theme(false);
    theme.setAppearance(QuorvaneAppearance::dark);
    ShadowPage shadow(theme);
    const QPoint origin = shadow.panelTopLeft();
    const QColor background = theme.color(ColorRole::windowBackground);
    const QColor below = shadow.at(origin.x() + 100, origin.y() + 120 + 1);
    EXPECT_LE(lightness(background) - lightness(below), 3 * 12);
    EXPECT_EQ(shadow.at(origin.x() + 100, origin.y() + 120 + 8), background);
}

TEST(SurfaceShadowTest, APanelInAPanelCastsItsShadowOnTheOuterSurface) {
    Theme theme(false);
    theme.setAppearance(QuorvaneAppearance::light);
    SurfacePanel outer(theme, SurfaceKind::hero, 30, 16);
    auto* inner = new SurfacePanel(theme, SurfaceKind::soft, 12, 16);
    inner->setFixedSize(160, 80);
    auto* column = new QVBoxLayout(&outer);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(inner);
    outer.show();
    EXPECT_EQ(SurfaceShadowLayer::hostFor(inner), &outer);
    const QPoint origin = inner->mapTo(&outer, QPoint(0, 0));
    const QImage image = outer.grab().toImage();
    const QColor surface = image.pixelColor(origin.x() + 80, origin.y() + 80 + 24);
    const QColor shaded = image.pixelColor(origin.x() + 80, origin.y() + 80 + 3);
    EXPECT_LT(lightness(shaded), lightness(surface));
}

TEST(SurfaceShadowTest, TheBlurFadesFromTheShapeOutwardAndKeepsItsOpacity) {
    const QImage image = blurredShape(QSize(60, 40), 8, 6, 18, 0.08);
    ASSERT_EQ(image.size(), QSize(96, 76));
    const auto alpha = [&image](int x, int y) { return qAlpha(image.pixel(x, y)); };
    EXPECT_EQ(alpha(48, 38), qRound(255 * 0.08));  // the middle: full shadow
    EXPECT_GT(alpha(48, 18), alpha(48, 10));       // fading outward
    EXPECT_GT(alpha(48, 10), alpha(48, 4));
    EXPECT_EQ(alpha(48, 0), 0);  // nothing at the reach
}

QRect indicatorRect(const QCheckBox& box) {
    QStyleOptionButton option;
    option.initFrom(&box);
    return box.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &box);
}

TEST(IndicatorTest, CheckBoxesTakeTheAccentWhenOnAndTheFieldColourWhenOff) {
    Theme theme(false);
    theme.setAppearance(QuorvaneAppearance::dark);
    ApplicationStyle style;
    QWidget page;
    page.setPalette(theme.palette());
    auto* on = new QCheckBox(QStringLiteral("화면 색감 보정"));
    auto* off = new QCheckBox(QStringLiteral("화면 색감 보정"));
    on->setStyle(&style);
    off->setStyle(&style);
    on->setChecked(true);
    auto* column = new QVBoxLayout(&page);
    column->addWidget(on);
    column->addWidget(off);
    page.show();
    for (QCheckBox* box : {on, off}) {
        const QRect indicator = indicatorRect(*box);
        const QImage image = box->grab().toImage();
        // Left of the tick, inside the box.
        const QColor fill =
            image.pixelColor(indicator.left() + indicator.width() / 8, indicator.center().y());
        if (box == on)
            EXPECT_EQ(fill, theme.color(ColorRole::accent));
        else
            EXPECT_EQ(fill, theme.color(ColorRole::surface));  // not a white box in dark
    }
}

TEST(TextFieldTest, AFieldIsAsTallAsTheButtonBesideItAtEveryTextSize) {
    Theme theme(false);
    ApplicationStyle style;
    for (auto size : {QuorvaneTextSize::standard, QuorvaneTextSize::veryLarge}) {
        theme.setTextSize(size);
        TextField field(theme);
        QPushButton button(QStringLiteral("저장"));
        field.setStyle(&style);
        button.setStyle(&style);
        field.setFont(theme.baseFont());
        button.setFont(theme.baseFont());
        EXPECT_EQ(field.sizeHint().height(), button.sizeHint().height());
        EXPECT_TRUE(field.alignment() & Qt::AlignVCenter);
    }
}

// What assistive technology is told of one widget, in order.
class ToldOf {
  public:
    explicit ToldOf(QObject* object) {
        object_ = object;
        told_.clear();
        previous_ = QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
            if (event->object() == object_)
                told_.push_back(event->type());
        });
    }
    ~ToldOf() { QAccessible::installUpdateHandler(previous_); }
    ToldOf(const ToldOf&) = delete;
    ToldOf& operator=(const ToldOf&) = delete;
    const std::vector<QAccessible::Event>& events() const { return told_; }

  private:
    static inline QObject* object_ = nullptr;
    static inline std::vector<QAccessible::Event> told_;
    QAccessible::UpdateHandler previous_ = nullptr;
};

// Tabbed into, a field is told focused before its selection and caret
// move: a screen reader that hears the caret first takes the field for
// focused already and never speaks it.
TEST(TextFieldTest, TabbedIntoAFieldIsToldFocusedBeforeItsCaretMoves) {
    quorvane::testing::LiveAccessibility live;
    Theme theme(false);
    QWidget window;
    auto* column = new QVBoxLayout(&window);
    auto* before = new QPushButton(QStringLiteral("앞"));
    auto* field = new TextField(theme);
    field->setText(QStringLiteral("왼쪽 모니터"));
    column->addWidget(before);
    column->addWidget(field);
    window.show();
    window.activateWindow();
    before->setFocus();
    QCoreApplication::processEvents();
    ToldOf told(field);
    QTest::keyClick(before, Qt::Key_Tab);
    QCoreApplication::processEvents();
    ASSERT_TRUE(field->hasFocus());
    // Told once (a second word of the focus makes a screen reader skip the
    // first as a repeat), and first; the text is still selected for typing
    // over it.
    const auto& events = told.events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), QAccessible::Focus);
    EXPECT_EQ(std::count(events.begin(), events.end(), QAccessible::Focus), 1);
    EXPECT_EQ(field->selectedText(), field->text());
}

// The rows of `widget`'s picture inside `area` that hold ink of `ink`'s
// colour: the first and one past the last.
std::pair<int, int> inkRows(QWidget& widget, const QRect& area, const QColor& ink) {
    const QImage picture = widget.grab().toImage();
    const double ratio = picture.devicePixelRatio();
    int first = -1;
    int last = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = picture.pixelColor(QPoint(x, y) * ratio);
            if (std::abs(lightness(pixel) - lightness(ink)) < 120) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
        }
    }
    return {first, last + 1};
}

// Korean text is laid out in its fallback font's taller line; typed into a
// field it must still sit on the field's middle, level with the same words
// on the button beside it, at every text size and with Latin text too.
TEST(TextFieldTest, TypedTextSitsOnTheMiddleLevelWithTheButtonBesideIt) {
    Theme theme(false);
    theme.setAppearance(QuorvaneAppearance::light);
    for (auto size : {QuorvaneTextSize::standard, QuorvaneTextSize::veryLarge}) {
        for (const QString& text : {QStringLiteral("왼쪽 모니터"), QStringLiteral("Studio")}) {
            SCOPED_TRACE(text.toStdString() +
                         (size == QuorvaneTextSize::standard ? " standard" : " veryLarge"));
            theme.setTextSize(size);
            QWidget window;
            theme.applyToWindow(&window);
            auto* row = new QHBoxLayout(&window);
            auto* field = new TextField(theme);
            auto* button = new QPushButton(text);
            field->setText(text);
            field->setCursorPosition(0);
            row->addWidget(field);
            row->addWidget(button);
            window.show();
            QCoreApplication::processEvents();
            // A Latin label makes a lower button than the field's Korean
            // line allows for; side by side, they share the row's height.
            button->setFixedHeight(field->height());
            QCoreApplication::processEvents();
            const QColor ink = theme.color(ColorRole::primary);
            const QRect inside = field->rect().adjusted(6, 3, -6, -3);
            const auto [fieldTop, fieldBottom] = inkRows(*field, inside, ink);
            const auto [buttonTop, buttonBottom] =
                inkRows(*button, button->rect().adjusted(6, 3, -6, -3), ink);
            ASSERT_GE(fieldTop, 0);
            ASSERT_GE(buttonTop, 0);
            // Centres in half pixels: within a pixel of the button's and of
            // the field's own middle.
            EXPECT_NEAR(fieldTop + fieldBottom, buttonTop + buttonBottom, 2);
            EXPECT_NEAR(fieldTop + fieldBottom, field->height(), 3);
        }
    }
}

TEST(TextFieldTest, ThePlaceholderIsDimmerThanSecondaryTextInDarkAndFollowsTheScheme) {
    Theme theme(false);
    theme.setAppearance(QuorvaneAppearance::dark);
    QWidget window;
    theme.applyToWindow(&window);
    auto* field = new TextField(theme, &window);
    const auto contrast = [&theme](const QColor& color) {
        // Against the field's own fill, composited.
        const QColor base = theme.color(ColorRole::surface);
        const double a = color.alphaF();
        return std::abs((color.red() * a + base.red() * (1 - a)) - base.red()) +
               std::abs((color.green() * a + base.green() * (1 - a)) - base.green()) +
               std::abs((color.blue() * a + base.blue() * (1 - a)) - base.blue());
    };
    const QColor placeholder = field->palette().color(QPalette::PlaceholderText);
    EXPECT_LT(contrast(placeholder), contrast(theme.color(ColorRole::secondary)) * 0.75);
    theme.setAppearance(QuorvaneAppearance::light);
    EXPECT_EQ(field->palette().color(QPalette::PlaceholderText), theme.color(kPlaceholderText));
    // Other colours still come from the window.
    EXPECT_EQ(field->palette().color(QPalette::Text), theme.color(ColorRole::primary));
}

// The widget a ring surrounds may go (a row rebuilt) before the ring's own
// deletion runs, while the widgets between them still settle.
TEST(FocusRingTest, ARingWhoseWidgetWentIgnoresTheWidgetsAroundItAndGoes) {
    QWidget window;
    window.resize(300, 200);
    auto* section = new QWidget(&window);
    section->setGeometry(10, 10, 200, 100);
    auto* card = new QWidget(section);
    card->setGeometry(10, 10, 50, 30);
    window.show();
    const QPointer<FocusRing> ring = new FocusRing(card);
    delete card;
    section->resize(220, 120);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(ring);
}

}  // namespace
}  // namespace quorvane
