#include "platform/linux/icc_profile_library.hpp"

#include <lcms2.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <system_error>

#include "models/coding/unicode_text.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

struct ProfileClose {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
using ProfilePointer = std::unique_ptr<void, ProfileClose>;

struct MluFree {
    void operator()(cmsMLU* mlu) const { cmsMLUfree(mlu); }
};
struct ToneCurveFree {
    void operator()(cmsToneCurve* curve) const { cmsFreeToneCurve(curve); }
};

ProfilePointer openProfile(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > IccProfileLibrary::kMaxProfileSize) {
        return ProfilePointer(nullptr);
    }
    return ProfilePointer(
        cmsOpenProfileFromMem(bytes.data(), static_cast<cmsUInt32Number>(bytes.size())));
}

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return std::string(value);
}

bool hasProfileExtension(const fs::path& path) {
    auto extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char letter) { return static_cast<char>(std::tolower(letter)); });
    return extension == ".icc" || extension == ".icm";
}

std::optional<std::vector<std::uint8_t>> readFile(const fs::path& path) {
    std::error_code error;
    auto size = fs::file_size(path, error);
    if (error || size == 0 || size > IccProfileLibrary::kMaxProfileSize) {
        return std::nullopt;
    }
    std::ifstream stream(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(size);
    if (!stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        return std::nullopt;
    }
    return bytes;
}

// Profiles carry their creation time in the header; a fixed time keeps the
// factory profile's bytes equal from one run to the next, so the profile a
// session published can be recognised later.
void fixCreationTime(std::vector<std::uint8_t>& bytes) {
    const std::uint8_t fixedTime[12] = {0x07, 0xD0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0};  // 2000-01-01
    if (bytes.size() >= 36) {
        std::copy(std::begin(fixedTime), std::end(fixedTime), bytes.begin() + 24);
    }
}

// The files below the directory with a profile's extension, by path.
std::vector<fs::path> candidateFiles(const fs::path& directory) {
    std::error_code error;
    std::vector<fs::path> candidates;
    fs::recursive_directory_iterator walk(directory, fs::directory_options::skip_permission_denied,
                                          error);
    for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
        std::error_code typeError;
        if (walk->is_regular_file(typeError) && hasProfileExtension(walk->path())) {
            candidates.push_back(walk->path());
        }
    }
    std::sort(candidates.begin(), candidates.end());
    return candidates;
}

}  // namespace

std::vector<fs::path> IccProfileLibrary::standardDirectories() {
    return standardDirectories(environment("XDG_DATA_HOME"), environment("HOME"),
                               environment("XDG_DATA_DIRS"));
}

