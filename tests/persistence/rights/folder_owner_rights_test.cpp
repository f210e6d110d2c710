// Whose rights root touches a settings folder with: decided from what the
// kernel walks to reach it, taken per thread, and given back whole.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "services/persistence/background_defaults_writer.hpp"
#include "services/persistence/defaults_store.hpp"
#include "services/persistence/rights/folder_owner_rights.hpp"
#include "services/persistence/rights/folder_rights_cache.hpp"
#include "services/persistence/rights/folder_rights_decision.hpp"
#include "support/child_process.hpp"
#include "support/temporary_folder.hpp"
#include "support/unprivileged_user.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;
constexpr uid_t kDaemon = 1;
constexpr gid_t kShared = 4242;
const std::string kKey = std::string(kDefaultsDomain) + ".preferences.v1";

// Accounts as a test lays them out: groups of chosen members, groups
// whose members cannot all be told, every user with an account of their
// own group, and how often each was looked up.
class LaidOutAccounts : public AccountBook {
  public:
    std::map<gid_t, std::vector<uid_t>> members;
    std::set<gid_t> untold;
    std::set<uid_t> withoutAccount;
    mutable std::atomic<int> accountLookUps{0};
    // Run once as a group is looked up: after the walk looked at the folder.
    mutable std::function<void()> meanwhile;

    std::optional<Account> account(uid_t user) const override {
        ++accountLookUps;
        if (withoutAccount.contains(user))
            return std::nullopt;
        return Account{static_cast<gid_t>(user), {static_cast<gid_t>(user)}};
    }
    std::optional<std::vector<uid_t>> membersOf(gid_t group) const override {
        if (meanwhile)
            std::exchange(meanwhile, nullptr)();
        if (untold.contains(group))
            return std::nullopt;
        const auto found = members.find(group);
        return found != members.end() ? found->second : std::vector<uid_t>{};
    }
};

ProcessRights systemRoot() {
    return {true, {{0, 0xffffffffu}}, {{0, 0xffffffffu}}};
}

void owned(const fs::path& path, uid_t user, gid_t group, mode_t mode) {
    ASSERT_EQ(::lchown(path.c_str(), user, group), 0) << path;
    if (!fs::is_symlink(path)) {
        ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path;
    }
}

// An ACL entry letting `user` write `folder` (system.posix_acl_access as
// the kernel stores it) through `mask`, besides the owner's, group's,
// mask's and others', and after `readers` entries of other users who may
// only read: whether the kernel took it.
bool aclLetsWrite(const fs::path& folder, uid_t user, std::uint16_t mask = 7, int others = 0,
                  std::uint16_t othersMay = 5) {
    struct Entry {
        std::uint16_t tag;
        std::uint16_t permissions;
        std::uint32_t id;
    };
    const std::uint32_t version = 2;
    std::vector<Entry> entries{{0x01, 7, ~0u}};
    for (int other = 0; other < others; ++other)
        entries.push_back({0x02, othersMay, static_cast<std::uint32_t>(30000 + other)});
    entries.insert(entries.end(),
                   {{0x02, 7, user}, {0x04, 5, ~0u}, {0x10, mask, ~0u}, {0x20, 5, ~0u}});
    std::string bytes(reinterpret_cast<const char*>(&version), sizeof version);
    bytes.append(reinterpret_cast<const char*>(entries.data()), entries.size() * sizeof(Entry));
    return ::setxattr(folder.c_str(), "system.posix_acl_access", bytes.data(), bytes.size(), 0) ==
           0;
}

// Runs `body` in a child with a mount namespace of its own, whose first
// step is `mount` (a file system mounted, the system's files bound over):
// what `body` returned, or "skip: " and why the kernel refused the mounts.
std::string withMounts(const std::function<bool()>& mount,
                       const std::function<std::string()>& body) {
    return testing::outputOfChild([&]() -> std::string {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 || !mount())
            return std::string("skip: ") + std::strerror(errno);
        return body();
    });
}

// `from` bound at `to` and made `nosuid` (keeping the flags the kernel
// locks on the mount it comes from), as a stick a user mounted.
bool boundNosuid(const fs::path& from, const fs::path& to) {
    struct statvfs seen {};
    const auto kept = [&](unsigned long flag, unsigned long as) {
        return (seen.f_flag & flag) != 0 ? as : 0;
    };
    return ::statvfs(from.c_str(), &seen) == 0 &&
           ::mount(from.c_str(), to.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
           ::mount(nullptr, to.c_str(), nullptr,
                   MS_REMOUNT | MS_BIND | MS_NOSUID | kept(ST_RDONLY, MS_RDONLY) |
                       kept(ST_NODEV, MS_NODEV) | kept(ST_NOEXEC, MS_NOEXEC),
                   nullptr) == 0;
}

// A folder a forger laid out: `quorvane` in it holds a "root-owned" link
// at the record's name to root's `secret`.
void forgedFolder(const fs::path& forged, const fs::path& secret) {
    testing::writeContents(secret, "secret");
    ::chmod(secret.c_str(), 0600);
    fs::create_directories(forged / "quorvane");
    fs::create_symlink(secret, forged / "quorvane" / (kKey + ".json"));
}

class FolderOwnerRightsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!testing::rootHasASecondUser())
            GTEST_SKIP() << "only root of the system works with another user's rights";
        // A folder of root's that nobody else may change, as /root is.
        fs::permissions(folder_.path(),
                        fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        ASSERT_EQ(::chown(folder_.path().c_str(), 0, 0), 0);
    }

    FolderRightsDecision decided(const fs::path& folder) const {
        return FolderRightsDecision::of(folder, systemRoot(), accounts_);
    }

    testing::TemporaryFolder folder_;
    LaidOutAccounts accounts_;
};

