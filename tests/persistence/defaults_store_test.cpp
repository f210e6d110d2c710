#include "services/persistence/defaults_store.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/simulated/in_memory_defaults_store.hpp"
#include "platform/simulated/manual_scheduler.hpp"
#include "services/persistence/file_lock_table.hpp"
#include "services/persistence/record_write_stamp_decoder.hpp"
#include "services/persistence/unique_file_descriptor.hpp"
#include "support/child_process.hpp"
#include "support/fuse_ext4_image.hpp"
#include "support/other_lock_holder.hpp"
#include "support/releasing_sleeper.hpp"
#include "support/small_disk.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

const std::string kKey = std::string(kDefaultsDomain) + ".preferences.v1";

class DefaultsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quorvane-defaults-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
    }
    void TearDown() override {
        for (const auto& folder : mounted_)
            testing::MountRights::unmount(folder);
        fs::remove_all(root_);
    }

    // `folder` on a fresh tmpfs: nothing, or why not.
    std::optional<std::string> mountTmpfs(const fs::path& folder) {
        fs::create_directories(folder);
        return mounted(folder, testing::MountRights::mountTmpfs(folder, "1m"));
    }

    // `folder` on an ext4 image mounted through FUSE (FuseExt4Image, made
    // with `format`): nothing, or why not.
    std::optional<std::string> mountThroughFuse(const fs::path& folder,
                                                const std::string& format = "") {
        fs::create_directories(folder);
        return mounted(folder, fuse.emplace(root_, format).mount(folder));
    }

    static std::uint64_t inodeOf(const fs::path& file) {
        struct stat info {};
        EXPECT_EQ(::stat(file.c_str(), &info), 0);
        return static_cast<std::uint64_t>(info.st_ino);
    }

    // Files in the folder other than the key files and the lock file.
    static int strayFiles(const fs::path& folder) {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const auto name = entry.path().filename().string();
            // Each record's stamp of who wrote it stays beside it, with the
            // one kept as sure to outlive a crash.
            const auto stamps = RecordWriteStamp::fileNameFor(kKey + ".json");
            if (entry.path().extension() != ".json" && name != FileDefaultsStore::kLockFileName &&
                name != stamps && name != stamps + "~")
                ++count;
        }
        return count;
    }

    // Descriptors this process holds onto files in `folder`, renamed over
    // or removed ones included.
    static int heldIn(const fs::path& folder) {
        int held = 0;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator("/proc/self/fd", error)) {
            const auto target = fs::read_symlink(entry.path(), error);
            held += !error && target.parent_path() == folder ? 1 : 0;
        }
        return held;
    }

    static std::string fileText(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path root_;
    std::optional<testing::FuseExt4Image> fuse;

  private:
    std::optional<std::string> mounted(const fs::path& folder, std::optional<std::string> refused) {
        if (!refused)
            mounted_.push_back(folder);
        return refused;
    }

    std::vector<fs::path> mounted_;
};

