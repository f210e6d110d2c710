#pragma once

#include <QLayout>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "presentation/design/fit_arrangement.hpp"

namespace quorvane {

// A row that may be too wide: shows its items side by side while their ideal
// widths (plus spacing) fit the width it gets, and stacks them otherwise.
// The choice is made again on every resize and whenever an item's size hint
// changes (a new font or text). It depends only on the width offered, so the
// same width always gives the same arrangement and a layout cannot flip back
// and forth by itself; heightForWidth() reports the chosen arrangement's
// height so parents reserve the right space.
//
// In the stacked arrangement each item has a line of its own, except items
// added with the same `line` number, which share one line (for example an
// icon and its title), centred on each other and `horizontalSpacing` apart
// unless setSharedLineLook says otherwise. Stretches only take part side by
// side. arrangementChanged reports each switch, for items that look
// different stacked (an arrow that then points down).
//
// Usage:
//   auto* row = new FitToWidth(12, 8);  // side-by-side spacing, stacked spacing
//   row->addWidget(copy);
//   row->addStretch(6);
//   row->addWidget(actions);
class FitToWidth : public QWidget {
    Q_OBJECT

  public:
    FitToWidth(int horizontalSpacing, int verticalSpacing, QWidget* parent = nullptr);

    // `line`: items with the same non-negative number share a stacked line.
    void addWidget(QWidget* widget, int line = -1);
    // Space of at least `minimumLength` that takes the spare width side by
    // side; with a `line`, it keeps the stacked line of its neighbours whole.
    void addStretch(int minimumLength = 0, int line = -1);
    // How items of different heights line up side by side: centred, at the
    // top, or (Qt::AlignBaseline) on their first text baseline.
    void setRowAlignment(Qt::Alignment alignment);
    void setSpacing(int horizontal, int vertical);
    // Spacing and vertical alignment of items sharing a stacked line.
    void setSharedLineLook(int spacing, Qt::Alignment alignment);
    // Where the items sit across a width they do not fill: at the leading
    // edge (the default) or, with Qt::AlignHCenter, centred; side by side
    // (when nothing stretches) and on each stacked line alike.
    void setHorizontalAlignment(Qt::Alignment alignment);
    // Side by side, the items that take spare width end equally wide (two
    // values that share a row, so rows above each other line up), instead
    // of each growing from its own ideal width.
    void setEqualGrowth(bool equal);

    FitArrangement arrangement() const;
    // The arrangement this row takes at a given width (for tests and parents).
    FitArrangement arrangementFor(int width) const;

  signals:
    // After the row is laid out in a different arrangement than before
    // (a new row starts side by side).
    void arrangementChanged(FitArrangement arrangement);
};

// The layout behind FitToWidth, for widgets that need to host it themselves.
class FitLayout : public QLayout {
  public:
    explicit FitLayout(QWidget* parent = nullptr);
    ~FitLayout() override;

    void addItem(QLayoutItem* item) override;
    void addItemOnLine(QLayoutItem* item, int line);
    void addWidgetOnLine(QWidget* widget, int line);
    void addStretchItem(int minimumLength, int line = -1);
    void setRowAlignment(Qt::Alignment alignment) { rowAlignment_ = alignment; }
    void setSpacings(int horizontal, int vertical);
    void setSharedLineLook(int spacing, Qt::Alignment alignment);
    void setHorizontalAlignment(Qt::Alignment alignment);
    void setEqualGrowth(bool equal);
    void setArrangementListener(std::function<void(FitArrangement)> listener);

    int count() const override { return static_cast<int>(entries_.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

    QSize sizeHint() const override;
    QSize minimumSize() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }
    void setGeometry(const QRect& rect) override;

    FitArrangement arrangementFor(int width) const;
    FitArrangement arrangement() const { return current_; }
    // Where the first line of text stands when laid out `width` wide.
    std::optional<int> firstBaseline(int width) const;

  private:
    struct Entry {
        QLayoutItem* item = nullptr;
        int line = -1;
        bool stretch = false;
    };

    // The side-by-side arrangement at an inner width: each entry's width
    // (-1 when hidden), height and top, the row's height and baseline.
    struct RowPlan {
        std::vector<int> widths;
        std::vector<int> heights;
        std::vector<int> tops;
        int height = 0;
        int spare = 0;
        int growers = 0;
        std::optional<int> baseline;
    };

    int idealRowWidth() const;
    RowPlan planRow(int width, int idealWidth) const;
    int doLayout(const QRect& rect, bool apply) const;
    int layoutRow(const QRect& rect, int idealWidth, bool apply) const;
    int layoutStacked(const QRect& rect, bool apply) const;
    int itemHeight(QLayoutItem* item, int width) const;

    std::vector<Entry> entries_;
    int horizontalSpacing_ = 8;
    int verticalSpacing_ = 6;
    Qt::Alignment rowAlignment_ = Qt::AlignVCenter;
    int sharedLineSpacing_ = -1;  // -1: the side-by-side spacing
    Qt::Alignment sharedLineAlignment_ = Qt::AlignVCenter;
    Qt::Alignment horizontalAlignment_ = Qt::AlignLeading;
    bool equalGrowth_ = false;
    FitArrangement current_ = FitArrangement::horizontal;
    std::function<void(FitArrangement)> listener_;
};

}  // namespace quorvane
