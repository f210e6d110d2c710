// The built `quorvane` executable, run as a user would, with no X server:
// every command in text and JSON, the usage paths and the exit codes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "cli/executable_run.hpp"
#include "cli/quorvane_cli.hpp"
#include "services/persistence/quorvane_settings_document_coder.hpp"

namespace quorvane {
namespace {

using testing::ExecutableResult;
using ::testing::HasSubstr;
using testing::runQuorvane;
using ::testing::StartsWith;
using testing::TemporaryHome;

class CLIExecutableTest : public ::testing::Test {
  protected:
    ExecutableResult run(std::vector<std::string> arguments) {
        return runQuorvane(arguments, home);
    }

    // Standard output as JSON, after checking the envelope and the one final
    // line feed.
    Json success(const ExecutableResult& result, const std::string& command) {
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out.back(), '\n');
        EXPECT_NE(result.out[result.out.size() - 2], '\n');
        const auto json = parseJson(result.out);
        EXPECT_EQ(json["schemaVersion"], 1);
        EXPECT_EQ(json["command"], command);
        return json["result"];
    }

    // The error envelope on standard error; standard output stays empty.
    Json failure(const ExecutableResult& result, int status) {
        EXPECT_EQ(result.status, status);
        EXPECT_EQ(result.out, "");
        const auto json = parseJson(result.err);
        EXPECT_EQ(json["error"], true);
        EXPECT_EQ(json["exitCode"], status);
        return json;
    }

