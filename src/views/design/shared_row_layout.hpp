#pragma once

#include <QLayout>
#include <vector>

namespace quorvane {

// Two widgets that wrap (a button and the reason beside it) on one line,
// `spacing` apart and centred on each other, sharing the width as
// shareRow() deals it: each at its one-line width while both fit, and
// otherwise neither squeezed below half the line. A hidden second widget
// leaves the first alone, at its own width.
//
// Usage:
//   auto* line = new SharedRowLayout(6, actionWidget);
//   line->addWidget(button);
//   line->addWidget(reason);
class SharedRowLayout : public QLayout {
  public:
    explicit SharedRowLayout(int spacing, QWidget* parent = nullptr);
    ~SharedRowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

    QSize sizeHint() const override;
    QSize minimumSize() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }
    void setGeometry(const QRect& rect) override;

  private:
    std::vector<QLayoutItem*> shown() const;
    // Lays the items out in `rect` when `apply`; returns the line's height.
    int place(const QRect& rect, bool apply) const;

    std::vector<QLayoutItem*> items_;
};

}  // namespace quorvane
