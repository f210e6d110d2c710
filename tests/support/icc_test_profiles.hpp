#pragma once

#include <lcms2.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace quorvane::testing {

// Small ICC profiles made with Little CMS for the tests.
struct IccTestProfiles {
    enum class Kind { display, printer, noDescription };

    static std::vector<std::uint8_t> make(Kind kind, const std::wstring& description,
                                          double gamma = 2.2) {
        cmsCIExyY white{0.3127, 0.3290, 1.0};
        cmsCIExyYTRIPLE primaries{{0.64, 0.33, 1.0}, {0.30, 0.60, 1.0}, {0.15, 0.06, 1.0}};
        cmsToneCurve* curve = cmsBuildGamma(nullptr, gamma);
        cmsToneCurve* curves[3] = {curve, curve, curve};
        cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
        cmsFreeToneCurve(curve);
        if (kind == Kind::printer) {
            cmsSetDeviceClass(profile, cmsSigOutputClass);
        }
        if (kind == Kind::noDescription) {
            cmsWriteTag(profile, cmsSigProfileDescriptionTag, nullptr);
        } else {
            cmsMLU* text = cmsMLUalloc(nullptr, 1);
            cmsMLUsetWide(text, "en", "US", description.c_str());
            cmsWriteTag(profile, cmsSigProfileDescriptionTag, text);
            cmsMLUfree(text);
        }
        cmsUInt32Number size = 0;
        cmsSaveProfileToMem(profile, nullptr, &size);
        std::vector<std::uint8_t> bytes(size);
        cmsSaveProfileToMem(profile, bytes.data(), &size);
        cmsCloseProfile(profile);
        return bytes;
    }

    // A display profile whose video-card calibration (`vcgt`) raises each
    // channel to the given power.
    static std::vector<std::uint8_t> calibrated(double red, double green, double blue) {
        auto bytes = make(Kind::display, L"Calibrated");
        cmsHPROFILE profile =
            cmsOpenProfileFromMem(bytes.data(), static_cast<cmsUInt32Number>(bytes.size()));
        cmsToneCurve* curves[3] = {cmsBuildGamma(nullptr, red), cmsBuildGamma(nullptr, green),
                                   cmsBuildGamma(nullptr, blue)};
        cmsWriteTag(profile, cmsSigVcgtTag, curves);
        for (auto* curve : curves)
            cmsFreeToneCurve(curve);
        cmsUInt32Number size = 0;
        cmsSaveProfileToMem(profile, nullptr, &size);
        bytes.assign(size, 0);
        cmsSaveProfileToMem(profile, bytes.data(), &size);
        cmsCloseProfile(profile);
        return bytes;
    }

    static void write(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream stream(file, std::ios::binary);
        stream.write(reinterpret_cast<const char*>(bytes.data()),
                     static_cast<std::streamsize>(bytes.size()));
    }
};

}  // namespace quorvane::testing
