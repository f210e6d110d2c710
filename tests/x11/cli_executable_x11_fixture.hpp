#pragma once

// The built `quorvane` against the test X server: a private home, the three
// lit outputs with their ramps reset around each test (by the base fixture
// before it), and what the program shows and saves.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "cli/executable_run.hpp"
#include "models/color/transfer_tables.hpp"
#include "models/presets/display_preset.hpp"
#include "models/settings/quorvane_preferences.hpp"
#include "platform/linux/crtc_gamma.hpp"
#include "x11/x_test_server.hpp"

namespace quorvane::testing {

inline const std::vector<std::string> kOutputs = {"DUMMY0", "DUMMY1", "DUMMY2"};

class CLIExecutableX11Fixture : public XServerTest {
  protected:
    void TearDown() override {
        if (connection)
            resetRampsToIdentity();
    }

    ExecutableResult run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "cli");
        return runQuorvane(arguments, home, displayName);
    }

    RandrOutput lit(const std::string& name) {
        auto found = output(name);
        EXPECT_TRUE(found) << name;
        return found.value_or(RandrOutput{});
    }

    GammaRamp ramp(const std::string& name) {
        return readCrtcGamma(*connection, lit(name).crtc).value_or(GammaRamp{});
    }

    GammaRamp expectedRamp(const ColorAdjustment& adjustment, const std::string& name) {
        const auto size = crtcGammaSize(*connection, lit(name).crtc);
        return GammaRamp::fromTables(buildTransferTables(adjustment, 256), size);
    }

    // The identity raw value the program shows for each output, by name.
    std::map<std::string, std::string> selectors() {
        const auto result = run({"list", "displays", "--json"});
        const auto json = parseJson(result.out);
        std::map<std::string, std::string> out;
        for (const auto& item : json["result"]["items"])
            out[item["name"].get<std::string>()] = item["identityRawValue"].get<std::string>();
        return out;
    }

    std::map<std::string, ColorAdjustment> savedAdjustments() {
        const auto text = home.preferencesText();
        if (!text)
            return {};
        return QuorvanePreferences::decoded(*text).displayAdjustments;
    }

    static const ColorAdjustment& night() { return DisplayPreset::builtIns()[2].adjustment; }

    TemporaryHome home;
};

}  // namespace quorvane::testing