// Each shape a user could steer root's way through, and whose rights that
// gives: none (root's own), one user's, or a refusal where several could,
// or where who could is not known.
TEST_F(FolderOwnerRightsTest, WhoCouldChangeTheWalkDecidesWhoseRightsCount) {
    const auto base = folder_.path();
    accounts_.members[kShared] = {kNobody};
    accounts_.members[kShared + 1] = {kNobody, kDaemon};
    accounts_.untold = {kShared + 2};
    constexpr auto kSeveral = DefaultsStoreError::Kind::pathSharedWithOthers;
    constexpr auto kUnknown = DefaultsStoreError::Kind::writersUnknown;
    constexpr std::optional<DefaultsStoreError::Kind> kTaken;
    // The folder "a" as made (root's, its group and mode, an ACL letting
    // nobody write through its mask), the folder asked for under it, and
    // what is decided.
    struct Shape {
        std::string name;
        gid_t group;
        mode_t mode;
        std::optional<std::uint16_t> aclMask;
        std::string folder;
        std::optional<uid_t> user;
        std::optional<DefaultsStoreError::Kind> refused;
        std::size_t toMake;
    };
    const std::vector<Shape> shapes{
        {"root's own folders", 0, 0755, {}, "a/quorvane", {}, kTaken, 0},
        {"group-written by one user", kShared, 02775, {}, "a/quorvane", kNobody, kTaken, 0},
        {"group-written by two", kShared + 1, 02775, {}, "a/quorvane", {}, kSeveral, 0},
        {"a group whose users cannot all be told",
         kShared + 2,
         02775,
         {},
         "a/quorvane",
         {},
         kUnknown,
         0},
        {"an ACL lets one user write", 0, 0755, 7, "a/quorvane", kNobody, kTaken, 0},
        {"an ACL whose mask takes write away", 0, 0755, 5, "a/quorvane", {}, kTaken, 0},
        {"written by everyone", 0, 0777, {}, "a/quorvane", {}, kSeveral, 0},
        {"root's folder in a sticky one", 0, 01777, {}, "a/quorvane", {}, kTaken, 0},
        {"not made yet in a sticky one", 0, 01777, {}, "a/new/sub", {}, kTaken, 2},
        {"not made yet in one everyone writes", 0, 0777, {}, "a/new", {}, kSeveral, 0},
        {"a user's link in a sticky one", 0, 01777, {}, "a/link", kNobody, kTaken, 0},
        // /srv/x/rl -> ~/cfgdir -> a root 0700 folder
        {"root's link to a user's link", 0, 0755, {}, "a/rl", kNobody, kTaken, 0},
        {"a relative link back into root's", 0, 0755, {}, "a/back", {}, kTaken, 0},
        // a/up -> ../home: up from "a", where the link is, not from the link.
        {"a relative link up into a user's", 0, 0755, {}, "a/up", kNobody, kTaken, 0},
        {"a loop of links", 0, 0755, {}, "a/loop/quorvane", {}, kUnknown, 0},
        {"a name that cannot be looked at",
         0,
         0755,
         {},
         "a/" + std::string(300, 'x'),
         {},
         kUnknown,
         0},
    };
    for (const auto& shape : shapes) {
        SCOPED_TRACE(shape.name);
        for (const auto& name : {"a", "b", "home"}) {
            fs::remove_all(base / name);
            fs::create_directory(base / name);
            owned(base / name, 0, 0, 0755);
        }
        fs::create_directory(base / "a" / "quorvane");
        owned(base / "home", kNobody, kNobody, 0755);
        fs::create_symlink(base / "b", base / "home" / "cfgdir");
        owned(base / "home" / "cfgdir", kNobody, kNobody, 0);
        owned(base / "b", 0, 0, 0700);
        fs::create_symlink(base / "b", base / "a" / "link");
        owned(base / "a" / "link", kNobody, kNobody, 0);
        fs::create_symlink(base / "home" / "cfgdir", base / "a" / "rl");
        fs::create_symlink("../b", base / "a" / "back");
        fs::create_symlink("../home", base / "a" / "up");
        fs::create_symlink("loop2", base / "a" / "loop");
        fs::create_symlink("loop", base / "a" / "loop2");
        owned(base / "a", 0, shape.group, shape.mode);
        if (shape.aclMask) {
            ASSERT_TRUE(aclLetsWrite(base / "a", kNobody, *shape.aclMask)) << std::strerror(errno);
        }
        const auto decision = decided(base / shape.folder);
        EXPECT_EQ(decision.refusal() ? std::optional(decision.refusal()->kind) : std::nullopt,
                  shape.refused);
        EXPECT_EQ(decision.user(), shape.user);
        EXPECT_EQ(decision.toMake().size(), shape.toMake);
    }
}

// Where several users could steer the way, the refusal says which folder
// each may change and by which rule, naming the group a user comes in by
// (users whose primary group it is, as `sync` by `nogroup`).
TEST_F(FolderOwnerRightsTest, TheRefusalOfSeveralUsersSaysWhichFolderEachMayChangeAndHow) {
    const auto owners = folder_ / "owners";
    const auto settings = owners / "quorvane";
    fs::create_directories(settings);
    owned(owners, kNobody, kNobody, 0755);
    owned(settings, 0, 0, 0775);
    accounts_.members[0] = {kDaemon};
    const auto decision = decided(settings);
    ASSERT_TRUE(decision.refusal());
    EXPECT_EQ(decision.refusal()->kind, DefaultsStoreError::Kind::pathSharedWithOthers);
    EXPECT_EQ(decision.refusal()->detail,
              owners.string() + " — 주인: UID 65534; " + settings.string() + " — 그룹 root: UID 1");
}

// The system's accounts, read from its files as the C library reads them:
// a group's line however long, the users whose primary group it is (by
// group, never by user id), a group without a line; a member added while a
// decision is kept counts at the next save; and where the accounts are
// kept where not every user is listed, who belongs is not told.
// The read calls this process has made so far.
long readCalls() {
    std::ifstream io("/proc/self/io");
    for (std::string word; io >> word;)
        if (word == "syscr:" && io >> word)
            return std::stol(word);
    return -1;
}

