// The settings import preview sheet driven over a store on the private X
// server whose defaults live in a temporary folder: looking at an import and
// cancelling it leaves the CRTC ramps and the files on disk as they were, and
// only a confirmed import changes what its plan listed.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>

#include "models/display/display_identity.hpp"
#include "platform/linux/crtc_gamma.hpp"
#include "platform/linux/display_manager.hpp"
#include "platform/linux/gamma_controller.hpp"
#include "platform/simulated/manual_scheduler.hpp"
#include "presentation/settings/settings_file_actions.hpp"
#include "presentation/settings/settings_import_entry.hpp"
#include "services/ddc/user_defaults_ddc_capability_cache_store.hpp"
#include "services/persistence/defaults_store.hpp"
#include "services/persistence/quorvane_settings_document_coder.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "services/persistence/user_defaults_recovery_journal_store.hpp"
#include "views/design/theme.hpp"
#include "views/import_sheet/settings_import_preview_sheet.hpp"
#include "views/store_bridge.hpp"
#include "views/support/simulated_store.hpp"
#include "x11/x_test_server.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

using FolderContents = std::map<std::string, std::string>;

class ImportSheetX11Test : public testing::XServerTest {
  protected:
    void SetUp() override {
        XServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        char pattern[] = "/tmp/quorvane-import-sheet-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch = pattern;
        configFolder = scratch / "config";

        auto defaults = std::make_shared<FileDefaultsStore>(configFolder);
        auto collaborators = testing::simulatedCollaborators(scheduler);
        collaborators.preferencesStore = std::make_shared<UserDefaultsPreferencesStore>(defaults);
        collaborators.ddcCapabilityCacheStore =
            std::make_shared<UserDefaultsDDCCapabilityCacheStore>(defaults);
        collaborators.recoveryJournalStore =
            std::make_shared<UserDefaultsRecoveryJournalStore>(defaults);
        collaborators.displayManager = std::make_shared<DisplayManager>(displayName);
        collaborators.gammaController =
            std::make_shared<GammaController>(GammaController::kStandardTableSize, displayName);
        collaborators.deferFullRefreshes = true;
        store = std::make_unique<DisplayStore>(std::move(collaborators));
        settle();
        bridge = std::make_unique<StoreBridge>(*store);
        context = std::make_unique<ViewContext>(ViewContext{*store, *bridge, shell, theme});
    }
    void TearDown() override {
        sheet.reset();
        context.reset();
        bridge.reset();
        store.reset();
        if (connection)
            resetRampsToIdentity();
        if (!scratch.empty())
            fs::remove_all(scratch);
    }

    void settle() {
        for (int turn = 0; turn < 4; ++turn) {
            scheduler->runUntilIdle();
            QApplication::processEvents();
        }
    }
    std::string identityOf(const std::string& outputName) {
        const auto id = static_cast<DisplayID>(output(outputName)->id);
        for (const auto& display : store->displays())
            if (display.id == id)
                return DisplayIdentity::of(display).rawValue;
        ADD_FAILURE() << outputName << " is not among the store's displays";
        return {};
    }
    std::map<std::string, GammaRamp> allRamps() {
        std::map<std::string, GammaRamp> result;
        for (const char* name : {"DUMMY0", "DUMMY1", "DUMMY2"})
            result[name] = rampOf(name);
        return result;
    }
    FolderContents configContents() const {
        FolderContents result;
        if (!fs::exists(configFolder))
            return result;
        for (const auto& entry : fs::directory_iterator(configFolder)) {
            std::ifstream file(entry.path(), std::ios::binary);
            result[entry.path().filename().string()] =
                std::string(std::istreambuf_iterator<char>(file), {});
        }
        return result;
    }
    QuorvanePreferences preferencesOnDisk() const {
        return UserDefaultsPreferencesStore(std::make_shared<FileDefaultsStore>(configFolder))
            .loadResult()
            .preferences;
    }

