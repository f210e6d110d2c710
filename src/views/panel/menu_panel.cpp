#include "views/panel/menu_panel.hpp"

#include <QApplication>
#include <QGuiApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "presentation/panel/panel_header.hpp"
#include "presentation/panel/panel_quick_tuning.hpp"
#include "presentation/panel/panel_recovery_card.hpp"
#include "presentation/panel/panel_tile_sections.hpp"
#include "services/display_store/display_store.hpp"
#include "views/access/accessible_role.hpp"
#include "views/access/reading_order.hpp"
#include "views/access/spoken_text.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/controls/recent_change_prompt_view.hpp"
#include "views/controls/spoken_result.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/theme.hpp"
#include "views/panel/panel_footer_view.hpp"
#include "views/panel/panel_header_view.hpp"
#include "views/panel/panel_no_display_view.hpp"
#include "views/panel/panel_quick_tune_card.hpp"
#include "views/panel/panel_recovery_card.hpp"
#include "views/panel/panel_tile_section_view.hpp"

namespace quorvane {

MenuPanel::MenuPanel(ViewContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    confirmations_ = new ConfirmationPresenter(this);
    // One turn later: the window system first sees the dialog go.
    connect(confirmations_, &ConfirmationPresenter::dialogClosed, this,
            &MenuPanel::returnFromConfirmation, Qt::QueuedConnection);
    readAs(this, QAccessible::Section);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* scroll = new QScrollArea(this);
    scroll_ = scroll;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // No stop for the keyboard: Tab goes from control to control and the
    // area follows; the window opens on its first control, never on a
    // nameless pane.
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* content = new QWidget(scroll);
    buildContent(content);
    scroll->setWidget(content);
    layout->addWidget(scroll, 1);
    // The prompt appearing over the quick controls or going again never
    // moves the row under the pointer.
    prompt_->keepStill(scroll);

    footer_ = new PanelFooterView(context_.theme, this);
    layout->addWidget(footer_);
    connect(footer_, &PanelFooterView::openMainWindowRequested, this, &MenuPanel::openMainWindow);
    connect(footer_, &PanelFooterView::settingsRequested, this,
            [this] { openWindow(context_.shell.openSettings, "quorvane::SettingsWindow"); });

    connect(&context_.bridge, &StoreBridge::storeChanged, this, &MenuPanel::refresh);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &MenuPanel::applicationStateChanged);
    refresh();
}

MenuPanel::~MenuPanel() = default;

void MenuPanel::buildContent(QWidget* content) {
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(12);

    header_ = new PanelHeaderView(context_.theme, content);
    layout->addWidget(header_);
    DisplayStore& store = context_.store;
    connect(header_, &PanelHeaderView::displayChosen, this,
            [&store](DisplayID id) { store.setSelectedDisplayID(id); });
    connect(header_, &PanelHeaderView::rescanRequested, this, &MenuPanel::rescan);
    // A size chosen says its result ("글자 크기: 크게") as other actions do:
    // the panel changing its size tells a screen reader nothing.
    connect(header_, &PanelHeaderView::textSizeChosen, this, [this, &store](QuorvaneTextSize size) {
        speakResultOf(header_, store, [&] { store.setTextSize(size); });
    });

    prompt_ = new RecentChangePromptView(context_, true, content);
    layout->addWidget(prompt_);

    noDisplay_ = new PanelNoDisplayView(context_.theme, content);
    layout->addWidget(noDisplay_);
    connect(noDisplay_, &PanelNoDisplayView::rescanRequested, this, &MenuPanel::rescan);
    connect(noDisplay_, &PanelNoDisplayView::mainWindowRequested, this, &MenuPanel::openMainWindow);

    quickControls_ = new QWidget(content);
    auto* controls = new QVBoxLayout(quickControls_);
    controls->setContentsMargins(0, 0, 0, 0);
    controls->setSpacing(12);
    Theme& theme = context_.theme;
    quickTune_ = new PanelQuickTuneCard(context_, quickControls_);
    scenes_ = new PanelTileSectionView(theme, PanelTileSectionView::Shape::strip, quickControls_);
    presets_ = new PanelTileSectionView(theme, PanelTileSectionView::Shape::grid, quickControls_);
    recovery_ = new PanelRecoveryCard(theme, quickControls_);
    for (QWidget* part : std::initializer_list<QWidget*>{quickTune_, scenes_, presets_, recovery_})
        controls->addWidget(part);
    layout->addWidget(quickControls_);
    layout->addStretch(1);

    connect(scenes_, &PanelTileSectionView::showAllRequested, this, &MenuPanel::openMainWindow);
    connect(presets_, &PanelTileSectionView::showAllRequested, this, &MenuPanel::openMainWindow);
    // A tile says its result ("씬 적용됨: Work (3개 디스플레이)") as the main
    // window's 적용 does.
    connect(scenes_, &PanelTileSectionView::tileTapped, this, [this, &store](int index) {
        const auto shown = panelShownScenes(store.customScenes());
        if (index < 0 || static_cast<std::size_t>(index) >= shown.size())
            return;
        speakResultOf(scenes_, store, [&] {
            store.applySceneToVisibleDisplays(shown[static_cast<std::size_t>(index)]);
        });
    });
    connect(presets_, &PanelTileSectionView::tileTapped, this, [this, &store](int index) {
        const auto shown = panelShownPresets(store.customPresets());
        if (!shownDisplayID_ || index < 0 || static_cast<std::size_t>(index) >= shown.size())
            return;
        speakResultOf(presets_, store, [&] {
            store.applyPreset(shown[static_cast<std::size_t>(index)], *shownDisplayID_);
        });
    });
    connect(recovery_, &PanelRecoveryCard::recoveryRequested, this, &MenuPanel::requestRecovery);
}

