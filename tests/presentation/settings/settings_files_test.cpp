#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "display_store/store_world.hpp"
#include "models/coding/json_coding.hpp"
#include "presentation/settings/settings_file_actions.hpp"
#include "presentation/settings/settings_import_entry.hpp"
#include "support/child_process.hpp"
#include "support/temporary_folder.hpp"

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr std::string_view kAccepted = "설정 파일을 확인했습니다 — 적용 전 미리보기를 확인하세요";
constexpr std::string_view kTooLarge =
    "설정 파일이 너무 큽니다. 최대 1 MB 이하의 Quorvane 설정 파일만 가져올 수 있습니다.";

class SettingsFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto preferences = QuorvanePreferences::defaults();
        preferences.displayAdjustments[rawIdentity(externalDisplay(1, "Studio", 1001))].warmth =
            0.25;
        preferences.urlPresetAutomationEnabled = true;
        preferences.textSize = QuorvaneTextSize::veryLarge;
        world.storePreferences(preferences);
        world.start();
    }
    DisplayStore& store() { return *world.store; }

    std::string exportedDocument(const std::function<void(Json&)>& edit) {
        exportSettings(store(), folder / "base.json", world.scheduler->wallNow());
        Json document = parseJson(fileContents(folder / "base.json"));
        edit(document);
        return dumpJson(document, 2);
    }

    // Imports `path` and checks that it was refused with `text` and no draft,
    // well within the time a user would wait.
    void expectRefused(const fs::path& path, std::string_view text) {
        SettingsWindowState state;
        const auto started = std::chrono::steady_clock::now();
        importSettings(store(), state, path, 300ms);
        EXPECT_LT(std::chrono::steady_clock::now() - started, 2s) << path;
        EXPECT_EQ(store().statusMessage(), text) << path;
        EXPECT_FALSE(state.settingsImportDraft.has_value()) << path;
    }

    StoreWorld world;
    TemporaryFolder folder;
};

TEST_F(SettingsFilesTest, AnExportedFileImportsAsTheSamePreferences) {
    const auto saved = store().preferences();
    const auto file = folder / "Quorvane-Settings.json";
    exportSettings(store(), file, world.scheduler->wallNow());
    EXPECT_EQ(store().statusMessage(), "설정 내보내기 완료");

    store().setTextSize(QuorvaneTextSize::standard);
    store().setURLPresetAutomationEnabled(false);
    SettingsWindowState state;
    importSettings(store(), state, file);
    ASSERT_TRUE(state.settingsImportDraft.has_value());
    EXPECT_EQ(state.settingsImportDraft->preferences, saved);
    EXPECT_EQ(store().statusMessage(), kAccepted);
    // Nothing changes before the sheet is confirmed.
    EXPECT_EQ(store().textSize(), QuorvaneTextSize::standard);

    confirmSettingsImport(store(), state, QuorvaneSettingsImportMode::fullWithDisplayMapping,
                          QuorvaneSettingsImportDisplayMapping::defaultMappings(
                              *state.settingsImportDraft, store().displays()),
                          false);
    EXPECT_FALSE(state.settingsImportDraft.has_value());
    EXPECT_EQ(store().textSize(), QuorvaneTextSize::veryLarge);
    // A file never switches on outside links here.
    EXPECT_FALSE(store().urlPresetAutomationEnabled());
    EXPECT_EQ(store().preferences().displayAdjustments, saved.displayAdjustments);
}

TEST_F(SettingsFilesTest, TheDraftIsSetBeforeTheStatusAnnouncesIt) {
    exportSettings(store(), folder / "s.json", world.scheduler->wallNow());
    SettingsWindowState state;
    std::optional<bool> draftAtAnnouncement;
    store().addChangeObserver([&] {
        if (store().statusMessage() == kAccepted && !draftAtAnnouncement)
            draftAtAnnouncement = state.settingsImportDraft.has_value();
    });
    importSettings(store(), state, folder / "s.json");
    EXPECT_EQ(draftAtAnnouncement, true);

    // Each import is a new draft with a new identity.
    const auto firstID = state.settingsImportDraft->id;
    importSettings(store(), state, folder / "s.json");
    EXPECT_NE(state.settingsImportDraft->id, firstID);
}

TEST_F(SettingsFilesTest, CancelledDialogsChangeNothing) {
    store().setStatusMessage("이전 상태");
    SettingsWindowState state;
    exportSettings(store(), std::nullopt, world.scheduler->wallNow());
    importSettings(store(), state, std::nullopt);
    EXPECT_EQ(store().statusMessage(), "이전 상태");
    EXPECT_EQ(state, SettingsWindowState{});
    EXPECT_TRUE(folder.entries().empty());
}

