// The frames a later launch sends to the running instance, and where their
// socket lives.

#include "app/shell/instance_message.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <thread>
#include <variant>

#include "app/shell/single_instance.hpp"

namespace quorvane {
namespace {

using State = InstanceFrameReader::State;

std::string header(std::uint32_t length) {
    return {static_cast<char>(length >> 24), static_cast<char>((length >> 16) & 0xFF),
            static_cast<char>((length >> 8) & 0xFF), static_cast<char>(length & 0xFF)};
}

TEST(InstanceMessage, AURLSurvivesTheWireEvenWhenItArrivesByteByByte) {
    const InstanceMessage sent{InstanceMessage::Kind::openURL,
                               "quorvane://apply-safe-preset?preset=night&scope=all-visible"};
    const auto bytes = encodeInstanceMessage(sent);
    InstanceFrameReader reader;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
        ASSERT_EQ(reader.feed(bytes.substr(i, 1)), State::incomplete) << i;
    ASSERT_EQ(reader.feed(bytes.substr(bytes.size() - 1)), State::complete);
    EXPECT_EQ(decodeInstanceMessage(reader.text()), sent);
}

TEST(InstanceMessage, ALengthAboveTheCapIsRefusedBeforeAnyOfItIsRead) {
    InstanceFrameReader reader;
    EXPECT_EQ(reader.feed(header(kInstanceMessageCap + 1)), State::malformed);
    // Once malformed, nothing brings the reader back.
    EXPECT_EQ(reader.feed(encodeInstanceMessage({})), State::malformed);

    InstanceFrameReader atCap;
    EXPECT_EQ(atCap.feed(header(kInstanceMessageCap)), State::incomplete);
    EXPECT_EQ(atCap.feed(std::string(kInstanceMessageCap, 'u')), State::complete);
}

TEST(InstanceMessage, EveryLengthByteOfTheHeaderIsUsedUpToTheCap) {
    // Frame texts on both sides of the steps where the next byte of the
    // big-endian length comes into use, and at the cap itself.
    for (const std::size_t length : {20u, 255u, 256u, 257u, 65535u, 65536u}) {
        const InstanceMessage sent{InstanceMessage::Kind::openURL,
                                   "quorvane://open" + std::string(length - 19, 'x')};
        const auto bytes = encodeInstanceMessage(sent);
        ASSERT_EQ(bytes.size(), 4 + length);
        EXPECT_EQ(bytes.substr(0, 4), header(static_cast<std::uint32_t>(length))) << length;
        // Split inside the header and again inside the text.
        InstanceFrameReader reader;
        EXPECT_EQ(reader.feed(bytes.substr(0, 3)), State::incomplete) << length;
        EXPECT_EQ(reader.feed(bytes.substr(3, length / 2)), State::incomplete) << length;
        EXPECT_EQ(reader.feed(bytes.substr(3 + length / 2)), State::complete) << length;
        EXPECT_EQ(decodeInstanceMessage(reader.text()), sent) << length;
    }
    EXPECT_EQ(kInstanceURLCap + 4, kInstanceMessageCap);
}

TEST(InstanceMessage, AURLOverTheCapMakesAFrameTheReaderRefuses) {
    const InstanceMessage tooLong{InstanceMessage::Kind::openURL,
                                  std::string(kInstanceURLCap + 1, 'u')};
    InstanceFrameReader reader;
    EXPECT_EQ(reader.feed(encodeInstanceMessage(tooLong)), State::malformed);
}

TEST(InstanceMessage, AnEmptyFrameOrBytesBeyondTheFrameAreMalformed) {
    InstanceFrameReader empty;
    EXPECT_EQ(empty.feed(header(0)), State::malformed);

    InstanceFrameReader trailing;
    EXPECT_EQ(trailing.feed(encodeInstanceMessage({}) + "x"), State::malformed);
}

TEST(InstanceMessage, OnlyTheTwoKnownTextsAreMessages) {
    EXPECT_EQ(decodeInstanceMessage("show"),
              (InstanceMessage{InstanceMessage::Kind::showMainWindow, {}}));
    EXPECT_EQ(decodeInstanceMessage("url quorvane://open"),
              (InstanceMessage{InstanceMessage::Kind::openURL, "quorvane://open"}));
    EXPECT_FALSE(decodeInstanceMessage("url "));
    EXPECT_FALSE(decodeInstanceMessage("show "));
    EXPECT_FALSE(decodeInstanceMessage("SHOW"));
    EXPECT_FALSE(decodeInstanceMessage("urlquorvane://open"));
}

// The text of the one frame `bytes` holds.
std::string frameText(const std::string& bytes) {
    InstanceFrameReader reader;
    EXPECT_EQ(reader.feed(bytes), State::complete);
    return reader.text();
}

TEST(InstanceAnswer, OkAndARefusalInTheApplicationsWordsSurviveTheWire) {
    // An instance of before refusals answered every message this way: it
    // still reads as taken.
    EXPECT_EQ(frameText(encodeInstanceAnswer({})), "ok");
    EXPECT_EQ(decodeInstanceAnswer("ok"), InstanceAnswer{});
    const InstanceAnswer refused{"자동화 URL 오류: 알 수 없는 자동화 명령입니다: nope"};
    EXPECT_EQ(decodeInstanceAnswer(frameText(encodeInstanceAnswer(refused))), refused);
    // Anything else is no answer a launch may take for success.
    EXPECT_FALSE(decodeInstanceAnswer("OK"));
    EXPECT_FALSE(decodeInstanceAnswer("okay"));
    EXPECT_FALSE(decodeInstanceAnswer("refused"));
}

TEST(InstanceAnswer, ARefusalQuotingAURLAtTheCapIsCutToOneFrameAtACharacterBoundary) {
    // "한" is three bytes: a cut by bytes alone would split one.
    std::string quoted;
    for (std::size_t i = 0; i < kInstanceURLCap / 3; ++i)
        quoted += "한";
    for (const std::size_t extra : {0u, 1u, 2u}) {
        const std::string reason =
            "자동화 프리셋을 찾지 못했습니다: " + std::string(extra, 'z') + quoted;
        const auto bytes = encodeInstanceAnswer({reason});
        ASSERT_LE(bytes.size(), 4 + kInstanceMessageCap) << extra;
        const auto answer = decodeInstanceAnswer(frameText(bytes));
        ASSERT_TRUE(answer && answer->refusal) << extra;
        const auto& told = *answer->refusal;
        EXPECT_TRUE(told.ends_with("한…")) << extra;
        EXPECT_EQ(reason.substr(0, told.size() - 3), told.substr(0, told.size() - 3)) << extra;
        EXPECT_GT(told.size() + 8 + 3, kInstanceMessageCap) << extra;
    }
    // One that fits is sent whole.
    const std::string fits(kInstanceMessageCap - 8, 'z');
    EXPECT_EQ(decodeInstanceAnswer(frameText(encodeInstanceAnswer({fits}))), InstanceAnswer{fits});
}

class InstanceSocketPathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quorvane-runtime-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::filesystem::path folder;
};

TEST_F(InstanceSocketPathTest, OneSocketPerDisplayWhateverTheScreenNumber) {
    const auto plain = instanceSocketPath(folder.c_str(), ":1", ::getuid());
    ASSERT_TRUE(plain);
    EXPECT_EQ(*plain, folder / "quorvane-_1.socket");
    EXPECT_EQ(instanceSocketPath(folder.c_str(), ":1.0", ::getuid()), plain);
    EXPECT_NE(instanceSocketPath(folder.c_str(), ":10", ::getuid()), plain);
    EXPECT_EQ(instanceSocketPath(folder.c_str(), "host.example:2.1", ::getuid()),
              folder / "quorvane-host_example_2.socket");
}

TEST_F(InstanceSocketPathTest, ARuntimeFolderOthersCanEnterIsNotUsed) {
    ::chmod(folder.c_str(), 0755);
    const auto path = instanceSocketPath(folder.c_str(), ":1", ::getuid());
    ASSERT_TRUE(path);
    EXPECT_NE(path->parent_path(), folder);
    EXPECT_EQ(path->parent_path(), "/tmp/quorvane-" + std::to_string(::getuid()));
    // Nor a relative one.
    EXPECT_EQ(instanceSocketPath("runtime", ":1", ::getuid())->parent_path(), path->parent_path());
}

TEST_F(InstanceSocketPathTest, AFallbackFolderOfAnotherUserIsRefused) {
    // Someone else's folder under the fallback name: no socket rather than
    // one in a folder they control.
    const uid_t stranger = ::getuid() + 4242;
    const std::filesystem::path trap = "/tmp/quorvane-" + std::to_string(stranger);
    std::filesystem::remove_all(trap);
    ::mkdir(trap.c_str(), 0700);
    EXPECT_FALSE(instanceSocketPath(nullptr, ":1", stranger));
    std::filesystem::remove_all(trap);
}

// Polls `done` for up to ten seconds: for another process and a thread.
bool soon(const std::function<bool()>& done) {
    for (int turn = 0; turn < 10000; ++turn) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

// The running instance as a later launch meets it, in a process of its own
// (a launch tells a stopped instance by its process): it holds the lock and
// serves the socket, and once it has read the one message that comes it
// stops itself and then answers "ok", hangs up, or never answers. Only
// async-signal-safe calls run in it.
class StandInInstance {
  public:
    enum class Then { stopThenAnswer, hangUp, neverAnswer };

    StandInInstance(const std::filesystem::path& socket, Then then)
        : socket_(socket.string()), lock_(socket.string() + ".lock") {
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            serve(then, ready[1]);
            ::_exit(0);
        }
        ::close(ready[1]);
        char byte = 0;
        ready_ = ::read(ready[0], &byte, 1) == 1;
        ::close(ready[0]);
    }
    ~StandInInstance() {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    StandInInstance(const StandInInstance&) = delete;
    StandInInstance& operator=(const StandInInstance&) = delete;

    bool ready() const { return ready_; }
    pid_t pid() const { return pid_; }
    bool stopped() const {
        std::ifstream file("/proc/" + std::to_string(pid_) + "/stat");
        std::string stat;
        std::getline(file, stat);
        const auto close = stat.rfind(')');
        return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'T';
    }

  private:
    void serve(Then then, int ready) const {
        const int lock = ::open(lock_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, socket_.c_str(), socket_.size());
        if (lock < 0 || ::flock(lock, LOCK_EX) != 0 || server < 0 ||
            ::bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(server, 4) != 0)
            return;
        [[maybe_unused]] const auto told = ::write(ready, "r", 1);
        const int client = ::accept(server, nullptr, nullptr);
        unsigned char header[4] = {};
        if (!readAll(client, header, sizeof header))
            return;
        std::size_t length = 0;
        for (const unsigned char byte : header)
            length = length << 8 | byte;
        char text[64];
        for (std::size_t left = length; left > 0;) {
            const auto chunk = std::min(left, sizeof text);
            if (!readAll(client, text, chunk))
                return;
            left -= chunk;
        }
        if (then == Then::hangUp)
            return;
        if (then == Then::neverAnswer) {
            for (;;)
                ::pause();
        }
        ::raise(SIGSTOP);
        [[maybe_unused]] const auto written = ::write(client, answer_.data(), answer_.size());
    }
    static bool readAll(int fd, void* into, std::size_t count) {
        auto* bytes = static_cast<char*>(into);
        while (count > 0) {
            const auto got = ::read(fd, bytes, count);
            if (got <= 0)
                return false;
            bytes += got;
            count -= static_cast<std::size_t>(got);
        }
        return true;
    }

    std::string socket_;
    std::string lock_;
    std::string answer_ = encodeInstanceAnswer({});
    pid_t pid_ = -1;
    bool ready_ = false;
};

// A clock that moves on by a tenth of a second at every look, and counts
// the looks.
class SteppingClock final : public Clock {
  public:
    MonotonicTime monotonicNow() const override {
        return MonotonicTime(std::chrono::milliseconds(100) * looks_.fetch_add(1));
    }
    Date wallNow() const override { return {}; }
    long looks() const { return looks_.load(); }

  private:
    mutable std::atomic<long> looks_{1};
};

// A launch waits for the running instance as long as it is stopped (job
// control, a debugger): that is no time it failed to answer. It hears the
// answer once the instance goes on, long after the wait, as counted, would
// have ended.
TEST_F(InstanceSocketPathTest, ALaunchWaitsForAStoppedInstanceAndSaysDidNotAnswerOnlyWhenItDidNot) {
    const auto socket = folder / "quorvane-_1.socket";
    const StandInInstance stopping(socket, StandInInstance::Then::stopThenAnswer);
    ASSERT_TRUE(stopping.ready());
    SingleInstance launch(socket);
    ASSERT_EQ(launch.role(), SingleInstance::Role::secondary);
    SteppingClock clock;
    auto delivered = std::async(std::launch::async, [&] {
        return launch.send({InstanceMessage::Kind::showMainWindow, {}}, std::chrono::seconds(1),
                           clock);
    });
    ASSERT_TRUE(soon([&] { return stopping.stopped(); }));
    // Looked at for three times the wait while the instance is stopped.
    const long from = clock.looks();
    ASSERT_TRUE(soon([&] { return clock.looks() > from + 30; }));
    ::kill(stopping.pid(), SIGCONT);
    const auto delivery = delivered.get();
    EXPECT_EQ(std::get_if<InstanceAnswer>(&delivery) != nullptr, true);
}

TEST_F(InstanceSocketPathTest, ALaunchTellsAnInstanceThatRanWithoutAnsweringFromOneThatEnded) {
    const auto socket = folder / "quorvane-_1.socket";
    for (const auto then : {StandInInstance::Then::neverAnswer, StandInInstance::Then::hangUp}) {
        std::filesystem::remove(socket);
        const StandInInstance instance(socket, then);
        ASSERT_TRUE(instance.ready());
        SingleInstance launch(socket);
        ASSERT_EQ(launch.role(), SingleInstance::Role::secondary);
        SteppingClock clock;
        const auto delivery = launch.send({InstanceMessage::Kind::showMainWindow, {}},
                                          std::chrono::seconds(1), clock);
        const auto* why = std::get_if<SingleInstance::NoAnswer>(&delivery);
        ASSERT_NE(why, nullptr);
        EXPECT_EQ(*why, then == StandInInstance::Then::neverAnswer
                            ? SingleInstance::NoAnswer::notAnswered
                            : SingleInstance::NoAnswer::endedFirst);
    }
    EXPECT_EQ(noAnswerLine(SingleInstance::NoAnswer::notAnswered),
              "quorvane: 이 디스플레이에서 실행 중인 Quorvane이 응답하지 않습니다\n");
    EXPECT_EQ(noAnswerLine(SingleInstance::NoAnswer::endedFirst),
              "quorvane: 이 디스플레이에서 실행 중이던 Quorvane이 응답하기 전에 종료되었습니다\n");
}

}  // namespace
}  // namespace quorvane
