#include "views/design/settings_card_frame.hpp"

#include <QFrame>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "views/access/accessible_role.hpp"
#include "views/design/glyph_icon.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/theme.hpp"
#include "views/design/themed_text.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

namespace {

constexpr int kGlyphSize = 28;
constexpr int kGlyphFrame = 34;
constexpr double kGlyphLineWidth = 1.6;

}  // namespace

QWidget* headingPair(Theme& theme, const QString& title, const QString& detail,
                     QuorvaneFontStyle titleStyle, int spacing, QWidget* parent) {
    auto* pair = new QWidget(parent);
    auto* column = new QVBoxLayout(pair);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(spacing);
    column->addWidget(themedLabel(theme, title, titleStyle, QFont::DemiBold));
    column->addWidget(themedLabel(theme, detail, QuorvaneFontStyle::caption, QFont::Normal, true));
    return pair;
}

QWidget* divider(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setForegroundRole(QPalette::Mid);
    return line;
}

SettingsCardFrame makeSettingsCard(Theme& theme, QuorvaneGlyph glyph,
                                   std::function<ColorRole()> tint, const QString& title,
                                   const QString& subtitle, QWidget* parent) {
    SettingsCardFrame frame;
    frame.panel = new SurfacePanel(theme, SurfacePanel::Kind::soft, 16, 16, parent);
    frame.column = new QVBoxLayout(frame.panel);
    frame.column->setContentsMargins(0, 0, 0, 0);
    frame.column->setSpacing(12);

    auto* header = new QHBoxLayout;
    header->setSpacing(9);
    // The glyph sits centred on a slightly larger frame.
    auto* glyphFrame = new QWidget;
    glyphFrame->setFixedSize(kGlyphFrame, kGlyphFrame);
    hideFromAccessibility(glyphFrame);
    auto* icon = new GlyphIcon(glyph, kGlyphSize, kGlyphLineWidth, theme.color(tint()), glyphFrame);
    icon->move((kGlyphFrame - kGlyphSize) / 2, (kGlyphFrame - kGlyphSize) / 2);
    QObject::connect(&theme, &Theme::changed, icon, [icon, &theme, tint = std::move(tint)] {
        icon->setTint(theme.color(tint()));
    });
    frame.icon = icon;
    header->addWidget(glyphFrame, 0, Qt::AlignTop);
    header->addWidget(headingPair(theme, title, subtitle, QuorvaneFontStyle::subheadline, 3), 1);
    frame.column->addLayout(header);
    return frame;
}

}  // namespace quorvane
