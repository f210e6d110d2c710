#include "app/shell/window_screen_fit.hpp"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScopedValueRollback>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <chrono>

#include "app/shell/desktop_work_area.hpp"
#include "app/shell/desktop_work_area_watch.hpp"
#include "presentation/shell/shell_frame_sizes.hpp"
#include "presentation/shell/window_output.hpp"

namespace quorvane {

namespace {

// Kept on each window: the smallest size its owner asked for, the one set
// in its place, the frame counted when it was last fitted, the output its
// smallest size was set for and whether its owner places it.
constexpr const char* kWantedMinimum = "quorvaneWantedMinimum";
constexpr const char* kFittedMinimum = "quorvaneFittedMinimum";
constexpr const char* kFittedFrame = "quorvaneFittedFrame";
constexpr const char* kFittedScreen = "quorvaneFittedScreen";
constexpr const char* kPlacedByOwner = "quorvanePlacedByOwner";
// Set on a sheet from its show until the event loop turns.
constexpr const char* kOpening = "quorvaneOpening";
// Whether the window system shows the window, and whether it is to be kept
// inside its work area once it does.
constexpr const char* kMapped = "quorvaneMapped";
constexpr const char* kPlaceWhenMapped = "quorvanePlaceWhenMapped";
// A refit asked for on the next turn.
constexpr const char* kRefitting = "quorvaneRefitting";

bool isFramedWindow(const QWidget* widget) {
    if (!widget->isWindow())
        return false;
    const auto type = widget->windowType();
    return (type == Qt::Window || type == Qt::Dialog || type == Qt::Sheet) &&
           !widget->windowFlags().testFlag(Qt::FramelessWindowHint);
}

FrameMargins toFrameMargins(const QMargins& margins) {
    return {margins.left(), margins.top(), margins.right(), margins.bottom()};
}

QMargins toQMargins(FrameMargins margins) {
    return {margins.left, margins.top, margins.right, margins.bottom};
}

// The frame the window manager gave the window, none while it is unknown:
// a frame told smaller than its window is a passing one, told as the window
// manager takes the window in; sized or placed by it, a window would be cut
// to the wrong room and put off its output.
QMargins knownFrame(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    const QMargins told = handle ? handle->frameMargins() : QMargins();
    return surroundsItsWindow(toFrameMargins(told)) ? told : QMargins();
}

// Windows a window manager frames alike: of one type, resizable or not.
int kindOf(const QWidget* window) {
    const bool fixed = window->minimumSize() == window->maximumSize();
    return static_cast<int>(window->windowType()) * 2 + (fixed ? 1 : 0);
}

// The window a sheet, dialog or prompt stands over, if shown.
QWidget* parentWindowOf(const QWidget* window) {
    QWidget* parent = window->parentWidget();
    if (!parent)
        return nullptr;
    QWidget* over = parent->window();
    return over->isVisible() ? over : nullptr;
}

}  // namespace

WindowScreenFit::WindowScreenFit(QObject* parent) : QObject(parent) {
    QApplication::instance()->installEventFilter(this);
    followOutputs();
}

WindowScreenFit::~WindowScreenFit() {
    if (auto* application = QApplication::instance())
        application->removeEventFilter(this);
}

FrameMargins WindowScreenFit::frameMarginsOf(const QWidget* window) const {
    if (!isFramedWindow(window))
        return {};
    const QMargins own = knownFrame(window);
    if (!own.isNull()) {
        lastFrames_[kindOf(window)] = own;
        lastFrame_ = own;
        return toFrameMargins(own);
    }
    const auto same = lastFrames_.find(kindOf(window));
    return toFrameMargins(same != lastFrames_.end() ? same->second : lastFrame_);
}

namespace {

// The screen a window at `rect` belongs to: the one that shows most of it,
// else the nearest, else the primary.
const QScreen* screenHolding(ScreenRect rect) {
    const auto screens = QGuiApplication::screens();
    std::vector<ScreenRect> outputs;
    std::size_t primary = 0;
    for (const QScreen* screen : screens) {
        if (screen == QGuiApplication::primaryScreen())
            primary = outputs.size();
        outputs.push_back(toScreenRect(screen->geometry()));
    }
    const auto home = homeOutput(rect, outputs, primary);
    return home ? screens.at(static_cast<qsizetype>(*home)) : QGuiApplication::primaryScreen();
}

QString screenNameHolding(ScreenRect rect) {
    const QScreen* screen = screenHolding(rect);
    return screen ? screen->name() : QString();
}

}  // namespace

ScreenRect toScreenRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

ScreenRect workAreaAround(QPoint point) {
    return workAreaHolding({point.x(), point.y(), 1, 1});
}

ScreenRect workAreaHolding(ScreenRect frame) {
    const QScreen* screen = screenHolding(frame);
    return wholePixelArea(desktopWorkArea(screen), screen ? screen->devicePixelRatio() : 1.0);
}

// By where the window stands rather than by the screen Qt gives it: Qt
// leaves a window whose output went on the primary screen, wherever it is.
ScreenRect WindowScreenFit::workAreaOf(const QWidget* window) {
    return workAreaHolding(toScreenRect(window->frameGeometry()));
}

ScreenRect WindowScreenFit::frameOf(const QWidget* window) const {
    const FrameMargins margins = frameMarginsOf(window);
    const QRect inside = window->geometry();
    return {inside.x() - margins.left, inside.y() - margins.top,
            inside.width() + margins.left + margins.right,
            inside.height() + margins.top + margins.bottom};
}

bool WindowScreenFit::standsInside(const QWidget* window) const {
    return quorvane::standsInside(frameOf(window), workAreaOf(window));
}

// An output that goes, comes or takes another mode, or a work area that
// changes: looked at once Qt has taken in every change of the moment.
void WindowScreenFit::followOutputs() {
    const auto changed = [this] {
        QMetaObject::invokeMethod(this, &WindowScreenFit::outputsChanged, Qt::QueuedConnection);
    };
    const auto watch = [this, changed](QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, this, changed);
    };
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [watch, changed](QScreen* screen) {
        watch(screen);
        changed();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, changed);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, changed);
    // A dock that comes, goes or changes its strut moves the work area: the
    // windows follow it as they follow an output.
    connect(new DesktopWorkAreaWatch(this), &DesktopWorkAreaWatch::changed, this, changed);
}

