#pragma once

#include <QObject>
#include <QRect>
#include <QSystemTrayIcon>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/shell/instance_message.hpp"
#include "app/shell/panel_host.hpp"
#include "app/shell/record_change_notifier.hpp"
#include "app/shell/store_host.hpp"
#include "models/settings/quorvane_text_size.hpp"
#include "platform/interfaces/deferred_save_reporting.hpp"
#include "platform/interfaces/gamma_controlling.hpp"
#include "presentation/shell/panel_access.hpp"
#include "presentation/shell/popup_placement.hpp"
#include "presentation/shell/window_output.hpp"
#include "services/automation/quorvane_automation_url_outcome.hpp"

class QMenu;

namespace quorvane {

class MainWindow;
class SettingsWindow;
class WindowScreenFit;

// The windowed application: the one store on the X server, the tray icon that
// toggles the panel, the main window and the settings window, all built
// lazily around the store, and the way out.
//
// The icon is shown whether or not a tray is there: Qt embeds it in a tray
// that comes later. Without a tray the main window opens at start and offers
// the panel, which opens as an ordinary small window, so the program never
// runs unseen; a tray coming or going later is followed within a second.
// Without a tray the program ends once its last window has gone; with one it
// goes on in the tray.
// Quitting (tray menu, Ctrl+Q, a quit signal, the session's end) hands every
// output back to its restore ramps; saved settings stay as they are.
class QuorvaneApplication : public QObject {
    Q_OBJECT

  public:
    struct Options {
        // The X server; "" means $DISPLAY.
        std::string displayName;
        std::filesystem::path defaultsFolder;
        std::vector<std::filesystem::path> profileDirectories;
    };

    // The exit status of a run that ended with a change it could not save.
    static constexpr int kChangesLostStatus = 1;

    explicit QuorvaneApplication(const Options& options, QObject* parent = nullptr);
    ~QuorvaneApplication() override;

    // Shows the tray icon, and the main window where there is no tray.
    void start();
    // An automation URL from the command line or a second launch, carried
    // out at once; the windows show what became of it, and so does the
    // result. A second launch's `answer` hears at once why the URL was not
    // carried out, or "ok" once the change's save has been tried (written,
    // or failed and held for its retry), off the window thread and within
    // kInstanceAnswerLimit.
    QuorvaneAutomationURLOutcome handleURL(const QString& url,
                                           std::function<void(const InstanceAnswer&)> answer = {});

    void showMainWindow();
    void openSettings();
    void togglePanel();
    void hidePanel();
    // Ends the event loop; the outputs are handed back in shutDown().
    void quit();
    // Hands every output back to its restore ramps and writes every save
    // still pending; what still cannot be written is told on standard error
    // (one line per reason, naming each display and setting lost) and in the
    // status. Runs once, after the event loop has ended, whatever ended it;
    // true when a change was lost, so the program ends with
    // kChangesLostStatus.
    bool shutDown();
    // Whether the store may hold a change not saved yet; safe from any
    // thread while the store lives, and never waits.
    bool holdsUnsavedChanges() const;
    // The X server went away and the process ends right after: writes every
    // save still pending (telling on standard error what still cannot be
    // written), then closes the store, which stops its workers (the hot-key
    // watcher, background reads, monitor traffic). The outputs went
    // with their server, so nothing is handed back, and the windows are left
    // as they are (their connection is gone too). Instead of shutDown().
    void closeAfterDisplayServerLoss();

  protected:
    // Sees each of the windows and the panel go from the screen.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createTrayIcon();
    bool trayShowsIcon() const;
    void followTray();
    bool anyWindowShown() const;
    void followSurfaceGone(bool wasPopup);
    void followStoreSettings();
    void applyFrameSizes();
    std::optional<ScreenRect> settingsOpener() const;
    void placeMainWindow();
    void placeSettings(std::optional<ScreenRect> opener);
    void sizeSettings(ScreenRect area);
    void followOutputs();
    ScreenRect panelAnchor() const;
    ScreenRect anchorWorkArea() const;
    void sizePanel(ScreenRect area);
    void placePanel();
    void keepPanelOnScreen(const QRect& frameBefore, const QSize& decoration);
    void answerOnceSaved(std::function<void()> answer);
    static void raise(QWidget* window);

    std::shared_ptr<GammaControlling> gamma_;
    std::weak_ptr<DeferredSaveReporting> deferredSaves_;
    std::unique_ptr<StoreHost> host_;
    std::unique_ptr<RecordChangeNotifier> recordChanges_;
    std::unique_ptr<QMenu> trayMenu_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<PanelHost> panel_;
    std::unique_ptr<SettingsWindow> settings_;
    std::unique_ptr<WindowScreenFit> screenFit_;
    std::optional<QuorvaneTextSize> appliedTextSize_;
    // Whether a tray showed the icon when last looked at.
    std::optional<bool> trayShown_;
    PanelAccess access_;
    QTimer trayWatch_;
    // What the panel opened at: the tray icon, the main window's control or
    // the pointer (an empty rectangle).
    ScreenRect panelAnchor_;
    // The small window's frame as it closed to open another window, until
    // the event loop turns: the window that other one is opened from.
    std::optional<ScreenRect> panelClosedFrame_;
    bool shutDown_ = false;
    bool changesLost_ = false;
};

}  // namespace quorvane
