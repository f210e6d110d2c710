#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/composition/linux_display_store_factory.hpp"
#include "models/coding/uuid_text.hpp"
#include "platform/simulated/in_memory_defaults_store.hpp"
#include "services/persistence/defaults_store.hpp"
#include "services/persistence/user_defaults_recovery_journal_store.hpp"
#include "support/temporary_folder.hpp"

namespace quorvane {
namespace {

QuorvaneRecoveryJournalEntry entry(int number, std::size_t targetCount = 1) {
    QuorvaneRecoveryJournalEntry made;
    made.id = newUuidText();
    made.createdAt = *parseIso8601("2026-03-01T10:00:00Z") + std::chrono::seconds(number);
    made.status = QuorvaneRecoveryJournalStatus::partial;
    made.actionTitle = "색상 변경 " + std::to_string(number);
    made.summary = "요약";
    made.detail = "자세히";
    for (std::size_t i = 0; i < targetCount; ++i) {
        made.targets.push_back({static_cast<std::uint32_t>(i + 1),
                                "vendor-1-model-2-serial-3-external",
                                "Display " + std::to_string(i)});
    }
    return made;
}

const std::string kValidEntry =
    R"({"id":"e621e1f8-c36c-495a-93fc-0c247a3e6e5f","createdAt":"2026-03-01T10:00:00Z",)"
    R"("status":"applied","actionTitle":"a","summary":"s","detail":"d",)"
    R"("targets":[{"displayID":2,"displayIdentityRawValue":"X","displayName":"N"}]})";

class JournalStoreTest : public ::testing::Test {
  protected:
    std::shared_ptr<InMemoryDefaultsStore> defaults = std::make_shared<InMemoryDefaultsStore>();
    UserDefaultsRecoveryJournalStore store{defaults};
    const std::string key = "org.quorvane.Quorvane.recoveryJournal.v1";

