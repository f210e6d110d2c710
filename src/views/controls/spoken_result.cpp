#include "views/controls/spoken_result.hpp"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include "services/display_store/display_store.hpp"
#include "views/design/spoken_notice.hpp"
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

}  // namespace

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
