#include "views/settings/settings_window.hpp"

#include <QClipboard>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QShowEvent>
#include <QSysInfo>
#include <QVBoxLayout>

#include "presentation/settings/diagnostic_report_actions.hpp"
#include "presentation/settings/settings_file_actions.hpp"
#include "presentation/settings/settings_import_entry.hpp"
#include "presentation/settings/settings_recovery_actions.hpp"
#include "presentation/settings/settings_window_layout.hpp"
#include "views/access/accessible_role.hpp"
#include "views/access/current_item_follows_focus.hpp"
#include "views/access/dialog_hand_back.hpp"
#include "views/access/keyboard_back_to_opener.hpp"
#include "views/access/opening_focus.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/controls/spoken_result.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/settings_card_frame.hpp"
#include "views/design/settings_tinted_tile.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/symbol_side.hpp"
#include "views/design/theme.hpp"
#include "views/design/themed_text.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/file_dialogs/name_typed_file_icons.hpp"
#include "views/file_dialogs/typed_path_check.hpp"
#include "views/import_sheet/settings_import_preview_sheet.hpp"
#include "views/qt_text.hpp"
#include "views/settings/diagnostic_report_sheet.hpp"
#include "views/settings/settings_appearance_card.hpp"
#include "views/settings/settings_behavior_card.hpp"
#include "views/settings/settings_card_columns.hpp"
#include "views/settings/settings_files_card.hpp"
#include "views/settings/settings_recovery_card.hpp"
#include "views/settings/settings_shortcuts_card.hpp"
#include "views/settings/settings_status_strip_view.hpp"
#include "views/settings/settings_support_card.hpp"