bool WindowScreenFit::eventFilter(QObject* watched, QEvent* event) {
    // Every event of the application passes here: leave at once unless a
    // window showed, hid, moved or took a size.
    const auto type = event->type();
    if (type == QEvent::Expose && watched->isWindowType()) {
        followExpose(static_cast<QWindow*>(watched));
        return false;
    }
    if (type != QEvent::Show && type != QEvent::Hide && type != QEvent::Move &&
        type != QEvent::Resize)
        return false;
    if (!watched->isWidgetType())
        return false;
    auto* window = static_cast<QWidget*>(watched);
    if (!isFramedWindow(window))
        return false;
    // Whoever set its smallest size (its owner, its layout, this fit).
    if (type == QEvent::Show || type == QEvent::Resize)
        keepMinimumReachable(window);
    if (type == QEvent::Hide) {
        window->setProperty(kMapped, false);
        if (!event->spontaneous())
            placementOf(window).closed(frameOf(window));
        return false;
    }
    if (type == QEvent::Show) {
        const QScopedValueRollback showing(showing_, true);
        const FrameMargins margins = frameMarginsOf(window);
        window->setProperty(kFittedScreen, screenNameHolding(frameOf(window)));
        if (window->property(kPlacedByOwner).toBool()) {
            window->setProperty(kFittedFrame, QVariant::fromValue(toQMargins(margins)));
            placementOf(window).shown();
            return false;
        }
        if (parentWindowOf(window)) {
            // Placed before its own show handler runs, which would centre
            // it by Qt's rules; placed again if that handler resizes it.
            placeOverParent(window);
            placementOf(window).shown();
            window->setProperty(kOpening, true);
            QMetaObject::invokeMethod(
                this,
                [target = QPointer<QWidget>(window)] {
                    if (target)
                        target->setProperty(kOpening, false);
                },
                Qt::QueuedConnection);
            return false;
        }
        fitSize(window, margins, workAreaOf(window));
        placementOf(window).shown();
        return false;
    }
    if (type == QEvent::Resize && window->property(kOpening).toBool() && !placingSheet_ &&
        parentWindowOf(window)) {
        placeOverParent(window);
        return false;
    }
    if (type == QEvent::Resize && window->isVisible())
        followOwnerMinimum(window);
    if (!window->isVisible() || knownFrame(window).isNull())
        return false;
    // Before the window system shows a window, Qt may report a passing
    // place for it: no move of anyone's.
    if (type == QEvent::Move && window->property(kMapped).toBool())
        followMove(window);
    followFrame(window);
    return false;
}