TEST_F(DefaultsStoreTest, RoundTripsCreatesAPrivateFolderAndRemoves) {
    FileDefaultsStore store(root_ / "config" / "quorvane");
    EXPECT_EQ(store.dataForKey(kKey), std::nullopt);

    const std::string bytes = std::string("{\"a\":1}\n\0binary", 15);
    ASSERT_TRUE(store.setData(kKey, bytes).succeeded());
    EXPECT_EQ(store.dataForKey(kKey), bytes);
    EXPECT_TRUE(fs::is_regular_file(root_ / "config" / "quorvane" / (kKey + ".json")));
    struct stat info {};
    ASSERT_EQ(::stat((root_ / "config" / "quorvane").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    EXPECT_EQ(strayFiles(store.folder()), 0);

    EXPECT_TRUE(store.removeKey(kKey));
    EXPECT_EQ(store.dataForKey(kKey), std::nullopt);
    EXPECT_TRUE(store.removeKey(kKey));
}

TEST_F(DefaultsStoreTest, RefusesKeysThatCouldLeaveTheFolder) {
    FileDefaultsStore store(root_ / "quorvane");
    std::ofstream(root_ / "outside.json") << "secret";
    for (const std::string& key :
         std::vector<std::string>{"", "../outside", "a/b", "..", ".hidden", "tab\tkey",
                                  std::string(201, 'k'), std::string("nul\0key", 7)}) {
        EXPECT_FALSE(store.setData(key, "x").succeeded()) << key;
        EXPECT_EQ(store.dataForKey(key), std::nullopt) << key;
        EXPECT_FALSE(store.removeKey(key)) << key;
    }
    EXPECT_TRUE(fs::exists(root_ / "outside.json"));
    EXPECT_TRUE(store.setData(std::string(200, 'k'), "x").succeeded());
}

TEST_F(DefaultsStoreTest, AFailureJustBeforeTheRenameKeepsTheOldValueAndLeavesNoTemporaryFile) {
    FileDefaultsStore store(root_ / "quorvane");
    ASSERT_TRUE(store.setData(kKey, "old").succeeded());
    std::string seenContents;
    store.setBeforeRenameHook([&](const fs::path& temporary) {
        std::ifstream in(temporary, std::ios::binary);
        seenContents.assign(std::istreambuf_iterator<char>(in), {});
        return false;
    });
    const auto stamp = store.folder() / RecordWriteStamp::fileNameFor(kKey + ".json");
    const auto stampBefore = fileText(stamp);
    const auto before = store.read(kKey);
    EXPECT_FALSE(store.setData(kKey, "new value").succeeded());
    EXPECT_EQ(seenContents, "new value");
    EXPECT_EQ(store.dataForKey(kKey), "old");
    EXPECT_EQ(strayFiles(store.folder()), 0);
    // The new stamp stood in place already: the one before is put back.
    EXPECT_EQ(fileText(stamp), stampBefore);
    EXPECT_EQ(store.read(kKey).writeID, before.writeID);

    // With no stamp before, none stays.
    fs::remove(stamp);
    EXPECT_FALSE(store.setData(kKey, "new value").succeeded());
    EXPECT_FALSE(fs::exists(stamp));
    EXPECT_EQ(strayFiles(store.folder()), 0);
}

// A record that already holds the bytes is left as it is (no temporary file,
// no sync, no rename); bytes of the same length that differ anywhere, even
// in the last byte, are written.
TEST_F(DefaultsStoreTest, ARecordThatAlreadyHoldsTheBytesIsNotRewritten) {
    FileDefaultsStore store(root_ / "quorvane");
    ASSERT_TRUE(store.setData(kKey, "{\"night\":true}").succeeded());
    int renames = 0;
    store.setBeforeRenameHook([&](const fs::path&) { return ++renames > 0; });
    const auto before = fs::status(store.pathForKey(kKey));
    struct stat first {};
    ASSERT_EQ(::stat(store.pathForKey(kKey).c_str(), &first), 0);

    EXPECT_TRUE(store.setData(kKey, "{\"night\":true}").succeeded());
    struct stat second {};
    ASSERT_EQ(::stat(store.pathForKey(kKey).c_str(), &second), 0);
    EXPECT_EQ(renames, 0);
    EXPECT_EQ(second.st_ino, first.st_ino);

    // Requests for the values it holds are told by a new stamp for the
    // same file alone.
    TouchedRecordParts touched;
    const Date asked = std::chrono::system_clock::now() - std::chrono::seconds(5);
    touched.touch("displayAdjustments", "a", asked);
    const auto requested = store.setDataTouching(kKey, "{\"night\":true}", touched);
    EXPECT_TRUE(requested.succeeded());
    ASSERT_EQ(::stat(store.pathForKey(kKey).c_str(), &second), 0);
    EXPECT_EQ(renames, 0);
    EXPECT_EQ(second.st_ino, first.st_ino);
    EXPECT_EQ(second.st_ctim.tv_sec, first.st_ctim.tv_sec);
    EXPECT_EQ(second.st_ctim.tv_nsec, first.st_ctim.tv_nsec);
    const auto read = FileDefaultsStore(store.folder()).read(kKey);
    EXPECT_EQ(read.writeID, requested.writeID);
    EXPECT_EQ(read.requested.askedAt("displayAdjustments", "a"), asked);

    EXPECT_TRUE(store.setData(kKey, "{\"night\":trud}").succeeded());
    EXPECT_TRUE(store.setData(kKey, "{\"night\":trud} ").succeeded());
    EXPECT_EQ(renames, 2);
    EXPECT_EQ(store.dataForKey(kKey), "{\"night\":trud} ");
    EXPECT_EQ(fs::status(store.pathForKey(kKey)).permissions(), before.permissions());
}

// A store whose reads are undated (the command line's) reads no stamp, yet
// its writes carry the requests of the stamp before theirs.
TEST_F(DefaultsStoreTest, UndatedReadsNameNoWriteButTheirWritesKeepTheRequestsBefore) {
    FileDefaultsStore other(root_ / "quorvane");
    FileDefaultsStore command(root_ / "quorvane");
    command.setReadsDated(false);
    const Date asked = std::chrono::system_clock::now() - std::chrono::seconds(5);
    TouchedRecordParts first;
    first.touch("displayAdjustments", "a", asked);
    ASSERT_TRUE(other.setDataTouching(kKey, "{\"night\":true}", first).succeeded());

    const auto undated = command.read(kKey);
    EXPECT_EQ(undated.data, "{\"night\":true}");
    EXPECT_FALSE(undated.writeID);
    EXPECT_TRUE(undated.requested.empty());

    TouchedRecordParts second;
    second.touch("displayAdjustments", "b", asked + std::chrono::seconds(1));
    ASSERT_TRUE(command.setDataTouching(kKey, "{\"night\":true}", second).succeeded());
    const auto read = other.read(kKey);
    EXPECT_FALSE(read.writtenHere);
    EXPECT_EQ(read.requested.askedAt("displayAdjustments", "a"), asked);
    EXPECT_EQ(read.requested.askedAt("displayAdjustments", "b"), asked + std::chrono::seconds(1));
}

// A write is named and dated by its writer's stamp, never by the file's
// times or bytes: another writer's equal bytes are its own write, told by
// its stamp alone, and read just before a write's rename the record is
// still the one before. A file put there otherwise (a copy keeping an
// hour-old time, equal bytes renamed over the record) is dated by when it
// was put there.
TEST_F(DefaultsStoreTest, AWriteIsNamedAndDatedByItsWriterNotByTheFilesTimesOrBytes) {
    FileDefaultsStore mine(root_ / "quorvane");
    FileDefaultsStore theirs(root_ / "quorvane");
    auto clock = std::make_shared<ManualScheduler>();
    const Date asked = std::chrono::system_clock::now() - std::chrono::minutes(10);
    clock->setWallNow(asked);
    theirs.setWallClock(clock);
    const std::string bytes = "{\"night\":true}";
    const auto saved = mine.setData(kKey, bytes);
    ASSERT_TRUE(saved.writeID);

    TouchedRecordParts touched;
    touched.touch("displayAdjustments", "a", asked - std::chrono::seconds(30));
    touched.touch("textSize");
    ASSERT_TRUE(theirs.setDataTouching(kKey, bytes, touched).succeeded());
    const auto other = mine.read(kKey);
    EXPECT_FALSE(other.writtenHere);
    EXPECT_NE(other.writeID, saved.writeID);
    EXPECT_EQ(other.writtenAt, asked);
    EXPECT_EQ(other.requested.askedAt("displayAdjustments", "a"), asked - std::chrono::seconds(30));
    EXPECT_EQ(other.requested.askedAt("textSize"), asked);

    std::optional<DefaultsReadResult> beforeRename;
    mine.setBeforeRenameHook([&](const fs::path&) {
        beforeRename = theirs.read(kKey);
        return true;
    });
    ASSERT_TRUE(mine.setData(kKey, "{\"night\":false}").succeeded());
    ASSERT_TRUE(beforeRename);
    EXPECT_TRUE(beforeRename->writtenHere);
    EXPECT_EQ(beforeRename->writeID, other.writeID);

    const auto beforeCopy = std::chrono::system_clock::now();
    std::ofstream(mine.pathForKey(kKey), std::ios::trunc) << "{}";
    const auto hourAgo = std::chrono::system_clock::to_time_t(beforeCopy) - 3600;
    const timespec dates[2] = {{hourAgo, 0}, {hourAgo, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, mine.pathForKey(kKey).c_str(), dates, 0), 0);
    const auto copy = mine.read(kKey);
    EXPECT_NE(copy.writeID, other.writeID);
    EXPECT_GE(copy.writtenAt.value_or(Date{}), beforeCopy - std::chrono::milliseconds(20));
    EXPECT_EQ(copy.requested, TouchedRecordParts::all(*copy.writtenAt));
    const auto last = theirs.setData(kKey, bytes);
    ASSERT_TRUE(last.writeID);
    std::ofstream(root_ / "quorvane" / "restored") << bytes;
    fs::rename(root_ / "quorvane" / "restored", mine.pathForKey(kKey));
    EXPECT_NE(mine.read(kKey).writeID, last.writeID);
}

// The first write's bytes put back as a new file (cp --remove-destination,
// an editor's rename) that got the first write's inode number back once a
// second write replaced it: the first write's stamp, still kept after the
// second's, does not describe it, whether the file system tells files apart
// by birth time and generation, by one of them, or by neither. The restore,
// the later act, is dated by itself. Until the second write's record lands
// after its stamp, the first write's record is still that write wherever
// either tells files apart.
TEST_F(DefaultsStoreTest, ARestoreThatGotAnOldWritesInodeNumberBackIsNotThatWrite) {
    const auto inodeOf = [](const fs::path& file) {
        struct stat info {};
        EXPECT_EQ(::stat(file.c_str(), &info), 0);
        return static_cast<std::uint64_t>(info.st_ino);
    };
    for (const auto& [keepsBirth, keepsGeneration] :
         {std::pair{true, true}, {true, false}, {false, true}, {false, false}}) {
        SCOPED_TRACE(std::string("birth time ") + (keepsBirth ? "kept" : "not kept") +
                     ", generation " + (keepsGeneration ? "kept" : "not kept"));
        const auto folder = root_ / (std::to_string(keepsBirth) + std::to_string(keepsGeneration));
        std::uint64_t restored = 0;
        std::uint64_t first = 0;
        const auto identity = [&](int fd, const struct stat& info) {
            auto file = RecordFileIdentity::of(fd, info);
            if (file.inode == restored)
                file.inode = first;
            if (!keepsBirth)
                file.bornAt = std::nullopt;
            if (!keepsGeneration)
                file.generation = std::nullopt;
            return file;
        };
        FileDefaultsStore mine(folder);
        FileDefaultsStore theirs(folder);
        mine.setIdentityCall(identity);
        theirs.setIdentityCall(identity);
        const auto firstWrite = mine.setData(kKey, "{\"night\":true}");
        ASSERT_TRUE(firstWrite.writeID);
        first = inodeOf(mine.pathForKey(kKey));
        std::optional<DefaultsReadResult> beforeRename;
        theirs.setBeforeRenameHook([&](const fs::path&) {
            beforeRename = mine.read(kKey);
            return true;
        });
        ASSERT_TRUE(theirs.setData(kKey, "{\"night\":false}").succeeded());
        ASSERT_TRUE(beforeRename);
        EXPECT_EQ(beforeRename->writeID == firstWrite.writeID, keepsBirth || keepsGeneration);

        const auto beforeRestore = std::chrono::system_clock::now();
        std::ofstream(folder / "restored") << "{\"night\":true}";
        restored = inodeOf(folder / "restored");
        fs::rename(folder / "restored", mine.pathForKey(kKey));
        const auto read = mine.read(kKey);
        EXPECT_NE(read.writeID, firstWrite.writeID);
        EXPECT_FALSE(read.writtenHere);
        EXPECT_GE(read.writtenAt.value_or(Date{}), beforeRestore - std::chrono::milliseconds(20));
    }
}

// The newest write's bytes put back later by something that keeps no stamp,
// on an ext4 image through FUSE: as a new file that got the record's inode
// number back (cp --remove-destination), or copied over it in place. Its
// number, length and bytes are the write's, and the file system keeps no
// birth time nor generation: only its change time, later than its write's,
// tells it. The restore, the later act, is dated by itself; a write and a
// write of its stamp alone still read as themselves on whole seconds.
TEST_F(DefaultsStoreTest, ARestoreOfTheNewestWritesBytesIsTheLaterActThroughFuse) {
    const auto folder = root_ / "fuse";
    if (const auto refused = mountThroughFuse(folder))
        GTEST_SKIP() << "no ext4 image can be mounted through FUSE here: " << *refused;
    FileDefaultsStore mine(folder / "quorvane");
    FileDefaultsStore theirs(folder / "quorvane");
    const std::string bytes = "{\"night\":true}";
    // The only write so far, so its number is the lowest free once removed.
    const auto newest = theirs.setData(kKey, bytes);
    ASSERT_TRUE(newest.writeID);
    EXPECT_EQ(mine.read(kKey).writeID, newest.writeID);
    const auto record = mine.pathForKey(kKey);
    const auto inode = inodeOf(record);

    fuse->moveClockOn(10);
    const auto beforeRestore = std::chrono::system_clock::now();
    fs::remove(record);
    std::ofstream(record) << bytes;
    ASSERT_EQ(inodeOf(record), inode);
    const auto restored = mine.read(kKey);
    EXPECT_NE(restored.writeID, newest.writeID);
    EXPECT_FALSE(restored.writtenHere);
    EXPECT_GE(restored.writtenAt.value_or(Date{}), beforeRestore - std::chrono::milliseconds(20));
    EXPECT_EQ(restored.requested, TouchedRecordParts::all(*restored.writtenAt));

    TouchedRecordParts touched;
    touched.touch("displayAdjustments", "a", std::chrono::system_clock::now());
    const auto stamped = theirs.setDataTouching(kKey, bytes, touched);
    ASSERT_TRUE(stamped.writeID);
    EXPECT_EQ(inodeOf(record), inode);
    EXPECT_EQ(mine.read(kKey).writeID, stamped.writeID);

    fuse->moveClockOn(20);
    std::ofstream(record, std::ios::trunc) << bytes;
    const auto copied = mine.read(kKey);
    EXPECT_NE(copied.writeID, stamped.writeID);
    EXPECT_EQ(copied.requested, TouchedRecordParts::all(*copied.writtenAt));
}

// Where file times count whole seconds, a file saved by hand reads as
// changed up to two seconds after it was: once seen, it counts as put there
// by then, also once the clock has passed its file time; rewritten in place
// within that second with other bytes, it is another write.
TEST_F(DefaultsStoreTest,
       AFileSeenBeforeItsWholeSecondTimeIsDatedWhenFirstSeenUntilItsBytesChange) {
    const auto folder = root_ / "fuse";
    if (const auto refused = mountThroughFuse(folder, "-I 128"))
        GTEST_SKIP() << "no ext4 image can be mounted through FUSE here: " << *refused;
    FileDefaultsStore store(folder / "quorvane");
    ASSERT_TRUE(store.setData(kKey, "{}").succeeded());
    auto clock = std::make_shared<ManualScheduler>();
    store.setWallClock(clock);
    while (std::chrono::system_clock::now().time_since_epoch() % std::chrono::seconds(1) >
           std::chrono::milliseconds(100))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    clock->setWallNow(std::chrono::system_clock::now());
    std::ofstream(store.pathForKey(kKey)) << "{\"a\":1}";
    const auto seen = store.read(kKey);
    clock->setWallNow(*seen.writtenAt + std::chrono::seconds(5));
    EXPECT_EQ(store.read(kKey).writtenAt, seen.writtenAt);
    std::ofstream(store.pathForKey(kKey)) << "{\"a\":2}";
    const auto rewritten = store.read(kKey);
    ASSERT_EQ(rewritten.writeID, seen.writeID);
    EXPECT_GT(rewritten.writtenAt, seen.writtenAt);
}

// The same on tmpfs, which keeps birth times but no generations, and never
// gives an inode number out again: a restore handed the newest write's
// number is still told by its birth time.
TEST_F(DefaultsStoreTest, ARecordLandingLongAfterItsStampIsStillThatWrite) {
    const auto folder = root_ / "fuse";
    if (const auto refused = mountThroughFuse(folder))
        GTEST_SKIP() << "no ext4 image can be mounted through FUSE here: " << *refused;
    FileDefaultsStore writer(folder / "quorvane");
    FileDefaultsStore reader(folder / "quorvane");
    ASSERT_TRUE(writer.setData(kKey, "{\"night\":false}").succeeded());
    // The writer stalls between its two renames: its record lands seconds
    // after its stamp, as on a disk that stopped answering for a while.
    writer.setBeforeRenameHook([this](const fs::path&) {
        fuse->moveClockOn(10);
        return true;
    });
    const auto late = writer.setData(kKey, "{\"night\":true}");
    ASSERT_TRUE(late.writeID);
    const auto read = reader.read(kKey);
    EXPECT_EQ(read.writeID, late.writeID);
    EXPECT_NE(read.requested, TouchedRecordParts::all(read.writtenAt.value_or(Date{})));

    // The same writer killed once its late record landed, before it could
    // say so: the record is still read as that write, with its requests.
    TouchedRecordParts touched;
    touched.touch("displayAdjustments", "a", std::chrono::system_clock::now());
    ASSERT_TRUE(testing::killedInChild([&] {
        writer.setBeforeRenameHook([&](const fs::path& temporary) {
            fuse->moveClockOn(20);
            ::rename(temporary.c_str(), writer.pathForKey(kKey).c_str());
            ::raise(SIGKILL);
            return true;
        });
        writer.setDataTouching(kKey, "{\"night\":false}", touched);
    }));
    const auto killed = reader.read(kKey);
    EXPECT_EQ(killed.data, "{\"night\":false}");
    EXPECT_EQ(killed.requested, touched);
}

TEST_F(DefaultsStoreTest, ARestoreThatGotTheNewestWritesInodeNumberBackOnTmpfsIsTheLaterAct) {
    const auto folder = root_ / "tmpfs";
    if (const auto refused = mountTmpfs(folder))
        GTEST_SKIP() << "no tmpfs can be mounted here: " << *refused;
    std::ofstream(folder / "probe") << "x";
    UniqueFileDescriptor probe(::open((folder / "probe").c_str(), O_RDONLY | O_CLOEXEC));
    struct stat probeInfo {};
    ASSERT_EQ(::fstat(probe.get(), &probeInfo), 0);
    const auto kept = RecordFileIdentity::of(probe.get(), probeInfo);
    if (!kept.bornAt)
        GTEST_SKIP() << "tmpfs keeps no birth time on this kernel";
    EXPECT_FALSE(kept.generation);

    std::uint64_t restored = 0;
    std::uint64_t newestInode = 0;
    const auto identity = [&](int fd, const struct stat& info) {
        auto file = RecordFileIdentity::of(fd, info);
        if (file.inode == restored)
            file.inode = newestInode;
        return file;
    };
    FileDefaultsStore mine(folder / "quorvane");
    FileDefaultsStore theirs(folder / "quorvane");
    mine.setIdentityCall(identity);
    theirs.setIdentityCall(identity);
    const std::string bytes = "{\"night\":true}";
    ASSERT_TRUE(mine.setData(kKey, "{\"night\":false}").succeeded());
    const auto newest = theirs.setData(kKey, bytes);
    ASSERT_TRUE(newest.writeID);
    const auto record = mine.pathForKey(kKey);
    newestInode = inodeOf(record);

    // Birth times come from the coarse clock: the restore is born a tick on.
    struct statx written {};
    ASSERT_EQ(::statx(AT_FDCWD, record.c_str(), 0, STATX_BTIME, &written), 0);
    const auto ticked = [&] {
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
        return std::tie(now.tv_sec, now.tv_nsec) >
               std::tie(written.stx_btime.tv_sec, written.stx_btime.tv_nsec);
    };
    while (!ticked())
        std::this_thread::yield();
    const auto beforeRestore = std::chrono::system_clock::now();
    fs::remove(record);
    std::ofstream(record) << bytes;
    restored = inodeOf(record);
    const auto read = mine.read(kKey);
    EXPECT_NE(read.writeID, newest.writeID);
    EXPECT_FALSE(read.writtenHere);
    EXPECT_GE(read.writtenAt.value_or(Date{}), beforeRestore - std::chrono::milliseconds(20));
    EXPECT_EQ(read.requested, TouchedRecordParts::all(*read.writtenAt));
}

// A folder at the stamp's name (which no rename replaces) stops no stamp:
// an empty one is removed, one with something in it is moved aside.
TEST_F(DefaultsStoreTest, AFolderAtTheStampsNameStopsNoStamp) {
    FileDefaultsStore store(root_ / "quorvane");
    ASSERT_FALSE(store.ensureFolder());
    const auto stamp = store.folder() / RecordWriteStamp::fileNameFor(kKey + ".json");
    for (const bool holdsAFile : {false, true}) {
        fs::remove(stamp);
        fs::create_directory(stamp);
        if (holdsAFile)
            std::ofstream(stamp / "kept") << "x";
        const auto saved = store.setData(kKey, holdsAFile ? "{}" : "{\"night\":true}");
        ASSERT_TRUE(saved.succeeded());
        EXPECT_EQ(store.read(kKey).writeID, saved.writeID);
        EXPECT_TRUE(store.read(kKey).writtenHere);
    }
    int keptAside = 0;
    for (const auto& entry : fs::directory_iterator(store.folder()))
        keptAside += fs::exists(entry.path() / "kept") ? 1 : 0;
    EXPECT_EQ(keptAside, 1);
}

// A mount point at the stamp's name can be neither replaced nor moved
// aside: a save, and a stamp-only save of the bytes the record holds (whose
// fallback writes the record anew), fail naming the stamp and why, and
// leave the record as it was: it never stands without its stamp.
TEST_F(DefaultsStoreTest, AMountPointAtTheStampsNameFailsTheSaveAndLeavesTheRecord) {
    FileDefaultsStore store(root_ / "quorvane");
    ASSERT_TRUE(store.setData(kKey, "{}").succeeded());
    const auto stamp = store.folder() / RecordWriteStamp::fileNameFor(kKey + ".json");
    fs::remove(stamp);
    fs::create_directory(stamp);
    const testing::SmallDisk mountPoint(stamp, "16k");
    if (!mountPoint.mounted())
        GTEST_SKIP() << mountPoint.refusal();
    struct stat before {};
    ASSERT_EQ(::stat(store.pathForKey(kKey).c_str(), &before), 0);

    TouchedRecordParts touched;
    touched.touch("displayAdjustments", "a");
    for (const std::string bytes : {"{\"night\":true}", "{}"}) {
        SCOPED_TRACE(bytes);
        const auto refused = store.setDataTouching(kKey, bytes, touched);
        ASSERT_TRUE(refused.error);
        EXPECT_EQ(refused.error->path, stamp.string());
        EXPECT_EQ(refused.error->detail, std::strerror(EBUSY));
        struct stat after {};
        ASSERT_EQ(::stat(store.pathForKey(kKey).c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(store.dataForKey(kKey), "{}");
        EXPECT_EQ(strayFiles(store.folder()), 0);
    }
}

// A stamp read back is the stamp written: a reset's or an import's time
// (every part at once) and a part's own, the file it was made for and the
// line its times are on (none: an older version's; without its machine: the
// version before).
TEST_F(DefaultsStoreTest, AStampReadBackIsTheStampWritten) {
    const Date asked = std::chrono::system_clock::now() - std::chrono::minutes(5);
    RecordWriteStamp stamp{"writer",
                           7,
                           asked,
                           {1, 2, 3, 4},
                           5,
                           6,
                           TouchedRecordParts::all(asked),
                           RequestTimeline{"boot", std::chrono::seconds(5), "machine"}};
    stamp.requested.touch("displayAdjustments", "a", asked + std::chrono::seconds(1));
    EXPECT_EQ(RecordWriteStamp::decode(stamp.encoded()), stamp);
    auto older = stamp;
    older.timeline->machineID.reset();
    EXPECT_EQ(RecordWriteStamp::decode(older.encoded()), older);
    older.timeline.reset();
    EXPECT_EQ(RecordWriteStamp::decode(older.encoded()), older);
    // A decoding kept for the next read answers for its very bytes alone.
    const RecordWriteStampDecoder decoder;
    for (int read = 0; read < 2; ++read) {
        EXPECT_EQ(decoder.decode(stamp.encoded()), stamp);
        EXPECT_EQ(decoder.decode(older.encoded()), older);
        EXPECT_EQ(decoder.decode(older.encoded().substr(1)), std::nullopt);
    }

    FileDefaultsStore mine(root_ / "quorvane");
    ASSERT_TRUE(mine.setDataTouching(kKey, "{}", stamp.requested).succeeded());
    EXPECT_EQ(FileDefaultsStore(root_ / "quorvane").read(kKey).requested, stamp.requested);
}

// A request whose save left the record's bytes as they were writes its
// stamp alone, neither synced nor renamed over the stamps before (which
// ext4 answers with a flush of the new file's blocks): those a save synced
// stay kept beside them, as they were. A crash that empties the new stamps
// leaves the kept ones to describe the record, with the requests they
// knew, and so does a crash that leaves none at their name. Where none
// kept describe it, the request's stamp is synced and kept itself.
TEST_F(DefaultsStoreTest, AStampEmptiedByACrashLeavesTheKeptOneToDescribeTheRecord) {
    FileDefaultsStore store(root_);
    const auto stamps = root_ / RecordWriteStamp::fileNameFor(kKey + ".json");
    const fs::path kept = stamps.string() + "~";
    const auto now = std::chrono::system_clock::now();
    const auto asking = [](Date at) {
        TouchedRecordParts touched;
        touched.touch("displayAdjustments", "a", at);
        return touched;
    };
    const auto askedAt = [&] {
        return store.read(kKey).requested.askedAt("displayAdjustments", "a");
    };
    ASSERT_TRUE(store.setDataTouching(kKey, "{\"a\":1}", asking(now - seconds(3))).succeeded());
    const auto keptBefore = inodeOf(kept);
    ASSERT_TRUE(store.setDataTouching(kKey, "{\"a\":1}", asking(now - seconds(2))).succeeded());
    EXPECT_EQ(askedAt(), now - seconds(2));
    EXPECT_EQ(inodeOf(kept), keptBefore);

    // What a crash leaves of a file whose blocks never reached the disk.
    const auto emptied = [&] {
        std::ofstream(root_ / "crashed").flush();
        fs::rename(root_ / "crashed", stamps);
    };
    emptied();
    EXPECT_EQ(askedAt(), now - seconds(3));
    // So do stamps gone from their name altogether.
    fs::remove(stamps);
    EXPECT_EQ(askedAt(), now - seconds(3));

    fs::remove(kept);
    ASSERT_TRUE(store.setDataTouching(kKey, "{\"a\":1}", asking(now - seconds(1))).succeeded());
    emptied();
    EXPECT_EQ(askedAt(), now - seconds(1));
}

// A record replaced while a read has it open (a reader stalled there) on
// a file system that keeps no birth times (an ext4 image through FUSE,
// which hides the replaced file under another name, changing it): no stamp
// describes the file read any more, and its change time tells when it was
// replaced. The read does not date it so (a request of every part, later
// than any waiting one) but reads the record at the name again.
TEST_F(DefaultsStoreTest, ARecordReplacedWhileItIsReadIsReadAgainFromItsName) {
    const auto folder = root_ / "fuse";
    if (const auto refused = mountThroughFuse(folder))
        GTEST_SKIP() << "no ext4 image can be mounted through FUSE here: " << *refused;
    FileDefaultsStore store(folder);
    FileDefaultsStore other(folder);
    const auto now = std::chrono::system_clock::now();
    const auto asking = [](const std::string& display, Date at) {
        TouchedRecordParts touched;
        touched.touch("displayAdjustments", display, at);
        return touched;
    };
    ASSERT_TRUE(
        other.setDataTouching(kKey, "{\"a\":1}", asking("a", now - seconds(10))).succeeded());
    store.setReadCall(
        [&, replaced = false](const fs::path&, int fd, void* buffer, std::size_t size) mutable {
            if (!std::exchange(replaced, true)) {
                fuse->moveClockOn(2);
                EXPECT_TRUE(other.setDataTouching(kKey, "{\"b\":1}", asking("b", now - seconds(5)))
                                .succeeded());
            }
            return ::read(fd, buffer, size);
        });
    const auto read = store.read(kKey);
    EXPECT_EQ(read.data, "{\"b\":1}");
    EXPECT_EQ(read.requested.askedAt("displayAdjustments", "a"), now - seconds(10));
    EXPECT_EQ(read.requested.askedAt("displayAdjustments", "b"), now - seconds(5));
}

// Through FUSE, which tells no file from another that got its number, the
// record read while another write stands between its stamps and its
// record (let in by a lock file taken from under the reader's) is of
// unknown date: never a request of every part, later than any that waits.
TEST_F(DefaultsStoreTest, ARecordReadBetweenAnotherWritesStampsAndItsRecordIsNoLaterRequest) {
    const auto folder = root_ / "fuse";
    if (const auto refused = mountThroughFuse(folder))
        GTEST_SKIP() << "no ext4 image can be mounted through FUSE here: " << *refused;
    FileDefaultsStore mine(folder);
    FileDefaultsStore theirs(folder);
    ASSERT_TRUE(theirs.setData(kKey, "{\"a\":1}").succeeded());
    std::optional<DefaultsReadResult> during;
    theirs.setBeforeInstallHook([&](const fs::path&) {
        during = mine.read(kKey);
        return true;
    });
    ASSERT_TRUE(theirs.setData(kKey, "{\"a\":2}").succeeded());
    ASSERT_TRUE(during);
    EXPECT_EQ(during->data, "{\"a\":1}");
    EXPECT_FALSE(during->writtenAt);
    EXPECT_TRUE(during->requested.empty());
    EXPECT_EQ(mine.read(kKey).data, "{\"a\":2}");
}

// FUSE keeps a file removed or renamed over before it heard of its close
// under a ".fuse_hidden" name, for good where the two cross: a save makes
// and removes no file just to find a free name, and two writers' changing
// saves leave nothing of the kind once their files are closed.
TEST_F(DefaultsStoreTest, ChangingSavesThroughFuseLeaveNoHiddenFiles) {
    const auto folder = root_ / "fuse";
    if (const auto refused = mountThroughFuse(folder))
        GTEST_SKIP() << "no ext4 image can be mounted through FUSE here: " << *refused;
    FileDefaultsStore mine(folder);
    FileDefaultsStore theirs(folder);
    for (int save = 0; save < 40; ++save) {
        auto& store = save % 2 == 0 ? mine : theirs;
        ASSERT_TRUE(store.setData(kKey, "{\"n\":" + std::to_string(save) + "}").succeeded());
    }
    const auto hidden = [&] {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(folder))
            count += entry.path().filename().string().starts_with(".fuse_hidden") ? 1 : 0;
        return count;
    };
    // Nothing of theirs stays open, and a file closed a moment ago may
    // still wait for the close to reach FUSE, which on a busy machine takes
    // its time; only a file kept for good outlasts half a minute.
    EXPECT_EQ(heldIn(folder), 0);
    for (int look = 0; look < 3000 && hidden() > 0; ++look)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(hidden(), 0);
}

// A file closed a moment before its name is replaced may stay hidden for
// good through FUSE (its close, told to FUSE later, crosses the rename),
// whoever closed it: a save holds each file it replaces, the record and
// its stamps, from before until its name is replaced.
TEST_F(DefaultsStoreTest, ASaveHoldsEachFileItReplacesUntilItsNameIsReplaced) {
    const auto folder = root_ / "fuse";
    if (const auto refused = mountThroughFuse(folder))
        GTEST_SKIP() << "no ext4 image can be mounted through FUSE here: " << *refused;
    FileDefaultsStore mine(folder);
    FileDefaultsStore theirs(folder);
    ASSERT_TRUE(mine.setData(kKey, "{\"n\":0}").succeeded());
    const UniqueFileDescriptor events(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    ASSERT_GE(::inotify_add_watch(events.get(), folder.c_str(),
                                  IN_OPEN | IN_CLOSE | IN_MOVED_TO | IN_DELETE),
              0);
    ASSERT_TRUE(theirs.setData(kKey, "{\"n\":1}").succeeded());
    // Each name's last open or close, looked at where the name is replaced.
    std::map<std::string, std::uint32_t> lastOpenOrClose;
    std::set<std::string> replaced;
    alignas(inotify_event) char buffer[64 * 1024];
    for (ssize_t length; (length = ::read(events.get(), buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at < length;) {
            inotify_event event{};
            std::memcpy(&event, buffer + at, sizeof event);
            const std::string name = event.len > 0 ? buffer + at + sizeof event : "";
            at += static_cast<ssize_t>(sizeof event + event.len);
            if (event.mask & (IN_OPEN | IN_CLOSE)) {
                lastOpenOrClose[name] = event.mask;
            } else if (lastOpenOrClose.contains(name)) {
                EXPECT_TRUE(lastOpenOrClose[name] & IN_OPEN) << name << " closed before replaced";
                replaced.insert(name);
            }
        }
    }
    EXPECT_TRUE(replaced.contains(kKey + ".json"));
    EXPECT_TRUE(replaced.contains(RecordWriteStamp::fileNameFor(kKey + ".json")));
}

TEST_F(DefaultsStoreTest, ATemporaryFileLeftByACrashIsIgnored) {
    FileDefaultsStore store(root_ / "quorvane");
    ASSERT_TRUE(store.setData(kKey, "old").succeeded());
    // What a crash between writing and renaming leaves behind.
    std::ofstream(store.folder() / ("." + kKey + ".json.Ab12Cd")) << "half-writ";
    EXPECT_EQ(store.dataForKey(kKey), "old");
    ASSERT_TRUE(store.setData(kKey, "new").succeeded());
    EXPECT_EQ(store.dataForKey(kKey), "new");
}

TEST_F(DefaultsStoreTest, AFifoAtTheKeysPathIsUnreadableWithoutHanging) {
    FileDefaultsStore store(root_ / "quorvane");
    fs::create_directories(store.folder());
    ASSERT_EQ(::mkfifo(store.pathForKey(kKey).c_str(), 0600), 0);
    auto read = std::async(std::launch::async, [&] { return store.read(kKey); });
    ASSERT_EQ(read.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    const auto result = read.get();
    EXPECT_EQ(result.data, std::nullopt);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->kind, DefaultsStoreError::Kind::unreadable);

    // A directory there is not a value either, and a write cannot replace it.
    fs::create_directories(store.pathForKey("dir.key"));
    EXPECT_EQ(store.dataForKey("dir.key"), std::nullopt);
    EXPECT_FALSE(store.setData("dir.key", "x").succeeded());
    EXPECT_EQ(strayFiles(store.folder()), 0);
}

TEST_F(DefaultsStoreTest, OversizedValueIsUnreadableAndNeverReplaced) {
    FileDefaultsStore store(root_ / "quorvane");
    fs::create_directories(store.folder());
    {
        std::ofstream out(store.pathForKey(kKey), std::ios::binary);
        out.seekp(static_cast<std::streamoff>(FileDefaultsStore::kMaxValueSize));
        out.put('x');
    }
    const auto read = store.read(kKey);
    EXPECT_EQ(read.data, std::nullopt);
    ASSERT_TRUE(read.error);
    EXPECT_EQ(read.error->kind, DefaultsStoreError::Kind::unreadable);

    const auto saved = store.setData(kKey, "{}");
    ASSERT_TRUE(saved.error);
    EXPECT_EQ(saved.error->kind, DefaultsStoreError::Kind::unreadable);
    EXPECT_EQ(fs::file_size(store.pathForKey(kKey)), FileDefaultsStore::kMaxValueSize + 1);
}

using testing::ReleasingSleeper;

// A process that keeps the lock (stopped, hung) makes a limited wait give up
// after its limit, on the store's clock: the lock says why, and every write
// that needed it fails with that reason and leaves the record as it was.
TEST_F(DefaultsStoreTest, ALimitedWaitGivesUpOnAHeldLockAndEveryWriteFailsWithTheReason) {
    FileDefaultsStore store(root_);
    ASSERT_TRUE(store.setData(kKey, "old").succeeded());
    auto clock = std::make_shared<ManualScheduler>();
    store.limitLockWait(seconds(5), clock, clock);
    testing::OtherLockHolder other(root_ / ".lock");
    ASSERT_TRUE(other.held());

    const auto start = clock->monotonicNow();
    {
        const auto lock = store.lockExclusively();
        ASSERT_TRUE(lock.failure());
        EXPECT_EQ(lock.failure()->kind, DefaultsStoreError::Kind::lockHeld);
        // The holder (this test's process) is no Quorvane.
        EXPECT_EQ(lock.failure()->description(),
                  "다른 프로세스가 설정 잠금을 쥐고 있어 저장하지 못했습니다: " +
                      (root_ / ".lock").string());
    }
    const auto waited = clock->monotonicNow() - start;
    EXPECT_GE(waited, seconds(5));
    EXPECT_LE(waited, seconds(5) + FileDefaultsStore::kLockRetryInterval);
    // Named as Quorvane's command or its windowed application is, the
    // holder is told as Quorvane.
    for (const char* program : {"quorvane", "quorvane-app"}) {
        SCOPED_TRACE(program);
        char name[16] = {};
        ASSERT_EQ(::prctl(PR_GET_NAME, name), 0);
        ASSERT_EQ(::prctl(PR_SET_NAME, program), 0);
        const auto lock = store.lockExclusively();
        ::prctl(PR_SET_NAME, name);
        ASSERT_TRUE(lock.failure());
        EXPECT_EQ(lock.failure()->description(),
                  "다른 Quorvane 프로세스가 설정 잠금을 쥐고 있어 저장하지 못했습니다: " +
                      (root_ / ".lock").string());
    }

    const auto saved = store.setData(kKey, "new");
    ASSERT_TRUE(saved.error);
    EXPECT_EQ(saved.error->kind, DefaultsStoreError::Kind::lockHeld);
    EXPECT_FALSE(store.keepCopyAside(kKey, "new").succeeded());
    EXPECT_FALSE(store.removeKey(kKey));
    EXPECT_EQ(store.dataForKey(kKey), "old");

    // The store is not left half-locked: once the holder lets go, a write
    // goes through.
    other.release();
    EXPECT_TRUE(store.setData(kKey, "new").succeeded());
    EXPECT_EQ(store.dataForKey(kKey), "new");
}

TEST_F(DefaultsStoreTest, ALimitedWaitTakesTheLockOnceTheOtherProcessLetsGoWithinTheLimit) {
    FileDefaultsStore store(root_);
    auto clock = std::make_shared<ManualScheduler>();
    testing::OtherLockHolder other(root_ / ".lock");
    ASSERT_TRUE(other.held());
    // 4.99 s of pauses: the holder lets go just before the limit.
    store.limitLockWait(seconds(5), clock, std::make_shared<ReleasingSleeper>(*clock, 499, other));
    const auto start = clock->monotonicNow();

    EXPECT_TRUE(store.setData(kKey, "new").succeeded());
    EXPECT_EQ(store.dataForKey(kKey), "new");
    EXPECT_EQ(clock->monotonicNow() - start, 499 * FileDefaultsStore::kLockRetryInterval);
}

// A clock whose second reading comes `gap` after its first, with
// `meanwhile` done in between: a waiter that did not run from its first try
// to its look at the time (stopped, or on a loaded machine).
class ClockWithAGap final : public Clock {
  public:
    ClockWithAGap(ManualScheduler& clock, Duration gap, std::function<void()> meanwhile)
        : clock_(clock), gap_(gap), meanwhile_(std::move(meanwhile)) {}
    MonotonicTime monotonicNow() const override {
        if (++readings_ == 2) {
            clock_.advance(gap_);
            meanwhile_();
        }
        return clock_.monotonicNow();
    }
    Date wallNow() const override { return clock_.wallNow(); }

  private:
    ManualScheduler& clock_;
    Duration gap_;
    std::function<void()> meanwhile_;
    mutable int readings_ = 0;
};

// The waiter's limit passes while it does not run, right after a try that
// found the lock held, and the holder lets go meanwhile: the lock is free
// when the waiter looks at the time, and it takes it.
TEST_F(DefaultsStoreTest, AWaiterThatDidNotRunAsItsLimitPassedTakesTheLockFreedMeanwhile) {
    FileDefaultsStore store(root_);
    auto clock = std::make_shared<ManualScheduler>();
    testing::OtherLockHolder other(root_ / ".lock");
    ASSERT_TRUE(other.held());
    store.limitLockWait(
        seconds(5), std::make_shared<ClockWithAGap>(*clock, seconds(6), [&] { other.release(); }),
        clock);

    EXPECT_TRUE(store.setData(kKey, "new").succeeded());
    EXPECT_EQ(store.dataForKey(kKey), "new");
}

// The holder lets go just as a sync tool puts its own lock file in place,
// which another process takes: the file the waiter then locks is no lock,
// and it waits for the one at the name.
TEST_F(DefaultsStoreTest, AWaiterWhoseLockFileWasReplacedWaitsForTheOneAtTheName) {
    FileDefaultsStore store(root_);
    auto clock = std::make_shared<ManualScheduler>();
    testing::OtherLockHolder first(root_ / ".lock");
    std::optional<testing::OtherLockHolder> second;
    store.limitLockWait(seconds(5), clock, std::make_shared<ReleasingSleeper>(*clock, 10, [&] {
                            std::ofstream(root_ / "synced") << "";
                            fs::rename(root_ / "synced", root_ / ".lock");
                            second.emplace(root_ / ".lock");
                            first.release();
                        }));
    const auto lock = store.lockExclusively();
    ASSERT_TRUE(lock.failure());
    EXPECT_EQ(lock.failure()->kind, DefaultsStoreError::Kind::lockHeld);
}

// The lock file removed while a save writes, and another process takes the
// new one: the save's record lands only once that process lets go.
TEST_F(DefaultsStoreTest, ASaveWhoseLockFileGoesWhileItWritesWaitsForTheNewOneBeforeItLands) {
    FileDefaultsStore store(root_);
    auto clock = std::make_shared<ManualScheduler>();
    std::optional<testing::OtherLockHolder> other;
    store.limitLockWait(seconds(5), clock, std::make_shared<ReleasingSleeper>(*clock, 30, [&] {
                            EXPECT_FALSE(fs::exists(store.pathForKey(kKey)));
                            other->release();
                        }));
    store.setWriteCall([&](const fs::path&, int fd, std::string_view bytes) {
        if (!other) {
            fs::remove(root_ / ".lock");
            other.emplace(root_ / ".lock");
        }
        return writeAllBytes(fd, bytes);
    });
    const auto start = clock->monotonicNow();
    ASSERT_TRUE(store.setData(kKey, "mine").succeeded());
    EXPECT_EQ(clock->monotonicNow() - start, 30 * FileDefaultsStore::kLockRetryInterval);
    EXPECT_EQ(store.dataForKey(kKey), "mine");
    // Nothing stays open onto the lock file that went.
    other.reset();
    EXPECT_EQ(heldIn(root_), 0);
}

// A file system that tells the lock file's number differently at every
// look cannot tell a replaced lock file from the one locked: the save fails
// at once, saying so, rather than waiting for a holder there is not.
TEST_F(DefaultsStoreTest, ALockFileWhoseNumberChangesAtEveryLookFailsTheSaveAtOnceSayingSo) {
    FileDefaultsStore store(root_);
    ASSERT_TRUE(store.setData(kKey, "old").succeeded());
    auto clock = std::make_shared<ManualScheduler>();
    store.limitLockWait(seconds(5), clock, clock);
    store.setLockFileNumberCall([looks = ino_t{0}](ino_t told) mutable { return told + looks++; });
    const auto start = clock->monotonicNow();

    const auto saved = store.setData(kKey, "new");
    ASSERT_TRUE(saved.error);
    EXPECT_EQ(saved.error->kind, DefaultsStoreError::Kind::lockUnverifiable);
    EXPECT_NE(saved.error->description().find((root_ / ".lock").string()), std::string::npos);
    EXPECT_EQ(clock->monotonicNow(), start);
    EXPECT_EQ(store.dataForKey(kKey), "old");
}

// A save made inside a try that found no lock file to hold takes the lock
// itself: no other writer gets in while it writes.
TEST_F(DefaultsStoreTest, ASaveInsideATryThatFoundNoLockFileHoldsTheLock) {
    FileDefaultsStore store(root_);
    bool keptOut = false;
    store.setWriteCall([&](const fs::path&, int fd, std::string_view bytes) {
        keptOut = !testing::OtherLockHolder(root_ / ".lock").held();
        return writeAllBytes(fd, bytes);
    });
    const auto tried = store.tryLockExclusively();
    ASSERT_FALSE(tried.failure());
    ASSERT_TRUE(store.setData(kKey, "mine").succeeded());
    EXPECT_TRUE(keptOut);
}

// Replacers of an unusable lock file take turns on the folder's own lock:
// while another replacer has its turn the file stays, and it is replaced
// once that one lets go.
TEST_F(DefaultsStoreTest, AnUnusableLockFileIsReplacedOnlyInItsTurnOnTheFoldersLock) {
    FileDefaultsStore store(root_);
    fs::create_symlink("nowhere", root_ / ".lock");
    UniqueFileDescriptor turn(::open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    ASSERT_EQ(::flock(turn.get(), LOCK_EX | LOCK_NB), 0);
    auto clock = std::make_shared<ManualScheduler>();
    bool stayed = false;
    store.limitLockWait(seconds(5), clock, std::make_shared<ReleasingSleeper>(*clock, 100, [&] {
                            stayed = fs::is_symlink(root_ / ".lock");
                            ::flock(turn.get(), LOCK_UN);
                        }));
    const auto start = clock->monotonicNow();

    ASSERT_TRUE(store.setData(kKey, "mine").succeeded());
    EXPECT_TRUE(stayed);
    EXPECT_EQ(clock->monotonicNow() - start, 100 * FileDefaultsStore::kLockRetryInterval);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(root_ / ".lock")));
}

// A replacer whose turn comes after another replaced the file looks at the
// name again: the file there now is the other's lock, which it waits for
// instead of moving it aside, so two never hold the lock at once.
TEST_F(DefaultsStoreTest, AReplacerWhoseTurnComesAfterAnotherReplacedTheFileWaitsForItsHolder) {
    FileDefaultsStore store(root_);
    fs::create_symlink("nowhere", root_ / ".lock");
    UniqueFileDescriptor turn(::open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    ASSERT_EQ(::flock(turn.get(), LOCK_EX | LOCK_NB), 0);
    std::optional<testing::OtherLockHolder> theirs;
    std::uint64_t theirFile = 0;
    auto clock = std::make_shared<ManualScheduler>();
    store.limitLockWait(seconds(5), clock, std::make_shared<ReleasingSleeper>(*clock, 1, [&] {
                            std::ofstream(root_ / "theirs") << "";
                            fs::rename(root_ / "theirs", root_ / ".lock");
                            theirs.emplace(root_ / ".lock");
                            theirFile = inodeOf(root_ / ".lock");
                            ::flock(turn.get(), LOCK_UN);
                        }));

    const auto lock = store.lockExclusively();
    ASSERT_TRUE(lock.failure());
    EXPECT_EQ(lock.failure()->kind, DefaultsStoreError::Kind::lockHeld);
    EXPECT_EQ(inodeOf(root_ / ".lock"), theirFile);
    EXPECT_TRUE(theirs && theirs->held());
}

// The kernel's table of locks names a file by its device (in hexadecimal)
// and number; any kind of lock on it, or a process waiting for one, holds
// it. A line that cannot be read tells nothing, so nothing is free then,
// and neither is anything where the table cannot be read.
TEST_F(DefaultsStoreTest, TheTableOfLocksTellsAFileHeldByAnyLockOnItsDeviceAndNumber) {
    using Holding = FileLockTable::Holding;
    const FileLockTable::File file{{::makedev(0x103, 2), ::makedev(0, 0x2f)}, 1234567};
    const auto holding = [&](const std::string& text) {
        return FileLockTable::holdingIn(text, file);
    };
    const std::string others =
        "1: POSIX  ADVISORY  WRITE 812 08:01:1234567 0 EOF\n"
        "2: FLOCK  ADVISORY  WRITE 813 103:02:1234568 0 EOF\n"
        "3: OFDLCK ADVISORY  READ  -1 00:06:9012 0 EOF\n"
        "4: FLOCK  ADVISORY  WRITE 1 <none>:0 0 EOF\n";
    EXPECT_EQ(holding(""), Holding::none);
    EXPECT_EQ(holding(others), Holding::none);
    EXPECT_EQ(holding(others + "5: FLOCK  ADVISORY  WRITE 9 103:02:1234567 0 EOF\n"),
              Holding::held);
    EXPECT_EQ(holding(others + "5: POSIX  ADVISORY  WRITE 9 103:02:1234567 0 EOF"), Holding::held);
    EXPECT_EQ(holding(others + "5: OFDLCK ADVISORY  WRITE -1 00:2f:1234567 0 EOF\n"),
              Holding::held);
    EXPECT_EQ(holding(others + "5: -> FLOCK  ADVISORY  WRITE 9 103:02:1234567 0 EOF\n"),
              Holding::held);
    EXPECT_EQ(holding(others + "5: FLOCK ADVISORY WRITE 9 103-02-1234567 0 EOF\n"),
              Holding::untellable);
    EXPECT_EQ(holding("garbled\n" + others + "5: FLOCK  ADVISORY  WRITE 9 103:02:1234567 0 EOF\n"),
              Holding::held);
    // Without the file system's device, the number alone decides.
    EXPECT_EQ(FileLockTable::holdingIn(others, {{}, 1234567}), Holding::held);

    // The kernel's own table, for a file of this folder.
    testing::OtherLockHolder other(root_ / "held");
    ASSERT_TRUE(other.held());
    const auto held = FileLockTable::fileAt(root_ / "held");
    ASSERT_TRUE(held);
    EXPECT_EQ(FileLockTable().holding(*held).holding, Holding::held);
    other.release();
    EXPECT_EQ(FileLockTable().holding(*held).holding, Holding::none);
    const auto unread = FileLockTable(root_ / "no-table").holding(*held);
    EXPECT_EQ(unread.holding, Holding::untellable);
    EXPECT_NE(unread.why.find((root_ / "no-table").string()), std::string::npos);
}

// A file of an overlay over two file systems tells, looked at, the device of
// the layer it comes from; the table of locks names it by the overlay's
// own: it is found held all the same. The overlay is mounted in a child
// that is root in a user namespace of its own, as any user may be.
TEST_F(DefaultsStoreTest, TheTableOfLocksFindsAFileOfAnOverlayHeldUnderTheOverlaysDevice) {
    const auto answer = testing::outputOfChild([&]() -> std::string {
        const auto uid = std::to_string(::geteuid());
        const auto gid = std::to_string(::getegid());
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return "no user namespace: " + std::string(std::strerror(errno));
        std::ofstream("/proc/self/setgroups") << "deny";
        std::ofstream("/proc/self/uid_map") << "0 " + uid + " 1";
        std::ofstream("/proc/self/gid_map") << "0 " + gid + " 1";
        const auto lower = root_ / "lower";
        const auto layers = root_ / "layers";
        const auto merged = root_ / "merged";
        for (const auto& folder : {lower, layers, merged})
            fs::create_directories(folder);
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", lower.c_str(), "tmpfs", 0, "size=64k") != 0 ||
            ::mount("tmpfs", layers.c_str(), "tmpfs", 0, "size=64k") != 0)
            return "no tmpfs: " + std::string(std::strerror(errno));
        fs::create_directories(layers / "upper");
        fs::create_directories(layers / "work");
        const auto options = "lowerdir=" + lower.string() +
                             ",upperdir=" + (layers / "upper").string() +
                             ",workdir=" + (layers / "work").string();
        if (::mount("overlay", merged.c_str(), "overlay", 0, options.c_str()) != 0)
            return "no overlay: " + std::string(std::strerror(errno));
        testing::OtherLockHolder other(merged / ".lock");
        const auto file = FileLockTable::fileAt(merged / ".lock");
        if (!other.held() || !file)
            return "no lock on the overlay";
        return FileLockTable().holding(*file).holding == FileLockTable::Holding::held ? "held"
                                                                                      : "free";
    });
    if (answer.starts_with("no "))
        GTEST_SKIP() << answer;
    EXPECT_EQ(answer, "held");
}

TEST_F(DefaultsStoreTest, StandardLocationHonoursXdgConfigHomeThenHome) {
    EXPECT_EQ(FileDefaultsStore::standardLocation("/x/cfg", "/home/u"),
              fs::path("/x/cfg/quorvane"));
    EXPECT_EQ(FileDefaultsStore::standardLocation("relative", "/home/u"),
              fs::path("/home/u/.config/quorvane"));
    EXPECT_EQ(FileDefaultsStore::standardLocation(std::nullopt, std::nullopt), fs::path());

    FileDefaultsStore nowhere{fs::path()};
    EXPECT_FALSE(nowhere.setData(kKey, "x").succeeded());
    EXPECT_EQ(nowhere.dataForKey(kKey), std::nullopt);
}

}  // namespace
}  // namespace quorvane