std::vector<fs::path> IccProfileLibrary::standardDirectories(
    std::optional<std::string> xdgDataHome, std::optional<std::string> home,
    std::optional<std::string> xdgDataDirs) {
    std::vector<fs::path> directories;
    // Relative entries are invalid in the base-directory rules and ignored.
    if (xdgDataHome && fs::path(*xdgDataHome).is_absolute()) {
        directories.push_back(fs::path(*xdgDataHome) / "icc");
    } else if (home && fs::path(*home).is_absolute()) {
        directories.push_back(fs::path(*home) / ".local" / "share" / "icc");
    }
    if (home && fs::path(*home).is_absolute()) {
        directories.push_back(fs::path(*home) / ".color" / "icc");
    }
    std::string dataDirs = xdgDataDirs.value_or("/usr/local/share:/usr/share");
    std::size_t start = 0;
    while (start <= dataDirs.size()) {
        auto end = dataDirs.find(':', start);
        auto entry =
            dataDirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!entry.empty() && fs::path(entry).is_absolute()) {
            directories.push_back(fs::path(entry) / "color" / "icc");
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return directories;
}

bool IccProfileLibrary::isDisplayProfile(std::span<const std::uint8_t> bytes) {
    auto profile = openProfile(bytes);
    return profile && cmsGetDeviceClass(profile.get()) == cmsSigDisplayClass &&
           cmsGetColorSpace(profile.get()) == cmsSigRgbData;
}

std::optional<std::string> IccProfileLibrary::description(std::span<const std::uint8_t> bytes) {
    auto profile = openProfile(bytes);
    if (!profile) {
        return std::nullopt;
    }
    cmsUInt32Number needed =
        cmsGetProfileInfo(profile.get(), cmsInfoDescription, "en", "US", nullptr, 0);
    if (needed == 0) {
        return std::nullopt;
    }
    std::vector<wchar_t> wide(needed / sizeof(wchar_t) + 1, L'\0');
    cmsGetProfileInfo(profile.get(), cmsInfoDescription, "en", "US", wide.data(),
                      static_cast<cmsUInt32Number>(wide.size() * sizeof(wchar_t)));
    std::string text;
    for (wchar_t unit : wide) {
        if (unit == L'\0') {
            break;
        }
        appendUtf8(text, static_cast<char32_t>(unit));
    }
    text = trimWhitespaceAndNewlines(text);
    if (text.empty()) {
        return std::nullopt;
    }
    return text;
}

std::optional<IccProfileFile> IccProfileLibrary::readDisplayProfile(const fs::path& path) {
    auto bytes = readFile(path);
    if (!bytes || !isDisplayProfile(*bytes)) {
        return std::nullopt;
    }
    return IccProfileFile{path, description(*bytes), std::move(*bytes)};
}

std::vector<IccProfileFileStamp> IccProfileLibrary::profileFileStamps(
    const std::vector<fs::path>& directories) {
    std::vector<IccProfileFileStamp> stamps;
    for (const auto& directory : directories) {
        for (auto& path : candidateFiles(directory)) {
            std::error_code error;
            const auto size = fs::file_size(path, error);
            const auto modified = fs::last_write_time(path, error);
            stamps.push_back(
                {std::move(path), error ? 0 : size, error ? fs::file_time_type{} : modified});
        }
    }
    return stamps;
}

std::vector<IccProfileFile> IccProfileLibrary::displayProfiles(
    const std::vector<fs::path>& directories) {
    std::vector<IccProfileFile> profiles;
    std::set<fs::path> seen;
    for (const auto& directory : directories) {
        for (const auto& candidate : candidateFiles(directory)) {
            std::error_code canonicalError;
            auto canonical = fs::canonical(candidate, canonicalError);
            if (canonicalError || !seen.insert(canonical).second) {
                continue;
            }
            if (auto profile = readDisplayProfile(candidate)) {
                profiles.push_back(std::move(*profile));
            }
        }
    }
    return profiles;
}

std::vector<std::uint8_t> IccProfileLibrary::makeFactoryProfile(const std::optional<Edid>& edid,
                                                                const std::string& description) {
    ProfilePointer profile(nullptr);
    if (edid && edid->colorimetry) {
        const auto& colours = *edid->colorimetry;
        cmsCIExyY white{colours.white.x, colours.white.y, 1.0};
        cmsCIExyYTRIPLE primaries{{colours.red.x, colours.red.y, 1.0},
                                  {colours.green.x, colours.green.y, 1.0},
                                  {colours.blue.x, colours.blue.y, 1.0}};
        std::unique_ptr<cmsToneCurve, ToneCurveFree> curve(
            cmsBuildGamma(nullptr, edid->gamma.value_or(2.2)));
        cmsToneCurve* curves[3] = {curve.get(), curve.get(), curve.get()};
        profile.reset(cmsCreateRGBProfile(&white, &primaries, curves));
    }
    if (!profile) {
        profile.reset(cmsCreate_sRGBProfile());
    }
    if (!profile) {
        return {};
    }
    std::unique_ptr<cmsMLU, MluFree> text(cmsMLUalloc(nullptr, 1));
    std::vector<wchar_t> wide;
    for (char32_t scalar : utf8Scalars(description)) {
        wide.push_back(static_cast<wchar_t>(scalar));
    }
    wide.push_back(L'\0');
    if (text && cmsMLUsetWide(text.get(), "en", "US", wide.data())) {
        cmsWriteTag(profile.get(), cmsSigProfileDescriptionTag, text.get());
    }
    cmsSetDeviceClass(profile.get(), cmsSigDisplayClass);
    cmsUInt32Number size = 0;
    if (!cmsSaveProfileToMem(profile.get(), nullptr, &size) || size == 0) {
        return {};
    }
    std::vector<std::uint8_t> bytes(size);
    if (!cmsSaveProfileToMem(profile.get(), bytes.data(), &size)) {
        return {};
    }
    bytes.resize(size);
    fixCreationTime(bytes);
    return bytes;
}

}  // namespace quorvane