    std::string writeFile(const std::string& name, const std::string& bytes) {
        const auto path = home.path() / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    std::string settingsDocument(const QuorvanePreferences& preferences) {
        return QuorvaneSettingsDocumentCoder{}.encode(
            QuorvaneSettingsDocumentCoder::exportDocument(preferences, Date{}));
    }

    TemporaryHome home;
};

TEST_F(CLIExecutableTest, TheApplicationBranchSaysWhyItOpensNoWindow) {
    // The entry copied where no application is beside it, and where the one
    // beside it is no program.
    const auto placedEntry = [&](const std::string& folder) {
        std::filesystem::create_directory(home.path() / folder);
        std::filesystem::copy_file(testing::quorvaneExecutable(),
                                   home.path() / folder / "quorvane");
        return (home.path() / folder / "quorvane").string();
    };
    const auto alone = placedEntry("alone");
    const auto beside = placedEntry("beside");
    const auto application = writeFile("beside/quorvane-app", "not a program\n");
    std::filesystem::permissions(application, std::filesystem::perms::owner_all);
    const std::string unset =
        "quorvane: DISPLAY가 설정되지 않았습니다. 창 애플리케이션에는 X 서버가 필요합니다\n";
    const struct {
        std::string program;
        std::optional<std::string> display;
        std::string told;
    } rows[] = {
        {testing::quorvaneExecutable(), std::nullopt, unset},
        {testing::quorvaneExecutable(), "", unset},
        {testing::quorvaneExecutable(), ":9876",
         "quorvane: DISPLAY=:9876의 X 서버에 연결할 수 없습니다. 창 애플리케이션에는 "
         "실행 중인 X 서버가 필요합니다\n"},
        {alone, std::nullopt,
         "quorvane: 창 애플리케이션(quorvane-app)이 이 프로그램 옆에 설치되어 있지 않습니다. "
         "`quorvane cli ...` 명령은 그대로 쓸 수 있습니다\n"},
        {beside, std::nullopt,
         "quorvane: 창 애플리케이션(" + std::filesystem::canonical(application).string() +
             ")을 시작할 수 없습니다: " + std::strerror(ENOEXEC) + "\n"},
    };
    for (const auto& row : rows) {
        // "--" "--" "cli" is application mode: the entry hands over to the
        // windowed application, which needs an X server.
        const auto result =
            testing::runProgram(row.program, {"--", "--", "cli"}, home, row.display);
        EXPECT_EQ(result.status, 1) << row.told;
        EXPECT_EQ(result.out, "") << row.told;
        EXPECT_EQ(result.err, row.told);
    }
}

TEST_F(CLIExecutableTest, UsageOnNoArgumentsAndOnHelp) {
    const auto bare = run({"cli"});
    EXPECT_EQ(bare.status, 1);
    EXPECT_EQ(bare.out, "");
    EXPECT_EQ(bare.err, QuorvaneCLI::usageText() + "\n");
    EXPECT_THAT(bare.err, HasSubstr("\n  quorvane cli preview import-plan --file <settings-json>"));

    for (const std::string word : {"help", "--help", "-h"}) {
        const auto help = run({"--", "cli", word, "--json"});
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out, QuorvaneCLI::usageText());
        EXPECT_EQ(help.err, "");
    }
}

TEST_F(CLIExecutableTest, UnknownCommandsAndOptionsAreUsageErrors) {
    const auto unknown = run({"cli", "status"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err,
              "알 수 없는 CLI 명령입니다: status\n\n" + QuorvaneCLI::usageText() + "\n");

    const auto json = failure(run({"cli", "status", "--json"}), 1);
    EXPECT_THAT(json["message"].get<std::string>(),
                StartsWith("알 수 없는 CLI 명령입니다: status\n\n"));

    const auto option = run({"cli", "list", "scenes", "--verbose", "--display"});
    EXPECT_EQ(option.status, 1);
    EXPECT_EQ(option.err, "알 수 없는 옵션: --verbose --display requires a value\n");
    EXPECT_EQ(failure(run({"cli", "read", "settings", "--file", "x", "--json"}), 1)["message"],
              "read 명령에서는 --display/--all-visible/--file 옵션을 사용할 수 없습니다.");
}

TEST_F(CLIExecutableTest, ListsPresetsAndScenesBuiltInFirstThenCustom) {
    QuorvanePreferences preferences;
    preferences.customPresets = {{"neutral", "Mine", ColorAdjustment::neutral(), ItemKind::custom}};
    DisplayScene scene;
    scene.id = "desk";
    scene.name = "Desk";
    scene.hardwareActions.push_back({});
    preferences.customScenes = {scene};
    home.writePreferences(*preferences.encoded());

    const auto presets = run({"cli", "list", "presets"});
    EXPECT_EQ(presets.status, 0);
    EXPECT_EQ(presets.out,
              "Presets:\n- neutral · Neutral · builtIn\n- coding · Coding · builtIn\n"
              "- night · Night · builtIn\n- movie · Movie · builtIn\n"
              "- bright-room · Bright Room · builtIn\n- neutral · Mine · custom\n");
    const auto presetItems = success(run({"cli", "list", "presets", "--json"}), "list presets");
    ASSERT_EQ(presetItems["items"].size(), 6u);
    EXPECT_EQ(presetItems["items"][5]["kind"], "custom");
    EXPECT_EQ(presetItems["items"][2]["adjustment"]["warmth"], 0.55);

    const auto scenes = run({"cli", "list", "scenes"});
    EXPECT_EQ(scenes.status, 0);
    EXPECT_THAT(scenes.out, StartsWith("Scenes:\n- work · Work · builtIn · software-only\n"));
    EXPECT_THAT(scenes.out,
                HasSubstr("\n- desk · Desk · custom · hardware metadata present (not executed)\n"));
    const auto sceneItems = success(run({"cli", "list", "scenes", "--json"}), "list scenes");
    EXPECT_EQ(sceneItems["items"][5]["hardwareActionCount"], 1);
}

TEST_F(CLIExecutableTest, ReadsSettingsAsStoredAndDefaultsWhenNothingIsStored) {
    const auto defaults = run({"cli", "read", "settings"});
    EXPECT_EQ(defaults.status, 0);
    EXPECT_EQ(defaults.out,
              "Settings:\n- schema: 1\n- text size: large\n- appearance: system\n"
              "- auto apply: on\n- software color correction: on\n- brightness sync: off\n"
              "- scene hotkeys: off\n- saved display adjustments: 0\n"
              "- custom presets/scenes/groups: 0/0/0\n");
    EXPECT_FALSE(home.preferencesText());  // reading never writes

    home.writePreferences(
        R"({"schemaVersion": 4, "textSize": "veryLarge", "appearance": "dark",
            "brightnessSyncEnabled": true, "brightnessSyncGroupID": "g1",
            "displayAdjustments": {"a": {"softwareBrightness": 1, "contrast": 1, "gamma": 1,
                "redGain": 1, "greenGain": 1, "blueGain": 1, "warmth": 0}}})");
    const auto settings = success(run({"cli", "read", "settings", "--json"}), "read settings");
    EXPECT_EQ(settings["settings"]["schemaVersion"], 4);
    EXPECT_EQ(settings["settings"]["brightnessSyncGroupID"], "g1");
    EXPECT_EQ(settings["settings"]["savedAdjustmentCount"], 1);
}

TEST_F(CLIExecutableTest, WithoutAnXServerEveryCommandThatNeedsOneSaysSoAndExitsTwo) {
    const std::string unset =
        "X 서버에 연결할 수 없습니다: $DISPLAY가 설정되어 있지 않습니다. 그래픽 세션 안에서 "
        "실행하세요.";
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"cli", "list", "displays"},
          {"cli", "read", "displays"},
          {"cli", "read", "diagnostics"},
          {"cli", "apply-safe-preset", "night"}}) {
        const auto text = run(command);
        EXPECT_EQ(text.status, 2) << command[2];
        EXPECT_EQ(text.out, "") << command[2];
        EXPECT_EQ(text.err, unset + "\n") << command[2];
    }
    EXPECT_EQ(failure(run({"cli", "read", "diagnostics", "--json"}), 2)["message"], unset);

    const auto named = runQuorvane({"cli", "list", "displays", "--json"}, home, ":9876");
    EXPECT_EQ(failure(named, 2)["message"],
              "X 서버에 연결할 수 없습니다: $DISPLAY=:9876. 그래픽 세션이 실행 중인지, $DISPLAY "
              "값이 맞는지 확인하세요.");

    // An unknown preset is still reported as such, before the screen is asked.
    EXPECT_EQ(failure(run({"cli", "apply-safe-preset", "dusk", "--json"}), 2)["message"],
              "프리셋을 찾지 못했습니다: dusk");
    EXPECT_FALSE(home.preferencesText());
}

