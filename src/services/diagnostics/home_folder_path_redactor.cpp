#include "services/diagnostics/home_folder_path_redactor.hpp"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace quorvane {

namespace {

// Characters that end a path in free text.
constexpr std::string_view kPathCharacter = R"([^\s,;:])";
// The next character does not continue the folder's own name.
constexpr std::string_view kFolderBoundary = R"((?![^/\s,;:]))";

// "/srv/alice/" → "/srv/alice"; nothing for "/" or a relative folder.
std::optional<std::string> usableHomeFolder(const std::optional<std::string>& folder) {
    if (!folder || !folder->starts_with('/'))
        return std::nullopt;
    std::string_view trimmed = *folder;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.remove_suffix(1);
    if (trimmed == "/")
        return std::nullopt;
    return std::string(trimmed);
}

// Built by appending: a literal put in front of a temporary string is an
// insertion at its start, which GCC 12's optimizer misreads as an
// overlapping copy (-Wrestrict).
std::string pathPattern(const std::optional<std::string>& homeFolder) {
    std::vector<std::string> starts;
    if (homeFolder)
        starts.push_back(RegularExpression::escapedPattern(*homeFolder).append(kFolderBoundary));
    const std::string lookaheadPathCharacter =
        std::string("(?=").append(kPathCharacter).append(")");
    starts.push_back("/Users/" + lookaheadPathCharacter);
    starts.push_back("/home/" + lookaheadPathCharacter);
    starts.push_back(std::string("/root").append(kFolderBoundary));

    std::string pattern = "(?:";
    for (size_t i = 0; i < starts.size(); ++i) {
        if (i > 0)
            pattern += '|';
        pattern += starts[i];
    }
    pattern.append(")").append(kPathCharacter).append("*");
    return pattern;
}

std::optional<std::string> currentUserHomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home);
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir) {
        return std::string(found->pw_dir);
    }
    return std::nullopt;
}

}  // namespace

HomeFolderPathRedactor::HomeFolderPathRedactor(std::optional<std::string> homeFolder)
    : pattern_(pathPattern(usableHomeFolder(homeFolder))) {}

const HomeFolderPathRedactor& HomeFolderPathRedactor::forCurrentUser() {
    static const HomeFolderPathRedactor redactor(currentUserHomeFolder());
    return redactor;
}

std::string HomeFolderPathRedactor::redactingPaths(std::string_view text) const {
    return pattern_.replacingMatches(text, kReplacement);
}

}  // namespace quorvane
