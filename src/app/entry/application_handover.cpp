#include "app/entry/application_handover.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace quorvane {

namespace {

constexpr const char* kApplicationName = "quorvane-app";

bool isExecutableFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::optional<std::filesystem::path> applicationExecutable(
    const std::filesystem::path& entryExecutable) {
    const auto folder = entryExecutable.parent_path();
    for (const auto& candidate :
         {folder / kApplicationName, folder / ".." / "libexec" / "quorvane" / kApplicationName}) {
        if (isExecutableFile(candidate))
            return candidate.lexically_normal();
    }
    return std::nullopt;
}

int handOverToApplication(const std::vector<std::string>& arguments) {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    const auto application = error ? std::nullopt : applicationExecutable(self);
    if (!application) {
        std::fprintf(stderr,
                     "quorvane: 창 애플리케이션(%s)이 이 프로그램 옆에 설치되어 있지 않습니다. "
                     "`quorvane cli ...` 명령은 그대로 쓸 수 있습니다\n",
                     kApplicationName);
        return 1;
    }
    std::vector<std::string> words = arguments;
    if (words.empty())
        words.emplace_back();
    words.front() = application->string();
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    ::execv(application->c_str(), argv.data());
    std::fprintf(stderr, "quorvane: 창 애플리케이션(%s)을 시작할 수 없습니다: %s\n",
                 application->c_str(), std::strerror(errno));
    return 1;
}

}  // namespace quorvane
