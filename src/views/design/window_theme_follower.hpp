#pragma once

#include <QObject>

namespace quorvane {

class Theme;

// The one path by which windows take the theme. Watching the whole
// application, it hands every top-level window to Theme::applyToWindow()
// when the window is first polished (just before it shows) or shown: the
// main window, the settings window and the panel, and just as well every
// sheet, confirmation, menu and the tray menu, and the windows Qt makes for
// them (a picker's list, a tooltip, a file dialog). The theme then gives
// each one its palette, base font and control size and follows its changes
// while it lives, so no dialog or menu needs a theme call of its own.
//
// One follower per application, created after the application object and
// living as long as the windows it themes (the application shell keeps it
// beside its theme).
class WindowThemeFollower : public QObject {
    Q_OBJECT

  public:
    explicit WindowThemeFollower(Theme& theme, QObject* parent = nullptr);
    ~WindowThemeFollower() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Theme& theme_;
};

}  // namespace quorvane
