#include "app/shell/window_keys.hpp"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QList>
#include <QPointer>

namespace quorvane {

namespace {

// Sees the window's own key presses: those sent to it and those its
// children let pass up to it.
class EscapeCloses : public QObject {
  public:
    explicit EscapeCloses(QWidget* window) : QObject(window), window_(window) {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_ || event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
            return false;
        window_->close();
        return true;
    }

  private:
    QWidget* window_;
};

// Whether `widget` lies in `window` or in a top level opened over it (a
// menu, a picker's list, a sheet, a dialog): each is a window of its own
// whose parents lead back to the window it was opened from.
bool liesInOrOver(const QWidget* widget, const QWidget* window) {
    for (const QWidget* top = widget->window(); top != nullptr;
         top = top->parentWidget() ? top->parentWidget()->window() : nullptr) {
        if (top == window)
            return true;
    }
    return false;
}

// Closes the window with whatever is open over it, innermost first (a
// submenu before its menu, a file dialog before the sheet it serves): a
// sheet would otherwise stay on the screen without its window, and a menu
// would hold the keyboard for a window that is gone.
void closeWithWhatIsOpenOverIt(QWidget* window) {
    QList<QPointer<QWidget>> open;
    for (QWidget* widget : window->findChildren<QWidget*>())
        if (widget->isWindow() && widget->isVisible())
            open.prepend(widget);
    for (const QPointer<QWidget>& widget : open)
        if (widget)
            widget->close();
    window->close();
}

// Hears Ctrl+Q and Ctrl+W wherever in the window the key goes, also in a
// menu, a picker's list or a sheet open over it: a menu and a list hold
// the keyboard while open and a sheet is a window of its own, so a
// shortcut of the window would never fire there. The keys are the
// program's before any control's.
class ControlKeys : public QObject {
  public:
    ControlKeys(QWidget* window, bool closeOnCtrlW, std::function<void()> quit)
        : QObject(window), window_(window), closeOnCtrlW_(closeOnCtrlW), quit_(std::move(quit)) {
        QCoreApplication::instance()->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() != Qt::ControlModifier ||
            !liesInOrOver(static_cast<QWidget*>(watched), window_))
            return false;
        if (key->key() == Qt::Key_Q) {
            quit_();
            return true;
        }
        if (key->key() == Qt::Key_W && closeOnCtrlW_) {
            closeWithWhatIsOpenOverIt(window_);
            return true;
        }
        return false;
    }

  private:
    QWidget* window_;
    bool closeOnCtrlW_;
    std::function<void()> quit_;
};

}  // namespace

void addWindowKeys(QWidget* window, WindowKeys keys, std::function<void()> quit) {
    new ControlKeys(window, keys.closeOnCtrlW, std::move(quit));
    if (keys.closeOnEscape)
        new EscapeCloses(window);
}

}  // namespace quorvane