    // Reads `document` the way the settings window does and opens the sheet
    // on the draft, wired to the window's cancel and confirm.
    void openSheetOn(const fs::path& document) {
        importSettings(*store, state, document);
        ASSERT_TRUE(state.settingsImportDraft.has_value());
        sheet = std::make_unique<SettingsImportPreviewSheet>(*context, *state.settingsImportDraft,
                                                             nullptr);
        QObject::connect(sheet.get(), &SettingsImportPreviewSheet::cancelRequested,
                         [this] { cancelSettingsImport(*store, state); });
        QObject::connect(sheet.get(), &SettingsImportPreviewSheet::importConfirmed,
                         [this](QuorvaneSettingsImportMode mode,
                                const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings,
                                bool switchSelection) {
                             confirmSettingsImport(*store, state, mode, mappings, switchSelection);
                         });
        sheet->show();
        settle();
    }
    void pick(const std::string& imported, const std::string& target) {
        auto* picker = sheet->targetPicker(imported);
        ASSERT_NE(picker, nullptr);
        const int index = picker->findData(QString::fromStdString(target));
        ASSERT_GE(index, 0);
        picker->setCurrentIndex(index);
        emit picker->activated(index);
        settle();
    }

    std::shared_ptr<ManualScheduler> scheduler = std::make_shared<ManualScheduler>();
    std::unique_ptr<DisplayStore> store;
    std::unique_ptr<StoreBridge> bridge;
    Theme theme{false};
    ShellActions shell;
    std::unique_ptr<ViewContext> context;
    SettingsWindowState state;
    std::unique_ptr<SettingsImportPreviewSheet> sheet;
    fs::path scratch;
    fs::path configFolder;
};

TEST_F(ImportSheetX11Test, OnlyAConfirmedImportReachesTheRampsAndTheFilesAndOnlyWhereMapped) {
    const std::string warmOutput = identityOf("DUMMY1");
    const std::string skippedOutput = identityOf("DUMMY2");
    ASSERT_FALSE(warmOutput.empty());
    ASSERT_FALSE(skippedOutput.empty());
    ColorAdjustment warm;
    warm.warmth = 0.7;
    warm.softwareBrightness = 0.8;
    ColorAdjustment contrasty;
    contrasty.contrast = 1.3;
    auto imported = store->preferences();
    imported.displayAdjustments[warmOutput] = warm;
    imported.displayAdjustments[skippedOutput] = contrasty;
    imported.textSize = QuorvaneTextSize::veryLarge;
    ASSERT_NE(store->textSize(), imported.textSize);
    const fs::path document = scratch / "exported.json";
    std::ofstream(document) << store->settingsDocumentCoder().encode(
        QuorvaneSettingsDocumentCoder::exportDocument(imported, Date{}));

    const auto rampsBefore = allRamps();
    const auto warmRamp = [this, &warm](std::size_t size) {
        return GammaRamp::fromTables(
            GammaController(GammaController::kStandardTableSize, displayName)
                .makeTransferTables(warm),
            size);
    };
    ASSERT_NE(rampsBefore.at("DUMMY1"), warmRamp(rampsBefore.at("DUMMY1").size()));
    const FolderContents filesBefore = configContents();
    ASSERT_TRUE(filesBefore.contains(UserDefaultsPreferencesStore::standardStorageKey() + ".json"));

    openSheetOn(document);
    pick(warmOutput, std::string(kSkipImportTarget));
    pick(skippedOutput, warmOutput);
    sheet->cancelButton()->click();
    settle();
    EXPECT_FALSE(state.settingsImportDraft.has_value());
    EXPECT_EQ(allRamps(), rampsBefore);
    EXPECT_EQ(configContents(), filesBefore);
    sheet.reset();

    openSheetOn(document);
    pick(skippedOutput, std::string(kSkipImportTarget));
    ASSERT_TRUE(sheet->importButton()->isEnabled());
    sheet->importButton()->click();
    settle();
    // The import stores the values; the screens take them at the next refresh.
    EXPECT_EQ(allRamps(), rampsBefore);
    const auto saved = preferencesOnDisk();
    ASSERT_TRUE(saved.displayAdjustments.contains(warmOutput));
    EXPECT_EQ(saved.displayAdjustments.at(warmOutput), warm);
    EXPECT_EQ(saved.textSize, QuorvaneTextSize::veryLarge);
    EXPECT_FALSE(saved.displayAdjustments.contains(skippedOutput) &&
                 saved.displayAdjustments.at(skippedOutput) == contrasty);

    store->refresh(DisplayStore::RefreshIntent::explicitUserRefresh);
    settle();
    const auto rampsAfter = allRamps();
    const GammaRamp& warmed = rampsAfter.at("DUMMY1");
    EXPECT_EQ(warmed, warmRamp(warmed.size()));
    EXPECT_EQ(rampsAfter.at("DUMMY0"), rampsBefore.at("DUMMY0"));
    EXPECT_EQ(rampsAfter.at("DUMMY2"), rampsBefore.at("DUMMY2"));
}

}  // namespace
}  // namespace quorvane
