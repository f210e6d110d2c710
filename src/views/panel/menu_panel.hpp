#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

#include "models/display/display_snapshot.hpp"
#include "views/view_context.hpp"

class QScrollArea;

namespace quorvane {

class ConfirmationPresenter;
class PanelFooterView;
class RecentChangePromptView;
class PanelHeaderView;
class PanelNoDisplayView;
class PanelQuickTuneCard;
class PanelRecoveryCard;
class PanelTileSectionView;

// The panel the tray icon opens: which display is tuned, quick tuning,
// work modes and presets, emergency recovery, and the way to the other
// windows. It shows only what the store publishes and calls the store for
// every change. The shell wraps it in the popup (or small window) and sizes
// it.
//
// Showing it re-reads the displays lightly, scrolls it to its top and puts
// the focus on its first control; the application losing focus ends every
// press-and-hold comparison. The emergency recovery's confirmation belongs
// to the panel: answered, it opens the panel again on "전체 복구". Opening another window hides the
// panel first, then shows the window, and brings it to the front one turn
// of the event loop later, once the popup has let go of the pointer.
class MenuPanel : public QWidget {
    Q_OBJECT

  public:
    explicit MenuPanel(ViewContext& context, QWidget* parent = nullptr);
    ~MenuPanel() override;

    PanelHeaderView* header() const { return header_; }
    PanelQuickTuneCard* quickTuneCard() const { return quickTune_; }
    PanelTileSectionView* sceneStrip() const { return scenes_; }
    PanelTileSectionView* presetGrid() const { return presets_; }
    PanelRecoveryCard* recoveryCard() const { return recovery_; }
    PanelFooterView* footer() const { return footer_; }
    ConfirmationPresenter* confirmations() const { return confirmations_; }
    PanelNoDisplayView* noDisplayState() const { return noDisplay_; }
    QWidget* quickControls() const { return quickControls_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildContent(QWidget* content);
    void refresh();
    void refreshQuickControls(const DisplaySnapshot& display);
    void focusFirstControl();
    void returnFromConfirmation();
    void rescan();
    void openMainWindow();
    void openWindow(const std::function<void()>& open, const char* windowClass);
    void requestRecovery();
    void applicationStateChanged(Qt::ApplicationState state);

    ViewContext& context_;
    ConfirmationPresenter* confirmations_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    // The control a pending confirmation returns the focus to.
    QPointer<QWidget> returnFocusTo_;
    PanelHeaderView* header_ = nullptr;
    RecentChangePromptView* prompt_ = nullptr;
    PanelNoDisplayView* noDisplay_ = nullptr;
    QWidget* quickControls_ = nullptr;
    PanelQuickTuneCard* quickTune_ = nullptr;
    PanelTileSectionView* scenes_ = nullptr;
    PanelTileSectionView* presets_ = nullptr;
    PanelRecoveryCard* recovery_ = nullptr;
    PanelFooterView* footer_ = nullptr;
    std::optional<DisplayID> shownDisplayID_;
    // The selected display as last shown, so a quick list keeps its
    // backlight row.
    std::optional<DisplaySnapshot> shownDisplay_;
};

}  // namespace quorvane