TEST_F(FolderOwnerRightsTest, TheSystemsAccountsAreReadWholeWithThoseWhosePrimaryGroupItIs) {
    constexpr int kListed = 1000;
    // Names a group lists that have no account: the accounts are read once
    // for all of them, never once for each.
    constexpr int kGhosts = 2000;
    std::string users = "root:x:0:0::/root:/bin/sh\nnobody:x:65534:65534::/:/bin/false\n";
    std::string wide = "wide:x:4300:";
    for (int at = 0; at < kListed; ++at) {
        const auto name = "member" + std::to_string(at);
        const auto id = std::to_string(20000 + at);
        users += name + ":x:" + id + ":" + id + "::/:/bin/false\n";
        wide += (at == 0 ? "" : ",") + name;
    }
    for (int at = 0; at < kGhosts; ++at)
        wide += ",ghost" + std::to_string(at);
    // In group 4300 as their primary group; and one whose user id is its
    // number, who is not.
    users +=
        "primary:x:5000:4300::/:/bin/false\ndecoy:x:4300:5001::/:/bin/false\n"
        "alone:x:5002:4400::/:/bin/false\n";
    const auto files = folder_ / "etc";
    fs::create_directory(files);
    testing::writeContents(files / "passwd", users);
    testing::writeContents(files / "group", "root:x:0:\n" + wide + "\nsolo:x:4302:\n");
    testing::writeContents(files / "nsswitch.conf", "passwd: files\ngroup: files\n");
    const auto shared = folder_ / "shared";
    const auto solo = folder_ / "solo";
    for (const auto& [folder, group] : {std::pair{shared, 4300u}, std::pair{solo, 4302u}}) {
        fs::create_directory(folder);
        owned(folder, 0, group, 02775);
    }
    const auto bound = [&] {
        for (const auto* name : {"passwd", "group", "nsswitch.conf"}) {
            const auto over = fs::path("/etc") / name;
            if (::mount((files / name).c_str(), over.c_str(), nullptr, MS_BIND, nullptr) != 0)
                return false;
        }
        return true;
    };
    const auto told = withMounts(bound, [&] {
        const AccountBook accounts;
        const long before = readCalls();
        const auto members = accounts.membersOf(4300).value_or(std::vector<uid_t>{});
        const long reads = readCalls() - before;
        const auto has = [&](uid_t user) {
            return std::find(members.begin(), members.end(), user) != members.end();
        };
        std::string seen =
            std::to_string(members.size()) + (has(5000) ? " with" : " without") + " 5000," +
            (has(4300) ? " with" : " without") + " 4300, " +
            (reads >= 0 && reads < kGhosts ? "read once" : std::to_string(reads) + " reads") + "; ";
        seen += accounts.groupName(4300) + "; ";
        seen += std::to_string(accounts.membersOf(4400).value_or(std::vector<uid_t>{9}).at(0));
        const auto decision = FolderRightsDecision::of(shared, systemRoot(), accounts);
        const bool named = decision.refusal() &&
                           decision.refusal()->detail.find("그룹 wide: UID") != std::string::npos;
        seen += named ? "; refused naming the group" : "; not refused";
        const FolderRightsCache cache(solo);
        seen += "; " + std::to_string(cache.current()->user().value_or(0));
        testing::writeContents(files / "group", "root:x:0:\n" + wide + "\nsolo:x:4302:nobody\n");
        seen +=
            " then " +
            std::to_string(cache.current(FolderRightsCache::Look::thorough)->user().value_or(0));
        testing::writeContents(files / "nsswitch.conf", "passwd: files sss\ngroup: files sss\n");
        seen += accounts.membersOf(4300) ? "; listed" : "; not all listed";
        return seen;
    });
    if (told.starts_with("skip: "))
        GTEST_SKIP() << told;
    EXPECT_EQ(told,
              "1001 with 5000, without 4300, read once; wide; 5002; refused naming the group; 0 "
              "then 65534; "
              "not all listed");
}

// An ACL of more entries than a page holds (tmpfs keeps such, as xfs and
// btrfs do) is read whole: its one writer counts.
// An ACL of hundreds of entries is read whole; where they may all write, the
// refusal names a few of them and counts the rest.
TEST_F(FolderOwnerRightsTest, AnAclOfHundredsOfEntriesIsReadWhole) {
    const auto folder = folder_ / "acl";
    fs::create_directory(folder);
    const auto mounted = [&] {
        if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "mode=0755,uid=0,gid=0") != 0)
            return false;
        fs::create_directory(folder / "read");
        fs::create_directory(folder / "write");
        return aclLetsWrite(folder / "read", kNobody, 7, 600) &&
               aclLetsWrite(folder / "write", kNobody, 7, 600, 7);
    };
    const auto told = withMounts(mounted, [&] {
        const auto user = decided(folder / "read").user();
        const auto refusal = decided(folder / "write").refusal();
        return std::to_string(user.value_or(0)) + "\n" + (refusal ? refusal->detail : "");
    });
    if (told.starts_with("skip: "))
        GTEST_SKIP() << told;
    EXPECT_EQ(told, "65534\n" + (folder / "write").string() +
                        " — ACL: UID 30000, UID 30001, UID 30002, UID 30003, UID 30004, UID 30005, "
                        "UID 30006, UID 30007, UID 30008, UID 30009 외 591명");
}

// A settings folder not made yet in a sticky folder anyone writes (/tmp):
// nothing is read there, root makes it itself, and a name a user made
// there first is gone through only with that user's rights.
TEST_F(FolderOwnerRightsTest, RootMakesAFolderNotMadeYetInTmpItselfOrGoesAsItsMaker) {
    const auto sticky = folder_ / "tmp";
    const auto rootOnly = folder_ / "root-only";
    fs::create_directory(sticky);
    owned(sticky, 0, 0, 01777);
    fs::create_directory(rootOnly);
    owned(rootOnly, 0, 0, 0700);
    const auto made = sticky / "made";
    FileDefaultsStore store(made / "quorvane");
    const auto nothing = store.read(kKey);
    EXPECT_FALSE(nothing.data || nothing.error);
    ASSERT_TRUE(store.setData(kKey, "{}").succeeded());
    struct stat info {};
    ASSERT_EQ(::lstat(made.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_uid, 0u);

    // The user makes the name first, a link to root's private folder.
    const auto planted = sticky / "planted";
    fs::create_symlink(rootOnly, planted);
    owned(planted, kNobody, kNobody, 0);
    FileDefaultsStore steered(planted / "quorvane");
    const auto refused = steered.setData(kKey, "{}");
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->kind, DefaultsStoreError::Kind::beyondOwnersRights);
    EXPECT_TRUE(fs::is_empty(rootOnly));

    // The same made after root looked and before it makes the folder.
    const auto raced = sticky / "raced";
    FileDefaultsStore late(raced / "quorvane");
    EXPECT_FALSE(late.read(kKey).data);
    fs::create_symlink(rootOnly, raced);
    owned(raced, kNobody, kNobody, 0);
    EXPECT_FALSE(late.setData(kKey, "{}").succeeded());
    EXPECT_TRUE(fs::is_empty(rootOnly));
}

