#include "views/controls/spoken_result.hpp"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include "services/display_store/display_store.hpp"
#include "views/access/focus_carried_result.hpp"
#include "views/access/spoken_notice.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

// Notes whether the store changed while it lives.
class ChangeWatch {
  public:
    explicit ChangeWatch(DisplayStore& store)
        : store_(store), id_(store.addChangeObserver([this] { changed_ = true; })) {}
    ~ChangeWatch() { store_.removeChangeObserver(id_); }
    ChangeWatch(const ChangeWatch&) = delete;
    ChangeWatch& operator=(const ChangeWatch&) = delete;

    bool changed() const { return changed_; }

  private:
    DisplayStore& store_;
    DisplayStore::ObserverID id_;
    bool changed_ = false;
};

// A result held for `window` until it is active again: a child of the
// window, gone once said or once the window hides.
class ResultAwaitingWindow : public QObject {
  public:
    static constexpr const char* kName = "quorvaneResultAwaitingWindow";

    ResultAwaitingWindow(QWidget* window, const QString& text)
        : QObject(window), window_(window), text_(text) {
        setObjectName(QString::fromLatin1(kName));
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_)
            return false;
        if (event->type() == QEvent::WindowActivate)
            sayAsTheFocusLands();
        if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Hide) {
            window_->removeEventFilter(this);
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    // The window's focus comes back to its control right after the window
    // is told it is active: that control reads the result as it is read.
    // A window with no such control says it in a notice.
    void sayAsTheFocusLands() {
        QWidget* control = window_->focusWidget();
        if (control && control != window_ && control->isVisible())
            carryWithFocus(control, text_);
        else
            speakNotice(window_, text_);
    }

    QWidget* window_;
    QString text_;
};

}  // namespace

void speakWhenBackIn(QWidget* window, const QString& text) {
    if (!window)
        return;
    window = window->window();
    // Only the latest result is said.
    for (auto* older : window->findChildren<ResultAwaitingWindow*>(
             QString::fromLatin1(ResultAwaitingWindow::kName), Qt::FindDirectChildrenOnly))
        delete older;
    if (window->isActiveWindow()) {
        speakNotice(window, text);
        return;
    }
    new ResultAwaitingWindow(window, text);
}

void speakResultWhenBackIn(QWidget* window, DisplayStore& store,
                           const std::function<void()>& action) {
    bool answered = false;
    {
        ChangeWatch watch(store);
        action();
        answered = watch.changed();
    }
    if (answered)
        speakWhenBackIn(window, toQString(store.statusMessage()));
}

void speakResultOf(QWidget* near, DisplayStore& store, const std::function<void()>& action) {
    // The action may take the widget with it (a row that goes); its window
    // stays.
    QPointer<QWidget> speaker = near;
    QPointer<QWidget> window = near ? near->window() : nullptr;
    bool answered = false;
    {
        ChangeWatch watch(store);
        action();
        answered = watch.changed();
    }
    QWidget* from = speaker ? speaker.data() : window.data();
    if (answered && from)
        speakNotice(from, toQString(store.statusMessage()));
}

SpokenHotKeyResults::SpokenHotKeyResults(DisplayStore& store)
    : store_(store), observer_(store.addHotKeyPressObserver([&store](const std::string& binding) {
          if (binding == GlobalHotKeyBinding::kEmergencyRecoveryID)
              speakNotice(QApplication::activeWindow(), toQString(store.statusMessage()));
      })) {}

SpokenHotKeyResults::~SpokenHotKeyResults() {
    store_.removeHotKeyPressObserver(observer_);
}

}  // namespace quorvane
