// Renders every registered shot to PNG files for people to look at. Run
// through scripts/screenshots, which starts the private X server and builds
// this program: quorvane-screenshots <folder> [name filter].

#include <QApplication>
#include <QDateTime>
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
#include "views/design/busy_spinner.hpp"
#include "views/design/qt_translation.hpp"

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
        case Shot::Frame::leastWidth:
            widget.resize(widget.minimumWidth(), naturalSize(widget).height());
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

// The variant a restyled picture starts from: the other text size and the
// other appearance, so both change live.
const Variant& opposite(const Variant& variant) {
    for (const auto& other : kVariants)
        if (other.textSize != variant.textSize && other.appearance != variant.appearance)
            return other;
    return variant;
}

// A picture and the status line the store showed in it.
struct Rendering {
    QImage picture;
    std::string status;
};

// Renders `shot` in `variant`, or, with `from`, built in `from` and switched
// to `variant` live once shown (the store's setters, as the appearance and
// text-size controls call them) with the status line `freshStatus`; the
// picture is null when it failed.
Rendering render(const Shot& shot, const Variant& variant, const Variant* from,
                 const std::string* freshStatus) {
    QTemporaryDir records;
    std::unique_ptr<ShotHardware> hardware;
    auto host = makeHost(shot, records.path(), hardware);
    const Variant& built = from ? *from : variant;
    host->store().setTextSize(built.textSize);
    host->store().setAppearance(built.appearance);
    host->followStoreTheme();
    settleIdle(*host);

    auto widget = shot.build(host->context());
    if (!widget)
        return {};
    host->theme().applyToWindow(widget.get());
    sizeForFrame(*widget, shot.frame, built.textSize);
    widget->show();
    settle([&] { return isExposed(*widget); }, 5000);
    settleIdle(*host);

    QWidget* subject = widget.get();
    // The live switch: the store's setters, then the window's frame for the
    // new text size as its host sizes it (an opened dialog or menu sizes
    // itself).
    const auto switchLive = [&] {
        host->store().setTextSize(variant.textSize);
        host->store().setAppearance(variant.appearance);
        // The setters report the change in the status line; the picture
        // compares how the surface is drawn, so the line reads as in the
        // fresh picture (which a snapshot opened next takes as it was).
        if (freshStatus && !shot.opensSettingsSnapshot)
            host->store().setStatusMessage(*freshStatus);
        settleQuietly();
        if (subject == widget.get())
            sizeForFrame(*widget, shot.frame, variant.textSize);
        settleQuietly();
    };
    if (from && shot.opensSettingsSnapshot)
        switchLive();
    if (shot.open) {
        ShotScene scene{host->context(), hardware.get()};
        subject = shot.open(*widget, scene);
        if (subject)
            settle([&] { return isExposed(*subject); }, 5000);
        settleQuietly();
    }
    if (from && !shot.opensSettingsSnapshot)
        switchLive();
    if (subject == widget.get())
        showWhole(*widget);

    Rendering rendering{QImage(), host->store().statusMessage()};
    QImage& picture = rendering.picture;
    if (subject) {
        // A busy indicator turns with time; both pictures show its first step.
        for (auto* spinner : subject->findChildren<BusySpinner*>())
            spinner->restart();
        picture = subject->grab().toImage();
    }
    // A write held for the picture finishes before the store goes.
    if (hardware)
        hardware->monitorGate->release();
    widget.reset();
    host.reset();
    return rendering;
}

bool save(const QImage& picture, const QString& file) {
    const bool saved = !picture.isNull() && picture.save(file);
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write",
                 file.toLocal8Bit().constData());
    return saved;
}

// The number of pixels in which two pictures differ (every pixel when their
// sizes do).
qsizetype differingPixels(const QImage& first, const QImage& second) {
    if (first.size() != second.size())
        return std::max<qsizetype>(first.width() * first.height(), 1);
    const QImage a = first.convertToFormat(QImage::Format_ARGB32);
    const QImage b = second.convertToFormat(QImage::Format_ARGB32);
    qsizetype count = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* left = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* right = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            count += left[x] != right[x] ? 1 : 0;
    }
    return count;
}

// Renders the variant fresh and again after a live switch from the opposite
// one, saves both and checks that they are the same pixel for pixel: a
// theme change restyles in place and must leave nothing of the old theme.
// Returns the number of failures (0, 1 or 2).
int renderBoth(const Shot& shot, const Variant& variant, const QDir& output) {
    const QString stem = output.filePath(QString::fromStdString(shot.name));
    const auto minute = [] { return QDateTime::currentDateTime().toString("yyyyMMddhhmm"); };
    const QString started = minute();
    const auto both = [&] {
        const Rendering fresh = render(shot, variant, nullptr, nullptr);
        return std::pair(fresh.picture,
                         render(shot, variant, &opposite(variant), &fresh.status).picture);
    };
    auto [fresh, restyled] = both();
    // A surface that shows the time of day differs when the two pictures
    // straddle a minute: then both are taken again.
    if (minute() != started && differingPixels(fresh, restyled) != 0)
        std::tie(fresh, restyled) = both();
    int failures = 0;
    failures += save(fresh, stem + "-" + variant.suffix + ".png") ? 0 : 1;
    const QString restyledFile = stem + "-restyled-" + variant.suffix + ".png";
    if (!save(restyled, restyledFile))
        return failures + 1;
    const qsizetype differing = differingPixels(fresh, restyled);
    if (differing == 0) {
        std::printf("identical %s\n", restyledFile.toLocal8Bit().constData());
        return failures;
    }
    std::fprintf(stderr, "NOT IDENTICAL %s: %lld pixels differ%s\n",
                 restyledFile.toLocal8Bit().constData(), static_cast<long long>(differing),
                 fresh.size() == restyled.size() ? "" : " (the sizes differ)");
    return failures + 1;
}

}  // namespace

}  // namespace quorvane

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const auto qtTexts = quorvane::installQtTranslation();
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
            failures += quorvane::renderBoth(shot, variant, output);
            pictures += 2;
        }
    }
    std::printf("%d pictures in %.1f s, %d failed or not identical\n", pictures,
                timer.elapsed() / 1000.0, failures);
    return failures == 0 ? 0 : 1;
}
