#pragma once

#include <QAbstractButton>
#include <QCoreApplication>
#include <QSlider>
#include <memory>
#include <vector>

#include "display_store/store_world.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/design/window_theme_follower.hpp"
#include "views/detail_form/display_detail_form.hpp"
#include "views/store_bridge.hpp"

namespace quorvane::testing {

inline DisplayColorProfile profile(std::string id, bool current) {
    DisplayColorProfile made;
    made.id = id;
    made.name = id;
    made.isCurrent = made.isDefault = current;
    made.isFactory = current;
    made.url = "/usr/share/color/icc/" + id + ".icc";
    return made;
}

// The form in a window of its own, as the main window hosts it: the window
// owns the state and the confirmation presenter.
struct DetailFormTest : ::testing::Test {
    StoreWorld world;
    std::unique_ptr<StoreBridge> bridge;
    ShellActions shell;
    Theme theme{false};
    // Every window the form opens takes the theme, as in the application.
    WindowThemeFollower follower{theme};
    std::unique_ptr<ViewContext> context;
    QWidget window;
    MainWindowState state;
    ConfirmationPresenter* confirmations = new ConfirmationPresenter(&window);
    DisplayDetailForm* form = nullptr;
    // Saved settings the store loads at start, when set.
    std::optional<QuorvanePreferences> preferences;
    // The monitor link the test answers by hand.
    std::shared_ptr<HeldDDCController> monitorLink = std::make_shared<HeldDDCController>();

    void start(std::vector<DisplaySnapshot> displays = {externalDisplay(1, "Studio", 1001),
                                                        externalDisplay(2, "Side", 1002, 1920)}) {
        world.connect(std::move(displays));
        world.profiles->setProfiles(1, {profile("factory", true), profile("calibrated", false)});
        world.profiles->setProfiles(2, {profile("side", true), profile("print", false)});
        if (preferences)
            world.storePreferences(*preferences);
        auto& store = startWithMonitorLink(world, monitorLink);
        bridge = std::make_unique<StoreBridge>(store);
        context = std::make_unique<ViewContext>(ViewContext{store, *bridge, shell, theme});
        store.setSelectedDisplayID(1);
        form = new DisplayDetailForm(*context, state, *confirmations, &window);
        state.sectionsChanged = [this] { form->refresh(); };
        QObject::connect(bridge.get(), &StoreBridge::storeChanged, form,
                         &DisplayDetailForm::refresh);
        window.resize(640, 900);
        form->resize(640, 900);
        window.show();
    }
    DisplayStore& store() { return *world.store; }
    // The store's work, the bridge's signal and the queued showing of new
    // widgets each take a turn of the event loop.
    void turn() {
        for (int i = 0; i < 3; ++i) {
            world.scheduler->runUntilIdle();
            QCoreApplication::processEvents();
        }
    }
    void show(MainWindowSection section) {
        state.selectSection(section);
        turn();
    }
    template <class T>
    QList<T*> visible() const {
        QList<T*> shown;
        for (T* widget : form->findChildren<T*>())
            if (widget->isVisibleTo(form))
                shown.push_back(widget);
        return shown;
    }
    // The visible slider whose accessible name is `name` (its row's title).
    QSlider* sliderNamed(const QString& name) const {
        for (auto* slider : visible<QSlider>())
            if (slider->accessibleName() == name)
                return slider;
        return nullptr;
    }
    QAbstractButton* buttonTitled(const QString& text) const {
        for (auto* button : visible<QAbstractButton>())
            if (button->text() == text)
                return button;
        return nullptr;
    }
};

}  // namespace quorvane::testing