// A shown window its owner gave a new smallest size (a sheet restyled, a
// prompt sized by its text), which may have grown it past its work area:
// fitted again on the turn.
void WindowScreenFit::followOwnerMinimum(QWidget* window) {
    const QVariant fitted = window->property(kFittedMinimum);
    if (!fitted.isValid() || fitted.toSize() == window->minimumSize() ||
        window->property(kPlacedByOwner).toBool() || window->property(kRefitting).toBool())
        return;
    window->setProperty(kRefitting, true);
    QMetaObject::invokeMethod(
        this,
        [this, target = QPointer<QWidget>(window)] {
            if (!target)
                return;
            target->setProperty(kRefitting, false);
            if (target->isVisible())
                keepInside(target);
        },
        Qt::QueuedConnection);
}

// A shown window whose frame is known was reported at a new place: the
// user's move, unless the program put it there (or the window manager
// nudged it from there as it showed it); on another output, its smallest
// size follows, so the user can make it fit (its size stays theirs).
void WindowScreenFit::followMove(QWidget* window) {
    auto& placement = placementOf(window);
    const auto now = std::chrono::steady_clock::now();
    const ScreenRect told = toScreenRect(window->geometry());
    // Asked of the X server only until the user moves it: later places are
    // the user's whatever Qt tells on the way.
    if (!placement.movedByUser() &&
        placement.leavesProgramPlace(told, now, window->devicePixelRatio()) &&
        passingPlace(window, placement, told, now))
        return;
    placement.reported(told, frameOf(window), now, window->devicePixelRatio());
    const QString screen = screenNameHolding(frameOf(window));
    if (window->property(kFittedScreen).toString() == screen)
        return;
    window->setProperty(kFittedScreen, screen);
    fitMinimum(window, frameMarginsOf(window), workAreaOf(window));
}

// A place Qt told away from the program's that the X server does not
// have the window at: a passing one, which its user never chose. Qt is
// told the place the window stands at, where it would otherwise size or
// move it from next.
bool WindowScreenFit::passingPlace(QWidget* window, const UserPlacement& placement, ScreenRect told,
                                   UserPlacement::Moment now) {
    const auto placed = placement.programPlace();
    if (!placed ||
        !placement.passingPlace(told, serverPlaceOf(window), now, window->devicePixelRatio()))
        return false;
    window->setGeometry(placed->x, placed->y, window->width(), window->height());
    return true;
}

// The frame the window manager just gave a shown window: fitted again
// once, after the move or resize that told it; a window its user moved
// meanwhile stays where they put it.
void WindowScreenFit::followFrame(QWidget* window) {
    const QMargins own = knownFrame(window);
    lastFrames_[kindOf(window)] = own;
    lastFrame_ = own;
    if (window->property(kFittedFrame).value<QMargins>() == own)
        return;
    window->setProperty(kFittedFrame, QVariant::fromValue(own));
    QMetaObject::invokeMethod(
        this,
        [this, target = QPointer<QWidget>(window)] {
            if (!target || movedByUser(target))
                return;
            if (target->property(kPlacedByOwner).toBool())
                emit frameKnown(target);
            else
                keepInside(target);
        },
        Qt::QueuedConnection);
}

