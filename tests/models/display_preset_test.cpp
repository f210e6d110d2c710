#include <gtest/gtest.h>

#include <set>

#include "models/coding/json_coding.hpp"
#include "models/presets/display_preset.hpp"

namespace quorvane {
namespace {

const DisplayPreset& builtIn(const std::string& id) {
    for (const auto& preset : DisplayPreset::builtIns()) {
        if (preset.id == id)
            return preset;
    }
    throw std::runtime_error("no built-in preset " + id);
}

TEST(DisplayPreset, BuiltInsAreFiveDistinctBuiltInPresetsWithNeutralFirst) {
    const auto& presets = DisplayPreset::builtIns();
    std::set<std::string> names;
    for (const auto& preset : presets) {
        names.insert(preset.name);
        EXPECT_EQ(DisplayPreset::fromJson(parseJson(dumpJson(preset.toJson<Json>()))), preset);
    }
    EXPECT_EQ(names.size(), presets.size());
    EXPECT_EQ(presets.front().adjustment, ColorAdjustment::neutral());
}

// The shipped presets, exactly as the application offers them: ids, names,
// order and every number (output filter none throughout).
TEST(DisplayPreset, BuiltInsAreTheShippedTable) {
    struct Row {
        const char* id;
        const char* name;
        ColorAdjustment adjustment;
    };
    // softwareBrightness, contrast, gamma, red/green/blue gamma, red/green/blue gain, warmth
    const Row rows[] = {
        {"neutral", "Neutral", {1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 0.0}},
        {"coding", "Coding", {0.92, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 0.96, 0.12}},
        {"night", "Night", {0.72, 0.95, 1.0, 1.0, 1.0, 1.0, 1.04, 0.98, 0.82, 0.55}},
        {"movie", "Movie", {1.0, 1.14, 1.0, 1.0, 1.0, 1.0, 1.03, 1.0, 0.94, 0.2}},
        {"bright-room", "Bright Room", {1.18, 1.04, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 0.0}},
    };
    std::vector<DisplayPreset> expected;
    for (const auto& row : rows)
        expected.push_back({row.id, row.name, row.adjustment, DisplayPreset::Kind::builtIn});
    EXPECT_EQ(DisplayPreset::builtIns(), expected);
}

TEST(DisplayPreset, DecodingRequiresEveryKey) {
    DisplayPreset custom = builtIn("night");
    custom.id = "E621E1F8-C36C-495A-93FC-0C247A3E6E5F";
    custom.name = "밤 작업";
    custom.kind = DisplayPreset::Kind::custom;
    const Json encoded = custom.toJson<Json>();
    EXPECT_EQ(DisplayPreset::fromJson(encoded), custom);

    for (const char* key : {"id", "name", "adjustment", "kind"}) {
        Json missing = encoded;
        missing.erase(key);
        EXPECT_THROW(DisplayPreset::fromJson(missing), JsonDecodeError) << key;
    }
    Json wrongKind = encoded;
    wrongKind["kind"] = "shipped";
    EXPECT_THROW(DisplayPreset::fromJson(wrongKind), JsonDecodeError);
}

}  // namespace
}  // namespace quorvane
