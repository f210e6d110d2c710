#include "services/persistence/file_lock_table.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <fstream>

#include "services/persistence/unique_file_descriptor.hpp"

namespace quorvane {

namespace {

constexpr const char* kMountTable = "/proc/self/mountinfo";

template <typename Number>
bool parsed(std::string_view text, int base, Number& number) {
    const auto* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number, base);
    return error == std::errc() && stop == end && !text.empty();
}

std::vector<std::string_view> wordsOf(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (true) {
        at = line.find_first_not_of(" \t", at);
        if (at == std::string_view::npos)
            return words;
        const auto end = std::min(line.find_first_of(" \t", at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end;
    }
}

struct Named {
    unsigned major = 0;
    unsigned minor = 0;
    std::uintmax_t number = 0;
};

// "MAJ:MIN:NUMBER", the device's numbers in hexadecimal.
std::optional<Named> namedFile(std::string_view word) {
    const auto first = word.find(':');
    const auto second = word.find(':', first == std::string_view::npos ? word.size() : first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    Named named;
    if (!parsed(word.substr(0, first), 16, named.major) ||
        !parsed(word.substr(first + 1, second - first - 1), 16, named.minor) ||
        !parsed(word.substr(second + 1), 10, named.number))
        return std::nullopt;
    return named;
}

// The device the file system of the mount numbered `mount` is mounted
// with; none when the mount table does not tell it.
std::optional<dev_t> mountDevice(std::uint64_t mount) {
    std::ifstream table(kMountTable);
    for (std::string line; std::getline(table, line);) {
        const auto words = wordsOf(line);
        std::uint64_t id = 0;
        if (words.size() < 3 || !parsed(words[0], 10, id) || id != mount)
            continue;
        const auto colon = words[2].find(':');
        unsigned major = 0;
        unsigned minor = 0;
        if (colon == std::string_view::npos || !parsed(words[2].substr(0, colon), 10, major) ||
            !parsed(words[2].substr(colon + 1), 10, minor))
            return std::nullopt;
        return ::makedev(major, minor);
    }
    return std::nullopt;
}

}  // namespace

std::optional<FileLockTable::File> FileLockTable::fileAt(const std::filesystem::path& path) {
    struct statx look {};
    if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
                STATX_INO | STATX_MNT_ID, &look) != 0)
        return std::nullopt;
    File file;
    file.number = look.stx_ino;
    // Without the mount's device the number alone decides: a lock on
    // another file of that number is taken for this one's, never the
    // other way round.
    if (!(look.stx_mask & STATX_MNT_ID))
        return file;
    const auto mounted = mountDevice(look.stx_mnt_id);
    if (!mounted)
        return file;
    file.devices.push_back(::makedev(look.stx_dev_major, look.stx_dev_minor));
    if (*mounted != file.devices.front())
        file.devices.push_back(*mounted);
    return file;
}

namespace {

// One line of the table: the file it names, and the process before it.
struct Line {
    std::optional<Named> named;
    bool fileless = false;
    std::optional<pid_t> process;

    bool names(const FileLockTable::File& file) const {
        if (!named || named->number != file.number)
            return false;
        const dev_t device = ::makedev(named->major, named->minor);
        return file.devices.empty() ||
               std::find(file.devices.begin(), file.devices.end(), device) != file.devices.end();
    }
};

// Calls `each` with every line of `text` until it returns true.
template <typename Each>
void forEachLine(std::string_view text, Each each) {
    while (!text.empty()) {
        const auto end = std::min(text.find('\n'), text.size());
        const auto words = wordsOf(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (words.empty())
            continue;
        Line line;
        for (std::size_t at = 0; at < words.size(); ++at) {
            // A lock on something without a file system's file.
            line.fileless = line.fileless || words[at].starts_with("<none>");
            if ((line.named = namedFile(words[at]))) {
                pid_t process = 0;
                if (at > 0 && parsed(words[at - 1], 10, process))
                    line.process = process;
                break;
            }
        }
        if (each(line))
            return;
    }
}

}  // namespace

FileLockTable::Holding FileLockTable::holdingIn(std::string_view text, const File& file) {
    auto holding = Holding::none;
    forEachLine(text, [&](const Line& line) {
        if (!line.named && !line.fileless)
            holding = Holding::untellable;
        if (!line.names(file))
            return false;
        holding = Holding::held;
        return true;
    });
    return holding;
}

std::vector<pid_t> FileLockTable::holdersIn(std::string_view text, const File& file) {
    std::vector<pid_t> holders;
    forEachLine(text, [&](const Line& line) {
        if (line.names(file) && line.process)
            holders.push_back(*line.process);
        return false;
    });
    return holders;
}

std::optional<std::string> FileLockTable::text() const {
    UniqueFileDescriptor fd(::open(table_.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid())
        return std::nullopt;
    std::string text;
    char buffer[8192];
    while (true) {
        const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count == 0)
            return text;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        text.append(buffer, static_cast<std::size_t>(count));
    }
}

std::vector<pid_t> FileLockTable::holders(const File& file) const {
    const auto read = text();
    return read ? holdersIn(*read, file) : std::vector<pid_t>{};
}

FileLockTable::Answer FileLockTable::holding(const File& file) const {
    const auto read = text();
    if (!read)
        return {Holding::untellable, table_.string() + ": " + std::strerror(errno)};
    const auto holding = holdingIn(*read, file);
    if (holding == Holding::untellable)
        return {holding, table_.string() + ": 알아볼 수 없는 줄이 있음"};
    return {holding, {}};
}

}  // namespace quorvane