// A window the window system just showed (or uncovered). Qt tells of no
// frame the window manager gives a window: by the time it is shown, it has
// framed it, and a window that opened where it was put is reported at no
// new place. A window kept inside before it was shown is placed now.
void WindowScreenFit::followExpose(QWindow* handle) {
    QWidget* window = QWidget::find(handle->winId());
    if (!window || !window->isWindow() || !window->isVisible() || !isFramedWindow(window))
        return;
    if (!window->property(kMapped).toBool()) {
        window->setProperty(kMapped, true);
        // Where the program put it for this opening, whatever passing place
        // Qt took in meanwhile: the window system shows it there.
        const auto placed = placementOf(window).programPlace();
        // Asked of the X server: Qt may not yet have told the place the
        // window manager put it at.
        placementOf(window).mapped(
            std::chrono::steady_clock::now(),
            serverPlaceOf(window).value_or(toScreenRect(window->geometry())));
        if (placed && window->geometry().topLeft() != QPoint(placed->x, placed->y))
            window->setGeometry(placed->x, placed->y, window->width(), window->height());
    }
    if (!knownFrame(window).isNull())
        followFrame(window);
    if (!window->property(kPlaceWhenMapped).toBool())
        return;
    window->setProperty(kPlaceWhenMapped, false);
    QMetaObject::invokeMethod(
        this,
        [this, target = QPointer<QWidget>(window)] {
            if (target && target->isVisible() && !movedByUser(target))
                keepInside(target);
        },
        Qt::QueuedConnection);
}

UserPlacement& WindowScreenFit::placementOf(QWidget* window) {
    const auto found = placements_.find(window);
    if (found != placements_.end())
        return found->second;
    connect(window, &QObject::destroyed, this, [this](QObject* gone) { placements_.erase(gone); });
    return placements_[window];
}

std::optional<ScreenRect> WindowScreenFit::userPlaced(const QWidget* window) const {
    const auto found = placements_.find(window);
    return found != placements_.end() ? found->second.userPlaced() : std::nullopt;
}

std::optional<ScreenRect> WindowScreenFit::closedAt(const QWidget* window) const {
    const auto found = placements_.find(window);
    return found != placements_.end() ? found->second.closedAt() : std::nullopt;
}

bool WindowScreenFit::movedByUser(const QWidget* window) const {
    const auto found = placements_.find(window);
    return found != placements_.end() && found->second.movedByUser();
}

void WindowScreenFit::place(QWidget* window, ScreenRect frame) {
    const FrameMargins margins = frameMarginsOf(window);
    const QRect inside(frame.x + margins.left, frame.y + margins.top,
                       frame.width - margins.left - margins.right,
                       frame.height - margins.top - margins.bottom);
    // By its inside: a hidden window's frame may be unknown to Qt, and a
    // move by the frame would then put the inside where the frame belongs.
    const bool opening = !window->isVisible() || showing_;
    placementOf(window).placed(toScreenRect(inside), opening);
    if (window->geometry() != inside)
        window->setGeometry(inside);
    // A hidden window placed where it already stood is not moved, and Qt
    // would leave its place to the window manager, which places it anew:
    // told the place itself, Qt asks the window manager for that one.
    if (opening && window->windowHandle())
        window->windowHandle()->setGeometry(inside);
}

// A sheet, dialog or prompt: on its parent's output, sized for it and
// centred over its parent.
void WindowScreenFit::placeOverParent(QWidget* window) {
    const QWidget* parent = parentWindowOf(window);
    if (!parent)
        return;
    const QScopedValueRollback placing(placingSheet_, true);
    const ScreenRect area = workAreaOf(parent);
    const FrameMargins margins = frameMarginsOf(window);
    fitSize(window, margins, area);
    window->setProperty(kFittedScreen, screenNameHolding(area));
    place(window, openingFrame(withFrame({window->width(), window->height()}, margins),
                               std::nullopt, frameOf(parent), area));
}

