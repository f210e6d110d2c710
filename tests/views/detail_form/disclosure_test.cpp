// A disclosure shows and hides its content and keeps its chevron as large as
// its text at every text size, following a change of it in place.

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

#include "views/design/disclosure_button.hpp"
#include "views/design/theme.hpp"
#include "views/detail_form/detail_labels.hpp"
#include "views/support/layout_points_of.hpp"

namespace quorvane {
namespace {

struct Disclosed {
    std::unique_ptr<QWidget> page = std::make_unique<QWidget>();
    QWidget* content = new QWidget;
    DisclosureButton* button = nullptr;

    explicit Disclosed(Theme& theme) {
        button = makeDisclosure(theme, QStringLiteral("DDC/CI가 뭔가요?"), QuorvaneFontStyle::body,
                                QFont::Normal, content);
        auto* column = new QVBoxLayout(page.get());
        column->addWidget(button);
        column->addWidget(content);
        page->show();
    }
};

TEST(Disclosure, StartsClosedAndTogglesItsContent) {
    Theme theme(false);
    Disclosed disclosed(theme);
    EXPECT_FALSE(disclosed.content->isVisible());
    disclosed.button->click();
    EXPECT_TRUE(disclosed.content->isVisible());
    const QImage open = disclosed.button->grab().toImage();
    disclosed.button->click();
    EXPECT_FALSE(disclosed.content->isVisible());
    const QImage closed = disclosed.button->grab().toImage();
    EXPECT_NE(open, closed);  // down when open, right when closed
}

TEST(Disclosure, TheChevronGrowsWithTheTextInPlaceAndKeepsItsState) {
    Theme theme(false);
    Disclosed disclosed(theme);
    disclosed.button->click();
    const int before = disclosed.button->chevronSide();
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    EXPECT_GT(disclosed.button->chevronSide(), before);
    EXPECT_GE(disclosed.button->chevronSide(), QFontMetrics(theme.baseFont()).capHeight());
    EXPECT_DOUBLE_EQ(testing::layoutPointsOf(disclosed.button->font()), 20.16);
    EXPECT_TRUE(disclosed.button->isChecked());  // still open
    EXPECT_TRUE(disclosed.content->isVisible());
}

// An open disclosure is a header, not a pressed button: whether open or
// closed, nothing but the chevron, the symbol and the title is drawn over
// the page.
TEST(Disclosure, OpenOrClosedItDrawsNoButtonBox) {
    Theme theme(false);
    theme.setAppearance(QuorvaneAppearance::dark);
    QWidget page;
    page.setPalette(theme.palette());
    page.setAutoFillBackground(true);
    auto* content = new QWidget;
    auto* button =
        makeDisclosure(theme, QStringLiteral("숫자로 미세 조정"), QuorvaneFontStyle::caption,
                       QFont::DemiBold, content, "slider.horizontal.3");
    auto* column = new QVBoxLayout(&page);
    column->addWidget(button);
    column->addWidget(content);
    page.show();
    EXPECT_EQ(button->symbol(), "slider.horizontal.3");
    const QColor background = theme.color(ColorRole::windowBackground);
    for (bool open : {false, true}) {
        button->setChecked(open);
        const QImage image = page.grab(button->geometry()).toImage();
        // The corners and the edges' middles stay the page colour.
        for (const QPoint point :
             {QPoint(0, 0), QPoint(image.width() - 1, 0),
              QPoint(image.width() - 1, image.height() - 1), QPoint(image.width() / 2, 0),
              QPoint(image.width() / 2, image.height() - 1)})
            EXPECT_EQ(image.pixelColor(point), background) << open << " " << point.x();
    }
    EXPECT_TRUE(content->isVisible());
    // The symbol takes room between the chevron and the title.
    DisclosureButton plain(theme, QStringLiteral("숫자로 미세 조정"), QuorvaneFontStyle::caption,
                           QFont::DemiBold);
    EXPECT_GT(button->sizeHint().width(), plain.sizeHint().width());
}

}  // namespace
}  // namespace quorvane
