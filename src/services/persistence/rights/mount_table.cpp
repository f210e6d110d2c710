#include "services/persistence/rights/mount_table.hpp"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace quorvane {

namespace {

constexpr const char* kMountInfo = "/proc/self/mountinfo";

// A field as the kernel writes it: space, tab, newline and backslash as
// three octal digits after a backslash ("\040").
std::string unescaped(std::string_view field) {
    std::string text;
    for (std::size_t at = 0; at < field.size(); ++at) {
        const auto octal = [&](std::size_t from) {
            return from + 3 <= field.size() &&
                   std::all_of(field.begin() + static_cast<std::ptrdiff_t>(from),
                               field.begin() + static_cast<std::ptrdiff_t>(from + 3),
                               [](char c) { return c >= '0' && c <= '7'; });
        };
        if (field[at] == '\\' && octal(at + 1)) {
            text += static_cast<char>((field[at + 1] - '0') * 64 + (field[at + 2] - '0') * 8 +
                                      (field[at + 3] - '0'));
            at += 3;
            continue;
        }
        text += field[at];
    }
    return text;
}

// The parts of `list` between each `by`, empty ones kept where `empties`.
std::vector<std::string> split(std::string_view list, char by, bool empties = false) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (from <= list.size()) {
        const auto end = std::min(list.find(by, from), list.size());
        if (end > from || (empties && end < list.size()))
            parts.emplace_back(list.substr(from, end - from));
        from = end + 1;
    }
    return parts;
}

// The value of `name=` among `options`; none where it is not there.
std::optional<std::string> valueOf(const std::vector<std::string>& options, std::string_view name) {
    for (const auto& option : options) {
        if (option.size() > name.size() && option.starts_with(name) && option[name.size()] == '=')
            return option.substr(name.size() + 1);
    }
    return std::nullopt;
}

bool isFuse(const std::string& type) {
    return type == "fuse" || type == "fuseblk" || type.starts_with("fuse.");
}

}  // namespace

std::optional<MountTable> MountTable::read() {
    std::ifstream file(kMountInfo);
    if (!file)
        return std::nullopt;
    std::stringstream text;
    text << file.rdbuf();
    return parse(text.str());
}

MountTable MountTable::parse(std::string_view text) {
    MountTable table;
    for (const auto& line : split(text, '\n')) {
        // id, parent, major:minor, root, point, options, optional fields
        // up to "-", then type, source (empty for some) and the file
        // system's options: one space between each.
        const auto fields = split(line, ' ', true);
        const auto dash = std::find(fields.begin(), fields.end(), "-");
        if (fields.size() < 6 || dash == fields.end() || fields.end() - dash < 4)
            continue;
        std::uint64_t id = 0;
        const auto& number = fields[0];
        if (std::from_chars(number.data(), number.data() + number.size(), id).ptr !=
            number.data() + number.size())
            continue;
        table.mounts_.push_back({id, unescaped(fields[4]), unescaped(*(dash + 1)),
                                 split(fields[5], ','), split(*(dash + 3), ',')});
    }
    return table;
}

std::optional<MountTable::Mount> MountTable::withId(std::uint64_t id) const {
    const auto found = std::find_if(mounts_.begin(), mounts_.end(),
                                    [id](const Mount& mount) { return mount.id == id; });
    if (found == mounts_.end())
        return std::nullopt;
    return *found;
}

MountTable::Standing MountTable::standingOf(const Mount& mount, bool nosuid) {
    if (isFuse(mount.type)) {
        // fusermount writes its caller's id here, whatever was asked.
        const auto server = valueOf(mount.superOptions, "user_id");
        uid_t user = 0;
        const auto* end = server ? server->data() + server->size() : nullptr;
        if (!server || std::from_chars(server->data(), end, user).ptr != end)
            return {Standing::Kind::unknown, 0,
                    mount.type + ": 어느 사용자의 서버가 보여 주는지 알 수 없습니다"};
        if (user != 0)
            return {Standing::Kind::oneUsers, user};
    }
    if (nosuid && mount.type != "tmpfs")
        return {Standing::Kind::unknown, 0,
                mount.type +
                    ", nosuid: 사용자가 마운트했을 수 있어 그 주인과 권한을 믿을 수 "
                    "없습니다"};
    return {};
}

}  // namespace quorvane