TEST_F(SettingsFilesTest, AnExportIntoAFolderTheUserCannotWriteFailsAndLeavesNoFile) {
    const auto locked = folder / "locked";
    fs::create_directory(locked);
    ::chmod(locked.c_str(), 0555);
    const auto status = outputOfChild(
        [&] {
            exportSettings(store(), locked / "Quorvane-Settings.json", world.scheduler->wallNow());
            return store().statusMessage();
        },
        true);
    EXPECT_EQ(status, "\u2018Quorvane-Settings.json\u2019 파일을 저장할 권한이 없습니다.");
    EXPECT_TRUE(fs::is_empty(locked));

    exportSettings(store(), folder / "gone" / "Quorvane-Settings.json", world.scheduler->wallNow());
    EXPECT_EQ(store().statusMessage(),
              "\u2018Quorvane-Settings.json\u2019 파일을 저장할 폴더가 없습니다.");
}

TEST_F(SettingsFilesTest, ExportingOverAFileReplacesItWholeWithSortedIndentedKeys) {
    const auto file = folder / "settings.json";
    writeContents(file, std::string(200000, '#'));
    exportSettings(store(), file, world.scheduler->wallNow());
    const auto text = fileContents(file);
    EXPECT_EQ(text.find('#'), std::string::npos);
    EXPECT_LT(text.find("\"appName\""), text.find("\"documentVersion\""));
    EXPECT_LT(text.find("\"exportedAt\""), text.find("\"preferences\""));
    EXPECT_NE(text.find("\n  \"appName\": \"Quorvane\""), std::string::npos);
}

TEST_F(SettingsFilesTest, EndlessDevicesPipesAndHugeFilesAreRefusedWithoutHanging) {
    if (fs::exists("/dev/zero"))
        expectRefused("/dev/zero", kTooLarge);

    const auto fifo = folder / "no-writer.json";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    expectRefused(fifo, "설정 파일을 읽을 수 없습니다.");

    const auto silent = folder / "silent.json";
    ASSERT_EQ(::mkfifo(silent.c_str(), 0600), 0);
    const int writer = ::open(silent.c_str(), O_RDWR | O_NONBLOCK);
    expectRefused(silent, "\u2018silent.json\u2019에서 데이터가 오지 않아 읽기를 멈췄습니다.");
    ::close(writer);

    writeContents(folder / "huge.json", std::string(2 * 1024 * 1024, ' '));
    expectRefused(folder / "huge.json", kTooLarge);
    expectRefused(folder / "absent.json", "\u2018absent.json\u2019 파일이 없습니다.");
}

TEST_F(SettingsFilesTest, TheNameIsCheckedBeforeTheVersionAndBothBeforeTheData) {
    writeContents(folder / "lower.json",
                  exportedDocument([](Json& d) { d["appName"] = "quorvane"; }));
    expectRefused(folder / "lower.json", "Quorvane 설정 파일이 아닙니다: quorvane");

    writeContents(folder / "v2.json", exportedDocument([](Json& d) { d["documentVersion"] = 2; }));
    expectRefused(folder / "v2.json", "지원하지 않는 설정 파일 버전입니다: 2");

    writeContents(folder / "both.json", exportedDocument([](Json& d) {
                      d["appName"] = "Other";
                      d["documentVersion"] = 7;
                  }));
    expectRefused(folder / "both.json", "Quorvane 설정 파일이 아닙니다: Other");

    writeContents(folder / "date.json",
                  exportedDocument([](Json& d) { d["exportedAt"] = "yesterday"; }));
    expectRefused(folder / "date.json", "설정 파일을 읽을 수 없습니다.");
    writeContents(folder / "nested.json", std::string(100000, '[') + std::string(100000, ']'));
    expectRefused(folder / "nested.json", "설정 파일을 읽을 수 없습니다.");
}

TEST_F(SettingsFilesTest, ADocumentOfExactlyTheLimitIsAccepted) {
    auto text = exportedDocument([](Json&) {});
    text.append(QuorvaneSettingsFileLoader::maximumBytes - text.size(), ' ');
    writeContents(folder / "limit.json", text);
    SettingsWindowState state;
    importSettings(store(), state, folder / "limit.json");
    EXPECT_TRUE(state.settingsImportDraft.has_value());

    writeContents(folder / "over.json", text + " ");
    expectRefused(folder / "over.json", kTooLarge);
}

}  // namespace
}  // namespace quorvane::testing