void MenuPanel::refresh() {
    DisplayStore& store = context_.store;
    auto selected = store.selectedDisplay();
    if (selected) {
        selected = panelDisplayHoldingBacklight(*selected, shownDisplay_,
                                                store.isFullDisplayRefreshPending());
    }
    shownDisplay_ = selected;
    const auto label = [&store](const DisplaySnapshot& display) {
        return store.displayLabel(display);
    };
    const PanelHeader header =
        panelHeader(selected, store.displays().size(), store.ddcSnapshots(), label);
    header_->setHeader(header,
                       panelDisplayPickerItems(store.displays(), store.selectedDisplayID(), label),
                       panelTextSizeItems(store.textSize()));
    // Named by its heading: the place the focus rests on when no control of
    // the panel may hold it (once the undo prompt of a change made elsewhere
    // goes). A section, passed silently on the way in.
    setSpokenName(this, QString::fromStdString(header.title));
    footer_->setStatus(QString::fromStdString(store.statusMessage()));
    prompt_->refresh();

    const bool noDisplays = store.displays().empty();
    noDisplay_->setVisible(noDisplays);
    quickControls_->setVisible(!noDisplays && selected.has_value());
    if (noDisplays || !selected) {
        shownDisplayID_.reset();
        return;
    }
    refreshQuickControls(*selected);
}

void MenuPanel::refreshQuickControls(const DisplaySnapshot& display) {
    DisplayStore& store = context_.store;
    shownDisplayID_ = display.id;
    quickTune_->refresh(display);
    scenes_->setSection(panelSceneStrip(store.customScenes(), store.sceneHotKeysEnabled(),
                                        store.sceneHotKeyBindings()),
                        static_cast<int>(kPanelShownTileCount));
    presets_->setSection(panelPresetGrid(store.customPresets()),
                         panelPresetGridColumns(store.textSize()));
    recovery_->setHelpText(
        QString::fromStdString(panelRecoveryHelpText(store.emergencyRecoveryHotKeyCombination())));
}

void MenuPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    scroll_->verticalScrollBar()->setValue(0);
    focusFirstControl();
    context_.store.refresh(DisplayStore::RefreshIntent::passiveViewAppearance);
}

// Every opening starts at the top, on the panel's first control, so a
// screen reader names something the user can act on and Tab goes on from
// the top. Given by the opening, not picked by the user: a wheel over a
// slider still scrolls the panel. A confirmation answered returns to the
// control that asked for it instead.
//
// A popup closed while no other window takes the focus leaves its control
// the application's focus (clearing it then would tell a screen reader of a
// focus in a window that is going). Qt gives that control the focus again
// without a word, and a screen reader would hear only the window's name:
// it is told here, once.
void MenuPanel::focusFirstControl() {
    QWidget* asker = returnFocusTo_.data();
    returnFocusTo_.clear();
    const bool askerBack = asker && asker->isVisibleTo(this) && asker->isEnabled();
    QWidget* control = askerBack ? asker : firstTabStop(this);
    if (!control)
        return;
    const bool heldAlready = control->hasFocus();
    control->setFocus(askerBack ? Qt::OtherFocusReason : Qt::ActiveWindowFocusReason);
    if (heldAlready)
        tellFocused(control);
}

// The confirmation belongs to the panel: the popup closes when the dialog
// takes the screen, so once it is answered the panel opens again on the
// button that asked.
void MenuPanel::returnFromConfirmation() {
    if (!returnFocusTo_)
        return;
    if (!window()->isVisible()) {
        if (context_.shell.togglePanel)
            context_.shell.togglePanel();  // showing it focuses the button
        else
            returnFocusTo_.clear();
        return;
    }
    returnFocusTo_->setFocus(Qt::OtherFocusReason);
    returnFocusTo_.clear();
}

void MenuPanel::applicationStateChanged(Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive)
        context_.store.cancelAllTemporaryNeutralComparisons();
}

void MenuPanel::rescan() {
    context_.store.refresh(DisplayStore::RefreshIntent::explicitUserRefresh);
}

void MenuPanel::openMainWindow() {
    openWindow(context_.shell.openMainWindow, "quorvane::MainWindow");
}

void MenuPanel::openWindow(const std::function<void()>& open, const char* windowClass) {
    if (context_.shell.hidePanel)
        context_.shell.hidePanel();
    if (open)
        open();
    // The popup held the pointer until it closed; bring the window forward
    // on the next turn, after the window manager has seen the popup go.
    const QString name = QString::fromLatin1(windowClass);
    QTimer::singleShot(0, qApp, [name] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible() || !window->inherits(name.toLatin1().constData()))
                continue;
            window->raise();
            window->activateWindow();
        }
    });
}

void MenuPanel::requestRecovery() {
    DisplayStore& store = context_.store;
    returnFocusTo_ = recovery_->recoverButton();
    confirmations_->request(QuorvaneDestructiveActionKind::runEmergencyRecovery, std::nullopt,
                            QuorvaneDestructiveConfirmationStyle::destructive,
                            [&store] { store.recoverDisplaysToSafeState(); });
}

}  // namespace quorvane