    QuorvaneRecoveryJournalLoadResult loadStored(const std::string& bytes) {
        defaults->setData(key, bytes);
        return store.loadResult();
    }
};

TEST(RecoveryJournal, AppendKeepsTheNewestTwenty) {
    QuorvaneRecoveryJournal journal;
    for (int i = 0; i < 20; ++i)
        journal.append(entry(i));
    ASSERT_EQ(journal.entries.size(), 20u);
    const auto newest = entry(99);
    journal.append(newest);
    EXPECT_EQ(journal.entries.size(), 20u);
    EXPECT_EQ(journal.entries.front(), newest);
    EXPECT_EQ(journal.entries.back().actionTitle, "색상 변경 1");  // entry 0 is gone
}

TEST(RecoveryJournal, TargetSummary) {
    EXPECT_EQ(entry(0, 0).targetSummary(), "대상 없음");
    EXPECT_EQ(entry(0, 1).targetSummary(), "Display 0");
    EXPECT_EQ(entry(0, 2).targetSummary(), "2개 화면");
}

TEST_F(JournalStoreTest, RoundTripDropsFractionsOfASecond) {
    EXPECT_EQ(store.loadResult(), QuorvaneRecoveryJournalLoadResult{});  // nothing stored yet
    EXPECT_EQ(defaults->writeCount(), 0u);
    QuorvaneRecoveryJournal journal;
    auto first = entry(1, 3);
    first.createdAt += std::chrono::milliseconds(750);
    journal.append(first);
    journal.append(entry(2, 0));
    store.save(journal);

    const auto loaded = store.loadResult();
    EXPECT_FALSE(loaded.recoveredFromCorruption);
    EXPECT_FALSE(loaded.message);
    ASSERT_EQ(loaded.journal.entries.size(), 2u);
    first.createdAt = entry(1).createdAt;
    EXPECT_EQ(loaded.journal.entries[1], first);
}

// When an entry was asked for reads back as written; a journal of an older
// version has none, and one that does not read leaves the entry standing.
TEST_F(JournalStoreTest, AnEntrysRequestTimeIsOptionalAndNeverBreaksTheJournal) {
    QuorvaneRecoveryJournal journal;
    journal.append(entry(1));
    journal.entries[0].requested = RecoveryJournalRequestTime{
        Date{} + std::chrono::nanoseconds(7'000'000'123), "boot-a", std::chrono::seconds(5)};
    store.save(journal);
    EXPECT_EQ(store.loadResult().journal, journal);

    const auto withRequest = [](std::string_view requested) {
        return kValidEntry.substr(0, kValidEntry.size() - 1) + R"(,"requested":)" +
               std::string(requested) + "}";
    };
    const auto loaded =
        loadStored(R"({"entries":[)" + withRequest(R"({"askedAt":"x"})") + "," +
                   withRequest(R"({"askedAt":9000000000000000000,"boot":"b","bootOffset":-1})") +
                   "," + kValidEntry + "]}");
    ASSERT_EQ(loaded.journal.entries.size(), 3u);
    for (const auto& read : loaded.journal.entries)
        EXPECT_FALSE(read.requested);
}

TEST_F(JournalStoreTest, LongStoredJournalLoadsWholeAndIsCutAtTheNextAppend) {
    QuorvaneRecoveryJournal stored;
    for (int i = 0; i < 25; ++i)
        stored.entries.push_back(entry(i));
    defaults->setData(key, stored.encoded());
    auto loaded = store.loadResult();
    ASSERT_EQ(loaded.journal.entries.size(), 25u);
    loaded.journal.append(entry(100));
    EXPECT_EQ(loaded.journal.entries.size(), 20u);
}

TEST_F(JournalStoreTest, UuidTextIsReadInEitherCase) {
    const auto loaded = loadStored(R"({"entries":[)" + kValidEntry + "]}");
    ASSERT_EQ(loaded.journal.entries.size(), 1u);
    EXPECT_EQ(loaded.journal.entries[0].id, "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
}

TEST_F(JournalStoreTest, DatesWithAnOffsetOrAFractionAreReadAsTheirInstant) {
    auto withDate = [](const std::string& date) {
        std::string text = kValidEntry;
        const std::string stored = "2026-03-01T10:00:00Z";
        return text.replace(text.find(stored), stored.size(), date);
    };
    const auto loaded = loadStored(R"({"entries":[)" + withDate("2026-03-01T19:00:00+09:00") + "," +
                                   withDate("2026-03-01T04:30:00.125-05:30") + "]}");
    EXPECT_FALSE(loaded.recoveredFromCorruption);
    ASSERT_EQ(loaded.journal.entries.size(), 2u);
    const Date instant = *parseIso8601("2026-03-01T10:00:00Z");
    EXPECT_EQ(loaded.journal.entries[0].createdAt, instant);
    EXPECT_EQ(loaded.journal.entries[1].createdAt, instant + std::chrono::milliseconds(125));

    // Saved again, the journal writes its own form.
    store.save(loaded.journal);
    const std::string saved = *defaults->dataForKey(key);
    EXPECT_NE(saved.find(R"("createdAt":"2026-03-01T10:00:00Z")"), std::string::npos);
    EXPECT_EQ(saved.find("+09:00"), std::string::npos);
    EXPECT_EQ(saved.find(".125"), std::string::npos);
}

TEST_F(JournalStoreTest, AnyBrokenPartMakesTheWholeJournalUndecodable) {
    auto replaced = [](const std::string& from, const std::string& to) {
        std::string text = kValidEntry;
        text.replace(text.find(from), from.size(), to);
        return R"({"entries":[)" + kValidEntry + "," + text + "]}";
    };
    const std::vector<std::string> broken = {
        "{}",
        R"({"entries":null})",
        R"({"entries":{}})",
        "[]",
        "not json",
        replaced(R"("status":"applied")", R"("status":"reverted")"),
        replaced(R"("status":"applied",)", ""),
        replaced(R"("detail":"d")", R"("detail":null)"),
        replaced(R"("summary":"s")", R"("summary":1)"),
        replaced("2026-03-01T10:00:00Z", "2026-03-01 10:00:00"),
        replaced("2026-03-01T10:00:00Z", "3026-03-01T10:00:00Z"),  // beyond the clock's reach
        replaced("2026-03-01T10:00:00Z", "2026-03-01T10:00:00+0900"),
        replaced("2026-03-01T10:00:00Z", "2026-03-01T10:00:00.Z"),
        replaced("e621e1f8-c36c-495a-93fc-0c247a3e6e5f", "not-a-uuid"),
        replaced(R"("displayID":2)", R"("displayID":-2)"),
        replaced(R"("displayID":2)", R"("displayID":4294967296)"),
        replaced(R"(,"displayName":"N")", ""),
        std::string(100000, '['),
    };
    for (const auto& bytes : broken) {
        const auto loaded = loadStored(bytes);
        EXPECT_TRUE(loaded.recoveredFromCorruption) << bytes.substr(0, 200);
        EXPECT_TRUE(loaded.journal.entries.empty());
        EXPECT_EQ(loaded.message,
                  "최근 변경 기록을 읽지 못해 새로 시작합니다. 저장된 화면 설정은 그대로 둡니다.");
        // Loading leaves the broken blob where it was.
        EXPECT_EQ(defaults->dataForKey(key), bytes);
    }
}

// A journal cut short (a full disk, a crash of another writer) is kept
// aside once, on the real file system, before the first save replaces it.
TEST(JournalStoreOnDisk, ATruncatedJournalIsKeptAsideOnceBeforeTheFirstSave) {
    testing::TemporaryFolder folder;
    auto disk = std::make_shared<FileDefaultsStore>(folder.path());
    const std::string key = UserDefaultsRecoveryJournalStore::standardStorageKey();
    const std::string whole = R"({"entries":[)" + kValidEntry + "]}";
    const std::string truncated = whole.substr(0, whole.size() / 2);
    ASSERT_TRUE(disk->setData(key, truncated).succeeded());

    UserDefaultsRecoveryJournalStore store(disk);
    const auto loaded = store.loadResult();
    EXPECT_TRUE(loaded.recoveredFromCorruption);
    QuorvaneRecoveryJournal journal;
    journal.append(entry(1));
    store.save(journal);
    journal.append(entry(2));
    store.save(journal);

    std::vector<std::string> copies;
    for (const auto& file : std::filesystem::directory_iterator(folder.path())) {
        if (file.path().filename().string().starts_with(key + ".json.unreadable-"))
            copies.push_back(testing::fileContents(file.path()));
    }
    EXPECT_EQ(copies, std::vector<std::string>{truncated});
    EXPECT_EQ(store.loadResult().journal, journal);
}

// A journal another process cut short after the application read it is kept
// aside by the application's next save, which its own journal then replaces.
TEST(JournalStoreOnDisk, AJournalBrokenWhileRunningIsKeptAsideByTheNextSave) {
    testing::TemporaryFolder folder;
    FileDefaultsStore other(folder.path());
    const std::string key = UserDefaultsRecoveryJournalStore::standardStorageKey();
    auto writer = LinuxDisplayStoreFactory::recordWriter(folder.path());
    UserDefaultsRecoveryJournalStore store(writer);
    EXPECT_FALSE(store.loadResult().recoveredFromCorruption);
    const std::string truncated = R"({"entries":[)" + kValidEntry.substr(0, 40);
    ASSERT_TRUE(other.setData(key, truncated).succeeded());

    QuorvaneRecoveryJournal journal;
    journal.append(entry(1));
    store.save(journal);
    ASSERT_TRUE(writer->flushPendingSaves().empty());
    EXPECT_EQ(folder.copiesKeptAside(key), std::vector<std::string>{truncated});
    EXPECT_EQ(other.read(key).data, journal.encoded());
}

// A journal that cannot be read is not written over during the run, and the
// load says why; a later load that reads it lets saves go on.
TEST_F(JournalStoreTest, AnUnreadableJournalIsNeverReplacedUntilALoadReadsIt) {
    defaults->setUnreadable(key);
    const auto loaded = store.loadResult();
    EXPECT_TRUE(loaded.recordUnreadable);
    EXPECT_FALSE(loaded.recoveredFromCorruption);
    ASSERT_TRUE(loaded.message);
    EXPECT_NE(loaded.message->find("이 파일은 덮어쓰지 않습니다"), std::string::npos);

    QuorvaneRecoveryJournal journal;
    journal.append(entry(1));
    defaults->clearUnreadable(key);
    defaults->setData(key, R"({"entries":[)" + kValidEntry + "]}");
    const auto writes = defaults->writeCount();
    store.save(journal);
    EXPECT_EQ(defaults->writeCount(), writes);

    EXPECT_EQ(store.loadResult().journal.entries.size(), 1u);
    store.save(journal);
    EXPECT_EQ(store.loadResult().journal, journal);
}

}  // namespace
}  // namespace quorvane
