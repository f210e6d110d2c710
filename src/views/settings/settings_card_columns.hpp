#pragma once

#include <QWidget>
#include <functional>
#include <vector>

class QHBoxLayout;

namespace quorvane {

// Cards in top-aligned columns of equal width, re-flowed when the width or
// the text size changes. `arrange` names, for a width, each column's cards
// by index into `cards`; the cards themselves are moved, never rebuilt, so
// whatever state they hold (an open section, focus) survives.
class SettingsCardColumns : public QWidget {
    Q_OBJECT

  public:
    using Arrangement = std::vector<std::vector<int>>;

    SettingsCardColumns(std::vector<QWidget*> cards, std::function<Arrangement(int width)> arrange,
                        int columnSpacing, int cardSpacing, QWidget* parent = nullptr);

    const Arrangement& arrangement() const { return current_; }
    // Re-reads the arrangement for the current width (after a text size change).
    void reflow();

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void apply(const Arrangement& arrangement);

    std::vector<QWidget*> cards_;
    std::function<Arrangement(int)> arrange_;
    int columnSpacing_;
    int cardSpacing_;
    Arrangement current_;
    QHBoxLayout* row_ = nullptr;
};

}  // namespace quorvane
