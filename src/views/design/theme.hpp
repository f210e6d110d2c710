#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QWidget>
#include <vector>

#include "models/settings/quorvane_appearance.hpp"
#include "models/settings/quorvane_text_size.hpp"
#include "presentation/design/color_role.hpp"
#include "presentation/design/text_shade.hpp"
#include "presentation/design/typography.hpp"

namespace quorvane {

class SystemColorSchemeWatcher;

inline QColor toQColor(Rgb8 value) {
    return {value.red, value.green, value.blue};
}

// The one design state every window draws with: the user's text size (and its
// scale), the appearance choice and the scheme it resolves to, the colour of
// every role in that scheme and the scaled fonts. The shell owns one Theme,
// feeds it the store's textSize and appearance; every window joins it through
// applyToWindow(), which a WindowThemeFollower calls for each window of the
// application as it appears. Widgets read sizes, colours and fonts from here on every
// restyle and connect to changed(), the one signal for any of them (a new
// text size, appearance or desktop scheme); nothing may cache a size.
//
// Usage:
//   label->setFont(theme.font(QuorvaneFontStyle::caption, QFont::DemiBold));
//   painter.setBrush(theme.color(ColorRole::surface, 0.98));
//   connect(&theme, &Theme::changed, this, &MyWidget::restyle);
class Theme : public QObject {
    Q_OBJECT

  public:
    // `followDesktop` watches the desktop's light/dark preference for the
    // "system" appearance; tests pass false and set the scheme themselves.
    explicit Theme(bool followDesktop = true, QObject* parent = nullptr);

    // Until the shell sets a size, the theme reads like a view outside any
    // window root: the size `large` (for tables indexed by the size) with the
    // scale 1.0 of `standard`, and a 14-point base font.
    QuorvaneTextSize textSize() const { return textSize_; }
    double scale() const { return scale_; }
    QuorvaneAppearance appearance() const { return appearance_; }
    ColorScheme scheme() const;
    ColorScheme systemScheme() const { return systemScheme_; }

    void setTextSize(QuorvaneTextSize size);
    void setAppearance(QuorvaneAppearance appearance);
    // The desktop's own preference, as the watcher reports it.
    void setSystemScheme(ColorScheme scheme);

    QColor color(ColorRole role, double opacity = 1.0) const;
    QColor color(ColorUse use) const { return color(use.role, use.opacity); }
    // Text and symbols drawn in a role on a tinted ground take this: the
    // role's colour, or the shade of its hue that reads there (see
    // textColorValue).
    QColor textColor(ColorRole role, const TextGround& ground) const;

    // The system font at base size × scale, fractional points kept.
    QFont font(QuorvaneFontStyle style, QFont::Weight weight = QFont::Normal) const;
    // A font of any other base size scaled the same way (icon sizes etc.).
    QFont scaledFont(double basePoints, QFont::Weight weight = QFont::Normal) const;
    // The window's default text: 14 × scale.
    QFont baseFont() const;
    // The least height of a button that grows with the text size.
    int accessibleButtonMinHeight() const;
    // The size the standard controls (sliders, check boxes, pickers, push
    // buttons) are drawn at; the toolkit's own `regular` until a size is set.
    QuorvaneControlSize controlSize() const {
        return sized_ ? quorvane::controlSize(textSize_) : QuorvaneControlSize::regular;
    }

    // A Qt palette of the roles, so standard widgets (toggles, sliders, line
    // edits, dialogs) follow the scheme; best with the Fusion style.
    QPalette palette() const;

    // Gives `window` the palette, base font, control size and screen
    // background now and after every change while it lives. A window joins
    // once; joining it again changes nothing.
    void applyToWindow(QWidget* window);

  signals:
    void changed();

  private:
    void applyNow(QWidget* window) const;
    void announceChange();
    void forgetClosedWindows();

    QuorvaneTextSize textSize_ = QuorvaneTextSize::large;
    double scale_ = textScale(QuorvaneTextSize::standard);
    double baseFontPoints_ = baseFontPoints(QuorvaneTextSize::standard);
    bool sized_ = false;
    QuorvaneAppearance appearance_ = QuorvaneAppearance::system;
    ColorScheme systemScheme_ = ColorScheme::light;
    SystemColorSchemeWatcher* watcher_ = nullptr;
    std::vector<QPointer<QWidget>> windows_;
};

}  // namespace quorvane
