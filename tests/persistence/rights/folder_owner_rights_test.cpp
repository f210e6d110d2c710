// Whose rights root touches a settings folder with: decided from what the
// kernel walks to reach it, taken per thread, and given back whole.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/fsuid.h>
#include <sys/prctl.h>
#include <sys/stat.h>
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
#include <vector>

#include "services/persistence/background_defaults_writer.hpp"
#include "services/persistence/defaults_store.hpp"
#include "services/persistence/rights/folder_owner_rights.hpp"
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

// Accounts as a test lays them out: groups of chosen members, every user
// with an account of their own group, and how often each was looked up.
class LaidOutAccounts : public AccountBook {
  public:
    std::map<gid_t, std::vector<uid_t>> members;
    std::set<uid_t> withoutAccount;
    mutable std::atomic<int> accountLookUps{0};

    std::optional<Account> account(uid_t user) const override {
        ++accountLookUps;
        if (withoutAccount.contains(user))
            return std::nullopt;
        return Account{static_cast<gid_t>(user), {static_cast<gid_t>(user)}};
    }
    std::vector<uid_t> membersOf(gid_t group) const override {
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
// the kernel stores it), besides the owner's, group's, mask's and others'.
void aclLetsWrite(const fs::path& folder, uid_t user) {
    struct Entry {
        std::uint16_t tag;
        std::uint16_t permissions;
        std::uint32_t id;
    };
    const std::uint32_t version = 2;
    const std::vector<Entry> entries{
        {0x01, 7, ~0u}, {0x02, 7, user}, {0x04, 5, ~0u}, {0x10, 7, ~0u}, {0x20, 5, ~0u}};
    std::string bytes(reinterpret_cast<const char*>(&version), sizeof version);
    bytes.append(reinterpret_cast<const char*>(entries.data()), entries.size() * sizeof(Entry));
    ASSERT_EQ(::setxattr(folder.c_str(), "system.posix_acl_access", bytes.data(), bytes.size(), 0),
              0)
        << std::strerror(errno);
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
// gives: none (root's own), one user's, or a refusal where several could.
TEST_F(FolderOwnerRightsTest, WhoCouldChangeTheWalkDecidesWhoseRightsCount) {
    const auto base = folder_.path();
    accounts_.members[kShared] = {kNobody};
    accounts_.members[kShared + 1] = {kNobody, kDaemon};
    // The folder "a" as made (root's, its group and mode, an ACL letting
    // nobody write), the folder asked for under it, and what is decided.
    struct Shape {
        std::string name;
        gid_t group;
        mode_t mode;
        bool acl;
        std::string folder;
        std::optional<uid_t> user;
        bool refused;
        std::size_t toMake;
    };
    const std::vector<Shape> shapes{
        {"root's own folders", 0, 0755, false, "a/quorvane", std::nullopt, false, 0},
        {"group-written by one user", kShared, 02775, false, "a/quorvane", kNobody, false, 0},
        {"group-written by two", kShared + 1, 02775, false, "a/quorvane", std::nullopt, true, 0},
        {"an ACL lets one user write", 0, 0755, true, "a/quorvane", kNobody, false, 0},
        {"written by everyone", 0, 0777, false, "a/quorvane", std::nullopt, true, 0},
        {"root's folder in a sticky one", 0, 01777, false, "a/quorvane", std::nullopt, false, 0},
        {"not made yet in a sticky one", 0, 01777, false, "a/new/sub", std::nullopt, false, 2},
        {"not made yet in one everyone writes", 0, 0777, false, "a/new", std::nullopt, true, 0},
        {"a user's link in a sticky one", 0, 01777, false, "a/link", kNobody, false, 0},
        // /srv/x/rl -> ~/cfgdir -> a root 0700 folder
        {"root's link to a user's link", 0, 0755, false, "a/rl", kNobody, false, 0},
        {"a relative link back into root's", 0, 0755, false, "a/back", std::nullopt, false, 0},
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
        owned(base / "a", 0, shape.group, shape.mode);
        if (shape.acl)
            aclLetsWrite(base / "a", kNobody);
        const auto decision = decided(base / shape.folder);
        EXPECT_EQ(decision.refusal().has_value(), shape.refused);
        EXPECT_EQ(decision.user(), shape.user);
        EXPECT_EQ(decision.toMake().size(), shape.toMake);
    }
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

}  // namespace
}  // namespace quorvane
