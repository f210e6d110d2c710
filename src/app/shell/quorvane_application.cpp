#include "app/shell/quorvane_application.hpp"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLayout>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <utility>

#include "app/composition/linux_display_store_factory.hpp"
#include "app/shell/single_instance.hpp"
#include "app/shell/tray_icon_glyph.hpp"
#include "app/shell/tray_menu.hpp"
#include "app/shell/window_keys.hpp"
#include "app/shell/window_screen_fit.hpp"
#include "presentation/shell/shell_frame_sizes.hpp"
#include "presentation/shell/unsaved_changes_text.hpp"
#include "presentation/shell/window_output.hpp"
#include "views/main_window/main_utility_header.hpp"
#include "views/main_window/main_window.hpp"
#include "views/panel/menu_panel.hpp"
#include "views/settings/settings_window.hpp"

namespace quorvane {

namespace {

// How often a tray's coming or going is looked for.
constexpr auto kTrayWatchInterval = std::chrono::seconds(1);

// The last word on changes the program ends without: nothing else will
// write them. True when there were any.
bool tellUnwrittenSaves(const std::vector<UnwrittenSave>& unwritten, const DisplayStore& store) {
    if (unwritten.empty())
        return false;
    std::fputs(unsavedChangesAtQuit(unwritten, store).c_str(), stderr);
    std::fflush(stderr);
    return true;
}

}  // namespace

QuorvaneApplication::QuorvaneApplication(const Options& options, QObject* parent)
    : QObject(parent) {
    host_ = std::make_unique<StoreHost>([&](std::shared_ptr<Scheduler> scheduler) {
        auto collaborators = LinuxDisplayStoreFactory::collaborators(
            {std::move(scheduler), options.displayName, options.defaultsFolder,
             options.profileDirectories});
        gamma_ = collaborators.gammaController;
        deferredSaves_ = collaborators.deferredSaves;
        return collaborators;
    });
    auto& actions = host_->actions();
    actions.openMainWindow = [this] { showMainWindow(); };
    actions.openSettings = [this] { openSettings(); };
    actions.togglePanel = [this] { togglePanel(); };
    actions.hidePanel = [this] { hidePanel(); };
    actions.quit = [this] { quit(); };
    connect(&host_->bridge(), &StoreBridge::storeChanged, this, [this] { followStoreSettings(); });
    recordChanges_ = std::make_unique<RecordChangeNotifier>(options.defaultsFolder, host_->store());
    screenFit_ = std::make_unique<WindowScreenFit>();
    connect(screenFit_.get(), &WindowScreenFit::outputsChanged, this, [this] { followOutputs(); });
}

QuorvaneApplication::~QuorvaneApplication() {
    shutDown();
    // The views go before the store they read.
    settings_.reset();
    panel_.reset();
    mainWindow_.reset();
    tray_.reset();
    trayMenu_.reset();
    recordChanges_.reset();
    host_.reset();
}

void QuorvaneApplication::start() {
    createTrayIcon();
    followTray();
    // Qt tells of no tray coming or going: it is looked for.
    trayWatch_.setInterval(kTrayWatchInterval);
    connect(&trayWatch_, &QTimer::timeout, this, [this] { followTray(); });
    trayWatch_.start();
}

void QuorvaneApplication::followTray() {
    const bool shown = trayShowsIcon();
    if (trayShown_ == shown)
        return;
    trayShown_ = shown;
    access_ = panelAccess(shown, anyWindowShown());
    if (mainWindow_)
        mainWindow_->offerPanel(access_.mainWindowOffersPanel);
    if (access_.opensMainWindow)
        showMainWindow();
}

bool QuorvaneApplication::anyWindowShown() const {
    return (mainWindow_ && mainWindow_->isVisible()) || (settings_ && settings_->isVisible()) ||
           (panel_ && panel_->isVisible());
}

// Qt's own count of the last window closed is left off: it counts a window
// by the type it was first made as (the panel starts as a popup, which never
// counts, also once it is a small window) and only when closed, while the
// panel goes by hiding. So each surface that goes is looked at here, once the
// event loop has turned: a window opened in its place (the panel's "창 열기")
// shows by then. A minimised window (a hide the window system made) stays.
bool QuorvaneApplication::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && !event->spontaneous() && !shutDown_) {
        const bool popup = panel_ && watched == panel_.get() && panel_->isPopupForm();
        QTimer::singleShot(0, this, [this, popup] { followSurfaceGone(popup); });
    }
    return QObject::eventFilter(watched, event);
}

