#pragma once

#include <functional>

class QObject;

namespace quorvane {

class Theme;

// Runs `restyle` now and again after every change of `theme` (text size,
// appearance, desktop scheme), for as long as `owner` lives: how a widget
// built once keeps its font, colour or size in step, so a theme change
// restyles it in place instead of rebuilding it.
//
// Usage: followTheme(theme, icon, [icon, &theme] {
//            icon->setColor(theme.color(ColorRole::accent));
//        });
void followTheme(Theme& theme, QObject* owner, std::function<void()> restyle);

}  // namespace quorvane
