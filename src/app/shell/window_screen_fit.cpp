#include "app/shell/window_screen_fit.hpp"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "app/shell/desktop_work_area.hpp"
#include "app/shell/desktop_work_area_watch.hpp"
#include "presentation/shell/window_output.hpp"

namespace quorvane {

namespace {

// Kept on each window: the smallest size its owner asked for, the one set
// in its place, the frame counted when it was last fitted, whether its
// screen is followed and whether its owner places it.
constexpr const char* kWantedMinimum = "quorvaneWantedMinimum";
constexpr const char* kFittedMinimum = "quorvaneFittedMinimum";
constexpr const char* kFittedFrame = "quorvaneFittedFrame";
constexpr const char* kFollowsScreen = "quorvaneFollowsScreen";
constexpr const char* kPlacedByOwner = "quorvanePlacedByOwner";

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

QMargins knownFrame(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
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
        lastFrame_ = own;
        return toFrameMargins(own);
    }
    return toFrameMargins(lastFrame_);
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

}  // namespace

ScreenRect toScreenRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

ScreenRect workAreaAround(QPoint point) {
    return workAreaHolding({point.x(), point.y(), 1, 1});
}

ScreenRect workAreaHolding(ScreenRect frame) {
    return desktopWorkArea(screenHolding(frame));
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
    // window showed, moved or took a size.
    const auto type = event->type();
    if (type != QEvent::Show && type != QEvent::Move && type != QEvent::Resize)
        return false;
    if (!watched->isWidgetType())
        return false;
    auto* window = static_cast<QWidget*>(watched);
    if (!isFramedWindow(window))
        return false;
    if (type == QEvent::Show) {
        const FrameMargins margins = frameMarginsOf(window);
        if (window->property(kPlacedByOwner).toBool()) {
            window->setProperty(kFittedFrame, QVariant::fromValue(toQMargins(margins)));
            return false;
        }
        followScreen(window);
        fitSize(window, margins);
        return false;
    }
    // The frame the window manager just gave a shown window: fitted again
    // once, after the move or resize that told it.
    const QMargins own = knownFrame(window);
    if (!window->isVisible() || own.isNull())
        return false;
    lastFrame_ = own;
    if (window->property(kFittedFrame).value<QMargins>() == own)
        return false;
    window->setProperty(kFittedFrame, QVariant::fromValue(own));
    QMetaObject::invokeMethod(
        this,
        [this, target = QPointer<QWidget>(window)] {
            if (!target)
                return;
            if (target->property(kPlacedByOwner).toBool())
                emit frameKnown(target);
            else
                keepInside(target);
        },
        Qt::QueuedConnection);
    return false;
}

void WindowScreenFit::leavePlacingToOwner(QWidget* window) {
    window->setProperty(kPlacedByOwner, true);
}

void WindowScreenFit::keepAllInside() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && isFramedWindow(window) &&
            !window->property(kPlacedByOwner).toBool())
            keepInside(window);
    }
}

void WindowScreenFit::keepInside(QWidget* window) {
    const FrameMargins margins = frameMarginsOf(window);
    // A maximised or full-screen window is the window manager's to place.
    if (window->isMaximized() || window->isFullScreen()) {
        fitMinimum(window, margins);
        return;
    }
    fitSize(window, margins);
    if (!window->isVisible())
        return;
    const auto frame = placedFrame(toScreenRect(window->geometry()), margins, workAreaOf(window));
    const QSize inside(frame.width - margins.left - margins.right,
                       frame.height - margins.top - margins.bottom);
    if (window->size() != inside)
        window->resize(inside);
    if (window->frameGeometry().topLeft() != QPoint(frame.x, frame.y))
        window->move(frame.x, frame.y);
}

// The smallest size its owner asked for, cut to the room the work area
// leaves. An owner's new smallest size replaces the one remembered.
void WindowScreenFit::fitMinimum(QWidget* window, FrameMargins margins) {
    window->setProperty(kFittedFrame, QVariant::fromValue(toQMargins(margins)));
    const ScreenRect area = workAreaOf(window);
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
}

void WindowScreenFit::fitSize(QWidget* window, FrameMargins margins) {
    fitMinimum(window, margins);
    const ScreenRect area = workAreaOf(window);
    const auto size =
        fittedInside({window->width(), window->height()}, margins, {area.width, area.height});
    if (window->size() != QSize(size.width, size.height))
        window->resize(size.width, size.height);
}

// A window moved to another screen may now be larger than that screen: its
// smallest size follows, so the user can make it fit; its size stays theirs.
void WindowScreenFit::followScreen(QWidget* window) {
    QWindow* handle = window->windowHandle();
    if (!handle || window->property(kFollowsScreen).toBool())
        return;
    window->setProperty(kFollowsScreen, true);
    connect(handle, &QWindow::screenChanged, this, [this, target = QPointer<QWidget>(window)] {
        if (target)
            fitMinimum(target, frameMarginsOf(target));
    });
}

}  // namespace quorvane
