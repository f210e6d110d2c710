// The frames a later launch sends to the running instance, and where their
// socket lives.

#include "app/shell/instance_message.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

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

}  // namespace
}  // namespace quorvane
