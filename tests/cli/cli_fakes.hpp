#pragma once

#include <limits>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "cli/quorvane_cli.hpp"
#include "models/display_control_error.hpp"
#include "platform/interfaces/cli_display_snapshot_providing.hpp"
#include "platform/interfaces/gamma_controlling.hpp"
#include "platform/simulated/in_memory_defaults_store.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "support/recording_brightness_controller.hpp"

namespace quorvane::testing {

// The displays a test sets up, with brightness read through the controller.
struct FakeDisplayProvider : CLIDisplaySnapshotProviding {
    std::vector<DisplaySnapshot> displays;

    std::vector<DisplaySnapshot> activeCLIDisplays(BrightnessControlling& brightness,
                                                   bool includeHardwareBrightness) override {
        auto out = displays;
        for (auto& display : out) {
            display.hardwareBrightness =
                includeHardwareBrightness ? brightness.readBrightness(display.id) : std::nullopt;
        }
        return out;
    }
};

// Keeps the last tables written per display; refuses displays listed in `failing`.
struct FakeGammaController : GammaControlling {
    std::set<DisplayID> failing;
    std::map<DisplayID, TransferTables> written;

    TransferTables makeTransferTables(const ColorAdjustment& adjustment) const override {
        return buildTransferTables(adjustment, 256);
    }
    void apply(const ColorAdjustment& adjustment, DisplayID displayID) override {
        setTransferTables(makeTransferTables(adjustment), displayID);
    }
    void setTransferTables(const TransferTables& tables, DisplayID displayID) override {
        if (failing.contains(displayID))
            throw DisplayControlError::coreGraphics(8);
        written[displayID] = tables;
    }
    void restoreSystemColorSettings() override {}
};

inline DisplaySnapshot makeDisplay(DisplayID id, std::string name, std::uint32_t serial,
                                   bool isMain = false, bool isBuiltin = false) {
    DisplaySnapshot display;
    display.id = id;
    display.name = std::move(name);
    display.vendorNumber = 1552;
    display.modelNumber = 41000 + id;
    display.serialNumber = serial;
    display.isMain = isMain;
    display.isBuiltin = isBuiltin;
    return display;
}

// A runner over fakes whose two output streams are captured.
struct CLIHarness {
    std::shared_ptr<InMemoryDefaultsStore> defaults = std::make_shared<InMemoryDefaultsStore>();
    std::shared_ptr<UserDefaultsPreferencesStore> preferences =
        std::make_shared<UserDefaultsPreferencesStore>(defaults);
    std::shared_ptr<FakeDisplayProvider> displays = std::make_shared<FakeDisplayProvider>();
    std::shared_ptr<RecordingBrightnessController> brightness =
        std::make_shared<RecordingBrightnessController>();
    std::shared_ptr<FakeGammaController> gamma = std::make_shared<FakeGammaController>();
    std::string out;
    std::string err;

    QuorvaneCLI cli() {
        return QuorvaneCLI({preferences, displays, brightness, gamma,
                            [this](std::string_view text) { out += text; },
                            [this](std::string_view text) { err += text; }});
    }

    std::int32_t run(std::vector<std::string> arguments) {
        out.clear();
        err.clear();
        return cli().run(arguments);
    }
};

}  // namespace quorvane::testing