// Root's save with a user's settings where root owns every folder of the
// path as written, but the user writes the settings folder through a group
// of theirs: a link the user planted at the record's name leads nowhere the
// user could not go; where two users could plant it, nothing is touched.
// Saved on the writer's thread, as the application saves.
TEST_F(FolderOwnerRightsTest, ALinkAUserCouldPlantInRootsFoldersLeadsNowhereTheUserCouldNot) {
    const auto shared = folder_ / "shared";
    const auto secret = folder_ / "secret";
    testing::writeContents(secret, "secret");
    owned(secret, 0, 0, 0600);
    auto accounts = std::make_shared<LaidOutAccounts>();
    accounts->members[kShared] = {kNobody};
    accounts->members[kShared + 1] = {kNobody, kDaemon};
    for (const auto& [group, refusedAs] :
         {std::pair{kShared, DefaultsStoreError::Kind::beyondOwnersRights},
          std::pair{kShared + 1, DefaultsStoreError::Kind::pathSharedWithOthers}}) {
        fs::remove_all(shared);
        fs::create_directory(shared);
        owned(shared, 0, group, 02775);
        fs::create_symlink(secret, shared / (kKey + ".json"));
        owned(shared / (kKey + ".json"), kNobody, kNobody, 0);
        auto store = std::make_shared<FileDefaultsStore>(shared);
        store->setAccountBook(accounts);
        BackgroundDefaultsWriter writer(store);
        writer.setData(kKey, "{\"a\":1}");
        const auto failed = writer.flushPendingSaves();
        ASSERT_EQ(failed.size(), 1u);
        ASSERT_TRUE(failed.front().outcome.error);
        EXPECT_EQ(failed.front().outcome.error->kind, refusedAs);
        EXPECT_EQ(testing::fileContents(secret), "secret");
    }
    // Where two could, not even the lock file is made.
    EXPECT_EQ(std::distance(fs::directory_iterator(shared), {}), 1);
}

// Ids a user namespace does not map could be anyone's: a folder one of
// them could write (its owner, its group, a member of a group mapped) is
// refused, saying so, never taken for nobody's.
TEST_F(FolderOwnerRightsTest, IdsTheNamespaceDoesNotMapAreWritersNeverNobody) {
    const auto folder = folder_ / "quorvane";
    fs::create_directory(folder);
    owned(folder, kNobody, kNobody, 0700);
    const auto shared = folder_ / "shared";
    fs::create_directory(shared);
    owned(shared, 0, kShared, 02775);
    accounts_.members[kShared] = {kNobody};
    ProcessRights namespaceRoot = systemRoot();
    namespaceRoot.users = {{0, kNobody}};
    for (const auto& [where, groups] :
         {std::pair{folder, kNobody}, std::pair{shared, kShared}, std::pair{shared, kShared + 1}}) {
        SCOPED_TRACE(where.string() + " with groups below " + std::to_string(groups));
        namespaceRoot.groups = {{0, groups}};
        const auto decision = FolderRightsDecision::of(where, namespaceRoot, accounts_);
        EXPECT_EQ(decision.user(), std::nullopt);
        ASSERT_TRUE(decision.refusal());
        EXPECT_EQ(decision.refusal()->kind, DefaultsStoreError::Kind::pathSharedWithOthers);
        EXPECT_NE(decision.refusal()->detail.find("매핑하지 않는"), std::string::npos);
    }
    EXPECT_EQ(FolderRightsDecision::of(folder, systemRoot(), accounts_).user(), kNobody);
    ProcessRights oneUser = systemRoot();
    oneUser.beyondOneUser = false;
    EXPECT_EQ(FolderRightsDecision::of(folder, oneUser, accounts_).user(), std::nullopt);
    EXPECT_TRUE(ProcessRights::ofThisProcess().beyondOneUser);
}

// A thread acting for the owner changes no other thread's groups, and
// gives back its own file-system ids and groups whole.
TEST_F(FolderOwnerRightsTest, TheOwnersRightsAreThisThreadsAloneAndGivenBackWhole) {
    const auto groupsOfThread = [] {
        std::vector<gid_t> groups(64);
        const auto count = ::syscall(SYS_getgroups, groups.size(), groups.data());
        groups.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
        return groups;
    };
    // Root's groups, as sudo leaves them.
    const std::vector<gid_t> rootsGroups{0, 4};
    ASSERT_EQ(::syscall(SYS_setgroups, rootsGroups.size(), rootsGroups.data()), 0);
    const auto folder = folder_ / "quorvane";
    fs::create_directory(folder);
    owned(folder, kNobody, kNobody, 0700);
    const auto decision = std::make_shared<const FolderRightsDecision>(decided(folder));
    ASSERT_EQ(decision->user(), kNobody);
    std::atomic<bool> acting{false};
    std::atomic<bool> looked{false};
    std::vector<gid_t> othersGroups;
    std::thread other([&] {
        while (!acting)
            std::this_thread::yield();
        othersGroups = groupsOfThread();
        looked = true;
    });
    {
        const FolderOwnerRights rights(decision);
        EXPECT_FALSE(rights.refusal());
        EXPECT_EQ(::setfsuid(static_cast<uid_t>(-1)), static_cast<int>(kNobody));
        EXPECT_EQ(::setfsgid(static_cast<gid_t>(-1)), static_cast<int>(kNobody));
        acting = true;
        while (!looked)
            std::this_thread::yield();
    }
    other.join();
    EXPECT_EQ(othersGroups, rootsGroups);
    EXPECT_EQ(::setfsuid(static_cast<uid_t>(-1)), 0);
    EXPECT_EQ(::setfsgid(static_cast<gid_t>(-1)), 0);
    EXPECT_EQ(groupsOfThread(), rootsGroups);
}

