#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace quorvane::testing {

// A fresh folder for the running test, removed with everything in it.
class TemporaryFolder {
  public:
    TemporaryFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("quorvane-" + std::to_string(::getpid()) + "-" + test->test_suite_name() + "-" +
                 test->name());
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    // The names of the folder's entries, hidden ones included.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        return names;
    }

    // What the copies of `key`'s record kept aside hold.
    std::vector<std::string> copiesKeptAside(const std::string& key) const {
        return copiesIn(path_, key);
    }
    // The same in any folder.
    static std::vector<std::string> copiesIn(const std::filesystem::path& folder,
                                             const std::string& key);

  private:
    std::filesystem::path path_;
};

inline std::string fileContents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::string> TemporaryFolder::copiesIn(const std::filesystem::path& folder,
                                                          const std::string& key) {
    std::vector<std::string> copies;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const auto name = entry.path().filename().string();
        if (name.starts_with(key + ".json.unreadable-"))
            copies.push_back(fileContents(entry.path()));
    }
    return copies;
}

inline void writeContents(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace quorvane::testing
