#include "views/design/theme.hpp"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "views/design/layout_points.hpp"
#include "views/design/system_color_scheme_watcher.hpp"
#include "views/design/window_control_size.hpp"

namespace quorvane {

Theme::Theme(bool followDesktop, QObject* parent) : QObject(parent) {
    if (!followDesktop)
        return;
    watcher_ = new SystemColorSchemeWatcher(this);
    systemScheme_ = watcher_->scheme();
    connect(watcher_, &SystemColorSchemeWatcher::schemeChanged, this,
            [this](ColorScheme scheme) { setSystemScheme(scheme); });
}

ColorScheme Theme::scheme() const {
    return effectiveScheme(appearance_, systemScheme_);
}

void Theme::setTextSize(QuorvaneTextSize size) {
    // Setting `large` first still changes the unset scale and font.
    if (size == textSize_ && scale_ == textScale(size))
        return;
    textSize_ = size;
    scale_ = textScale(size);
    baseFontPoints_ = baseFontPoints(size);
    sized_ = true;
    announceChange();
}

void Theme::setAppearance(QuorvaneAppearance appearance) {
    if (appearance == appearance_)
        return;
    appearance_ = appearance;
    announceChange();
}

void Theme::setSystemScheme(ColorScheme scheme) {
    if (scheme == systemScheme_)
        return;
    systemScheme_ = scheme;
    announceChange();
}

QColor Theme::color(ColorRole role, double opacity) const {
    const Rgb8 value = colorValue(role, scheme());
    QColor result(value.red, value.green, value.blue);
    result.setAlphaF(static_cast<float>(std::clamp(opacity, 0.0, 1.0)));
    return result;
}

QColor Theme::textColor(ColorRole role, const TextGround& ground) const {
    return toQColor(textColorValue(role, scheme(), ground));
}

QFont Theme::scaledFont(double basePoints, QFont::Weight weight) const {
    QFont font = QApplication::font();
    font.setPointSizeF(qtFontPoints(basePoints * scale()));
    font.setWeight(weight);
    return font;
}

QFont Theme::font(QuorvaneFontStyle style, QFont::Weight weight) const {
    return scaledFont(basePointSize(style), weight);
}

QFont Theme::baseFont() const {
    QFont font = QApplication::font();
    font.setPointSizeF(qtFontPoints(baseFontPoints_));
    return font;
}

int Theme::accessibleButtonMinHeight() const {
    return static_cast<int>(std::lround(quorvane::accessibleButtonMinHeight(textSize_)));
}

QPalette Theme::palette() const {
    QPalette palette;
    const auto set = [&palette](QPalette::ColorRole role, const QColor& active,
                                const QColor& disabled) {
        palette.setColor(QPalette::Active, role, active);
        palette.setColor(QPalette::Inactive, role, active);
        palette.setColor(QPalette::Disabled, role, disabled);
    };
    const QColor secondary = color(ColorRole::secondary);
    const QColor dimmed = color(ColorRole::secondary, 0.7);
    set(QPalette::Window, color(ColorRole::windowBackground), color(ColorRole::windowBackground));
    set(QPalette::WindowText, color(ColorRole::primary), dimmed);
    set(QPalette::Base, color(ColorRole::surface), color(ColorRole::track));
    set(QPalette::AlternateBase, color(ColorRole::track), color(ColorRole::track));
    set(QPalette::Text, color(ColorRole::primary), dimmed);
    set(QPalette::PlaceholderText, secondary, dimmed);
    set(QPalette::Button, color(ColorRole::surface), color(ColorRole::track));
    set(QPalette::ButtonText, color(ColorRole::primary), dimmed);
    set(QPalette::BrightText, color(ColorRole::surface), color(ColorRole::surface));
    set(QPalette::Highlight, color(ColorRole::accent), color(ColorRole::mutedInk));
    set(QPalette::HighlightedText, color(ColorRole::surface), color(ColorRole::surface));
    set(QPalette::Link, color(ColorRole::accent), dimmed);
    set(QPalette::LinkVisited, color(ColorRole::accent), dimmed);
    set(QPalette::ToolTipBase, color(ColorRole::surface), color(ColorRole::surface));
    set(QPalette::ToolTipText, color(ColorRole::primary), color(ColorRole::primary));
    // The Fusion style draws frames and grooves from these.
    set(QPalette::Light, color(ColorRole::surface), color(ColorRole::surface));
    set(QPalette::Midlight, color(ColorRole::track), color(ColorRole::track));
    set(QPalette::Mid, color(ColorRole::surfaceBorder), color(ColorRole::surfaceBorder));
    set(QPalette::Dark, color(ColorRole::heroBorder), color(ColorRole::heroBorder));
    set(QPalette::Shadow, QColor(0, 0, 0, 90), QColor(0, 0, 0, 60));
    return palette;
}

namespace {

// Marks a window as joined, so a window shown many times joins once.
constexpr const char* kJoinedThemeProperty = "quorvaneTheme";

}  // namespace

void Theme::applyNow(QWidget* window) const {
    window->setPalette(palette());
    window->setFont(baseFont());
    // A see-through window (the tray icon's own) keeps its transparency.
    if (!window->testAttribute(Qt::WA_TranslucentBackground))
        window->setAutoFillBackground(true);
    setWindowControlSize(window, controlSize());
}

void Theme::applyToWindow(QWidget* window) {
    const QVariant joined = QVariant::fromValue(reinterpret_cast<quintptr>(this));
    if (window->property(kJoinedThemeProperty) == joined)
        return;
    window->setProperty(kJoinedThemeProperty, joined);
    forgetClosedWindows();
    windows_.emplace_back(window);
    applyNow(window);
}

// Menus and tooltips come and go all the time; the list keeps only those
// alive.
void Theme::forgetClosedWindows() {
    std::erase_if(windows_, [](const QPointer<QWidget>& window) { return window.isNull(); });
}

// The windows take the new palette, font and control size before any widget
// restyles on changed(), so a widget that measures a neighbour (a check box,
// a button) reads the new sizes. A window may join (a picker's list polished
// by its owner's new font) or close while this runs: the loop walks a copy,
// and a window that joined meanwhile took the new theme as it joined.
void Theme::announceChange() {
    forgetClosedWindows();
    const std::vector<QPointer<QWidget>> windows = windows_;
    for (const auto& window : windows)
        if (window)
            applyNow(window);
    emit changed();
}

}  // namespace quorvane
