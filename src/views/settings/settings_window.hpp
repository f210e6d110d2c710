#pragma once

#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>

#include "models/diagnostics/quorvane_diagnostic_privacy_mode.hpp"
#include "presentation/settings/settings_window_state.hpp"
#include "views/file_dialogs/dialog_start.hpp"
#include "views/view_context.hpp"

class QScrollArea;

namespace quorvane {

class SettingsAppearanceCard;
class SettingsBehaviorCard;
class SettingsCardColumns;
class ChipButton;
class ConfirmationPresenter;
class DiagnosticReportSheet;
class SettingsFilesCard;
class SettingsRecoveryCard;
class SettingsImportPreviewSheet;
class SettingsStatusStripView;
class SettingsShortcutsCard;
class SettingsSupportCard;
class WrappingLabel;

// The settings window: a hero with the way to the main window, the status
// strip, the three bands of cards and the last status message, in one
// scrolling page. It alone reads and writes files (export, import, report)
// through file dialogs, and it is the only presenter of its two sheets, each
// a window-modal dialog made for one preview or one import draft, deleted
// once the next of its kind opens. The window never asks the store to refresh displays.
class SettingsWindow : public QWidget {
    Q_OBJECT

  public:
    explicit SettingsWindow(ViewContext& context, QWidget* parent = nullptr);
    ~SettingsWindow() override;

    const SettingsWindowState& state() const { return state_; }
    // Parts, for tests and pictures.
    ChipButton* openMainWindowButton() const { return openMainWindow_; }
    // The hero's gear tile and title.
    QWidget* heroIcon() const { return heroIcon_; }
    QWidget* heroTitle() const { return heroTitle_; }
    SettingsStatusStripView* statusStrip() const { return strip_; }
    SettingsCardColumns* frequentCards() const { return frequent_; }
    SettingsCardColumns* backupCards() const { return backup_; }
    SettingsAppearanceCard* appearanceCard() const { return appearance_; }
    SettingsBehaviorCard* behaviorCard() const { return behavior_; }
    SettingsShortcutsCard* shortcutsCard() const { return shortcuts_; }
    SettingsFilesCard* filesCard() const { return files_; }
    SettingsSupportCard* supportCard() const { return support_; }
    SettingsRecoveryCard* recoveryCard() const { return recovery_; }
    WrappingLabel* statusText() const { return status_; }
    ConfirmationPresenter* confirmations() const { return confirmations_; }
    // Where the file dialogs open.
    DialogStart& dialogStart() { return dialogStart_; }
    // The open sheets, or null.
    DiagnosticReportSheet* diagnosticSheet() const;
    SettingsImportPreviewSheet* importSheet() const;

    // The card actions; each runs a file dialog first where it needs one.
    void exportSettings();
    void importSettings();
    void prepareDiagnosticPreview(QuorvaneDiagnosticPrivacyMode mode);
    void requestFullReset();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* buildHero();
    QWidget* buildBand(const QString& title, const QString& subtitle, QWidget* content);
    QWidget* buildStatusCard();
    void refresh();
    void restyle();
    void openDiagnosticSheet();
    void openImportSheet();
    // Keeps `dialog`, closed now, in `closed`, deleting the one kept there.
    static void keepClosed(QPointer<QWidget>& closed, QWidget* dialog);
    // A file dialog over `over` for a JSON file; `chosen` runs only when the
    // user picked one.
    void chooseJsonFile(QWidget* over, bool saving, const QString& title,
                        const QString& proposedName,
                        std::function<void(const std::filesystem::path&)> chosen);

    ViewContext& context_;
    SettingsWindowState state_;
    ConfirmationPresenter* confirmations_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    ChipButton* openMainWindow_ = nullptr;
    QWidget* heroIcon_ = nullptr;
    QWidget* heroTitle_ = nullptr;
    SettingsStatusStripView* strip_ = nullptr;
    SettingsCardColumns* frequent_ = nullptr;
    SettingsCardColumns* backup_ = nullptr;
    SettingsAppearanceCard* appearance_ = nullptr;
    SettingsBehaviorCard* behavior_ = nullptr;
    SettingsShortcutsCard* shortcuts_ = nullptr;
    SettingsFilesCard* files_ = nullptr;
    SettingsSupportCard* support_ = nullptr;
    SettingsRecoveryCard* recovery_ = nullptr;
    WrappingLabel* status_ = nullptr;
    QPointer<DiagnosticReportSheet> diagnosticSheet_;
    QPointer<SettingsImportPreviewSheet> importSheet_;
    // The last sheet and file dialog that closed (keepClosed()).
    QPointer<QWidget> closedSheet_;
    QPointer<QWidget> closedFileDialog_;
    DialogStart dialogStart_;
};

}  // namespace quorvane
