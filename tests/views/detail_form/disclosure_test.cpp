// A disclosure shows and hides its content and keeps its chevron as large as
// its text at every text size.

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

    Disclosed(Theme& theme, const QFont& font) {
        button = makeDisclosure(theme, QStringLiteral("DDC/CI가 뭔가요?"), font, content);
        auto* column = new QVBoxLayout(page.get());
        column->addWidget(button);
        column->addWidget(content);
        page->show();
    }
};

TEST(Disclosure, StartsClosedAndTogglesItsContent) {
    Theme theme(false);
    Disclosed disclosed(theme, theme.baseFont());
    EXPECT_FALSE(disclosed.content->isVisible());
    disclosed.button->click();
    EXPECT_TRUE(disclosed.content->isVisible());
    const QImage open = disclosed.button->icon().pixmap(disclosed.button->iconSize()).toImage();
    disclosed.button->click();
    EXPECT_FALSE(disclosed.content->isVisible());
    const QImage closed = disclosed.button->icon().pixmap(disclosed.button->iconSize()).toImage();
    EXPECT_NE(open, closed);  // down when open, right when closed
}

TEST(Disclosure, TheChevronGrowsWithTheText) {
    Theme theme(false);
    Disclosed standard(theme, theme.baseFont());
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    Disclosed large(theme, theme.baseFont());
    EXPECT_GT(large.button->iconSize().height(), standard.button->iconSize().height());
    EXPECT_GE(large.button->iconSize().height(), QFontMetrics(theme.baseFont()).capHeight());
    EXPECT_FALSE(large.button->icon().isNull());
}

}  // namespace
}  // namespace quorvane
