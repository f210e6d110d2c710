#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "models/settings/quorvane_settings_document_error.hpp"
#include "services/persistence/quorvane_settings_file_loader.hpp"
#include "services/persistence/quorvane_settings_file_read_error.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using Loader = QuorvaneSettingsFileLoader;
using ReadError = QuorvaneSettingsFileReadError;

class SettingsFileLoaderTest : public ::testing::Test {
  protected:
    fs::path folder;

    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("quorvane-loader-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path writeFile(const std::string& name, std::size_t size) {
        const auto path = folder / name;
        std::ofstream(path, std::ios::binary) << std::string(size, ' ');
        return path;
    }
};

template <class E>
E thrownBy(const fs::path& path, Duration limit = Loader::defaultReadTimeLimit) {
    try {
        Loader::loadData(path, limit);
    } catch (const E& error) {
        return error;
    } catch (const std::exception& other) {
        ADD_FAILURE() << "unexpected error: " << other.what();
        throw;
    }
    ADD_FAILURE() << "nothing thrown for " << path;
    throw std::runtime_error("nothing thrown");
}

TEST_F(SettingsFileLoaderTest, TheLimitIsInclusive) {
    const auto exact = writeFile("exact.json", 1'048'576);
    EXPECT_EQ(Loader::fileSize(exact), 1'048'576);
    EXPECT_EQ(Loader::loadData(exact).size(), 1'048'576u);

    const auto over = writeFile("over.json", 1'048'577);
    const auto error = thrownBy<QuorvaneSettingsDocumentError>(over);
    EXPECT_EQ(error, QuorvaneSettingsDocumentError::fileTooLarge(1'048'576));
    EXPECT_EQ(error.description(),
              "설정 파일이 너무 큽니다. 최대 1 MB 이하의 Quorvane 설정 파일만 가져올 수 있습니다.");
}

TEST_F(SettingsFileLoaderTest, AFileOverTheLimitIsRefusedBeforeItIsOpened) {
    const auto over = writeFile("over.json", 1'048'577);
    // Every opening of the file shows up as an event on this watch (set
    // while the user may still read the file).
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, over.c_str(), IN_OPEN), 0);
    // Unreadable to anyone but root: an opening first would fail the read
    // for the user, and show on the watch for root.
    ::chmod(over.c_str(), 0);

    EXPECT_EQ(thrownBy<QuorvaneSettingsDocumentError>(over),
              QuorvaneSettingsDocumentError::fileTooLarge(1'048'576));
    alignas(inotify_event) char events[4096];
    EXPECT_LT(::read(watch, events, sizeof events), 0) << "the file was opened";
    ::close(watch);

    // An unreadable file within the limit still reports why it cannot be read.
    if (::geteuid() != 0) {
        const auto small = writeFile("small.json", 10);
        ::chmod(small.c_str(), 0);
        EXPECT_EQ(thrownBy<ReadError>(small).kind(), ReadError::Kind::permissionDenied);
    }
}

TEST_F(SettingsFileLoaderTest, UnreadablePathsAreTypedReadErrors) {
    const auto missing = thrownBy<ReadError>(folder / "missing.json");
    EXPECT_EQ(missing.kind(), ReadError::Kind::notFound);
    EXPECT_EQ(missing.description(), "\u2018missing.json\u2019 파일이 없습니다.");
    EXPECT_THROW(Loader::fileSize(folder / "missing.json"), ReadError);
    EXPECT_EQ(thrownBy<ReadError>(folder).kind(), ReadError::Kind::isDirectory);
}

TEST_F(SettingsFileLoaderTest, EndlessDeviceIsCutOneByteOverTheLimit) {
    if (!fs::exists("/dev/zero"))
        GTEST_SKIP() << "no /dev/zero";
    EXPECT_FALSE(Loader::fileSize("/dev/zero").has_value());
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(thrownBy<QuorvaneSettingsDocumentError>("/dev/zero").kind(),
              QuorvaneSettingsDocumentError::Kind::fileTooLarge);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
}

// With an hour to wait, a loader that waited for a writer would be ended by
// the test's time-out: nothing here depends on how busy the machine is.
TEST_F(SettingsFileLoaderTest, FifoWithoutWriterDoesNotWait) {
    const auto fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(Loader::loadData(fifo, std::chrono::hours(1)), "");
}

TEST_F(SettingsFileLoaderTest, FifoWhoseWriterIsSilentTimesOut) {
    const auto fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int holder = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);  // a writer that never writes
    ASSERT_GE(holder, 0);
    EXPECT_EQ(thrownBy<ReadError>(fifo, std::chrono::milliseconds(50)).kind(),
              ReadError::Kind::timedOut);
    ::close(holder);
}

}  // namespace
}  // namespace quorvane