void WindowScreenFit::leavePlacingToOwner(QWidget* window) {
    window->setProperty(kPlacedByOwner, true);
}

void WindowScreenFit::keepAllInside() {
    std::vector<QWidget*> sheets;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || !isFramedWindow(window) ||
            window->property(kPlacedByOwner).toBool())
            continue;
        if (parentWindowOf(window))
            sheets.push_back(window);
        else
            keepInside(window);
    }
    // Over their parents, which may have moved to another output.
    for (QWidget* sheet : sheets)
        keepInside(sheet);
}

void WindowScreenFit::keepInside(QWidget* window) {
    const FrameMargins margins = frameMarginsOf(window);
    // A sheet, dialog or prompt keeps to its parent's output: placed over
    // its parent again once it stands elsewhere.
    const QWidget* parent = parentWindowOf(window);
    const ScreenRect area = parent ? workAreaOf(parent) : workAreaOf(window);
    if (parent && window->isVisible() && !quorvane::standsInside(frameOf(window), area)) {
        placeOverParent(window);
        return;
    }
    // A maximised or full-screen window is the window manager's to place.
    if (window->isMaximized() || window->isFullScreen()) {
        fitMinimum(window, margins, area);
        return;
    }
    fitSize(window, margins, area);
    if (!window->isVisible())
        return;
    // Not yet shown by the window system: the window manager chooses where
    // a window the program did not place goes, around a frame still
    // unknown; kept inside once shown.
    if (!window->property(kMapped).toBool()) {
        window->setProperty(kPlaceWhenMapped, true);
        return;
    }
    place(window, placedFrame(toScreenRect(window->geometry()), margins, area));
}

void WindowScreenFit::fitTo(QWidget* window, ScreenRect area, std::optional<FrameSize> inside) {
    const FrameMargins margins = frameMarginsOf(window);
    window->setProperty(kFittedScreen, screenNameHolding(area));
    if (inside)
        window->resize(inside->width, inside->height);
    fitSize(window, margins, area);
}

// At a fractional scale Qt tells the window manager to size a window in
// steps of two device pixels (its logical pixel, rounded), counted from a
// base size of none: a smallest size of an odd number of device pixels was
// cut to the step below it, a pixel short of what the window needs. The
// steps now pass through the window's size, and its smallest size when it
// stands at it; a base that follows the smallest size alone would cut a
// window of the other parity a pixel at each change, shrinking it.
void WindowScreenFit::keepMinimumReachable(QWidget* window) {
    const QSize least = window->minimumSize();
    const auto base = sizeStepBase({least.width(), least.height()},
                                   {window->width(), window->height()}, window->devicePixelRatio());
    if (window->baseSize() != QSize(base.width, base.height))
        window->setBaseSize(base.width, base.height);
}

// The smallest size its owner asked for, cut to the room the work area
// leaves. An owner's new smallest size replaces the one remembered.
void WindowScreenFit::fitMinimum(QWidget* window, FrameMargins margins, ScreenRect area) {
    window->setProperty(kFittedFrame, QVariant::fromValue(toQMargins(margins)));
    const QSize current = window->minimumSize();
    const QVariant fitted = window->property(kFittedMinimum);
    const QSize wanted = fitted.isValid() && fitted.toSize() == current
                             ? window->property(kWantedMinimum).toSize()
                             : current;
    const auto least =
        fittedInside({wanted.width(), wanted.height()}, margins, {area.width, area.height});
    window->setProperty(kWantedMinimum, wanted);
    window->setProperty(kFittedMinimum, QSize(least.width, least.height));
    if (current != QSize(least.width, least.height))
        window->setMinimumSize(least.width, least.height);
    keepMinimumReachable(window);
}

void WindowScreenFit::fitSize(QWidget* window, FrameMargins margins, ScreenRect area) {
    fitMinimum(window, margins, area);
    const auto size =
        fittedInside({window->width(), window->height()}, margins, {area.width, area.height});
    if (window->size() != QSize(size.width, size.height))
        window->resize(size.width, size.height);
}

}  // namespace quorvane
