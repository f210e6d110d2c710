#include "views/settings/themed_text.hpp"

#include "views/design/glyph_icon.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

namespace {

constexpr int kGlyphSize = 28;
constexpr int kGlyphFrame = 34;
constexpr double kGlyphLineWidth = 1.6;

}  // namespace

WrappingLabel* themedLabel(Theme& theme, const QString& text, QuorvaneFontStyle style,
                           QFont::Weight weight, bool secondary, QWidget* parent) {
    auto* label = new WrappingLabel(text, parent);
    label->setSecondary(secondary);
    const auto restyle = [label, &theme, style, weight] {
        label->setFont(theme.font(style, weight));
    };
    restyle();
    QObject::connect(&theme, &Theme::changed, label, restyle);
    return label;
}

ThemedGlyph themedGlyph(Theme& theme, QuorvaneGlyph glyph, std::function<ColorRole()> tint,
                        QWidget* parent) {
    ThemedGlyph result;
    result.frame = new QWidget(parent);
    result.frame->setFixedSize(kGlyphFrame, kGlyphFrame);
    result.icon =
        new GlyphIcon(glyph, kGlyphSize, kGlyphLineWidth, theme.color(tint()), result.frame);
    const int inset = (kGlyphFrame - kGlyphSize) / 2;
    result.icon->move(inset, inset);
    auto* icon = result.icon;
    QObject::connect(&theme, &Theme::changed, icon,
                     [icon, &theme, tint] { icon->setTint(theme.color(tint())); });
    return result;
}

}  // namespace quorvane