namespace quorvane {

namespace {

constexpr int kPagePadding = 24;
constexpr int kGearTile = 44;
// The gear is a 24-point symbol whatever the text size, like a glyph of a
// fixed 24-point font.
constexpr double kGearPoints = 24;

// The hero's gear on its warm tile.
class GearTile : public SettingsTintedTile {
  public:
    GearTile(Theme& theme, QWidget* parent)
        : SettingsTintedTile(theme, {ColorRole::accentFill, 0.84, 0.7, 13, {}}, parent) {
        setFixedSize(kGearTile, kGearTile);
        hideFromAccessibility(this);
        auto* gear = new SymbolImage("gearshape.fill", this);
        const int side = symbolSide(kGearPoints);
        gear->setFixedSide(side);
        gear->setGeometry((kGearTile - side) / 2, (kGearTile - side) / 2, side, side);
        const auto restyle = [gear, &theme] { gear->setColor(theme.color(ColorRole::ink)); };
        restyle();
        connect(&theme, &Theme::changed, gear, restyle);
    }
};

QuorvaneDiagnosticEnvironment currentEnvironment() {
    Json bundle = Json::object();
    const QString version = QCoreApplication::applicationVersion();
    if (!version.isEmpty()) {
        bundle["CFBundleShortVersionString"] = version.toStdString();
        bundle["CFBundleVersion"] = version.toStdString();
    }
    // The distribution and kernel only: never the machine's name.
    const QString system = QSysInfo::prettyProductName() + QStringLiteral(" · ") +
                           QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion();
    return QuorvaneDiagnosticEnvironment::current(bundle, system.toStdString());
}

SettingsCardColumns::Arrangement frequentArrangement(QuorvaneTextSize textSize, int width) {
    const auto layout = settings_layout::frequentSettingsLayout(textSize, width);
    SettingsCardColumns::Arrangement columns;
    for (int column = 0; column < 2; ++column) {
        std::vector<int> indices;
        for (const auto card : settings_layout::cards(layout, column))
            indices.push_back(static_cast<int>(card));
        if (!indices.empty())
            columns.push_back(indices);
    }
    return columns;
}

SettingsCardColumns::Arrangement backupArrangement(QuorvaneTextSize textSize, int width) {
    if (settings_layout::backupCardGrid(textSize, width).columns == 2)
        return {{0}, {1}};
    return {{0, 1}};
}

}  // namespace

SettingsWindow::SettingsWindow(ViewContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setWindowTitle(QStringLiteral("Quorvane 설정"));
    confirmations_ = new ConfirmationPresenter(this);
    Theme& theme = context_.theme;
    DisplayStore& store = context_.store;

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    scroll_ = new QScrollArea(this);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // No stop for the keyboard: Tab goes from control to control and the
    // area follows; the window opens on its first control, never on a
    // nameless pane.
    scroll_->setFocusPolicy(Qt::NoFocus);
    outer->addWidget(scroll_);

    auto* page = new QWidget;
    page->setAutoFillBackground(false);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(kPagePadding, kPagePadding, kPagePadding, kPagePadding);
    column->setSpacing(16);
    column->addWidget(buildHero());
    strip_ = new SettingsStatusStripView(theme, store);
    column->addWidget(strip_);

    appearance_ = new SettingsAppearanceCard(context_);
    behavior_ = new SettingsBehaviorCard(theme, store);
    shortcuts_ = new SettingsShortcutsCard(theme, store);
    frequent_ = new SettingsCardColumns(
        {appearance_, behavior_, shortcuts_},
        [&theme](int width) { return frequentArrangement(theme.textSize(), width); }, 12, 12);
    files_ = new SettingsFilesCard(theme);
    support_ = new SettingsSupportCard(theme, store);
    backup_ = new SettingsCardColumns(
        {files_, support_},
        [&theme](int width) { return backupArrangement(theme.textSize(), width); }, 16, 12);
    recovery_ = new SettingsRecoveryCard(theme);

    auto* bands = new QVBoxLayout;
    bands->setSpacing(14);
    bands->addWidget(buildBand(QStringLiteral("자주 쓰는 설정"),
                               QStringLiteral("평소에 켜고 끄는 항목"), frequent_));
    bands->addWidget(buildBand(QStringLiteral("백업과 도움"),
                               QStringLiteral("파일·리포트·문의 전에 확인"), backup_));
    bands->addWidget(buildBand(QStringLiteral("되돌리기"),
                               QStringLiteral("위험한 초기화는 한곳에 모았습니다"), recovery_));
    column->addLayout(bands);
    column->addWidget(buildStatusCard());
    column->addStretch(1);
    scroll_->setWidget(page);
    scroll_->viewport()->setAutoFillBackground(false);

    connect(files_, &SettingsFilesCard::exportRequested, this, &SettingsWindow::exportSettings);
    connect(files_, &SettingsFilesCard::importRequested, this, &SettingsWindow::importSettings);
    connect(support_, &SettingsSupportCard::reportRequested, this,
            &SettingsWindow::prepareDiagnosticPreview);
    connect(recovery_, &SettingsRecoveryCard::resetRequested, this,
            &SettingsWindow::requestFullReset);
    connect(&context_.bridge, &StoreBridge::storeChanged, this, &SettingsWindow::refresh);
    connect(&theme, &Theme::changed, this, &SettingsWindow::restyle);
    restyle();
    refresh();
}

SettingsWindow::~SettingsWindow() {
    // A file dialog going writes where it was into Qt's settings, kept for
    // the next run: the folder last used is put back after it.
    keepClosed(closedFileDialog_, nullptr);
    dialogStart_.keepQtMemory();
}

DiagnosticReportSheet* SettingsWindow::diagnosticSheet() const {
    return diagnosticSheet_.data();
}

SettingsImportPreviewSheet* SettingsWindow::importSheet() const {
    return importSheet_.data();
}

QWidget* SettingsWindow::buildHero() {
    Theme& theme = context_.theme;
    auto* hero = new SurfacePanel(theme, SurfacePanel::Kind::hero, 18, 16);
    auto* layout = new QVBoxLayout(hero);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* row = new FitToWidth(14, 14);
    row->setRowAlignment(Qt::AlignTop);
    // Narrow, the gear stays level with the title, whatever the copy's height.
    row->setSharedLineLook(14, Qt::AlignTop);
    auto* copy = new QWidget;
    auto* copyColumn = new QVBoxLayout(copy);
    copyColumn->setContentsMargins(0, 0, 0, 0);
    copyColumn->setSpacing(5);
    heroTitle_ = themedLabel(theme, QStringLiteral("Quorvane 설정"), QuorvaneFontStyle::title3,
                             QFont::DemiBold);
    copyColumn->addWidget(heroTitle_);
    copyColumn->addWidget(themedLabel(
        theme, QStringLiteral("자주 쓰는 설정은 앞에 두고, 위험하거나 자세한 항목은 접어 둡니다."),
        QuorvaneFontStyle::callout, QFont::Normal, true));
    openMainWindow_ =
        new ChipButton(theme, QStringLiteral("Quorvane 열기"), QuorvaneChipProminence::accent);
    openMainWindow_->setSymbol("macwindow");
    openMainWindow_->setToolTip(QStringLiteral("메인 화면을 엽니다."));
    setKeyEffect(openMainWindow_, KeyEffect::opensWindow);
    connect(openMainWindow_, &QAbstractButton::clicked, this, [this] {
        if (context_.shell.openMainWindow)
            context_.shell.openMainWindow();
    });
    heroIcon_ = new GearTile(theme, nullptr);
    row->addWidget(heroIcon_, 0);
    row->addWidget(copy, 0);
    row->addStretch(12);
    row->addWidget(openMainWindow_);
    layout->addWidget(row);
    return hero;
}

QWidget* SettingsWindow::buildBand(const QString& title, const QString& subtitle,
                                   QWidget* content) {
    auto* band = new QWidget;
    auto* column = new QVBoxLayout(band);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);
    column->addWidget(headingPair(context_.theme, title, subtitle, QuorvaneFontStyle::headline, 3));
    column->addWidget(content);
    return band;
}

