// The defaults store against a hostile file system: links, leftovers of
// killed writes, other processes, permissions, a full disk.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/simulated/manual_scheduler.hpp"
#include "services/persistence/background_defaults_writer.hpp"
#include "services/persistence/defaults_store.hpp"
#include "services/persistence/file_lock_table.hpp"
#include "services/persistence/rights/process_rights.hpp"
#include "services/persistence/unique_file_descriptor.hpp"
#include "support/mount_rights.hpp"
#include "support/other_lock_holder.hpp"
#include "support/releasing_sleeper.hpp"
#include "support/temporary_folder.hpp"
#include "support/unprivileged_user.hpp"

namespace quorvane {
namespace {

// Nothing stored and nothing wrong; the read may still date the removal.
bool readsAsNothingStored(const DefaultsReadResult& read) {
    return !read.data && !read.error;
}

using testing::fileContents;
using testing::writeContents;

namespace fs = std::filesystem;

const std::string kKey = std::string(kDefaultsDomain) + ".preferences.v1";
constexpr uid_t kNobody = 65534;

void makeOld(const fs::path& path, std::chrono::seconds age) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - age);
}

// Runs `body` as an unprivileged user in a child process (root reads and
// writes whatever it likes, so permission checks need someone else) and
// returns what it returned. Without root the test already is someone else.
int asUnprivilegedUser(const std::function<int()>& body) {
    if (::geteuid() != 0)
        return body();
    const pid_t child = ::fork();
    if (child == 0) {
        if (!testing::becomeUnprivilegedUser())
            ::_exit(100);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

// Gives `paths` to the user asUnprivilegedUser() runs as: nobody, where the
// test's root has that second user (else they are that user's already).
void giveToTheUnprivilegedUser(std::initializer_list<fs::path> paths) {
    if (!testing::filesGoToNobody())
        return;
    for (const auto& path : paths)
        ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0) << path;
}

constexpr std::string_view kOnlyRootMakesOthersFiles =
    "only root works in a folder another user owns, and without newuidmap no user namespace "
    "here maps a second user";

// Root that may act for other users: not root of a user namespace that
// maps root alone, which has no second user to act for.
bool rootOfTheSystem() {
    return testing::rootHasASecondUser();
}

uid_t ownerOf(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_uid : static_cast<uid_t>(-1);
}

// A link at `at` to `target`, planted by the user who owns the folder.
void plantedLink(const fs::path& target, const fs::path& at) {
    fs::create_symlink(target, at);
    ASSERT_EQ(::lchown(at.c_str(), kNobody, kNobody), 0);
}

class DefaultsStoreSafetyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quorvane-safety-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
    }
    void TearDown() override {
        if (mounted_)
            testing::MountRights::unmount(*mounted_);
        std::error_code ignored;
        fs::permissions(root_, fs::perms::owner_all, ignored);
        fs::remove_all(root_, ignored);
    }

    // A lock file the unprivileged user cannot open, in a folder of theirs:
    // root's own (0600) where that user is nobody, else the user's made
    // mode 000. The open that made it stays with the test, as with the
    // process that left it there: flock it to hold the lock.
    UniqueFileDescriptor unopenableLockFile(const fs::path& folder) {
        fs::create_directories(folder);
        const auto lockFile = folder / FileDefaultsStore::kLockFileName;
        UniqueFileDescriptor made(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
        EXPECT_TRUE(made.valid());
        EXPECT_EQ(::chmod(lockFile.c_str(), testing::filesGoToNobody() ? 0600 : 0), 0);
        giveToTheUnprivilegedUser({root_, folder});
        return made;
    }

    // Whether the lock file of `folder` is still the file `made` opened.
    static bool stays(const fs::path& folder, const UniqueFileDescriptor& made) {
        struct stat named {};
        struct stat opened {};
        return ::lstat((folder / FileDefaultsStore::kLockFileName).c_str(), &named) == 0 &&
               ::fstat(made.get(), &opened) == 0 && named.st_ino == opened.st_ino;
    }

    fs::path root_;
    std::optional<fs::path> mounted_;
};