// The one user who could steer the folder, without an account: nothing is
// read or saved, and the refusal says whose rights, why, and what to do;
// a read says what it could not read.
TEST_F(FolderOwnerRightsTest, AFolderOfAUserWithoutAnAccountIsRefusedSayingWhoseAndWhy) {
    constexpr uid_t kGone = 54321;
    const auto folder = folder_ / "quorvane";
    fs::create_directory(folder);
    owned(folder, kGone, kGone, 0700);
    FileDefaultsStore store(folder);
    const auto saved = store.setData(kKey, "{}");
    ASSERT_TRUE(saved.error);
    EXPECT_EQ(saved.error->kind, DefaultsStoreError::Kind::ownersRightsUnavailable);
    const auto told = saved.error->description();
    EXPECT_NE(told.find("UID 54321"), std::string::npos) << told;
    EXPECT_NE(told.find("계정이 없습니다"), std::string::npos) << told;
    EXPECT_NE(told.find("sudo -u"), std::string::npos) << told;
    const auto read = store.read(kKey);
    ASSERT_TRUE(read.error);
    const auto readTold = read.error->description();
    EXPECT_NE(readTold.find("읽지 못했습니다"), std::string::npos) << readTold;
    EXPECT_EQ(readTold.find("저장"), std::string::npos) << readTold;
    EXPECT_TRUE(fs::is_empty(folder));
}

// Asked once per folder, not on every call; asked again once the path
// leads elsewhere.
TEST_F(FolderOwnerRightsTest, WhoseRightsCountIsDecidedOnceUntilTheFolderChanges) {
    const auto home = folder_ / "home";
    fs::create_directory(home);
    owned(home, kNobody, kNobody, 0755);
    const auto folder = home / "quorvane";
    auto accounts = std::make_shared<LaidOutAccounts>();
    FileDefaultsStore store(folder);
    store.setAccountBook(accounts);
    for (int save = 0; save < 3; ++save) {
        ASSERT_TRUE(store.setData(kKey, "{\"a\":" + std::to_string(save) + "}").succeeded());
        EXPECT_EQ(store.read(kKey).data, "{\"a\":" + std::to_string(save) + "}");
    }
    // Once not made yet, once made.
    EXPECT_LE(accounts->accountLookUps, 2);
    const auto before = accounts->accountLookUps.load();
    EXPECT_TRUE(store.setData(kKey, "{\"a\":7}").succeeded());
    EXPECT_EQ(accounts->accountLookUps, before);
    // The user swaps the folder for a link to one everybody writes.
    const auto open = folder_ / "open";
    fs::create_directory(open);
    owned(open, 0, 0, 0777);
    fs::rename(folder, home / "old");
    fs::create_symlink(open, folder);
    owned(folder, kNobody, kNobody, 0);
    const auto refused = store.setData(kKey, "{\"a\":8}");
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->kind, DefaultsStoreError::Kind::pathSharedWithOthers);
    EXPECT_TRUE(fs::is_empty(open));
}

// A writer added while a decision is kept, leaving the settings folder's
// owner, group and mode as they were (an ACL entry given, a folder above
// handed to another user or group), is counted at the next read or save:
// a link that writer plants leads nowhere root alone could go.
TEST_F(FolderOwnerRightsTest, AWriterAddedWhileADecisionIsKeptCountsAtTheNextLook) {
    const auto above = folder_ / "srv";
    const auto folder = above / "quorvane";
    fs::create_directories(folder);
    owned(above, 0, 0, 0775);
    owned(folder, 0, 0, 0775);
    const auto secret = folder_ / "secret";
    testing::writeContents(secret, "secret");
    owned(secret, 0, 0, 0600);
    auto accounts = std::make_shared<LaidOutAccounts>();
    accounts->members[kShared + 1] = {kNobody, kDaemon};
    FileDefaultsStore store(folder);
    store.setAccountBook(accounts);
    ASSERT_TRUE(store.setData(kKey, "{\"a\":1}").succeeded());
    // The mask stays what the group bits were: only the entry is new.
    ASSERT_TRUE(aclLetsWrite(folder, kNobody)) << std::strerror(errno);
    // Decided again: the one user the entry lets in is whose rights count,
    // and root's record is beyond them.
    const auto decidedAgain = store.setData(kKey, "{\"a\":5}");
    ASSERT_TRUE(decidedAgain.error);
    EXPECT_NE(decidedAgain.error->detail.find("UID 65534"), std::string::npos)
        << decidedAgain.error->detail;
    fs::remove(folder / (kKey + ".json"));
    fs::create_symlink(secret, folder / (kKey + ".json"));
    owned(folder / (kKey + ".json"), kNobody, kNobody, 0);
    const auto read = store.read(kKey);
    EXPECT_NE(read.data, "secret");
    ASSERT_TRUE(read.error);
    EXPECT_NE(read.error->detail.find("UID 65534"), std::string::npos) << read.error->detail;
    const auto refused = store.setData(kKey, "{\"a\":2}");
    ASSERT_TRUE(refused.error);
    EXPECT_NE(refused.error->detail.find("UID 65534"), std::string::npos) << refused.error->detail;
    // The folder above given to another user, then to a group of two:
    // two could steer it now.
    for (const auto& [owner, group] :
         {std::pair{kDaemon, gid_t{0}}, std::pair{uid_t{0}, kShared + 1}}) {
        owned(above, owner, group, 0775);
        const auto shared = store.setData(kKey, "{\"a\":3}");
        ASSERT_TRUE(shared.error);
        EXPECT_EQ(shared.error->kind, DefaultsStoreError::Kind::pathSharedWithOthers);
        owned(above, 0, 0, 0775);
        EXPECT_NE(store.setData(kKey, "{\"a\":4}").error->kind,
                  DefaultsStoreError::Kind::pathSharedWithOthers);
    }
    EXPECT_EQ(testing::fileContents(secret), "secret");
}