QWidget* SettingsWindow::buildStatusCard() {
    Theme& theme = context_.theme;
    auto frame = makeSettingsCard(
        theme, QuorvaneGlyph::statusPulse, [] { return ColorRole::mutedInk; },
        QStringLiteral("현재 상태"), QStringLiteral("마지막 작업 결과"));
    status_ = themedLabel(theme, {}, QuorvaneFontStyle::callout, QFont::Normal, true);
    status_->setSelectable(true);
    frame.column->addWidget(status_);
    return frame.panel;
}

// Every opening starts on the same control, whatever had the focus when
// the window closed (a button one key from its prompt): a screen reader's
// first words do not depend on history.
void SettingsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous() || !focusOpeningControl(this))
        return;
    scroll_->ensureWidgetVisible(focusWidget());
}

void SettingsWindow::refresh() {
    const DisplayStore& store = context_.store;
    status_->setText(QString::fromStdString(store.statusMessage()));
    strip_->refresh();
    appearance_->refresh();
    behavior_->refresh();
    shortcuts_->refresh();
    support_->refresh();
}

void SettingsWindow::restyle() {
    setMinimumWidth(settings_layout::minimumWidth(context_.theme.textSize()));
    frequent_->reflow();
    backup_->reflow();
}

void SettingsWindow::chooseJsonFile(QWidget* over, bool saving, const QString& title,
                                    const QString& proposedName,
                                    std::function<void(const std::filesystem::path&)> chosen) {
    // Made with the folder it opens in, looked up first, and Qt's own
    // memory pointed there before: a dialog looks at the folder Qt
    // remembers on this thread as it is made.
    const DialogStartFolder start = dialogStart_.next();
    DialogStart::pointQtAt(start, qobject_cast<QFileDialog*>(closedFileDialog_.data()));
    keepClosed(closedFileDialog_, nullptr);
    auto* dialog = new QFileDialog(over, title, QString::fromStdString(start.folder.string()));
    dialogStart_.follow(*dialog, start);
    connect(dialog, &QDialog::finished, this,
            [this, dialog] { keepClosed(closedFileDialog_, dialog); });
    dialog->setWindowModality(Qt::WindowModal);
    typeFilesByName(*dialog);
    checkTypedPathsOffTheWindowThread(*dialog);
    handKeyboardBackOnClose(*dialog);
    dialog->setNameFilter(QStringLiteral("JSON (*.json)"));
    dialog->setDefaultSuffix(QStringLiteral("json"));
    if (saving) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->selectFile(proposedName);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
    }
    connect(dialog, &QFileDialog::fileSelected, this,
            [chosen = std::move(chosen)](const QString& file) {
                if (!file.isEmpty())
                    chosen(std::filesystem::path(file.toStdString()));
            });
    new DialogHandBack(*dialog);
    dialog->open();
    followFocusWithCurrentItems(*dialog);
}

void SettingsWindow::exportSettings() {
    chooseJsonFile(this, true, QStringLiteral("Quorvane 설정 내보내기"),
                   toQString(kSettingsExportFileName), [this](const std::filesystem::path& file) {
                       speakResultWhenBackIn(this, context_.store, [this, &file] {
                           quorvane::exportSettings(context_.store, file, context_.store.wallNow());
                       });
                   });
}

void SettingsWindow::importSettings() {
    chooseJsonFile(this, false, QStringLiteral("Quorvane 설정 가져오기"), {},
                   [this](const std::filesystem::path& file) {
                       quorvane::importSettings(context_.store, state_, file);
                       // A file that reads opens its sheet, heard as it opens;
                       // one that does not is answered in words.
                       if (state_.settingsImportDraft)
                           openImportSheet();
                       else
                           speakWhenBackIn(this, toQString(context_.store.statusMessage()));
                   });
}

