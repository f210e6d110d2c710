#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "views/design/application_style.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/shrinking_label.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {
namespace {

TEST(ApplicationStyleTest, PushButtonsLeaveHalfALineOfRoomBesideTheirTextAtEverySize) {
    ApplicationStyle style;
    const QString label = QStringLiteral("가능 여부 확인");
    for (int points : {10, 24}) {
        QPushButton button(label);
        QFont font = button.font();
        font.setPointSize(points);
        button.setFont(font);
        button.setStyle(&style);
        const QFontMetrics metrics(font);
        // Fusion alone leaves a few fixed pixels; the room must grow with the text.
        EXPECT_GE(button.sizeHint().width(), metrics.horizontalAdvance(label) + metrics.height())
            << points;
    }
}

TEST(FitToWidthLayoutTest, HiddenItemsTakeNoRoomAndOnlyStretchesTakeTheSpareWidth) {
    FitToWidth row(10, 4);
    auto* first = new QLabel(QStringLiteral("첫째"));
    auto* hidden = new QLabel(QString(60, QLatin1Char('W')));
    auto* last = new QLabel(QStringLiteral("마지막"));
    row.addWidget(first);
    row.addWidget(hidden);
    row.addStretch(6);
    row.addWidget(last);
    hidden->hide();
    row.show();
    const int ideal = first->sizeHint().width() + 6 + last->sizeHint().width() + 2 * 10;
    EXPECT_EQ(row.arrangementFor(ideal), FitArrangement::horizontal);
    row.resize(ideal + 100, row.heightForWidth(ideal + 100));
    row.layout()->activate();
    // The spare 100 points go to the stretch: the last item ends at the edge.
    EXPECT_EQ(first->width(), first->sizeHint().width());
    EXPECT_EQ(last->geometry().right(), row.width() - 1);
}

TEST(FitToWidthLayoutTest, RowAlignmentCentresOrTopAlignsShorterItems) {
    FitToWidth row(8, 4);
    auto* tall = new QLabel(QStringLiteral("가\n나\n다"));
    auto* shortOne = new QLabel(QStringLiteral("라"));
    row.addWidget(tall);
    row.addWidget(shortOne);
    row.show();
    const int width = row.sizeHint().width() + 20;
    row.resize(width, row.heightForWidth(width));
    row.layout()->activate();
    EXPECT_GT(shortOne->geometry().top(), tall->geometry().top());
    row.setRowAlignment(Qt::AlignTop);
    row.layout()->setGeometry(row.rect());
    EXPECT_EQ(shortOne->geometry().top(), tall->geometry().top());
}

TEST(WrappingLabelTest, ParagraphsAndEmptyTextMeasureByLines) {
    WrappingLabel empty;
    EXPECT_LT(empty.heightForWidth(200), empty.fontMetrics().height());
    WrappingLabel three(QStringLiteral("첫 줄\n둘째 줄\n셋째 줄"));
    const int line = three.fontMetrics().lineSpacing();
    EXPECT_GE(three.heightForWidth(400), 3 * line - 3);
    EXPECT_LT(three.heightForWidth(400), 4 * line);
    // Right-to-left text wraps the same way and never widens the label.
    WrappingLabel rtl(QStringLiteral("שלום עולם, זהו טקסט ארוך מאוד מימין לשמאל"));
    EXPECT_GT(rtl.heightForWidth(60), rtl.heightForWidth(1000));
}

TEST(ShrinkingLabelTest, MiddleElisionKeepsBothEnds) {
    ShrinkingLabel label(QStringLiteral("대상: 작업실 모니터, 거실 TV, 내장 화면"), 1.0);
    label.setElideMode(Qt::ElideMiddle);
    const QString shown = label.shownText(90);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("대")));
    EXPECT_TRUE(shown.endsWith(QStringLiteral("면")));
    EXPECT_TRUE(shown.contains(QChar(0x2026)));
}

TEST(ChipButtonWidgetTest, PressDeepensTheFillAndTheSymbolAndDetailGrowTheButton) {
    Theme theme(false);
    theme.setAppearance(QuorvaneAppearance::dark);
    ChipButton chip(theme, QStringLiteral("삭제"), QuorvaneChipProminence::destructive);
    chip.show();
    const QSize plain = chip.sizeHint();
    EXPECT_DOUBLE_EQ(chip.look().fill.opacity, 0.14);
    chip.setDown(true);
    EXPECT_DOUBLE_EQ(chip.look().fill.opacity, 0.22);
    chip.setDown(false);
    chip.setSymbol("trash");
    EXPECT_GT(chip.sizeHint().width(), plain.width());
    TileButton tile(theme, QStringLiteral("따뜻하게"), QuorvaneChipProminence::neutral);
    const int oneLine = tile.sizeHint().height();
    tile.setDetailText(QStringLiteral("감마 1.10"));
    EXPECT_GE(tile.sizeHint().height(), oneLine);
    int clicks = 0;
    QObject::connect(&chip, &QAbstractButton::clicked, [&] { ++clicks; });
    chip.setFocus();
    QTest::keyClick(&chip, Qt::Key_Space);
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace quorvane
