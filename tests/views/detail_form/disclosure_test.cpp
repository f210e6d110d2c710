// A disclosure shows and hides its content and keeps its chevron as large as
// its text at every text size, following a change of it in place.

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

#include "views/design/theme.hpp"
#include "views/detail_form/detail_labels.hpp"

namespace quorvane {
namespace {

struct Disclosed {
    std::unique_ptr<QWidget> page = std::make_unique<QWidget>();
    QWidget* content = new QWidget;
    QToolButton* button = nullptr;

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
    const QImage open = disclosed.button->icon().pixmap(disclosed.button->iconSize()).toImage();
    disclosed.button->click();
    EXPECT_FALSE(disclosed.content->isVisible());
    const QImage closed = disclosed.button->icon().pixmap(disclosed.button->iconSize()).toImage();
    EXPECT_NE(open, closed);  // down when open, right when closed
}

TEST(Disclosure, TheChevronGrowsWithTheTextInPlaceAndKeepsItsState) {
    Theme theme(false);
    Disclosed disclosed(theme);
    disclosed.button->click();
    const int before = disclosed.button->iconSize().height();
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    EXPECT_GT(disclosed.button->iconSize().height(), before);
    EXPECT_GE(disclosed.button->iconSize().height(), QFontMetrics(theme.baseFont()).capHeight());
    EXPECT_DOUBLE_EQ(disclosed.button->font().pointSizeF(), 20.16);
    EXPECT_FALSE(disclosed.button->icon().isNull());
    EXPECT_TRUE(disclosed.button->isChecked());  // still open
    EXPECT_TRUE(disclosed.content->isVisible());
}

}  // namespace
}  // namespace quorvane