// Owners on a file system a user could have mounted are the user's word:
// a stick mounted `nosuid` (as udisks mounts one) is refused; a FUSE file
// system served by a user is that user's, whatever owners it reports;
// root's own folder on a mount made without `nosuid`, or on a tmpfs (whose
// owners only live processes set), saves. The record is a "root-owned"
// link to root's file where a forger would plant one.
TEST_F(FolderOwnerRightsTest, OwnersOnAFileSystemAUserCouldHaveMountedAreNotBelieved) {
    const auto secret = folder_ / "secret";
    testing::writeContents(secret, "secret");
    owned(secret, 0, 0, 0600);
    const auto image = folder_ / "stick.img";
    ASSERT_EQ(std::system(("truncate -s 8M " + image.string() + " && mkfs.ext4 -q -F -E " +
                           "root_owner=0:0 " + image.string())
                              .c_str()),
              0);
    fs::permissions(image, fs::perms::all & ~(fs::perms::owner_exec | fs::perms::group_exec |
                                              fs::perms::others_exec));
    const auto stick = folder_ / "stick";
    fs::create_directory(stick);
    const auto tmpfs = [&](unsigned long flags) {
        return ::mount("tmpfs", stick.c_str(), "tmpfs", flags, "mode=0755,uid=0,gid=0") == 0;
    };
    // Served by `nobody`, who may mount with the right to; every owner in
    // the image says root.
    const auto servedByAUser = [&] {
        const auto command =
            "setpriv --reuid=65534 --regid=65534 --clear-groups "
            "--inh-caps=+sys_admin --ambient-caps=+sys_admin fuse2fs /dev/fd/3 " +
            stick.string() + " -o fakeroot,allow_other 3<" + image.string() +
            " >/dev/null 2>&1 && mountpoint -q " + stick.string();
        return std::system(command.c_str()) == 0;
    };
    fs::create_directory(folder_ / "sticks");
    const std::vector<std::tuple<std::string, std::function<bool()>, bool>> mounts{
        {"a stick mounted nosuid", [&] { return boundNosuid(folder_ / "sticks", stick); }, false},
        {"a FUSE file system a user serves", servedByAUser, false},
        {"root's own mount", [&] { return tmpfs(0); }, true},
        {"a tmpfs mounted nosuid", [&] { return tmpfs(MS_NOSUID | MS_NODEV); }, true},
    };
    for (const auto& [shape, mount, saves] : mounts) {
        SCOPED_TRACE(shape);
        const auto told = withMounts(mount, [&, saves = saves]() -> std::string {
            const auto settings = stick / "quorvane";
            fs::create_directory(settings);
            owned(settings, 0, 0, 0700);
            if (!saves) {
                fs::create_symlink(secret, settings / (kKey + ".json"));
                ::lchown((settings / (kKey + ".json")).c_str(), 0, 0);
            }
            FileDefaultsStore store(settings);
            store.setAccountBook(std::make_shared<LaidOutAccounts>());
            const auto saved = store.setData(kKey, "{\"a\":1}");
            std::string result = saved.succeeded() ? "saved" : "refused";
            ::umount2(stick.c_str(), MNT_DETACH);
            return result;
        });
        if (told.starts_with("skip: "))
            GTEST_SKIP() << told;
        EXPECT_EQ(told, saves ? "saved" : "refused");
        EXPECT_EQ(testing::fileContents(secret), "secret");
    }
}