void SettingsWindow::prepareDiagnosticPreview(QuorvaneDiagnosticPrivacyMode mode) {
    const auto before = state_.diagnosticPreview;
    quorvane::prepareDiagnosticPreview(context_.store, state_, currentEnvironment(),
                                       context_.store.wallNow(), mode);
    if (state_.diagnosticPreview != before)
        openDiagnosticSheet();
}

void SettingsWindow::requestFullReset() {
    quorvane::requestFullReset(confirmations_->coordinator(), context_.store);
}

// A dialog that closed stays, hidden, until the next of its kind opens:
// deleted as it closes, it took with it the control a screen reader last
// had the focus on, which the screen reader still holds and asks about as
// the focus lands elsewhere (read as a dead object, or as a nameless
// button).
void SettingsWindow::keepClosed(QPointer<QWidget>& closed, QWidget* dialog) {
    if (closed == dialog)
        return;
    delete closed.data();
    closed = dialog;
}

void SettingsWindow::openDiagnosticSheet() {
    if (diagnosticSheet_)
        diagnosticSheet_->close();
    keepClosed(closedSheet_, nullptr);
    auto* sheet = new DiagnosticReportSheet(context_.theme, *state_.diagnosticPreview, this);
    diagnosticSheet_ = sheet;
    sheet->setWindowModality(Qt::WindowModal);
    handKeyboardBackOnClose(*sheet);
    const auto preview = sheet->preview();
    connect(sheet, &DiagnosticReportSheet::copyRequested, this, [this, sheet, preview] {
        speakResultOf(sheet, context_.store, [this, &preview] {
            copyDiagnosticPreview(context_.store, preview, [](const std::string& text) {
                QGuiApplication::clipboard()->setText(QString::fromStdString(text));
            });
        });
    });
    connect(sheet, &DiagnosticReportSheet::saveRequested, this, [this, sheet, preview] {
        chooseJsonFile(sheet, true, QStringLiteral("Quorvane 진단 리포트 저장"),
                       toQString(kDiagnosticReportFileName),
                       [this, sheet, preview](const std::filesystem::path& file) {
                           speakResultWhenBackIn(sheet, context_.store, [&] {
                               saveDiagnosticPreview(context_.store, preview, file);
                           });
                       });
    });
    // "닫기", Escape and closing the sheet all end this preview.
    connect(sheet, &QDialog::finished, this, [this, sheet, id = preview.id] {
        if (state_.diagnosticPreview && state_.diagnosticPreview->id == id)
            state_.diagnosticPreview.reset();
        if (diagnosticSheet_ == sheet)
            diagnosticSheet_ = nullptr;
        keepClosed(closedSheet_, sheet);
    });
    sheet->open();
}

void SettingsWindow::openImportSheet() {
    if (!state_.settingsImportDraft ||
        (importSheet_ && importSheet_->draft().id == state_.settingsImportDraft->id))
        return;
    if (importSheet_)
        importSheet_->close();
    keepClosed(closedSheet_, nullptr);
    auto* sheet = new SettingsImportPreviewSheet(context_, *state_.settingsImportDraft, this);
    importSheet_ = sheet;
    sheet->setWindowModality(Qt::WindowModal);
    handKeyboardBackOnClose(*sheet);
    // The sheet closes as its buttons answer: their words are said in this
    // window once it has the focus again.
    connect(sheet, &SettingsImportPreviewSheet::cancelRequested, this, [this] {
        speakResultWhenBackIn(this, context_.store,
                              [this] { cancelSettingsImport(context_.store, state_); });
    });
    connect(sheet, &SettingsImportPreviewSheet::importConfirmed, this,
            [this](QuorvaneSettingsImportMode mode,
                   const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings,
                   bool switchSelection) {
                speakResultWhenBackIn(this, context_.store, [&] {
                    confirmSettingsImport(context_.store, state_, mode, mappings, switchSelection);
                });
            });
    // Escape or closing the sheet is a dismissal: the draft goes, nothing is said.
    connect(sheet, &QDialog::finished, this, [this, sheet, id = sheet->draft().id] {
        if (state_.settingsImportDraft && state_.settingsImportDraft->id == id)
            dismissSettingsImport(state_);
        if (importSheet_ == sheet)
            importSheet_ = nullptr;
        keepClosed(closedSheet_, sheet);
    });
    sheet->open();
}

}  // namespace quorvane
