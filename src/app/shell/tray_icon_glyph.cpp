#include "app/shell/tray_icon_glyph.hpp"

#include "presentation/main_window/main_window_texts.hpp"
#include "views/design/symbol_table.hpp"

namespace quorvane {

QIcon trayIconGlyph(TrayGlyphVariant variant) {
    const QColor stroke =
        variant == TrayGlyphVariant::light ? QColor(32, 32, 36) : QColor(240, 240, 244);
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128})
        icon.addPixmap(symbolPixmap(main_window_texts::kPanelSymbol, stroke, size));
    return icon;
}

TrayGlyphVariant trayGlyphVariantFor(const QColor& trayBackground) {
    return trayBackground.lightnessF() < 0.5 ? TrayGlyphVariant::dark : TrayGlyphVariant::light;
}

}  // namespace quorvane