// A process whose rights reach root's files decides whose rights count,
// also without being root (a backup agent holding CAP_DAC_OVERRIDE) or
// as root holding no capability, and works with no capability: neither
// the user's own link in its own folder nor another user's link in that
// user's folder leads it to root's file.
TEST_F(FolderOwnerRightsTest, RightsReachingRootsFilesDecideAndWorkWithoutCapabilities) {
    constexpr uid_t kAgent = 4321;
    const auto secret = folder_ / "secret";
    testing::writeContents(secret, "secret");
    owned(secret, 0, 0, 0600);
    for (const auto& [name, user] : {std::pair{"own", kAgent}, std::pair{"theirs", kNobody}}) {
        fs::create_directory(folder_ / name);
        owned(folder_ / name, user, user, 0755);
        fs::create_symlink(secret, folder_ / name / (kKey + ".json"));
        owned(folder_ / name / (kKey + ".json"), user, user, 0);
    }
    const std::vector<std::tuple<std::string, std::function<bool()>, std::string>> shapes{
        {"an agent in its own folder",
         [] { return testing::holdCapabilitiesAs(kAgent, kAgent, {CAP_DAC_OVERRIDE}); }, "own"},
        {"an agent in another user's folder",
         [] { return testing::holdCapabilitiesAs(kAgent, kAgent, {CAP_DAC_OVERRIDE}); }, "theirs"},
        // Each capability that passes a file's owner or mode checks alone.
        {"an agent reading any folder",
         [] { return testing::holdCapabilitiesAs(kAgent, kAgent, {CAP_DAC_READ_SEARCH}); },
         "theirs"},
        {"an agent acting as any file's owner",
         [] { return testing::holdCapabilitiesAs(kAgent, kAgent, {CAP_FOWNER}); }, "theirs"},
        {"an agent giving files away",
         [] { return testing::holdCapabilitiesAs(kAgent, kAgent, {CAP_CHOWN}); }, "theirs"},
        {"root without capabilities",
         [] {
             __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
             __user_cap_data_struct none[_LINUX_CAPABILITY_U32S_3]{};
             return ::syscall(SYS_capset, &header, none) == 0;
         },
         "theirs"},
    };
    for (const auto& [shape, become, folder] : shapes) {
        SCOPED_TRACE(shape);
        const auto result = testing::outputOfChild([&]() -> std::string {
            if (!become())
                return "could not become it";
            if (!ProcessRights::ofThisProcess().beyondOneUser)
                return "taken for one user";
            const auto held = [] {
                __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
                __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
                ::syscall(SYS_capget, &header, data);
                return std::pair{data[0].effective, data[1].effective};
            };
            const auto before = held();
            FileDefaultsStore store(folder_ / folder);
            store.setAccountBook(std::make_shared<LaidOutAccounts>());
            const bool saved = store.setData(kKey, "{\"a\":1}").succeeded();
            // Laid down for the work alone.
            return std::string(saved ? "saved" : "refused") +
                   (held() == before ? "" : ", capabilities not given back");
        });
        EXPECT_EQ(result, "refused");
        EXPECT_EQ(testing::fileContents(secret), "secret");
        struct stat info {};
        ASSERT_EQ(::stat(secret.c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, 0u);
    }
}

// Root of a namespace it made itself (`unshare -r`, mapping root alone)
// still reaches every root-owned file, and one mapping ids 0-59999 every
// file of those: either decides, and whatever an id it does not map could
// write (a user's folder, a folder of a group it does not map) is
// refused, nothing made there; its own folder saves.
TEST_F(FolderOwnerRightsTest, RootOfANamespaceMappingRootDecidesAndRefusesWhatUnmappedIdsWrite) {
    constexpr gid_t kUnmappedGroup = 61601;
    const std::vector<std::tuple<std::string, uid_t, gid_t, mode_t>> folders{
        {"theirs", kNobody, kNobody, 0755},
        {"shared", 0, kUnmappedGroup, 02775},
        {"mine", 0, 0, 0700},
    };
    for (const auto& [name, user, group, mode] : folders) {
        fs::create_directory(folder_ / name);
        owned(folder_ / name, user, group, mode);
    }
    for (const std::string map : {"0 0 1", "0 0 60000"}) {
        SCOPED_TRACE(map);
        const auto result = testing::outputInUserNamespace(map, map, [&]() -> std::string {
            if (!ProcessRights::ofThisProcess().beyondOneUser)
                return "taken for one user";
            std::string outcome;
            for (const auto& [name, user, group, mode] : folders) {
                FileDefaultsStore store(folder_ / name);
                const auto saved = store.setData(kKey, "{}");
                const bool refused =
                    saved.error &&
                    saved.error->kind == DefaultsStoreError::Kind::pathSharedWithOthers &&
                    saved.error->description().find("매핑하지 않는") != std::string::npos;
                outcome += name + (saved.succeeded() ? " saved;"
                                   : refused         ? " refused;"
                                                     : " failed;");
            }
            return outcome;
        });
        if (result.starts_with("skip: "))
            GTEST_SKIP() << "no user namespace here: " << result;
        EXPECT_EQ(result, "theirs refused;shared refused;mine saved;");
        EXPECT_TRUE(fs::is_empty(folder_ / "theirs"));
        EXPECT_TRUE(fs::is_empty(folder_ / "shared"));
    }
}

// Root of a user namespace made by one user holds that user's rights
// alone: it saves in that user's folder, whatever the ids it cannot map
// (every owner outside shows as 65534).
TEST(FolderOwnerRightsNamespaceTest, RootOfANamespaceMappingOneUserSavesInThatUsersFolder) {
    // Root of a namespace made by root maps root itself, whose files all
    // stay within reach (see RootOfANamespaceMappingRoot…).
    if (::geteuid() == 0 && !testing::rootHasASecondUser())
        GTEST_SKIP() << "no user but root here to make a namespace of one user";
    testing::TemporaryFolder home;
    // Root of the system tries it as nobody; anyone else as itself.
    const bool asNobody = ::geteuid() == 0;
    if (asNobody) {
        ASSERT_EQ(::chown(home.path().c_str(), kNobody, kNobody), 0);
    }
    const auto result = testing::outputOfChild(
        [&]() -> std::string {
            const auto user = ::geteuid();
            const auto group = ::getegid();
            // Dropped from root, the process's own /proc files are root's
            // until it is dumpable again.
            ::prctl(PR_SET_DUMPABLE, 1);
            if (::unshare(CLONE_NEWUSER) != 0)
                return std::string("skip: ") + std::strerror(errno);
            std::ofstream("/proc/self/setgroups") << "deny";
            std::ofstream("/proc/self/uid_map") << "0 " << user << " 1";
            std::ofstream("/proc/self/gid_map") << "0 " << group << " 1";
            if (::geteuid() != 0)
                return "skip: no map";
            if (ProcessRights::ofThisProcess().beyondOneUser)
                return "taken for root of the system";
            FileDefaultsStore store(home.path() / "quorvane");
            const auto saved = store.setData(kKey, "{\"a\":1}");
            if (saved.error)
                return saved.error->description();
            return store.read(kKey).data.value_or("nothing read");
        },
        asNobody);
    if (result.starts_with("skip: "))
        GTEST_SKIP() << "no user namespace here: " << result;
    EXPECT_EQ(result, "{\"a\":1}");
}

// Two mounts stacked at one place, in either order, one moved onto the
// other: a folder is judged by the mount the kernel says it is on, never
// by the order the table lists them in, and root's own folder on a
// `nosuid` one is refused in words that fit it. A mount made after one
// decision is judged at the next. As root and as root of `unshare -r`.
TEST(FolderMountTest, AFolderIsJudgedByTheMountTheKernelSaysItIsOn) {
    if (!ProcessRights::ofThisProcess().beyondOneUser)
        GTEST_SKIP() << "only a process whose rights reach beyond one user's judges mounts";
    const testing::TemporaryFolder base;
    const auto secret = base / "secret";
    forgedFolder(base / "forged", secret);
    for (const auto* name : {"place", "aside", "later"})
        fs::create_directory(base / name);
    const auto tmpfs = [&](const char* at) {
        return ::mount("tmpfs", (base / at).c_str(), "tmpfs", 0, "mode=0755") == 0 &&
               fs::create_directory(base / at / "quorvane");
    };
    const auto movedOntoPlace = [&] {
        return ::mount((base / "aside").c_str(), (base / "place").c_str(), nullptr, MS_MOVE,
                       nullptr) == 0;
    };
    const auto saved = [](const fs::path& folder) -> std::string {
        const auto error = FileDefaultsStore(folder / "quorvane").setData(kKey, "{}").error;
        const auto told = error ? error->description() : "saved";
        const bool fits = error && error->kind == DefaultsStoreError::Kind::mountNotBelieved &&
                          error->detail.find("nosuid") != std::string::npos &&
                          told.find("sudo -E") == std::string::npos;
        return fits ? "refused" : told;
    };
    const std::vector<std::pair<std::function<bool()>, std::string>> shapes{
        // A nosuid mount moved onto a later believed one, and the reverse.
        {[&] { return boundNosuid(base / "forged", base / "aside") && tmpfs("place"); }, "refused"},
        {[&] { return tmpfs("aside") && boundNosuid(base / "forged", base / "place"); }, "saved"},
    };
    for (const auto& [mount, first] : shapes) {
        const auto told = withMounts([&] { return mount() && movedOntoPlace(); },
                                     [&] {
                                         const auto before = saved(base / "place");
                                         if (!boundNosuid(base / "forged", base / "later"))
                                             return "skip: " + std::string(std::strerror(errno));
                                         return before + "; " + saved(base / "later");
                                     });
        if (told.starts_with("skip: "))
            GTEST_SKIP() << told;
        EXPECT_EQ(told, first + "; refused");
        EXPECT_EQ(testing::fileContents(secret), "secret");
    }
}

// A mount made on the way between the decision and the save is never gone
// into on the decision's word: that save is refused, the next decides
// again; once it is gone the folder saves, and a kept decision is looked
// at again by mount too (the folder bound over itself `nosuid`).
TEST(FolderMountTest, TheSaveGoesOnlyIntoTheFoldersTheDecisionWentInto) {
    if (!ProcessRights::ofThisProcess().beyondOneUser)
        GTEST_SKIP() << "only a process whose rights reach beyond one user's judges mounts";
    const testing::TemporaryFolder base;
    forgedFolder(base / "forged", base / "secret");
    const auto settings = base / "quorvane";
    fs::create_directory(settings);
    // Its group may write it: the decision asks who is in it.
    ::chmod(settings.c_str(), 0775);
    using Kind = DefaultsStoreError::Kind;
    const auto step = [](std::optional<Kind> kind) {
        return kind ? std::to_string(static_cast<int>(*kind)) + "; " : "saved; ";
    };
    const auto told = withMounts(
        [] { return true; },
        [&] {
            auto accounts = std::make_shared<LaidOutAccounts>();
            accounts->meanwhile = [&] { boundNosuid(base / "forged" / "quorvane", settings); };
            FileDefaultsStore store(settings);
            store.setAccountBook(accounts);
            std::string steps;
            for (int save = 0; save < 4; ++save) {
                if (save == 2)
                    ::umount2(settings.c_str(), MNT_DETACH);
                if (save == 3 && !boundNosuid(settings, settings))
                    return "skip: " + std::string(std::strerror(errno));
                const auto error = store.setData(kKey, "{}").error;
                steps += step(error ? std::optional(error->kind) : std::nullopt);
            }
            return steps;
        });
    if (told.starts_with("skip: "))
        GTEST_SKIP() << told;
    EXPECT_EQ(told, step(Kind::wayChangedSinceDecided) + step(Kind::mountNotBelieved) +
                        step(std::nullopt) + step(Kind::mountNotBelieved));
    EXPECT_EQ(testing::fileContents(base / "secret"), "secret");
}

// The mount the root folder itself is on is judged as any other: a
// namespace whose root is a `nosuid` mount (a user's stick made its root
// by pivot_root) is never taken as root's own.
TEST(FolderMountTest, TheMountOfTheRootFolderIsJudgedToo) {
    if (!ProcessRights::ofThisProcess().beyondOneUser)
        GTEST_SKIP() << "only a process whose rights reach beyond one user's judges mounts";
    const testing::TemporaryFolder base;
    const auto forged = base / "forged";
    forgedFolder(forged, base / "secret");
    fs::create_directory(forged / "proc");
    const auto told = withMounts(
        [&] {
            return boundNosuid(forged, forged) &&
                   ::mount("/proc", (forged / "proc").c_str(), nullptr, MS_BIND | MS_REC,
                           nullptr) == 0 &&
                   ::chroot(forged.c_str()) == 0 && ::chdir("/") == 0;
        },
        [] {
            const auto error = FileDefaultsStore("/quorvane").setData(kKey, "{}").error;
            const bool fits = error && error->kind == DefaultsStoreError::Kind::mountNotBelieved &&
                              error->detail.find("nosuid") != std::string::npos;
            return fits ? "refused" : error ? error->description() : "saved";
        });
    if (told.starts_with("skip: "))
        GTEST_SKIP() << told;
    EXPECT_EQ(told, "refused");
    EXPECT_EQ(testing::fileContents(base / "secret"), "secret");
}

// Root entering a mount namespace another user's namespace made (`nsenter
// -m`) stands among mounts that user made: the user steers the way to
// root's own folder there. Where root made that user namespace itself (as
// root of `unshare -r`, with no second user), whose root mounted there is
// not known.
TEST(FolderMountTest, RootInAMountNamespaceAUserMadeTakesItsMountsAsThatUsers) {
    if (!ProcessRights::ofThisProcess().beyondOneUser)
        GTEST_SKIP() << "only a process whose rights reach beyond one user's judges mounts";
    const testing::TemporaryFolder base;
    int ready[2];
    int hold[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(hold), 0);
    const pid_t maker = ::fork();
    if (maker == 0) {
        ::close(ready[0]);
        ::close(hold[1]);
        const bool made =
            testing::becomeUnprivilegedUser() && ::unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0;
        const char said = made ? 'y' : 'n';
        char ignored = 0;
        if (::write(ready[1], &said, 1) == 1)
            (void)::read(hold[0], &ignored, 1);
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(hold[0]);
    char said = 'n';
    const bool made = ::read(ready[0], &said, 1) == 1 && said == 'y';
    const auto told = made ? testing::outputOfChild([&]() -> std::string {
        const std::string namespaceOf = "/proc/" + std::to_string(maker) + "/ns/mnt";
        const int entered = ::open(namespaceOf.c_str(), O_RDONLY | O_CLOEXEC);
        if (entered < 0 || ::setns(entered, CLONE_NEWNS) != 0)
            return "skip: " + std::string(std::strerror(errno));
        const auto decision = FolderRightsDecision::of(
            base / "quorvane", ProcessRights::ofThisProcess(), AccountBook{});
        if (const auto& refusal = decision.refusal())
            return refusal->kind == DefaultsStoreError::Kind::mountNotBelieved &&
                           refusal->detail.find("네임스페이스") != std::string::npos
                       ? "not believed"
                       : refusal->description();
        return decision.user() ? "UID " + std::to_string(*decision.user()) : "root's";
    })
                           : "skip: no user namespace of its own";
    ::close(hold[1]);
    ::close(ready[0]);
    ::waitpid(maker, nullptr, 0);
    if (told.starts_with("skip: "))
        GTEST_SKIP() << told;
    EXPECT_EQ(told, testing::rootHasASecondUser() ? "UID " + std::to_string(testing::kNobodyUser)
                                                  : std::string("not believed"));
}

}  // namespace
}  // namespace quorvane
