#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <cstdlib>
#include <vector>

#include "views/design/fit_to_width.hpp"
#include "views/design/shrinking_label.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {
namespace {

struct Row {
    FitToWidth row{12, 8};
    QPushButton* first = new QPushButton(QStringLiteral("되돌리기"));
    QPushButton* second = new QPushButton(QStringLiteral("이 설정 유지"));

    Row() {
        row.addWidget(first);
        row.addStretch(6);
        row.addWidget(second);
        row.show();
    }
    int ideal() const {
        return first->sizeHint().width() + 6 + second->sizeHint().width() + 2 * 12;
    }
    void resizeTo(int width) {
        row.resize(width, row.heightForWidth(width));
        row.layout()->activate();
    }
};

TEST(FitToWidthTest, ChoosesSideBySideExactlyWhileTheIdealWidthFits) {
    Row row;
    row.resizeTo(row.ideal());
    EXPECT_EQ(row.row.arrangement(), FitArrangement::horizontal);
    EXPECT_EQ(row.first->geometry().top(), row.second->geometry().top());
    row.resizeTo(row.ideal() - 1);
    EXPECT_EQ(row.row.arrangement(), FitArrangement::vertical);
    EXPECT_GT(row.second->geometry().top(), row.first->geometry().bottom());
    EXPECT_EQ(row.second->geometry().left(), 0);
    // Widening again returns to the row: the choice is a function of width.
    row.resizeTo(row.ideal() + 40);
    EXPECT_EQ(row.row.arrangement(), FitArrangement::horizontal);
    EXPECT_EQ(row.row.heightForWidth(row.ideal() + 40),
              std::max(row.first->sizeHint().height(), row.second->sizeHint().height()));
}

TEST(FitToWidthTest, StacksWhenAFontChangeMakesTheRowTooWide) {
    Row row;
    const int width = row.ideal() + 4;
    row.resizeTo(width);
    ASSERT_EQ(row.row.arrangement(), FitArrangement::horizontal);
    QFont bigger = row.first->font();
    bigger.setPointSizeF(bigger.pointSizeF() * 1.44);
    row.first->setFont(bigger);
    row.second->setFont(bigger);
    EXPECT_EQ(row.row.arrangementFor(width), FitArrangement::vertical);
    EXPECT_GT(row.row.heightForWidth(width), 2 * row.first->sizeHint().height());
}

TEST(FitToWidthTest, ItemsOnOneLineStayTogetherWhenStacked) {
    FitToWidth header(8, 4);
    auto* icon = new QLabel(QStringLiteral("●"));
    auto* title = new QLabel(QStringLiteral("이 화면에서 되는 것 / 안 되는 것"));
    auto* subtitle = new WrappingLabel(QStringLiteral("작업실 모니터 · 외장 디스플레이"));
    header.addWidget(icon, 0);
    header.addWidget(title, 0);
    header.addWidget(subtitle);
    header.show();
    const int narrow = icon->sizeHint().width() + title->sizeHint().width() + 8 + 10;
    header.resize(narrow, header.heightForWidth(narrow));
    header.layout()->activate();
    EXPECT_EQ(header.arrangement(), FitArrangement::vertical);
    EXPECT_EQ(icon->geometry().center().y(), title->geometry().center().y());
    EXPECT_GT(subtitle->geometry().top(), title->geometry().bottom());
}

// The comparison row's case: values share a stacked line, top-aligned and
// 8 apart, and the row says when it switches so an arrow can turn.
TEST(FitToWidthTest, ReportsEachSwitchAndLaysSharedLinesAsAsked) {
    FitToWidth row(10, 7);
    auto* title = new QLabel(QStringLiteral("화면별 색상값 연결"));
    auto* tall = new QPushButton(QStringLiteral("현재"));
    tall->setFixedHeight(60);
    auto* small = new QLabel(QStringLiteral("가져온 후"));
    row.setSharedLineLook(8, Qt::AlignTop);
    row.addWidget(title);
    row.addStretch(8);
    row.addWidget(tall, 1);
    row.addWidget(small, 1);
    std::vector<FitArrangement> reported;
    QObject::connect(&row, &FitToWidth::arrangementChanged,
                     [&](FitArrangement arrangement) { reported.push_back(arrangement); });
    row.show();
    const auto layOut = [&](int width) {
        row.resize(width, row.heightForWidth(width));
        row.layout()->activate();
    };
    layOut(2000);
    EXPECT_TRUE(reported.empty());  // a new row starts side by side
    layOut(tall->width() + small->sizeHint().width() + 20);
    layOut(tall->width() + small->sizeHint().width() + 24);
    EXPECT_EQ(reported, std::vector<FitArrangement>{FitArrangement::vertical});
    EXPECT_EQ(small->x() - tall->geometry().right() - 1, 8);
    EXPECT_EQ(small->y(), tall->y());
    layOut(2000);
    EXPECT_EQ(reported.back(), FitArrangement::horizontal);
    EXPECT_EQ(reported.size(), 2u);
}

TEST(FitToWidthTest, CentredItemsSitInTheMiddleSideBySideAndOnEveryStackedLine) {
    FitToWidth row(8, 8);
    row.setHorizontalAlignment(Qt::AlignHCenter);
    auto* first = new QPushButton(QStringLiteral("다시 검색"));
    auto* second = new QPushButton(QStringLiteral("안 되는 이유 보기"));
    first->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    second->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    row.addWidget(first);
    row.addWidget(second);
    row.show();
    const auto layOut = [&](int width) {
        row.resize(width, row.heightForWidth(width));
        row.layout()->activate();
    };
    const int ideal = first->sizeHint().width() + 8 + second->sizeHint().width();
    layOut(ideal + 100);
    EXPECT_EQ(row.arrangement(), FitArrangement::horizontal);
    EXPECT_EQ(first->x(), 50);
    EXPECT_EQ(row.width() - 1 - second->geometry().right(), 50);
    // Stacked, each button is centred on its own line.
    const int narrow = second->sizeHint().width() + 40;
    layOut(narrow);
    EXPECT_EQ(row.arrangement(), FitArrangement::vertical);
    EXPECT_LE(std::abs(first->geometry().center().x() - row.rect().center().x()), 1);
    EXPECT_LE(std::abs(second->geometry().center().x() - row.rect().center().x()), 1);
    EXPECT_GT(second->y(), first->y());
}

// A value that may take two lines shrinks to fit them before it is cut.
TEST(WrappingLabelTest, ALineLimitShrinksBeforeItCuts) {
    const QString token(60, QLatin1Char('x'));  // breaks anywhere, evenly
    WrappingLabel label(token);
    QFont font = label.font();
    font.setPointSizeF(12);
    label.setFont(font);
    label.setLineLimit(2, 0.86);
    const int full = QFontMetrics(font).horizontalAdvance(token);
    // Three lines at full size, two at 0.9 of it: shrinks, keeps everything.
    const int tight = full * 46 / 100;
    const double shrunk = label.fittedFont(tight).pointSizeF();
    EXPECT_LT(shrunk, 12);
    EXPECT_GT(shrunk, 12 * 0.86);
    // Far too long for two lines even at 0.86: the least size, two lines high.
    const int narrow = full / 5;
    const QFont least = label.fittedFont(narrow);
    EXPECT_DOUBLE_EQ(least.pointSizeF(), 12 * 0.86);
    EXPECT_LE(label.heightForWidth(narrow), 2 * QFontMetrics(least).lineSpacing() + 2);
    WrappingLabel unlimited(token);
    unlimited.setFont(font);
    EXPECT_GT(unlimited.heightForWidth(narrow), 4 * QFontMetrics(font).height());
    // Room enough: the set size.
    EXPECT_DOUBLE_EQ(label.fittedFont(full + 4).pointSizeF(), 12);
}

TEST(WrappingLabelTest, LongTextWrapsAndGrowsInsteadOfClipping) {
    WrappingLabel label(QString(400, QLatin1Char('x')));  // one unbreakable word
    const int oneLine = label.fontMetrics().height();
    const int height = label.heightForWidth(120);
    EXPECT_GT(height, 5 * oneLine);
    EXPECT_LE(label.minimumSizeHint().width(), 120);
    EXPECT_EQ(label.sizeHint().width(), label.fontMetrics().horizontalAdvance(label.text()) + 1);
}

TEST(ShrinkingLabelTest, ShrinksToTheFactorBeforeEliding) {
    ShrinkingLabel label(QStringLiteral("라이트 모드 표시"), 0.82);
    QFont font = label.font();
    font.setPointSizeF(20);
    label.setFont(font);
    const int full = QFontMetrics(font).horizontalAdvance(label.text());
    EXPECT_DOUBLE_EQ(label.fittedFont(full + 2).pointSizeF(), 20);
    EXPECT_EQ(label.shownText(full + 2), label.text());
    // A little too narrow: smaller type, whole text.
    const QFont fitted = label.fittedFont(full * 9 / 10);
    EXPECT_LT(fitted.pointSizeF(), 20);
    EXPECT_GE(fitted.pointSizeF(), 20 * 0.82 - 1e-9);
    EXPECT_EQ(label.shownText(full * 9 / 10), label.text());
    // Far too narrow: the smallest size, then an ellipsis.
    EXPECT_NEAR(label.fittedFont(full / 3).pointSizeF(), 20 * 0.82, 1e-9);
    EXPECT_TRUE(label.shownText(full / 3).endsWith(QChar(0x2026)));
}

}  // namespace
}  // namespace quorvane
