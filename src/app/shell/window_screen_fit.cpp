#include "app/shell/window_screen_fit.hpp"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

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

ScreenRect workAreaOfScreen(const QScreen* screen) {
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? toScreenRect(screen->availableGeometry()) : ScreenRect{0, 0, 1024, 768};
}

}  // namespace

ScreenRect toScreenRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

ScreenRect workAreaAround(QPoint point) {
    return workAreaOfScreen(QGuiApplication::screenAt(point));
}

ScreenRect WindowScreenFit::workAreaOf(const QWidget* window) {
    return workAreaOfScreen(window->screen());
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
