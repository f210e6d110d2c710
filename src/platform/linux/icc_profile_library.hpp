#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/linux/edid.hpp"

namespace quorvane {

// One ICC display profile found on disk.
struct IccProfileFile {
    std::filesystem::path path;
    // The profile's description tag, trimmed; absent when it has none.
    std::optional<std::string> description;
    std::vector<std::uint8_t> bytes;

    bool operator==(const IccProfileFile&) const = default;
};

// A profile file as found on disk, without reading it: enough to tell
// whether it changed since it was last read.
struct IccProfileFileStamp {
    std::filesystem::path path;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified;

    bool operator==(const IccProfileFileStamp&) const = default;
};

// ICC profiles read with Little CMS. Files that are not valid RGB display
// profiles are skipped, never fatal.
class IccProfileLibrary {
  public:
    // Larger files are not profiles a display would use.
    static constexpr std::uintmax_t kMaxProfileSize = 64 * 1024 * 1024;

    // The directories colour-managed programs share: $XDG_DATA_HOME/icc (by
    // default ~/.local/share/icc), ~/.color/icc, and color/icc below each
    // $XDG_DATA_DIRS entry (by default /usr/local/share and /usr/share).
    static std::vector<std::filesystem::path> standardDirectories();
    static std::vector<std::filesystem::path> standardDirectories(
        std::optional<std::string> xdgDataHome, std::optional<std::string> home,
        std::optional<std::string> xdgDataDirs);

    // Every valid display profile below the directories (".icc" or ".icm",
    // any letter case), each file once, in directory order and then by path.
    static std::vector<IccProfileFile> displayProfiles(
        const std::vector<std::filesystem::path>& directories);

    // The files displayProfiles would consider, with their size and time;
    // reads no file.
    static std::vector<IccProfileFileStamp> profileFileStamps(
        const std::vector<std::filesystem::path>& directories);

    // The file as a display profile; none when it is not one.
    static std::optional<IccProfileFile> readDisplayProfile(const std::filesystem::path& path);

    // Whether the bytes are an RGB display profile Little CMS can open.
    static bool isDisplayProfile(std::span<const std::uint8_t> bytes);

    static std::optional<std::string> description(std::span<const std::uint8_t> bytes);

    // A profile that describes the monitor as its EDID does: its primaries,
    // white point and gamma (sRGB when the EDID gives no colorimetry). The
    // bytes are the same for the same input on every call.
    static std::vector<std::uint8_t> makeFactoryProfile(const std::optional<Edid>& edid,
                                                        const std::string& description);
};

}  // namespace quorvane
