// Bounded random-input test of the three stored or exchanged decoders: the
// preferences record, the recovery journal and the settings document. Every
// input must end in a decoded record or a typed failure, never a crash, a
// hang or an unexpected exception type. Deterministic (fixed seed) and quick.

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "models/coding/uuid_text.hpp"
#include "models/quorvane_settings_document_error.hpp"
#include "platform/simulated/in_memory_defaults_store.hpp"
#include "services/persistence/quorvane_settings_document_coder.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "services/persistence/user_defaults_recovery_journal_store.hpp"

namespace quorvane {
namespace {

constexpr int kRoundsPerSeed = 700;

class Mutator {
  public:
    explicit Mutator(unsigned seed) : random_(seed) {}

    std::string mutate(std::string text) {
        const int steps = 1 + pick(4);
        for (int i = 0; i < steps; ++i)
            text = mutateOnce(std::move(text));
        return text;
    }

    // Text made of JSON tokens and stray bytes with no seed behind it.
    std::string randomJsonish() {
        static const std::vector<std::string> tokens = {"{",
                                                        "}",
                                                        "[",
                                                        "]",
                                                        ",",
                                                        ":",
                                                        "\"",
                                                        "null",
                                                        "true",
                                                        "false",
                                                        "0",
                                                        "-1",
                                                        "1e999",
                                                        "3.5",
                                                        "\"textSize\"",
                                                        "\"entries\"",
                                                        "\"preferences\"",
                                                        "\"appName\"",
                                                        "\"Quorvane\"",
                                                        "\\u0000",
                                                        "\\",
                                                        " ",
                                                        "\n",
                                                        "\xff",
                                                        "\xc3",
                                                        "\xe2\x80",
                                                        "\"large\""};
        std::string text;
        const int count = pick(60);
        for (int i = 0; i < count; ++i)
            text += tokens[static_cast<std::size_t>(pick(static_cast<int>(tokens.size())))];
        return text;
    }

  private:
    int pick(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }
    std::size_t position(const std::string& text) {
        return static_cast<std::size_t>(pick(static_cast<int>(text.size()) + 1));
    }

    std::string mutateOnce(std::string text) {
        static const std::vector<std::string> inserts = {
            "null",    "\"x\"", "[",          "]",        "{",
            "}",       "\"",    ",",          "1",        "-0",
            "1.0e400", "true",  "{\"id\":1}", "\xff\xfe", std::string(300, '[')};
        switch (pick(6)) {
            case 0:  // flip a byte
                if (!text.empty())
                    text[position(text) % text.size()] ^= static_cast<char>(1 << pick(8));
                return text;
            case 1:  // insert a token
                return text.insert(
                    position(text),
                    inserts[static_cast<std::size_t>(pick(static_cast<int>(inserts.size())))]);
            case 2: {  // delete a range
                const std::size_t from = position(text);
                return text.erase(from, static_cast<std::size_t>(pick(40)));
            }
            case 3:  // truncate
                return text.substr(0, position(text));
            case 4: {  // duplicate a range
                const std::size_t from = position(text);
                return text.insert(position(text),
                                   text.substr(from, static_cast<std::size_t>(pick(80))));
            }
            default: {  // swap a value's type
                const std::size_t at = text.find(pick(2) ? "true" : "\"", position(text));
                if (at == std::string::npos)
                    return text;
                return text.replace(at, 1, pick(2) ? "7" : "[");
            }
        }
    }

    std::mt19937 random_;
};

QuorvanePreferences richPreferences() {
    QuorvanePreferences record;
    record.displayAdjustments["vendor-1-model-2-serial-3-external"].warmth = 0.3;
    record.displayAliasesByKey["k"] = "별칭";
    record.lastSelectedDisplayIdentity = "vendor-1-model-2-serial-3-external";
    record.customPresets.push_back({"P", "Preset", ColorAdjustment{}, ItemKind::custom});
    DisplayScene scene;
    scene.id = "S";
    scene.name = "Scene";
    scene.softwareAdjustmentsByDisplayIdentity["a"] = ColorAdjustment{};
    record.customScenes.push_back(scene);
    DisplayGroup group;
    group.id = "G";
    group.name = "Group";
    group.displayIdentityRawValues = {"a"};
    record.customDisplayGroups.push_back(group);
    record.brightnessSyncGroupID = "G";
    return record;
}

QuorvaneRecoveryJournal richJournal() {
    QuorvaneRecoveryJournal journal;
    for (int i = 0; i < 3; ++i) {
        journal.append({newUuidText(),
                        *parseIso8601("2026-01-01T00:00:00Z"),
                        QuorvaneRecoveryJournalStatus::undone,
                        "a",
                        "s",
                        "d",
                        {{1, "raw", "name"}, {2, "raw2", "name2"}}});
    }
    return journal;
}

TEST(DecoderFuzz, PreferencesLoadAlwaysEndsInARecord) {
    auto defaults = std::make_shared<InMemoryDefaultsStore>();
    UserDefaultsPreferencesStore store(defaults);
    const std::string seed = *richPreferences().encoded();
    Mutator mutator(1);
    int decoded = 0;
    for (int round = 0; round < kRoundsPerSeed * 2; ++round) {
        const std::string input = round % 4 == 0 ? mutator.randomJsonish() : mutator.mutate(seed);
        defaults->setData(store.storageKey(), input);
        PreferencesLoadResult loaded;
        ASSERT_NO_THROW(loaded = store.loadResult()) << input;
        if (loaded.recoveredFromCorruption) {
            EXPECT_EQ(loaded.preferences, QuorvanePreferences::defaults());
            continue;
        }
        ++decoded;
        // What decodes must survive its own round trip.
        EXPECT_EQ(QuorvanePreferences::decoded(*loaded.preferences.encoded()), loaded.preferences)
            << input;
    }
    EXPECT_GT(decoded, 0);
}

TEST(DecoderFuzz, JournalLoadAlwaysEndsInAJournal) {
    auto defaults = std::make_shared<InMemoryDefaultsStore>();
    UserDefaultsRecoveryJournalStore store(defaults);
    const std::string seed = richJournal().encoded();
    Mutator mutator(2);
    for (int round = 0; round < kRoundsPerSeed * 2; ++round) {
        const std::string input = round % 4 == 0 ? mutator.randomJsonish() : mutator.mutate(seed);
        defaults->setData(store.storageKey(), input);
        QuorvaneRecoveryJournalLoadResult loaded;
        ASSERT_NO_THROW(loaded = store.loadResult()) << input;
        if (loaded.recoveredFromCorruption) {
            EXPECT_TRUE(loaded.journal.entries.empty());
        }
    }
}

TEST(DecoderFuzz, SettingsDocumentFailsOnlyWithItsOwnError) {
    const QuorvaneSettingsDocumentCoder coder;
    const std::string seed =
        coder.encode(QuorvaneSettingsDocumentCoder::exportDocument(richPreferences(), Date{}));
    Mutator mutator(3);
    int decoded = 0;
    for (int round = 0; round < kRoundsPerSeed * 2; ++round) {
        const std::string input = round % 4 == 0 ? mutator.randomJsonish() : mutator.mutate(seed);
        try {
            coder.decode(input);
            ++decoded;
        } catch (const QuorvaneSettingsDocumentError&) {
        } catch (const std::exception& other) {
            ADD_FAILURE() << "untyped failure " << other.what() << " for " << input;
        }
    }
    // The mutations must not all be fatal, or the test would cover only the parser.
    EXPECT_GT(decoded, 0);
}

}  // namespace
}  // namespace quorvane