TEST_F(CLIExecutableTest, AmbiguousPresetNamesAndArgumentErrorsOfApply) {
    QuorvanePreferences preferences;
    preferences.customPresets = {{"u-1", "Reading", ColorAdjustment::neutral(), ItemKind::custom},
                                 {"u-2", "reading", ColorAdjustment::neutral(), ItemKind::custom}};
    home.writePreferences(*preferences.encoded());

    const auto ambiguous = run({"cli", "apply-safe-preset", "READING"});
    EXPECT_EQ(ambiguous.status, 1);
    EXPECT_EQ(ambiguous.err,
              "프리셋 이름이 중복됩니다. id를 사용하세요: Reading (u-1), reading (u-2)\n");

    EXPECT_EQ(run({"cli", "apply-safe-preset"}).err,
              "apply-safe-preset에는 프리셋 id 또는 이름이 하나 필요합니다.\n");
    EXPECT_EQ(run({"cli", "apply-safe-preset", "night", "--file", "x"}).err,
              "apply-safe-preset 명령에서는 --file 옵션을 사용할 수 없습니다.\n");
    EXPECT_EQ(failure(run({"cli", "apply-safe-preset", "night", "--display", "1", "--all-visible",
                           "--json"}),
                      1)["message"],
              "--display와 --all-visible은 함께 사용할 수 없습니다.");
}

TEST_F(CLIExecutableTest, PreviewsAnImportPlanWithoutSavingAnything) {
    QuorvanePreferences imported;
    imported.displayAdjustments["vendor-1-model-2-serial-3-external"] = ColorAdjustment::neutral();
    imported.lastSelectedDisplayIdentity = "vendor-1-model-2-serial-3-external";
    const std::string path = writeFile("Quorvane-Settings.json", settingsDocument(imported));

    const auto text = run({"cli", "preview", "import-plan", "--file", "  " + path + "\n"});
    EXPECT_EQ(text.status, 0) << text.err;
    // No X server here: the plan still comes, and standard error says why
    // every display is skipped.
    EXPECT_EQ(text.err,
              "X 서버에 연결할 수 없습니다: $DISPLAY가 설정되어 있지 않습니다. 그래픽 세션 안에서 "
              "실행하세요. 연결된 디스플레이 없이 계획을 미리 봅니다.\n");
    EXPECT_THAT(text.out, StartsWith("Settings import preview:\n- 설정 가져오기 변경 계획\n- "));
    EXPECT_THAT(text.out, HasSubstr("\n- entries: 4\nThis preview command saved no settings and "
                                    "called no display APIs.\n"));

    const auto json = run({"cli", "preview", "--json", "import-plan", "--file", path});
    EXPECT_EQ(json.status, 0);
    const auto plan = parseJson(json.out)["result"]["changePlan"];
    EXPECT_EQ(plan["id"], "settings-import");
    EXPECT_EQ(plan["entryCount"], 4);
    EXPECT_EQ(plan["entries"][0]["id"], "settings-common");
    EXPECT_EQ(plan["entries"][2]["id"], "display-1");
    EXPECT_EQ(plan["entries"][2]["targetLabel"], "건너뛰기");
    EXPECT_EQ(dumpJson(plan).find("vendor-1-model-2"), std::string::npos);
    EXPECT_FALSE(home.preferencesText());
}