TEST_F(DefaultsStoreSafetyTest, ALinkedRecordStaysALinkAndItsTargetGetsTheNewValue) {
    FileDefaultsStore store(root_ / "config" / "quorvane");
    fs::create_directories(store.folder());
    fs::create_directories(root_ / "dotfiles" / "deep");
    writeContents(root_ / "dotfiles" / "deep" / "prefs.json", "old");
    fs::permissions(root_ / "dotfiles" / "deep" / "prefs.json",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                        fs::perms::others_read);
    // A relative link to a relative link: both must be followed from where
    // each one sits.
    fs::create_symlink("deep/prefs.json", root_ / "dotfiles" / "current.json");
    fs::create_symlink("../../dotfiles/current.json", store.pathForKey(kKey));

    EXPECT_EQ(store.dataForKey(kKey), "old");
    ASSERT_TRUE(store.setData(kKey, "new").succeeded());

    EXPECT_TRUE(fs::is_symlink(store.pathForKey(kKey)));
    EXPECT_TRUE(fs::is_symlink(root_ / "dotfiles" / "current.json"));
    EXPECT_EQ(fileContents(root_ / "dotfiles" / "deep" / "prefs.json"), "new");
    EXPECT_EQ(store.dataForKey(kKey), "new");
    EXPECT_EQ(fs::status(root_ / "dotfiles" / "deep" / "prefs.json").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
    // Nothing left next to the target either.
    for (const auto& entry : fs::directory_iterator(root_ / "dotfiles" / "deep"))
        EXPECT_EQ(entry.path().filename(), "prefs.json");
}

TEST_F(DefaultsStoreSafetyTest, ALinkToAMissingFileCreatesTheTarget) {
    FileDefaultsStore store(root_ / "quorvane");
    fs::create_directories(store.folder());
    fs::create_directories(root_ / "dotfiles");
    fs::create_symlink(root_ / "dotfiles" / "later.json", store.pathForKey(kKey));
    EXPECT_TRUE(readsAsNothingStored(store.read(kKey)));
    ASSERT_TRUE(store.setData(kKey, "first").succeeded());
    EXPECT_TRUE(fs::is_symlink(store.pathForKey(kKey)));
    EXPECT_EQ(fileContents(root_ / "dotfiles" / "later.json"), "first");
}

TEST_F(DefaultsStoreSafetyTest, OnlyOldUnheldTemporaryFilesOfOurOwnPatternAreRemoved) {
    FileDefaultsStore store(root_ / "quorvane");
    ASSERT_TRUE(store.setData(kKey, "old").succeeded());
    const auto folder = store.folder();
    const auto age = FileDefaultsStore::kStaleTemporaryFileAge + std::chrono::seconds(5);

    const auto stale = folder / ("." + kKey + ".json.Ab12Cd");
    const auto otherKeyStale = folder / ".other.key.json.zz99ZZ";
    const auto fresh = folder / ("." + kKey + ".json.Fresh1");
    const auto held = folder / ("." + kKey + ".json.Held22");
    const auto notOurs = folder / ".notes.txt.Ab12Cd";
    const auto shortSuffix = folder / ("." + kKey + ".json.Ab12C");
    for (const auto& file : {stale, otherKeyStale, fresh, held, notOurs, shortSuffix})
        writeContents(file, "half");
    for (const auto& file : {stale, otherKeyStale, held, notOurs, shortSuffix})
        makeOld(file, age);
    // Just younger than the limit: a slow write may still be under way.
    makeOld(fresh, FileDefaultsStore::kStaleTemporaryFileAge - std::chrono::seconds(5));
    // A writer in another process still holds this one.
    const int holder = ::open(held.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);

    ASSERT_TRUE(store.setData(kKey, "new").succeeded());
    ::close(holder);

    EXPECT_FALSE(fs::exists(stale));
    EXPECT_FALSE(fs::exists(otherKeyStale));
    EXPECT_TRUE(fs::exists(fresh));
    EXPECT_TRUE(fs::exists(held));
    EXPECT_TRUE(fs::exists(notOurs));
    EXPECT_TRUE(fs::exists(shortSuffix));
    EXPECT_EQ(store.dataForKey(kKey), "new");

    // One a killed stamp-only write left goes with the next one.
    writeContents(stale, "half");
    makeOld(stale, age);
    TouchedRecordParts touched;
    touched.touch("displayAdjustments", "a");
    ASSERT_TRUE(store.setDataTouching(kKey, "new", touched).succeeded());
    EXPECT_FALSE(fs::exists(stale));
}

TEST_F(DefaultsStoreSafetyTest, AWriteWaitsForTheLockAnotherStoreHolds) {
    FileDefaultsStore holder(root_ / "quorvane");
    FileDefaultsStore writer(root_ / "quorvane");
    ASSERT_TRUE(writer.setData(kKey, "before").succeeded());

    std::atomic<bool> written = false;
    std::thread other;
    {
        const auto lock = holder.lockExclusively();
        // The holder may write under its own lock without waiting for itself.
        ASSERT_TRUE(holder.setData(kKey, "holder").succeeded());
        other = std::thread([&] {
            writer.setData(kKey, "writer");
            written = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        EXPECT_FALSE(written);
        EXPECT_EQ(holder.dataForKey(kKey), "holder");
    }
    other.join();
    EXPECT_TRUE(written);
    EXPECT_EQ(writer.dataForKey(kKey), "writer");
}

// A lock file that is not a regular file (a dotfiles tool's link, to
// nothing or to a file of its own; a folder) is replaced by an empty regular
// one, never followed, which the writer locks, so the next writer waits.
TEST_F(DefaultsStoreSafetyTest, ALockFileThatIsNotARegularFileIsReplacedAndLocked) {
    const auto theirs = root_ / "their-lock";
    writeContents(theirs, "theirs");
    const std::vector<std::pair<std::string, std::function<void(const fs::path&)>>> plants{
        {"dangling link", [&](const fs::path& lock) { fs::create_symlink(root_ / "none", lock); }},
        {"link to a file", [&](const fs::path& lock) { fs::create_symlink(theirs, lock); }},
        {"folder", [](const fs::path& lock) { fs::create_directories(lock / "kept"); }},
    };
    for (const auto& [name, plant] : plants) {
        SCOPED_TRACE(name);
        FileDefaultsStore store(root_ / name);
        auto clock = std::make_shared<ManualScheduler>();
        store.limitLockWait(FileDefaultsStore::kSharedLockWait, clock, clock);
        fs::create_directories(store.folder());
        const auto lockFile = store.folder() / FileDefaultsStore::kLockFileName;
        plant(lockFile);
        const auto lock = store.lockExclusively();
        ASSERT_FALSE(lock.failure());
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(lockFile)));
        EXPECT_FALSE(testing::OtherLockHolder(lockFile).held());
    }
    EXPECT_FALSE(fs::exists(root_ / "none"));
    EXPECT_EQ(fileContents(theirs), "theirs");
}

// A lock file the user may not open (left by root, or made mode 000) may
// be another's lock, never no lock: it is replaced by one the user's
// writers can take, which the save locks, so the next writer waits.
TEST_F(DefaultsStoreSafetyTest, ALockFileTheUserCannotOpenIsReplacedAndLocked) {
    const auto folder = root_ / "quorvane";
    const auto lockFile = folder / FileDefaultsStore::kLockFileName;
    fs::create_directories(folder);
    writeContents(lockFile, "");
    ASSERT_EQ(::chmod(lockFile.c_str(), 0), 0);
    giveToTheUnprivilegedUser({root_, folder});

    const int result = asUnprivilegedUser([&] {
        FileDefaultsStore store(folder);
        auto clock = std::make_shared<ManualScheduler>();
        store.limitLockWait(FileDefaultsStore::kSharedLockWait, clock, clock);
        {
            const auto lock = store.lockExclusively();
            if (lock.failure())
                return 1;
            // The file at the name now opens, and is held.
            UniqueFileDescriptor other(::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC));
            if (!other.valid())
                return 2;
            if (::flock(other.get(), LOCK_EX | LOCK_NB) == 0)
                return 3;
        }
        return store.setData(kKey, "saved").succeeded() ? 0 : 4;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(fileContents(folder / (kKey + ".json")), "saved");
}

// A lock file the user cannot open that another process holds (root's
// command in the user's folder, mid-save) is that process's lock: a try
// fails and a save waits for it as for any held lock, and it is replaced
// only once its holder lets go.
TEST_F(DefaultsStoreSafetyTest, AHeldLockFileTheUserCannotOpenIsWaitedForAndReplacedOnlyOnceLetGo) {
    const auto folder = root_ / "quorvane";
    const auto holder = unopenableLockFile(folder);
    ASSERT_EQ(::flock(holder.get(), LOCK_EX | LOCK_NB), 0);

    const int result = asUnprivilegedUser([&] {
        auto clock = std::make_shared<ManualScheduler>();
        {
            FileDefaultsStore store(folder);
            store.limitLockWait(FileDefaultsStore::kSharedLockWait, clock, clock);
            const auto start = clock->monotonicNow();
            // A try never waits.
            const auto tried = store.tryLockExclusively();
            if (!tried.failure() || tried.failure()->kind != DefaultsStoreError::Kind::lockHeld ||
                !stays(folder, holder) || clock->monotonicNow() != start)
                return 1;
            const auto saved = store.setData(kKey, "refused");
            if (!saved.error || saved.error->kind != DefaultsStoreError::Kind::lockHeld ||
                !stays(folder, holder))
                return 2;
            if (clock->monotonicNow() - start < FileDefaultsStore::kSharedLockWait)
                return 3;
        }
        FileDefaultsStore store(folder);
        bool stayedWhileHeld = false;
        store.limitLockWait(FileDefaultsStore::kSharedLockWait, clock,
                            std::make_shared<testing::ReleasingSleeper>(*clock, 100, [&] {
                                stayedWhileHeld = stays(folder, holder);
                                ::flock(holder.get(), LOCK_UN);
                            }));
        const auto start = clock->monotonicNow();
        if (!store.setData(kKey, "saved").succeeded())
            return 4;
        if (!stayedWhileHeld || stays(folder, holder))
            return 5;
        return clock->monotonicNow() - start == 100 * FileDefaultsStore::kLockRetryInterval ? 0 : 6;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(fileContents(folder / (kKey + ".json")), "saved");
}

// A holder that takes the lock file between the look at the table of locks
// and the replacement (root's command starting just then) keeps its save:
// the replacement is held from the moment it is at the name, so the next
// writer waits too, and the save waits for that holder to let go.
TEST_F(DefaultsStoreSafetyTest, AHolderThatTakesTheLockFileAsItIsReplacedIsWaitedFor) {
    const auto folder = root_ / "quorvane";
    const auto holder = unopenableLockFile(folder);

    const int result = asUnprivilegedUser([&] {
        FileDefaultsStore store(folder);
        bool looked = false;
        store.setLockTableCall([&](const FileLockTable::File& file) {
            const auto answer = FileLockTable().holding(file);
            if (!std::exchange(looked, true))
                ::flock(holder.get(), LOCK_EX | LOCK_NB);
            return answer;
        });
        auto clock = std::make_shared<ManualScheduler>();
        bool nextWriterKeptOut = false;
        store.limitLockWait(FileDefaultsStore::kSharedLockWait, clock,
                            std::make_shared<testing::ReleasingSleeper>(*clock, 100, [&] {
                                testing::OtherLockHolder next(folder / ".lock");
                                nextWriterKeptOut = !next.held();
                                ::flock(holder.get(), LOCK_UN);
                            }));
        const auto start = clock->monotonicNow();
        if (!store.setData(kKey, "saved").succeeded())
            return 1;
        if (!nextWriterKeptOut)
            return 2;
        return clock->monotonicNow() - start == 100 * FileDefaultsStore::kLockRetryInterval ? 0 : 3;
    });
    EXPECT_EQ(result, 0);
}

// Two writers meet a lock file the user cannot open whose holder the table
// of locks cannot list (a process of another PID namespace): the second
// waits its turn while the first replaces it, then looks at the name again
// and finds the first's file, which it waits on like any held lock instead
// of replacing it too.
TEST_F(DefaultsStoreSafetyTest,
       AReplacerWhoseTurnComesLooksAgainAndWaitsForTheFileReplacedMeanwhile) {
    const auto folder = root_ / "quorvane";
    const auto made = unopenableLockFile(folder);
    const auto unlisted = [](const FileLockTable::File&) {
        return FileLockTable::Answer{FileLockTable::Holding::none, {}};
    };
    // How many processes the table shows holding or waiting for `path`.
    const auto takers = [](const fs::path& path) {
        const auto file = FileLockTable::fileAt(path);
        return file ? FileLockTable().holders(*file).size() : 0u;
    };

    const int result = asUnprivilegedUser([&] {
        FileDefaultsStore second(folder);
        second.setLockTableCall(unlisted);
        std::atomic<bool> secondTook = false;
        std::thread secondWriter;
        FileDefaultsStore first(folder);
        first.setLockTableCall([&, started = false](const FileLockTable::File& file) mutable {
            if (!std::exchange(started, true)) {
                secondWriter = std::thread([&] {
                    const auto lock = second.lockExclusively();
                    secondTook = !lock.failure();
                });
                // Until the second waits for its turn, behind this one's.
                while (takers(folder) < 2)
                    std::this_thread::yield();
            }
            return unlisted(file);
        });
        auto held = std::make_optional(first.lockExclusively());
        if (held->failure())
            return 1;
        // A lock file that opened took no look at the table: no second
        // writer to wait for.
        if (!secondWriter.joinable())
            return 4;
        // The second now waits for the first's file, or holds it too.
        while (!secondTook && takers(folder / ".lock") < 2)
            std::this_thread::yield();
        const bool keptOut = !secondTook;
        held.reset();
        secondWriter.join();
        if (!keptOut)
            return 2;
        return secondTook ? 0 : 3;
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(stays(folder, made));
}

// Whether a process holds a lock file the user cannot open is read from the
// kernel's table of locks: where that cannot be read, the file may be held,
// so it stays, and the save fails saying why.
TEST_F(DefaultsStoreSafetyTest, ALockFileTheUserCannotOpenStaysWhereNoTableTellsWhoHoldsIt) {
    const auto folder = root_ / "quorvane";
    const auto made = unopenableLockFile(folder);
    const auto table = root_ / "no-table";

    const int result = asUnprivilegedUser([&] {
        FileDefaultsStore store(folder);
        store.setLockTableCall(
            [&](const FileLockTable::File& file) { return FileLockTable(table).holding(file); });
        const auto saved = store.setData(kKey, "unlocked");
        if (!saved.error || saved.error->kind != DefaultsStoreError::Kind::lockUnusable ||
            saved.error->description().find(table.string()) == std::string::npos)
            return 1;
        return stays(folder, made) ? 0 : 2;
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(fs::exists(folder / (kKey + ".json")));
}

// A try that meets a lock file the user cannot open, held by nobody,
// replaces it as a writer would and holds the new one: it never takes it
// for no lock at all.
TEST_F(DefaultsStoreSafetyTest, ATryThatMeetsALockFileTheUserCannotOpenReplacesAndHoldsIt) {
    const auto folder = root_ / "quorvane";
    const auto made = unopenableLockFile(folder);

    const int result = asUnprivilegedUser([&] {
        FileDefaultsStore store(folder);
        const auto tried = store.tryLockExclusively();
        if (tried.failure())
            return 1;
        if (stays(folder, made))
            return 2;
        testing::OtherLockHolder other(folder / ".lock");
        return other.held() ? 3 : 0;
    });
    EXPECT_EQ(result, 0);
}

// A lock file that is unopenable again after each of its replacements (a
// tool that keeps putting one back, here whenever the table of locks is
// read) fails the taking once the replacements run out, saying so: it is
// never read as no lock, with the save run unlocked.
TEST_F(DefaultsStoreSafetyTest, ALockFileStillUnopenableAfterItsReplacementsFailsTheSave) {
    const auto folder = root_ / "quorvane";
    const auto made = unopenableLockFile(folder);

    const int result = asUnprivilegedUser([&] {
        FileDefaultsStore store(folder);
        int putBack = 0;
        store.setLockTableCall([&](const FileLockTable::File&) {
            const auto planted = folder / "planted";
            UniqueFileDescriptor file(::open(planted.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0));
            if (file.valid() && ::rename(planted.c_str(), (folder / ".lock").c_str()) == 0)
                ++putBack;
            return FileLockTable::Answer{FileLockTable::Holding::none, {}};
        });
        const auto saved = store.setData(kKey, "unlocked");
        if (!saved.error || saved.error->kind != DefaultsStoreError::Kind::lockUnusable)
            return 1;
        return putBack > DefaultsLockFile::kReplacementsPerTaking ? 0 : 2;
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(fs::exists(folder / (kKey + ".json")));
}

// A lock file that can be neither locked nor replaced (a folder something is
// mounted on) fails every save with the reason, and the record stays; once
// it can be moved aside, saves go through again.
TEST_F(DefaultsStoreSafetyTest, ALockFileThatCanBeNeitherLockedNorReplacedFailsEverySave) {
    FileDefaultsStore store(root_ / "quorvane");
    ASSERT_TRUE(store.setData(kKey, "old").succeeded());
    const auto lockFile = store.folder() / FileDefaultsStore::kLockFileName;
    fs::remove(lockFile);
    fs::create_directories(lockFile);
    if (const auto refused = testing::MountRights::mountTmpfs(lockFile, "64k"))
        GTEST_SKIP() << "no file system can be mounted here: " << *refused;
    mounted_ = lockFile;

    {
        const auto lock = store.lockExclusively();
        ASSERT_TRUE(lock.failure());
        EXPECT_EQ(lock.failure()->kind, DefaultsStoreError::Kind::lockUnusable);
        EXPECT_EQ(lock.failure()->description(),
                  "설정 잠금 파일을 잠글 수도 새 파일로 바꿀 수도 없어 저장하지 못했습니다: " +
                      lockFile.string() + " (" + std::strerror(EBUSY) + ")");
    }
    const auto saved = store.setData(kKey, "new");
    ASSERT_TRUE(saved.error);
    EXPECT_EQ(saved.error->kind, DefaultsStoreError::Kind::lockUnusable);
    EXPECT_EQ(fileContents(store.pathForKey(kKey)), "old");

    testing::MountRights::unmount(lockFile);
    mounted_.reset();
    EXPECT_TRUE(store.setData(kKey, "new").succeeded());
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(lockFile)));
}

TEST_F(DefaultsStoreSafetyTest, CopiesKeptAsideNeverReplaceEachOther) {
    FileDefaultsStore store(root_ / "quorvane");
    const auto first = store.keepCopyAside(kKey, "broken one");
    const auto second = store.keepCopyAside(kKey, "broken two");
    ASSERT_TRUE(first.succeeded());
    ASSERT_TRUE(second.succeeded());
    ASSERT_TRUE(first.keptCopy && second.keptCopy);
    const std::regex name(std::regex_replace(kKey, std::regex("\\."), "\\.") +
                          "\\.json\\.unreadable-\\d{8}-\\d{6}(-\\d+)?");
    EXPECT_TRUE(std::regex_match(*first.keptCopy, name)) << *first.keptCopy;
    EXPECT_NE(*first.keptCopy, *second.keptCopy);
    EXPECT_EQ(fileContents(store.folder() / *first.keptCopy), "broken one");
    EXPECT_EQ(fileContents(store.folder() / *second.keptCopy), "broken two");
    // A copy is never taken for a stored value.
    EXPECT_TRUE(readsAsNothingStored(store.read(kKey)));
}

// Broken records coming back can never fill the disk: the same bytes are
// kept once (the outcome names the copy they are in), and of a record's
// copies only the newest few stay. Other records' copies are left alone.
TEST_F(DefaultsStoreSafetyTest, CopiesKeptAsideHoldEachContentOnceAndOnlyTheNewestStay) {
    FileDefaultsStore store(root_ / "quorvane");
    const std::string otherKey = std::string(kDefaultsDomain) + ".recoveryJournal.v1";
    const auto others = store.keepCopyAside(otherKey, "journal");
    ASSERT_TRUE(others.keptCopy);
    const auto first = store.keepCopyAside(kKey, "broken 1");
    ASSERT_TRUE(first.keptCopy);
    for (int again = 0; again < 5; ++again)
        EXPECT_EQ(store.keepCopyAside(kKey, "broken 1").keptCopy, first.keptCopy);

    std::vector<std::string> names;
    for (int content = 2; content <= 5; ++content) {
        const auto kept = store.keepCopyAside(kKey, "broken " + std::to_string(content));
        ASSERT_TRUE(kept.keptCopy) << content;
        names.push_back(*kept.keptCopy);
    }
    const auto copies = testing::TemporaryFolder::copiesIn(store.folder(), kKey);
    EXPECT_EQ(std::set<std::string>(copies.begin(), copies.end()),
              (std::set<std::string>{"broken 3", "broken 4", "broken 5"}));
    EXPECT_EQ(copies.size(), FileDefaultsStore::kKeptCopiesPerRecord);
    for (std::size_t index = 1; index < names.size(); ++index)
        EXPECT_TRUE(fs::exists(store.folder() / names[index])) << names[index];
    EXPECT_EQ(fileContents(store.folder() / *others.keptCopy), "journal");
}

// Copies made while the clock ran a year ahead carry that date in their
// names and file times. Once the clock is set right, the copies made since
// are the newest whatever their dates say: each new one removes the oldest
// of those made earlier, never the one made just before it.
TEST_F(DefaultsStoreSafetyTest, CopiesArePrunedByWhenTheyWereMadeAfterTheClockWasSetBack) {
    FileDefaultsStore store(root_ / "quorvane");
    ASSERT_FALSE(store.ensureFolder());
    const auto yearAhead = std::chrono::system_clock::now() + std::chrono::hours(24 * 365);
    for (int index = 0; index < 3; ++index) {
        const std::time_t when =
            std::chrono::system_clock::to_time_t(yearAhead + std::chrono::seconds(index));
        std::tm parts{};
        ::gmtime_r(&when, &parts);
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &parts);
        const auto copy = store.folder() / (kKey + ".json.unreadable-" + stamp);
        writeContents(copy, "ahead " + std::to_string(index));
        fs::last_write_time(copy, fs::file_time_type::clock::now() + std::chrono::hours(24 * 365) +
                                      std::chrono::seconds(index));
    }

    const auto copies = [&] {
        const auto held = testing::TemporaryFolder::copiesIn(store.folder(), kKey);
        return std::set<std::string>(held.begin(), held.end());
    };
    ASSERT_TRUE(store.keepCopyAside(kKey, "today 1").keptCopy);
    EXPECT_EQ(copies(), (std::set<std::string>{"ahead 1", "ahead 2", "today 1"}));
    ASSERT_TRUE(store.keepCopyAside(kKey, "today 2").keptCopy);
    EXPECT_EQ(copies(), (std::set<std::string>{"ahead 2", "today 1", "today 2"}));
    ASSERT_TRUE(store.keepCopyAside(kKey, "today 3").keptCopy);
    EXPECT_EQ(copies(), (std::set<std::string>{"today 1", "today 2", "today 3"}));
    ASSERT_TRUE(store.keepCopyAside(kKey, "today 4").keptCopy);
    EXPECT_EQ(copies(), (std::set<std::string>{"today 2", "today 3", "today 4"}));
}

TEST_F(DefaultsStoreSafetyTest, ARecordTheUserCannotReadIsAnErrorAndIsNeverReplaced) {
    FileDefaultsStore store(root_ / "quorvane");
    ASSERT_TRUE(store.setData(kKey, "secret").succeeded());
    const auto record = store.pathForKey(kKey);
    giveToTheUnprivilegedUser({root_, store.folder()});
    // Owned by someone else and private, or the user's own with no right to
    // read it: the user cannot read it.
    if (testing::filesGoToNobody()) {
        ASSERT_EQ(::chown(record.c_str(), 0, 0), 0);
    }
    ASSERT_EQ(::chmod(record.c_str(), testing::filesGoToNobody() ? 0600 : 0), 0);

    const int result = asUnprivilegedUser([&] {
        FileDefaultsStore asUser(root_ / "quorvane");
        const auto read = asUser.read(kKey);
        if (read.data || !read.error || read.error->kind != DefaultsStoreError::Kind::unreadable)
            return 1;
        const auto saved = asUser.setData(kKey, "replacement");
        if (!saved.error || saved.error->kind != DefaultsStoreError::Kind::unreadable)
            return 2;
        return 0;
    });
    EXPECT_EQ(result, 0);
    ::chmod(record.c_str(), 0600);
    EXPECT_EQ(fileContents(record), "secret");
}

// Root's save through sudo in the user's folder leaves a record the user
// reads (one kept 0644) with stamps the user may not (root's, private;
// without root: mode 000). Nothing tells when their requests were asked:
// none counts as later than a request of the user's that waited for that
// save, and the user's save stamps the record anew, readably.
TEST_F(DefaultsStoreSafetyTest, StampsTheUserCannotReadMakeNoRequestThatWaitedLose) {
    const auto folder = root_ / "quorvane";
    FileDefaultsStore elsewhere(folder);
    ASSERT_TRUE(elsewhere.setData(kKey, "{\"a\":1}").succeeded());
    const auto record = elsewhere.pathForKey(kKey);
    ASSERT_EQ(::chmod(record.c_str(), 0644), 0);
    const auto waitedSince = std::chrono::system_clock::now();
    TouchedRecordParts earlier;
    earlier.touch("displayAdjustments", "a", waitedSince - std::chrono::seconds(1));
    ASSERT_TRUE(elsewhere.setDataTouching(kKey, "{\"a\":0.3}", earlier).succeeded());
    const auto stamps = folder / RecordWriteStamp::fileNameFor(kKey + ".json");
    if (!testing::filesGoToNobody()) {
        ASSERT_EQ(::chmod(stamps.c_str(), 0), 0);
    }
    giveToTheUnprivilegedUser({root_, folder});

    const int result = asUnprivilegedUser([&] {
        FileDefaultsStore store(folder);
        const auto read = store.read(kKey);
        const auto setAt = read.requested.askedAt("displayAdjustments", "a");
        if (read.data != "{\"a\":0.3}" || (setAt && *setAt > waitedSince) ||
            (read.writtenAt && *read.writtenAt > waitedSince))
            return 1;
        TouchedRecordParts waited;
        waited.touch("displayAdjustments", "a", waitedSince);
        if (!store.setDataTouching(kKey, "{\"a\":0.6}", waited).succeeded())
            return 2;
        const auto saved = store.read(kKey);
        return saved.requested.askedAt("displayAdjustments", "a") == waitedSince ? 0 : 3;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(fileContents(record), "{\"a\":0.6}");
}

// Root's saves through sudo in the user's folder (one root does not own)
// leave a record and stamps that are the user's: the user reads both, with
// the requests root's command named, and saves over them.
TEST_F(DefaultsStoreSafetyTest, FilesRootSavesInAnotherUsersFolderAreThatUsers) {
    // Run by anyone else, both sides are that one user: nothing is handed
    // over, and nothing here would be checked.
    if (!rootOfTheSystem())
        GTEST_SKIP() << "only root saves in a folder another user owns (run as root to check "
                        "the hand-over)";
    const auto folder = root_ / "quorvane";
    fs::create_directories(folder);
    giveToTheUnprivilegedUser({root_, folder});
    FileDefaultsStore elsewhere(folder);
    // The lock taken alone (as a merge of preferences or the recovery
    // journal takes it, before any save) makes the user's lock file too.
    {
        const auto lock = elsewhere.lockExclusively();
        ASSERT_FALSE(lock.failure());
    }
    EXPECT_EQ(ownerOf(folder / FileDefaultsStore::kLockFileName), kNobody);
    const auto asked = std::chrono::system_clock::now() - std::chrono::seconds(1);
    TouchedRecordParts first;
    first.touch("displayAdjustments", "a", asked - std::chrono::seconds(1));
    ASSERT_TRUE(elsewhere.setDataTouching(kKey, "{\"a\":0.3}", first).succeeded());
    // The same again: its stamp alone.
    TouchedRecordParts again;
    again.touch("displayAdjustments", "a", asked);
    ASSERT_TRUE(elsewhere.setDataTouching(kKey, "{\"a\":0.3}", again).succeeded());

    const int result = asUnprivilegedUser([&] {
        FileDefaultsStore store(folder);
        const auto read = store.read(kKey);
        if (read.data != "{\"a\":0.3}" ||
            read.requested.askedAt("displayAdjustments", "a") != asked)
            return 1;
        return store.setData(kKey, "{\"a\":0.6}").succeeded() ? 0 : 2;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(fileContents(folder / (kKey + ".json")), "{\"a\":0.6}");
    if (::geteuid() != 0)
        GTEST_SKIP() << kOnlyRootMakesOthersFiles;
    for (const auto& name : {kKey + ".json", RecordWriteStamp::fileNameFor(kKey + ".json"),
                             std::string(FileDefaultsStore::kLockFileName)})
        EXPECT_EQ(ownerOf(folder / name), kNobody) << name;

    // The user's record kept as a link to their own file elsewhere (a
    // dotfiles folder) stays one, saved on the writer's thread.
    const auto dotfile = root_ / "dotfiles.json";
    fs::rename(folder / (kKey + ".json"), dotfile);
    fs::create_symlink(dotfile, folder / (kKey + ".json"));
    ASSERT_EQ(::lchown((folder / (kKey + ".json")).c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chown(dotfile.c_str(), kNobody, kNobody), 0);
    {
        BackgroundDefaultsWriter writer(std::make_shared<FileDefaultsStore>(folder));
        writer.setData(kKey, "{\"a\":0.9}");
        EXPECT_TRUE(writer.flushPendingSaves().empty());
    }
    EXPECT_TRUE(fs::is_symlink(folder / (kKey + ".json")));
    EXPECT_EQ(fileContents(dotfile), "{\"a\":0.9}");
    EXPECT_EQ(ownerOf(dotfile), kNobody);
    for (const auto& entry : fs::directory_iterator(root_))
        EXPECT_EQ(ownerOf(entry.path()), kNobody) << entry.path();
}

// Root's save in a folder another user owns (sudo -E with that user's
// HOME) goes nowhere that user could not: a link planted at the record's
// name or at the folder's, or a hard link to root's file, fails the save,
// leaving root's files, and another user's, as they were; so does a
// folder whose owner's rights cannot be had. The save goes through the
// background writer's thread, as the application's do.
TEST_F(DefaultsStoreSafetyTest, RootInAnotherUsersFolderGoesNowhereThatUserCouldNot) {
    if (!rootOfTheSystem())
        GTEST_SKIP() << kOnlyRootMakesOthersFiles;
    const passwd* other = ::getpwnam("daemon");
    if (other == nullptr)
        GTEST_SKIP() << "no second account (daemon) to own another user's folder";
    const auto folder = root_ / "quorvane";
    const auto record = kKey + ".json";
    const auto rootOnly = root_ / "root-only";
    const auto theirs = root_ / "theirs";
    const auto linked = root_ / "linked";
    // Each plants its link and gives the folder to save in.
    const std::vector<std::pair<std::string, std::function<fs::path()>>> cases{
        {"record linked to root's file",
         [&] {
             plantedLink(rootOnly / "secret", folder / record);
             return folder;
         }},
        {"record linked to a name only root may make",
         [&] {
             plantedLink(rootOnly / "made", folder / record);
             return folder;
         }},
        {"record a hard link to root's file",
         [&] {
             fs::create_hard_link(rootOnly / "secret", folder / record);
             return folder;
         }},
        {"record linked to root's file in the folder",
         [&] {
             // Root's group may read it; the user is not of that group.
             fs::copy_file(rootOnly / "secret", folder / "secret");
             fs::permissions(folder / "secret", fs::perms::group_read, fs::perm_options::add);
             plantedLink("secret", folder / record);
             return folder;
         }},
        {"folder linked to another user's",
         [&] {
             plantedLink(theirs, linked);
             return linked;
         }},
        {"folder linked to root's",
         [&] {
             plantedLink(rootOnly, linked);
             return linked;
         }},
        {"folder of a user without an account",
         [&] {
             EXPECT_EQ(::chown(folder.c_str(), 54321, 54321), 0);
             return folder;
         }},
    };
    // Where sudo runs it, root is of root's group (root has every right
    // anyway): that group's files are not the user's.
    const std::vector<gid_t> rootsGroups{0};
    ASSERT_EQ(::setgroups(rootsGroups.size(), rootsGroups.data()), 0);
    for (const auto& [name, plant] : cases) {
        SCOPED_TRACE(name);
        for (const auto& made : {folder, rootOnly, theirs, linked})
            fs::remove_all(made);
        fs::create_directories(folder);
        giveToTheUnprivilegedUser({root_, folder});
        // Homes others may pass through, as on most systems.
        fs::permissions(root_, fs::perms::others_exec, fs::perm_options::add);
        fs::create_directory(rootOnly);
        writeContents(rootOnly / "secret", "secret");
        fs::permissions(rootOnly, fs::perms::owner_all);
        fs::permissions(rootOnly / "secret", fs::perms::owner_read | fs::perms::owner_write);
        fs::create_directory(theirs);
        writeContents(theirs / record, "theirs");
        ASSERT_EQ(::chown(theirs.c_str(), other->pw_uid, other->pw_gid), 0);
        ASSERT_EQ(::chown((theirs / record).c_str(), other->pw_uid, other->pw_gid), 0);
        {
            BackgroundDefaultsWriter writer(std::make_shared<FileDefaultsStore>(plant()));
            writer.setData(kKey, "{\"a\":1}");
            EXPECT_EQ(writer.flushPendingSaves().size(), 1u);
        }
        EXPECT_EQ(fileContents(rootOnly / "secret"), "secret");
        EXPECT_EQ(std::distance(fs::directory_iterator(rootOnly), {}), 1);
        EXPECT_EQ(fileContents(theirs / record), "theirs");
        EXPECT_EQ(std::distance(fs::directory_iterator(theirs), {}), 1);
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (!entry.is_symlink() && ownerOf(entry.path()) != 0) {
                EXPECT_NE(fileContents(entry.path()), "secret") << entry.path();
            }
        }
    }
}

// Root in a folder decided to be its own (a writer of it the accounts did
// not show) follows a link only where root made it: one another user made,
// at the record's name or on the way to the folder, is not followed by a
// save, a read or the lock alone, and root's file stays as it was.
TEST_F(DefaultsStoreSafetyTest, ALinkIsFollowedOnlyWhereItsMakerCounts) {
    if (!rootOfTheSystem())
        GTEST_SKIP() << kOnlyRootMakesOthersFiles;
    const auto rootOnly = root_ / "root-only";
    const auto folder = root_ / "quorvane";
    const auto record = folder / (kKey + ".json");
    fs::create_directory(rootOnly);
    writeContents(rootOnly / "secret", "secret");
    fs::permissions(rootOnly / "secret", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_directory(folder);
    plantedLink(rootOnly / "secret", record);
    plantedLink(folder, root_ / "way");
    for (const auto& through : {folder, root_ / "way"}) {
        SCOPED_TRACE(through.string());
        FileDefaultsStore store(through);
        const auto saved = store.setData(kKey, "{}");
        ASSERT_TRUE(saved.error);
        EXPECT_EQ(saved.error->kind, DefaultsStoreError::Kind::linkOfAnotherUser);
        EXPECT_NE(saved.error->description().find("UID 65534"), std::string::npos);
        const auto read = store.read(kKey);
        EXPECT_FALSE(read.data);
        ASSERT_TRUE(read.error);
        EXPECT_EQ(read.error->kind, DefaultsStoreError::Kind::linkOfAnotherUser);
        EXPECT_EQ(fileContents(rootOnly / "secret"), "secret");
    }
    const auto lock = FileDefaultsStore(root_ / "way").lockExclusively();
    ASSERT_TRUE(lock.failure());
    EXPECT_EQ(lock.failure()->kind, DefaultsStoreError::Kind::linkOfAnotherUser);
    // Root's own link is followed.
    fs::remove(record);
    fs::create_symlink(rootOnly / "secret", record);
    EXPECT_TRUE(FileDefaultsStore(folder).setData(kKey, "{}").succeeded());
    EXPECT_EQ(fileContents(rootOnly / "secret"), "{}");
}

// The folder swapped for a link to root's folder (another user's, or
// root's own) while a save is under way, after the walk that judged the
// way: the save goes on in the folder the walk reached (its lock, stamps,
// temporary file and record), and nothing is made where the link leads.
TEST_F(DefaultsStoreSafetyTest, AFolderSwappedDuringASaveLeadsNothingElsewhere) {
    if (!rootOfTheSystem())
        GTEST_SKIP() << kOnlyRootMakesOthersFiles;
    const auto rootOnly = root_ / "root-only";
    const auto folder = root_ / "quorvane";
    const auto aside = root_ / "aside";
    fs::create_directory(rootOnly);
    for (const uid_t maker : {kNobody, uid_t{0}}) {
        SCOPED_TRACE(maker);
        fs::remove_all(aside);
        fs::remove(folder);
        FileDefaultsStore store(folder);
        ASSERT_TRUE(store.setData(kKey, "{\"a\":1}").succeeded());
        bool swapped = false;
        store.setReadCall([&](const fs::path&, int fd, void* buffer, std::size_t size) {
            if (!std::exchange(swapped, true)) {
                fs::rename(folder, aside);
                fs::create_symlink(rootOnly, folder);
                EXPECT_EQ(::lchown(folder.c_str(), maker, maker), 0);
            }
            return ::read(fd, buffer, size);
        });
        // Nothing is made there even for a moment.
        bool emptyWhileSaving = false;
        store.setBeforeRenameHook([&](const fs::path&) {
            emptyWhileSaving = fs::is_empty(rootOnly);
            return true;
        });
        const auto saved = store.setData(kKey, "{\"a\":2}");
        EXPECT_TRUE(saved.succeeded()) << (saved.error ? saved.error->description() : "");
        EXPECT_TRUE(swapped);
        EXPECT_TRUE(emptyWhileSaving);
        EXPECT_TRUE(fs::is_empty(rootOnly));
        EXPECT_EQ(fileContents(aside / (kKey + ".json")), "{\"a\":2}");
    }
}

TEST_F(DefaultsStoreSafetyTest, AReadOnlyFolderFailsTheWriteAndSaysWhy) {
    FileDefaultsStore store(root_ / "quorvane");
    ASSERT_TRUE(store.setData(kKey, "kept").succeeded());
    giveToTheUnprivilegedUser({root_, store.folder(), store.pathForKey(kKey)});
    ASSERT_EQ(::chmod(store.folder().c_str(), 0500), 0);

    const int result = asUnprivilegedUser([&] {
        FileDefaultsStore asUser(root_ / "quorvane");
        if (asUser.dataForKey(kKey) != "kept")
            return 1;
        const auto saved = asUser.setData(kKey, "lost?");
        if (!saved.error || saved.error->kind != DefaultsStoreError::Kind::notWritable)
            return 2;
        return saved.error->description().find(asUser.folder().string()) == std::string::npos ? 3
                                                                                              : 0;
    });
    EXPECT_EQ(result, 0);
    ::chmod(store.folder().c_str(), 0700);
    EXPECT_EQ(fileContents(store.pathForKey(kKey)), "kept");
}

TEST_F(DefaultsStoreSafetyTest, AFileWhereTheFolderGoesFailsAsNotAFolder) {
    writeContents(root_ / "config", "I am a file");
    FileDefaultsStore store(root_ / "config" / "quorvane");
    EXPECT_TRUE(readsAsNothingStored(store.read(kKey)));
    const auto saved = store.setData(kKey, "x");
    ASSERT_TRUE(saved.error);
    EXPECT_EQ(saved.error->kind, DefaultsStoreError::Kind::notAFolder);
    EXPECT_EQ(fileContents(root_ / "config"), "I am a file");

    FileDefaultsStore nowhere{fs::path()};
    const auto homeless = nowhere.setData(kKey, "x");
    ASSERT_TRUE(homeless.error);
    EXPECT_EQ(homeless.error->kind, DefaultsStoreError::Kind::noLocation);
}

TEST_F(DefaultsStoreSafetyTest, AFullFileSystemFailsTheWriteAndKeepsTheOldValue) {
    const auto disk = root_ / "small";
    fs::create_directories(disk);
    if (const auto refused = testing::MountRights::mountTmpfs(disk, "64k"))
        GTEST_SKIP() << "no small file system can be mounted here: " << *refused;
    mounted_ = disk;
    FileDefaultsStore store(disk / "quorvane");
    ASSERT_TRUE(store.setData(kKey, "old").succeeded());
    {
        std::ofstream filler(disk / "filler", std::ios::binary);
        const std::string block(4096, 'f');
        while (filler.write(block.data(), block.size()))
            ;
    }
    const auto saved = store.setData(kKey, std::string(16 * 1024, 'n'));
    ASSERT_TRUE(saved.error);
    EXPECT_EQ(saved.error->kind, DefaultsStoreError::Kind::noSpace);
    EXPECT_EQ(store.dataForKey(kKey), "old");
    for (const auto& entry : fs::directory_iterator(store.folder())) {
        const auto name = entry.path().filename().string();
        const auto stamps = RecordWriteStamp::fileNameFor(kKey + ".json");
        EXPECT_TRUE(name == kKey + ".json" || name == FileDefaultsStore::kLockFileName ||
                    name == stamps || name == stamps + "~")
            << name;
    }
}

// A FIFO at the record's path, or a link to a device node, reads as
// unreadable and is never replaced: not by a save, nor by the background
// writer's retries and its flush at quit. Nothing blocks on the FIFO.
TEST_F(DefaultsStoreSafetyTest, ANodeThatIsNotARegularFileIsNeverReplaced) {
    const auto folder = root_ / "quorvane";
    fs::create_directories(folder);
    const auto device = root_ / "device";
    // A device node of our own, so a fault could never touch /dev itself.
    const bool ownDevice = ::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;
    const fs::path deviceTarget = ownDevice ? device : fs::path("/dev/null");
    struct Case {
        std::string name;
        std::function<void(const fs::path&)> plant;
        std::function<bool(const fs::path&)> untouched;
    };
    const std::vector<Case> cases{
        {"fifo", [](const fs::path& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); },
         [](const fs::path& path) {
             struct stat info {};
             return ::lstat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
         }},
        {"device link", [&](const fs::path& path) { fs::create_symlink(deviceTarget, path); },
         [&](const fs::path& path) {
             struct stat info {};
             return fs::is_symlink(path) && fs::read_symlink(path) == deviceTarget &&
                    ::lstat(deviceTarget.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
         }},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        const std::string key = kKey + "." + std::to_string(&test - cases.data());
        auto store = std::make_shared<FileDefaultsStore>(folder);
        const auto path = store->pathForKey(key);
        test.plant(path);

        const auto read = store->read(key);
        ASSERT_TRUE(read.error);
        EXPECT_EQ(read.error->kind, DefaultsStoreError::Kind::unreadable);
        const auto saved = store->setData(key, "defaults over it");
        ASSERT_TRUE(saved.error);
        EXPECT_EQ(saved.error->kind, DefaultsStoreError::Kind::unreadable);
        {
            BackgroundDefaultsWriter writer(store);
            writer.setData(key, "a change");
            EXPECT_EQ(writer.flushPendingSaves().size(), 1u);
        }
        EXPECT_TRUE(test.untouched(path));
    }
}

}  // namespace
}  // namespace quorvane
