#include "views/design/theme_follow.hpp"

#include "views/design/theme.hpp"

namespace quorvane {

void followTheme(Theme& theme, QObject* owner, std::function<void()> restyle) {
    restyle();
    QObject::connect(&theme, &Theme::changed, owner, std::move(restyle));
}

}  // namespace quorvane
