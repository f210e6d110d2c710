// Rows kept for their entries: a row whose entry stays is the same widget,
// updated in place and moved to its entry's place; only the rows of
// entries that went are removed, and the focus inside one moves to its
// neighbour, or to the list's own control when none is left. After a save
// from the list's own control, the row made for the new entry takes the
// focus once it shows, unless the user has gone elsewhere or typed on.

#include "views/design/keyed_rows.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvane {
namespace {

class KeyedRowsTest : public ::testing::Test {
  protected:
    KeyedRowsTest() {
        column = new QVBoxLayout(&window);
        column->addWidget(new QPushButton(QStringLiteral("above")));
        add = new QPushButton(QStringLiteral("add"));
        column->addWidget(add);
        rows = std::make_unique<KeyedRows>(column, 1);
        rows->setFocusWhenEmpty(add);
        window.show();
        QApplication::setActiveWindow(&window);
    }

    // Shows entries "key=text"; each row is a button showing its text.
    void show(const std::vector<std::pair<std::string, QString>>& entries) {
        std::vector<std::string> keys;
        for (const auto& entry : entries)
            keys.push_back(entry.first);
        rows->show(
            keys,
            [&](std::size_t index) {
                ++made;
                return new QPushButton(entries[index].second);
            },
            [&](QWidget* row, std::size_t index) {
                static_cast<QPushButton*>(row)->setText(entries[index].second);
            });
        QApplication::processEvents();
    }

    // The texts of the layout, top to bottom.
    QStringList shown() const {
        QStringList texts;
        for (int index = 0; index < column->count(); ++index)
            if (auto* button = qobject_cast<QPushButton*>(column->itemAt(index)->widget()))
                texts << button->text();
        return texts;
    }

    QPushButton* row(std::size_t index) const {
        return static_cast<QPushButton*>(rows->rows().at(index));
    }

    QWidget window;
    QVBoxLayout* column = nullptr;
    QPushButton* add = nullptr;
    std::unique_ptr<KeyedRows> rows;
    int made = 0;
};

TEST_F(KeyedRowsTest, ARowStaysTheSameWidgetUpdatedInPlaceAndMovesWithItsEntry) {
    show({{"a", "A"}, {"b", "B"}, {"c", "C"}});
    EXPECT_EQ(shown(), (QStringList{"above", "A", "B", "C", "add"}));
    QPointer<QPushButton> b = row(1);
    b->setFocus(Qt::TabFocusReason);

    show({{"c", "C"}, {"b", "B renamed"}, {"d", "D"}, {"a", "A"}});
    EXPECT_EQ(shown(), (QStringList{"above", "C", "B renamed", "D", "A", "add"}));
    EXPECT_EQ(made, 4);  // only "d" is new
    ASSERT_TRUE(b);
    EXPECT_EQ(row(1), b.data());
    EXPECT_EQ(window.focusWidget(), b.data());
}

TEST_F(KeyedRowsTest, TheFocusOfARowThatGoesMovesToItsNeighbourOrTheListsControl) {
    show({{"a", "A"}, {"b", "B"}, {"c", "C"}});
    QPointer<QPushButton> b = row(1);
    QPointer<QPushButton> c = row(2);
    b->setFocus(Qt::TabFocusReason);
    show({{"a", "A"}, {"c", "C"}});
    // The row that takes its place: the next one.
    EXPECT_EQ(window.focusWidget(), c.data());
    QApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(b);

    // The last row goes: the one before it.
    QPointer<QPushButton> a = row(0);
    show({{"a", "A"}});
    EXPECT_EQ(window.focusWidget(), a.data());
    // None is left: the list's own control, never the next part of the window.
    show({});
    EXPECT_EQ(window.focusWidget(), add);
    EXPECT_EQ(shown(), (QStringList{"above", "add"}));
}

TEST_F(KeyedRowsTest, TheRowOfANewEntryTakesTheFocusAfterASaveFromTheListsControl) {
    add->setFocus(Qt::TabFocusReason);
    // Added without a save (another process), or after the user typed on:
    // the focus stays where the user is.
    show({{"a", "A"}});
    rows->focusNewRowFrom(add);
    rows->forgetNewRowFocus();
    show({{"a", "A"}, {"b", "B"}});
    EXPECT_EQ(window.focusWidget(), add);
    // After a save, an update that adds nothing keeps the wish.
    rows->focusNewRowFrom(add);
    show({{"a", "A again"}, {"b", "B"}});
    EXPECT_EQ(window.focusWidget(), add);
    show({{"a", "A"}, {"b", "B"}, {"c", "C"}});
    EXPECT_EQ(window.focusWidget(), row(2));
}

TEST_F(KeyedRowsTest, EntriesSharingAKeyEachKeepARow) {
    show({{"x", "first"}, {"x", "second"}});
    QPointer<QPushButton> second = row(1);
    show({{"x", "first"}, {"x", "second again"}});
    EXPECT_EQ(made, 2);
    EXPECT_EQ(row(1), second.data());
    EXPECT_EQ(shown(), (QStringList{"above", "first", "second again", "add"}));
}

}  // namespace
}  // namespace quorvane
