#include "app/shell/window_keys.hpp"

#include <QKeyEvent>
#include <QKeySequence>
#include <QShortcut>

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

void addShortcut(QWidget* window, QKeyCombination keys, std::function<void()> action) {
    auto* shortcut = new QShortcut(QKeySequence(keys), window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, std::move(action));
}

}  // namespace

void addWindowKeys(QWidget* window, WindowKeys keys, std::function<void()> quit) {
    addShortcut(window, Qt::CTRL | Qt::Key_Q, std::move(quit));
    if (keys.closeOnCtrlW)
        addShortcut(window, Qt::CTRL | Qt::Key_W, [window] { window->close(); });
    if (keys.closeOnEscape)
        new EscapeCloses(window);
}

}  // namespace quorvane
