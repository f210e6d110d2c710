#pragma once

#include <QAbstractButton>
#include <optional>

#include "presentation/main_window/sidebar_row.hpp"

class QHBoxLayout;

namespace quorvane {

class GlyphIcon;
class ShrinkingLabel;
class WrappingLabel;
class SymbolTileIcon;
class Theme;

// One sidebar row, a display or a section: a 24-point icon tile, the title
// and a secondary subtitle. The marked row gets the copper fill, border and
// icon tint; the whole row takes the click. Assistive technology reads it as
// one button whose name is the title and subtitle, with the value "선택됨"
// and the selected state while it is marked; a screen reader on the row
// hears "선택됨" when it becomes the marked one.
class SidebarRowButton : public QAbstractButton {
    Q_OBJECT

  public:
    SidebarRowButton(Theme& theme, QWidget* parent = nullptr);

    // Changes only what differs from the row shown now.
    void setRow(const SidebarRow& row);
    const SidebarRow& row() const { return row_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void restyle();
    QColor tint() const;

    Theme& theme_;
    SidebarRow row_;
    bool shown_ = false;
    QHBoxLayout* rowLayout_ = nullptr;
    GlyphIcon* glyph_ = nullptr;
    SymbolTileIcon* symbol_ = nullptr;
    WrappingLabel* title_ = nullptr;
    ShrinkingLabel* subtitle_ = nullptr;
};

}  // namespace quorvane
