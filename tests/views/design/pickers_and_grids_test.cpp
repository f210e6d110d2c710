#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "views/design/adaptive_grid.hpp"
#include "views/design/eliding_picker.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/support/wheel_input.hpp"

namespace quorvane::testing {
namespace {

const QString kLongName = QStringLiteral(
    "책상 세트: 노트북 + 델 울트라샤프 + HDMI 캡처 보드 + 발표용 프로젝터 (회의실 B)");

// A picker of the largest text size in a window of that size, `width` wide.
struct PickerWindow {
    explicit PickerWindow(int width) {
        theme.setTextSize(QuorvaneTextSize::veryLarge);
        theme.applyToWindow(&window);
        auto* column = new QVBoxLayout(&window);
        picker = new ElidingPicker;
        picker->addItem(QStringLiteral("건너뛰기"));
        picker->addItem(kLongName);
        picker->setFixedWidth(width);
        column->addWidget(picker);
        window.show();
        QCoreApplication::processEvents();
    }

    Theme theme{false};
    QWidget window;
    ElidingPicker* picker = nullptr;
};

TEST(ElidingPickerTest, ALongNameEndsInAnEllipsisWithinThePickerAtTheLargestTextSize) {
    PickerWindow shown(220);
    ElidingPicker& picker = *shown.picker;
    EXPECT_DOUBLE_EQ(picker.font().pointSizeF(), shown.theme.baseFont().pointSizeF());
    picker.setCurrentIndex(1);
    const QString drawn = picker.shownText();
    ASSERT_TRUE(drawn.endsWith(QChar(0x2026))) << drawn.toStdString();
    // Whole characters of the name, then the ellipsis, inside the picker's
    // text area (its width minus the drop-down part).
    EXPECT_TRUE(kLongName.startsWith(drawn.chopped(1)));
    EXPECT_GT(drawn.size(), 2);
    EXPECT_LT(picker.fontMetrics().horizontalAdvance(drawn), picker.width() - 20);
    // What the picker holds and reports stays whole.
    EXPECT_EQ(picker.currentText(), kLongName);
    EXPECT_EQ(picker.view()->textElideMode(), Qt::ElideRight);

    // A short name, or a picker wide enough, shows the name as it is.
    picker.setCurrentIndex(0);
    EXPECT_EQ(picker.shownText(), QStringLiteral("건너뛰기"));
    picker.setCurrentIndex(1);
    picker.setFixedWidth(picker.fontMetrics().horizontalAdvance(kLongName) + 120);
    EXPECT_EQ(picker.shownText(), kLongName);
}

TEST(ElidingPickerTest, AsksForItsIdealWidthWithinItsBoundsWhateverTheNames) {
    PickerWindow shown(220);
    ElidingPicker& picker = *shown.picker;
    picker.setMinimumWidth(220);
    picker.setMaximumWidth(320);
    // Without an ideal width the longest name would ask for far more.
    EXPECT_GT(picker.QComboBox::sizeHint().width(), 320);
    picker.setIdealWidth(280);
    EXPECT_EQ(picker.sizeHint().width(), 280);
    picker.setIdealWidth(500);
    EXPECT_EQ(picker.sizeHint().width(), 320);
    picker.setIdealWidth(100);
    EXPECT_EQ(picker.sizeHint().width(), 220);
}

TEST(ElidingPickerTest, AWheelScrollsThePageUntilThePickerIsPicked) {
    QScrollArea area;
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    // The page's focus is elsewhere: the picker has not been picked.
    auto* elsewhere = new QPushButton(QStringLiteral("다른 곳"));
    column->addWidget(elsewhere);
    auto* picker = new ElidingPicker;
    picker->addItem(QStringLiteral("하나"));
    picker->addItem(QStringLiteral("둘"));
    column->addWidget(picker);
    column->addSpacing(2000);
    area.setWidget(page);
    area.setWidgetResizable(true);
    area.resize(300, 200);
    area.show();
    const auto settle = [] { QCoreApplication::processEvents(); };
    settle();
    elsewhere->setFocus();
    EXPECT_TRUE(wheelScrollsPast(picker, settle));
    EXPECT_EQ(picker->currentIndex(), 0);
    EXPECT_EQ(picker->focusPolicy(), Qt::StrongFocus);
}

TEST(AdaptiveGridTest, TilesOfOneRowShareItsHeightAndRowsFollowTheWidth) {
    QWidget window;
    auto* column = new QVBoxLayout(&window);
    column->setContentsMargins(0, 0, 0, 0);
    auto* grid = new AdaptiveGrid(170, 8, 10);
    std::vector<WrappingLabel*> tiles;
    for (int index = 0; index < 5; ++index) {
        // The second tile's text needs several lines at a column's width.
        auto* tile = new WrappingLabel(
            index == 1 ? QStringLiteral("파일 값 켜짐 · 5/5개 사용 · 로컬 꺼짐 "
                                        "유지 · 파일이 켤 수 없음 · 가져오지 않음")
                       : QStringLiteral("2개"));
        grid->addTile(tile);
        tiles.push_back(tile);
    }
    column->addWidget(grid);
    column->addStretch(1);
    window.resize(3 * 170 + 2 * 8 + 20, 800);
    window.show();
    QCoreApplication::processEvents();

    EXPECT_EQ(grid->columnsShown(), 3);
    // Row one: all three as tall as the long one; row two starts level.
    EXPECT_GT(tiles[1]->height(), tiles[0]->sizeHint().height());
    EXPECT_EQ(tiles[0]->geometry().height(), tiles[1]->geometry().height());
    EXPECT_EQ(tiles[2]->geometry().height(), tiles[1]->geometry().height());
    EXPECT_EQ(tiles[3]->y(), tiles[4]->y());
    EXPECT_EQ(tiles[3]->y(), tiles[1]->geometry().bottom() + 1 + 10);
    EXPECT_EQ(tiles[3]->x(), tiles[0]->x());
    EXPECT_GE(grid->height(), grid->heightForWidth(grid->width()));

    // Narrower: two columns, the third tile opens the second row.
    window.resize(2 * 170 + 8 + 20, 800);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->columnsShown(), 2);
    EXPECT_EQ(tiles[2]->x(), tiles[0]->x());
    EXPECT_GT(tiles[2]->y(), tiles[1]->y());
    EXPECT_EQ(tiles[0]->geometry().height(), tiles[1]->geometry().height());
}

}  // namespace
}  // namespace quorvane::testing
