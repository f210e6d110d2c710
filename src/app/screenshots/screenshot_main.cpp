// Renders every registered shot to PNG files for people to look at. Run
// through scripts/screenshots, which starts the private X server and builds
// this program: quorvane-screenshots <folder> [name filter].

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <cstdio>

#include "app/screenshots/shot_list.hpp"
#include "app/shell/store_host.hpp"
#include "presentation/shell/shell_frame_sizes.hpp"
#include "views/design/application_style.hpp"

namespace quorvane {

namespace {

ShotList allShots() {
    ShotList shots;
    addShellShots(shots);
    addComponentsShots(shots);
    addMainWindowShots(shots);
    addDetailFormShots(shots);
    addPanelShots(shots);
    addSettingsShots(shots);
    addImportSheetShots(shots);
    return shots;
}

struct Variant {
    QuorvaneTextSize textSize;
    QuorvaneAppearance appearance;
    const char* suffix;
};

constexpr Variant kVariants[] = {
    {QuorvaneTextSize::standard, QuorvaneAppearance::light, "standard-light"},
    {QuorvaneTextSize::standard, QuorvaneAppearance::dark, "standard-dark"},
    {QuorvaneTextSize::veryLarge, QuorvaneAppearance::light, "veryLarge-light"},
    {QuorvaneTextSize::veryLarge, QuorvaneAppearance::dark, "veryLarge-dark"},
};

// Runs the event loop until `done` or the deadline; true when done.
bool settle(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// A few quiet turns of the event loop: posted store changes, layouts and
// the background work's results have landed.
void settleIdle(StoreHost& host) {
    for (int turn = 0; turn < 10; ++turn) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        host.scheduler().waitForBackgroundWork();
    }
    QCoreApplication::processEvents();
}

std::unique_ptr<StoreHost> makeHost(const Shot& shot, const QString& folder,
                                    std::unique_ptr<ShotHardware>& hardware) {
    if (shot.world == ShotWorld::dummyServer) {
        const std::filesystem::path records = folder.toStdString();
        auto host = std::make_unique<StoreHost>(
            [&](std::shared_ptr<Scheduler> scheduler) {
                return dummyServerShotCollaborators(records, std::move(scheduler));
            },
            false);
        // The modes and profiles arrive from the background read.
        auto& store = host->store();
        settle(
            [&] {
                return !store.displays().empty() &&
                       store.colorProfileStates().size() == store.displays().size();
            },
            10000);
        return host;
    }
    hardware = std::make_unique<ShotHardware>();
    populateShotHardware(shot.world, *hardware);
    if (shot.prepare)
        shot.prepare(*hardware);
    return std::make_unique<StoreHost>(
        [&](std::shared_ptr<Scheduler> scheduler) {
            return simulatedShotCollaborators(*hardware, std::move(scheduler));
        },
        false);
}

// A few turns of the event loop without waiting for background work (a held
// monitor write never comes back while the picture is taken).
void settleQuietly() {
    for (int turn = 0; turn < 5; ++turn) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

bool isExposed(const QWidget& widget) {
    return widget.windowHandle() && widget.windowHandle()->isExposed();
}

// The widget's own size as a window opens at it (QWidget::adjustSize(): at
// most two thirds of the screen's width), with its height for that width,
// which unlike adjustSize() is not limited to a part of the screen.
QSize naturalSize(QWidget& widget) {
    QSize size = widget.sizeHint();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size.setWidth(std::min(size.width(), screen->availableGeometry().width() * 2 / 3));
    size = size.expandedTo(widget.minimumSizeHint())
               .expandedTo(widget.minimumSize())
               .boundedTo(widget.maximumSize());
    if (widget.hasHeightForWidth())
        size.setHeight(std::max(size.height(), widget.heightForWidth(size.width())));
    return size;
}

void sizeForFrame(QWidget& widget, Shot::Frame frame, QuorvaneTextSize textSize) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const std::optional<int> height =
        screen ? std::optional<int>(screen->availableGeometry().height()) : std::nullopt;
    FrameSize size{};
    switch (frame) {
        case Shot::Frame::mainWindow:
            size = kMainWindowDefaultSize;
            break;
        case Shot::Frame::menuPanel:
            size = menuPanelFrameSize(textSize, height);
            break;
        case Shot::Frame::settingsWindow:
            size = settingsWindowFrameSize(textSize, height);
            break;
        case Shot::Frame::natural:
            widget.resize(naturalSize(widget));
            return;
    }
    widget.resize(size.width, size.height);
}

// How much taller the scroll area's viewport must be to hold all of its
// content at its width without a scroll bar (0 when it already does). The
// content is measured at the width left beside a scroll bar: a scroll area
// that shows one keeps it until the narrower content fits.
int hiddenHeight(const QScrollArea& area) {
    const QWidget* content = area.widget();
    if (!content || !area.isVisible())
        return 0;
    const QSize room = area.maximumViewportSize();
    int needed = content->height();
    if (area.widgetResizable()) {
        const int width = room.width() - area.verticalScrollBar()->sizeHint().width();
        needed = content->hasHeightForWidth() ? content->heightForWidth(width)
                                              : content->sizeHint().height();
        needed = std::max(needed, content->minimumSizeHint().height());
    }
    return std::max({needed - room.height(), area.verticalScrollBar()->maximum(), 0});
}

// Lifts the window's own size limit (for this picture only) and grows it
// until every visible scroll area in it shows its whole content, so one
// picture holds a scrolling surface from top to bottom.
void showWhole(QWidget& window) {
    window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    for (int round = 0; round < 8; ++round) {
        settleQuietly();
        int grow = 0;
        for (const QScrollArea* area : window.findChildren<QScrollArea*>())
            grow = std::max(grow, hiddenHeight(*area));
        if (grow == 0)
            return;
        window.resize(window.width(), window.height() + grow);
    }
    settleQuietly();
}

bool render(const Shot& shot, const Variant& variant, const QDir& output) {
    QTemporaryDir records;
    std::unique_ptr<ShotHardware> hardware;
    auto host = makeHost(shot, records.path(), hardware);
    host->store().setTextSize(variant.textSize);
    host->store().setAppearance(variant.appearance);
    host->followStoreTheme();
    settleIdle(*host);

    auto widget = shot.build(host->context());
    if (!widget)
        return false;
    host->theme().applyToWindow(widget.get());
    sizeForFrame(*widget, shot.frame, variant.textSize);
    widget->show();
    settle([&] { return isExposed(*widget); }, 5000);
    settleIdle(*host);

    QWidget* subject = widget.get();
    if (shot.open) {
        ShotScene scene{host->context(), hardware.get()};
        subject = shot.open(*widget, scene);
        if (subject)
            settle([&] { return isExposed(*subject); }, 5000);
        settleQuietly();
    }
    if (subject == widget.get())
        showWhole(*widget);

    const QString file =
        output.filePath(QString::fromStdString(shot.name) + "-" + variant.suffix + ".png");
    const bool saved = subject && subject->grab().save(file);
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write",
                 file.toLocal8Bit().constData());
    // A write held for the picture finishes before the store goes.
    if (hardware)
        hardware->monitorGate->release();
    widget.reset();
    host.reset();
    return saved;
}

}  // namespace

}  // namespace quorvane

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setStyle(new quorvane::ApplicationStyle);
    if (argc < 2) {
        std::fputs("usage: quorvane-screenshots <folder> [name filter]\n", stderr);
        return 1;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(output.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    const QString filter = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

    QElapsedTimer timer;
    timer.start();
    int failures = 0;
    int pictures = 0;
    for (const auto& shot : quorvane::allShots()) {
        if (!filter.isEmpty() && !QString::fromStdString(shot.name).contains(filter))
            continue;
        for (const auto& variant : quorvane::kVariants) {
            if (!quorvane::render(shot, variant, output))
                ++failures;
            ++pictures;
        }
    }
    std::printf("%d pictures in %.1f s\n", pictures, timer.elapsed() / 1000.0);
    return failures == 0 ? 0 : 1;
}
