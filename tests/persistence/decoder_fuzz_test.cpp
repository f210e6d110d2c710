// Bounded random-input test of the three stored or exchanged decoders: the
// preferences record, the recovery journal and the settings document. Every
// input must end in a decoded record or a typed failure, never a crash, a
// hang or an unexpected exception type. Deterministic (fixed seed) and quick.

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "models/settings/quorvane_settings_document_error.hpp"
#include "persistence/sample_preferences.hpp"
#include "platform/simulated/in_memory_defaults_store.hpp"
#include "services/persistence/quorvane_settings_document_coder.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "services/persistence/user_defaults_recovery_journal_store.hpp"

namespace quorvane {
namespace {

constexpr int kRounds = 1500;

// Pieces spliced into inputs: structure, wrong types, hostile numbers, broken UTF-8.
const std::vector<std::string> kPieces = {"{",
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
                                          "-0",
                                          "\"textSize\"",
                                          "\"entries\"",
                                          "\"appName\"",
                                          "\"Quorvane\"",
                                          "\"large\"",
                                          "{\"id\":1}",
                                          "\\u0000",
                                          "\\",
                                          " ",
                                          "\n",
                                          "\xff",
                                          "\xc3",
                                          "\xe2\x80",
                                          std::string(300, '[')};

class Mutator {
  public:
    explicit Mutator(unsigned seed) : random_(seed) {}

    // One to four edits of the seed: flip, insert, delete, truncate, duplicate.
    std::string mutate(std::string text) {
        for (int steps = 1 + pick(4); steps > 0; --steps) {
            const std::size_t at = position(text);
            switch (pick(5)) {
                case 0:
                    if (at < text.size())
                        text[at] ^= static_cast<char>(1 << pick(8));
                    break;
                case 1:
                    text.insert(at, piece());
                    break;
                case 2:
                    text.erase(at, static_cast<std::size_t>(pick(40)));
                    break;
                case 3:
                    text.resize(at);
                    break;
                default:
                    text.insert(position(text),
                                text.substr(at, static_cast<std::size_t>(pick(80))));
            }
        }
        return text;
    }

    // Pieces with no seed behind them.
    std::string randomJsonish() {
        std::string text;
        for (int count = pick(60); count > 0; --count)
            text += piece();
        return text;
    }

  private:
    int pick(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }
    std::size_t position(const std::string& text) {
        return static_cast<std::size_t>(pick(static_cast<int>(text.size()) + 1));
    }
    const std::string& piece() {
        return kPieces[static_cast<std::size_t>(pick(static_cast<int>(kPieces.size())))];
    }

    std::mt19937 random_;
};

// Runs `decode` over mutated copies of `seed` and over seedless noise;
// `decode` reports whether the input decoded. Returns how many did.
template <class Decode>
int fuzz(unsigned randomSeed, const std::string& seed, Decode decode) {
    Mutator mutator(randomSeed);
    int decoded = 0;
    for (int round = 0; round < kRounds; ++round) {
        const std::string input = round % 4 == 0 ? mutator.randomJsonish() : mutator.mutate(seed);
        SCOPED_TRACE(input.substr(0, 300));
        if (decode(input))
            ++decoded;
    }
    return decoded;
}

TEST(DecoderFuzz, PreferencesLoadAlwaysEndsInARecord) {
    auto defaults = std::make_shared<InMemoryDefaultsStore>();
    UserDefaultsPreferencesStore store(defaults);
    const int decoded = fuzz(1, *samplePreferences().encoded(), [&](const std::string& input) {
        defaults->setData(store.storageKey(), input);
        const auto loaded = store.loadResult();  // a throw fails the test
        if (loaded.recoveredFromCorruption) {
            EXPECT_EQ(loaded.preferences, QuorvanePreferences::defaults());
            return false;
        }
        // What decodes must survive its own round trip.
        EXPECT_EQ(QuorvanePreferences::decoded(*loaded.preferences.encoded()), loaded.preferences);
        return true;
    });
    EXPECT_GT(decoded, 0);  // the round-trip check ran
}

TEST(DecoderFuzz, JournalLoadAlwaysEndsInAJournal) {
    auto defaults = std::make_shared<InMemoryDefaultsStore>();
    UserDefaultsRecoveryJournalStore store(defaults);
    const std::string target = R"({"displayID":1,"displayIdentityRawValue":"r","displayName":"n"})";
    const std::string entry =
        R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","createdAt":"2026-01-01T00:00:00Z",)"
        R"("status":"undone","actionTitle":"a","summary":"s","detail":"d","targets":[)" +
        target + "," + target + "]}";
    fuzz(2, R"({"entries":[)" + entry + "," + entry + "]}", [&](const std::string& input) {
        defaults->setData(store.storageKey(), input);
        const auto loaded = store.loadResult();
        EXPECT_TRUE(!loaded.recoveredFromCorruption || loaded.journal.entries.empty());
        return !loaded.recoveredFromCorruption;
    });
}

TEST(DecoderFuzz, SettingsDocumentFailsOnlyWithItsOwnError) {
    const QuorvaneSettingsDocumentCoder coder;
    const std::string seed =
        coder.encode(QuorvaneSettingsDocumentCoder::exportDocument(samplePreferences(), Date{}));
    const int decoded = fuzz(3, seed, [&](const std::string& input) {
        try {
            coder.decode(input);
            return true;
        } catch (const QuorvaneSettingsDocumentError&) {
            return false;
        }  // any other exception escapes and fails the test
    });
    // The mutations must not all be fatal, or only the parser would be covered.
    EXPECT_GT(decoded, 0);
}

}  // namespace
}  // namespace quorvane