void QuorvaneApplication::followSurfaceGone(bool wasPopup) {
    if (shutDown_)
        return;
    switch (afterSurfaceGone(trayShowsIcon(), anyWindowShown(), wasPopup)) {
        case AfterSurfaceGone::opensMainWindow:
            showMainWindow();
            break;
        case AfterSurfaceGone::endsProgram:
            quit();
            break;
        case AfterSurfaceGone::nothing:
            break;
    }
}

void QuorvaneApplication::createTrayIcon() {
    trayMenu_ = makeTrayMenu([this] { quit(); });

    const auto variant = trayGlyphVariantFor(QGuiApplication::palette().color(QPalette::Window));
    tray_ = std::make_unique<QSystemTrayIcon>(trayIconGlyph(variant));
    tray_->setToolTip(QStringLiteral("Quorvane"));
    tray_->setContextMenu(trayMenu_.get());
    // Every left press on the icon is a click on it. A press that follows the
    // previous one within the double-click interval comes as DoubleClick
    // instead of Trigger, also when that previous press was the one outside
    // the popup that closed the panel: clicking the icon again at once must
    // open the panel again, not be lost.
    connect(tray_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                    togglePanel();
            });
    tray_->show();
}

bool QuorvaneApplication::trayShowsIcon() const {
    return tray_ && tray_->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

QuorvaneAutomationURLOutcome QuorvaneApplication::handleURL(
    const QString& url, std::function<void(const InstanceAnswer&)> answer) {
    auto outcome = host_->store().carryOutAutomationURL(url.toStdString());
    if (!answer)
        return outcome;
    // A URL not carried out is answered at once: the launch is told no,
    // and an answer still owed when the instance ends would be "ok".
    if (auto refusal = outcome.refusal())
        answer(InstanceAnswer{std::move(refusal)});
    else
        answerOnceSaved([answer = std::move(answer)] { answer({}); });
    return outcome;
}

// The launch that handed the URL over ends on our answer, and what the user
// runs next (the command line, on the same display) should find the change
// on disk. The writer tells when the save has been tried, on its own thread;
// the window thread never waits for it. A save that waits for another
// process's lock is answered when that wait fails, or at the latest after
// kInstanceAnswerLimit, and retried later: the request itself was carried
// out either way.
void QuorvaneApplication::answerOnceSaved(std::function<void()> answer) {
    auto saves = deferredSaves_.lock();
    if (!saves) {
        answer();
        return;
    }
    // Both ways to answer run on the window thread: the first one answers.
    auto owed = std::make_shared<std::function<void()>>(std::move(answer));
    const auto give = [owed] {
        if (*owed)
            std::exchange(*owed, {})();
    };
    QTimer::singleShot(kInstanceAnswerLimit, this, give);
    saves->whenPendingWritesTried(
        [this, give] { QMetaObject::invokeMethod(this, give, Qt::QueuedConnection); });
}

void QuorvaneApplication::showMainWindow() {
    if (!mainWindow_) {
        mainWindow_ = std::make_unique<MainWindow>(host_->context());
        mainWindow_->setWindowTitle(QStringLiteral("Quorvane"));
        const auto area = WindowScreenFit::workAreaOf(mainWindow_.get());
        const auto size =
            fittedInside(kMainWindowDefaultSize, screenFit_->frameMarginsOf(mainWindow_.get()),
                         {area.width, area.height});
        mainWindow_->resize(size.width, size.height);
        mainWindow_->offerPanel(access_.mainWindowOffersPanel);
        addWindowKeys(mainWindow_.get(), {.closeOnCtrlW = true}, [this] { quit(); });
        mainWindow_->installEventFilter(this);
    }
    if (!mainWindow_->isVisible())
        placeMainWindow();
    raise(mainWindow_.get());
}

// Where it stood as it last closed, moved there by its user or not, fitted
// to the output it comes back on (the nearest still on if that one went or
// shrank); the first time, where the window manager puts it. Left to the
// window manager again, a window would be placed anew, not where it was.
void QuorvaneApplication::placeMainWindow() {
    const auto last = screenFit_->closedAt(mainWindow_.get());
    if (!last)
        return;
    const ScreenRect area = workAreaHolding(*last);
    screenFit_->fitTo(mainWindow_.get(), area);
    const auto margins = screenFit_->frameMarginsOf(mainWindow_.get());
    screenFit_->place(
        mainWindow_.get(),
        openingFrame(withFrame({mainWindow_->width(), mainWindow_->height()}, margins), last, *last,
                     area));
}

void QuorvaneApplication::openSettings() {
    const auto opener = settingsOpener();
    if (!settings_) {
        settings_ = std::make_unique<SettingsWindow>(host_->context());
        settings_->setWindowFlag(Qt::Window);
        settings_->setWindowTitle(QStringLiteral("Quorvane 설정"));
        addWindowKeys(settings_.get(), {.closeOnCtrlW = true, .closeOnEscape = true},
                      [this] { quit(); });
        settings_->installEventFilter(this);
        applyFrameSizes();
    }
    if (!settings_->isVisible())
        placeSettings(opener);
    raise(settings_.get());
}

// The frame of the window the settings window is opened from: the small
// window that closed to open it, the one in front, else the main window or
// the panel that is shown.
std::optional<ScreenRect> QuorvaneApplication::settingsOpener() const {
    if (panelClosedFrame_)
        return panelClosedFrame_;
    const QWidget* active = QApplication::activeWindow();
    const QWidget* opener = nullptr;
    if (active && (active == mainWindow_.get() || active == panel_.get()))
        opener = active;
    else if (mainWindow_ && mainWindow_->isVisible())
        opener = mainWindow_.get();
    else if (panel_ && panel_->isVisible())
        opener = panel_.get();
    if (!opener)
        return std::nullopt;
    return screenFit_->frameOf(opener);
}

// On the output of the window it is opened from, centred over it; where
// its user last put it once they moved it. Sized for that output before it
// shows there.
void QuorvaneApplication::placeSettings(std::optional<ScreenRect> opener) {
    const QPoint pointer = QCursor::pos();
    const ScreenRect from = opener.value_or(ScreenRect{pointer.x(), pointer.y(), 0, 0});
    const auto userPlaced = screenFit_->userPlaced(settings_.get());
    const ScreenRect area = workAreaHolding(userPlaced.value_or(from));
    sizeSettings(area);
    const auto margins = screenFit_->frameMarginsOf(settings_.get());
    screenFit_->place(settings_.get(),
                      openingFrame(withFrame({settings_->width(), settings_->height()}, margins),
                                   userPlaced, from, area));
}

// The settings window's size from the text size's table for the work area,
// cut to it with its frame.
void QuorvaneApplication::sizeSettings(ScreenRect area) {
    screenFit_->fitTo(settings_.get(), area,
                      settingsWindowFrameSize(host_->store().textSize(), area.height));
}

// A window whose output went or shrank under it moves onto the nearest
// output still on, fitted to it as when it opens; the others stay.
void QuorvaneApplication::followOutputs() {
    if (settings_ && settings_->isVisible() && !screenFit_->standsInside(settings_.get()))
        sizeSettings(WindowScreenFit::workAreaOf(settings_.get()));
    // The popup stays beside its tray icon, wherever the tray now shows it.
    if (panel_ && panel_->isVisible() && panel_->isPopupForm()) {
        panelAnchor_ = panelAnchor();
        sizePanel(anchorWorkArea());
        placePanel();
    } else if (panel_ && panel_->isVisible() && !screenFit_->standsInside(panel_.get())) {
        sizePanel(WindowScreenFit::workAreaOf(panel_.get()));
        screenFit_->keepInside(panel_.get());
    }
    screenFit_->keepAllInside();
}

void QuorvaneApplication::togglePanel() {
    if (!panel_) {
        panel_ = std::make_unique<PanelHost>();
        panel_->layout()->addWidget(new MenuPanel(host_->context(), panel_.get()));
        // Escape is the panel's own; Ctrl+W closes it as any window in front.
        addWindowKeys(panel_.get(), {.closeOnCtrlW = true}, [this] { quit(); });
        panel_->installEventFilter(this);
        // Once its frame is known, the small window fits beside its anchor.
        WindowScreenFit::leavePlacingToOwner(panel_.get());
        connect(screenFit_.get(), &WindowScreenFit::frameKnown, this, [this](QWidget* window) {
            if (window != panel_.get() || !panel_->isVisible() || panel_->isPopupForm())
                return;
            sizePanel(anchorWorkArea());
            placePanel();
        });
    }
    if (panel_->isVisible()) {
        panel_->hide();
        return;
    }
    // The form follows the same rule as the main window's control, read
    // afresh: a tray may have come or gone since the last look.
    followTray();
    panel_->usePopupForm(access_.popupAtTrayIcon);
    panelAnchor_ = panelAnchor();
    applyFrameSizes();
    placePanel();
    if (panel_->isPopupForm()) {
        panel_->show();
        panel_->activateWindow();
    } else {
        raise(panel_.get());
    }
}

void QuorvaneApplication::hidePanel() {
    if (!panel_ || !panel_->isVisible())
        return;
    if (!panel_->isPopupForm()) {
        panelClosedFrame_ = screenFit_->frameOf(panel_.get());
        QTimer::singleShot(0, this, [this] { panelClosedFrame_.reset(); });
    }
    panel_->hide();
}

// The popup opens at the tray icon, or at the pointer where the tray gives
// no geometry; the small window under the main window's control that
// opened it, or at the pointer.
ScreenRect QuorvaneApplication::panelAnchor() const {
    if (panel_->isPopupForm() && tray_ && tray_->geometry().isValid())
        return toScreenRect(tray_->geometry());
    if (!panel_->isPopupForm() && mainWindow_ && mainWindow_->isVisible()) {
        const QWidget* control = mainWindow_->utilityHeader()->panelButton();
        if (control->isVisible())
            return toScreenRect(QRect(control->mapToGlobal(QPoint(0, 0)), control->size()));
    }
    const QPoint pointer = QCursor::pos();
    return {pointer.x(), pointer.y(), 0, 0};
}

// The work area of the screen of what the panel opens at.
ScreenRect QuorvaneApplication::anchorWorkArea() const {
    const ScreenRect& anchor = panelAnchor_;
    return workAreaAround(QPoint(anchor.x + anchor.width / 2, anchor.y + anchor.height / 2));
}

// The panel's size from the text size's table, cut to the work area with
// its frame.
void QuorvaneApplication::sizePanel(ScreenRect area) {
    const auto size =
        fittedInside(menuPanelFrameSize(host_->store().textSize(), area.height),
                     screenFit_->frameMarginsOf(panel_.get()), {area.width, area.height});
    panel_->setFixedSize(size.width, size.height);
}

// Placed by its frame: the small window's title bar counts.
void QuorvaneApplication::placePanel() {
    const ScreenRect& anchor = panelAnchor_;
    const auto margins = screenFit_->frameMarginsOf(panel_.get());
    const auto size = withFrame({panel_->width(), panel_->height()}, margins);
    const auto placed = popupPlacement(size, anchor, anchor.x, anchor.y, anchorWorkArea());
    screenFit_->place(panel_.get(), placed);
}

// A panel whose size changed while open stays inside the work area at its
// corner: the popup where opening it now would put it, the small window
// (which its user may have moved) growing away from the nearest corner.
void QuorvaneApplication::keepPanelOnScreen(const QRect& frameBefore, const QSize& decoration) {
    if (panel_->isPopupForm()) {
        placePanel();
        return;
    }
    const QSize frame = panel_->maximumSize() + decoration;
    const auto placed = resizedInPlace(toScreenRect(frameBefore), {frame.width(), frame.height()},
                                       workAreaAround(frameBefore.center()));
    screenFit_->place(panel_.get(), placed);
}

void QuorvaneApplication::followStoreSettings() {
    if (appliedTextSize_ == host_->store().textSize())
        return;
    applyFrameSizes();
    // Every window and sheet took its new sizes: each still fits its screen.
    screenFit_->keepAllInside();
}

// The panel and the settings window follow the text size's table at once;
// the main window keeps the size its user gave it.
void QuorvaneApplication::applyFrameSizes() {
    const auto textSize = host_->store().textSize();
    appliedTextSize_ = textSize;
    if (panel_) {
        // The small window sits on the screen it was moved to, if any.
        const bool smallWindowShown = panel_->isVisible() && !panel_->isPopupForm();
        const QRect frameBefore = panel_->frameGeometry();
        const QSize sizeBefore = panel_->size();
        sizePanel(smallWindowShown ? WindowScreenFit::workAreaOf(panel_.get()) : anchorWorkArea());
        if (panel_->isVisible() && panel_->size() != sizeBefore)
            keepPanelOnScreen(frameBefore, frameBefore.size() - sizeBefore);
    }
    if (settings_)
        sizeSettings(WindowScreenFit::workAreaOf(settings_.get()));
}

void QuorvaneApplication::raise(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

void QuorvaneApplication::quit() {
    QCoreApplication::quit();
}

void QuorvaneApplication::closeAfterDisplayServerLoss() {
    shutDown_ = true;
    trayWatch_.stop();
    // Straight to the writer: the store would tell its windows, which must
    // not run on the lost connection.
    std::vector<UnwrittenSave> unwritten;
    if (auto saves = deferredSaves_.lock())
        unwritten = saves->flushPendingSaves();
    if (host_) {
        for (auto& held : host_->store().heldSaves())
            unwritten.push_back(std::move(held));
        tellUnwrittenSaves(unwritten, host_->store());
    }
    recordChanges_.reset();
    host_.reset();
}

bool QuorvaneApplication::shutDown() {
    if (shutDown_)
        return changesLost_;
    shutDown_ = true;
    if (gamma_)
        gamma_->restoreSystemColorSettings();
    if (host_)
        changesLost_ = tellUnwrittenSaves(host_->store().flushPendingSaves(), host_->store());
    return changesLost_;
}

bool QuorvaneApplication::holdsUnsavedChanges() const {
    return host_ && host_->store().mayHoldUnsavedChanges();
}

}  // namespace quorvane