TEST_F(CLIExecutableTest, PreviewReadsAtMostTheLimitAndNeverHangs) {
    std::string document = settingsDocument(QuorvanePreferences{});
    document.resize(1'048'576, ' ');
    EXPECT_EQ(
        run({"cli", "preview", "import-plan", "--file", writeFile("limit.json", document)}).status,
        0);
    document.push_back(' ');
    const auto large =
        run({"cli", "preview", "import-plan", "--file", writeFile("large.json", document)});
    EXPECT_EQ(large.status, 1);
    EXPECT_THAT(large.err, StartsWith("설정 파일이 너무 큽니다. 최대 "));
    EXPECT_EQ(run({"cli", "preview", "import-plan", "--file", "/dev/zero"}).status, 1);

    const auto fifo = (home.path() / "pipe").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto pipe = run({"cli", "preview", "import-plan", "--file", fifo});
    EXPECT_EQ(pipe.status, 1);
    EXPECT_THAT(pipe.err, StartsWith("설정 파일 형식이 올바르지 않습니다: "));

    const auto missing = (home.path() / "missing.json").string();
    const auto unread =
        failure(run({"cli", "preview", "import-plan", "--file", missing, "--json"}), 2);
    EXPECT_THAT(unread["message"].get<std::string>(),
                StartsWith("설정 파일을 읽지 못했습니다: " + missing + " — "));
}

TEST_F(CLIExecutableTest, PreviewArgumentRulesComeBeforeTheFileIsOpened) {
    EXPECT_EQ(run({"cli", "preview", "import-plan", "x"}).err,
              "preview 명령 인자가 너무 많습니다: x\n");
    EXPECT_EQ(run({"cli", "preview", "import-plan", "--display", "1", "--file", "/dev/zero"}).err,
              "preview import-plan은 --display/--all-visible 옵션을 사용할 수 없습니다.\n");
    EXPECT_EQ(run({"cli", "preview", "import-plan", "--file", " \t"}).err,
              "preview import-plan에는 --file <settings-json> 옵션이 필요합니다.\n");
}

// A word after the target is a typing slip, not a second target: refused
// before anything is read or printed, the display commands included (they
// never reach for the X server).
TEST_F(CLIExecutableTest, ListAndReadRefuseAStrayWordAndPrintNothing) {
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"cli", "list", "presets", "json"},
          {"cli", "list", "displays", "json"},
          {"cli", "read", "settings", "json"},
          {"cli", "read", "diagnostics", "json"}}) {
        const auto result = run(command);
        EXPECT_EQ(result.status, 1) << command[2];
        EXPECT_EQ(result.out, "") << command[2];
        EXPECT_EQ(result.err, command[1] + " 명령 인자가 너무 많습니다: json\n") << command[2];
    }
    // Every word from the second on is named, in order.
    EXPECT_EQ(run({"cli", "list", "scenes", "a", "b"}).err,
              "list 명령 인자가 너무 많습니다: a b\n");
    EXPECT_EQ(failure(run({"cli", "read", "displays", "x", "--json"}), 1)["message"],
              "read 명령 인자가 너무 많습니다: x");
    EXPECT_FALSE(home.preferencesText());
}

TEST_F(CLIExecutableTest, AnOutputThatCannotBeWrittenIsStatusThreeWithAReason) {
    const std::vector<std::string> presets = {"cli", "list", "presets"};
    const auto full = runQuorvane(presets, home, std::nullopt, testing::StandardOutput::full);
    EXPECT_EQ(full.status, 3);
    EXPECT_EQ(full.err, "표준 출력에 쓰지 못했습니다: No space left on device\n");

    const auto closed = runQuorvane(presets, home, std::nullopt, testing::StandardOutput::closed);
    EXPECT_EQ(closed.status, 3);
    EXPECT_EQ(closed.err, "표준 출력에 쓰지 못했습니다: Bad file descriptor\n");

    // Not killed by SIGPIPE: the status is ours.
    const auto broken =
        runQuorvane(presets, home, std::nullopt, testing::StandardOutput::brokenPipe);
    EXPECT_EQ(broken.status, 3);
    EXPECT_EQ(broken.err, "표준 출력에 쓰지 못했습니다: Broken pipe\n");
}

}  // namespace
}  // namespace quorvane
