#include <gtest/gtest.h>

#include "models/coding/json_coding.hpp"
#include "models/display/display_identity.hpp"
#include "models/presets/display_group.hpp"

namespace quorvane {
namespace {

DisplaySnapshot display(DisplayID id, std::uint32_t serial, std::string name = "Monitor") {
    DisplaySnapshot snapshot;
    snapshot.id = id;
    snapshot.name = std::move(name);
    snapshot.vendorNumber = 1552;
    snapshot.modelNumber = 41240;
    snapshot.serialNumber = serial;
    return snapshot;
}

std::vector<DisplayID> idsOf(const std::vector<DisplaySnapshot>& displays) {
    std::vector<DisplayID> ids;
    for (const auto& d : displays)
        ids.push_back(d.id);
    return ids;
}

TEST(DisplayGroup, DecodesLenientlyPerKeyAndStrictlyPerValue) {
    const auto minimal = DisplayGroup::fromJson(parseJson(R"({"id":"g","name":"책상"})"));
    EXPECT_EQ(minimal.kind, DisplayGroup::Kind::custom);
    EXPECT_TRUE(minimal.displayIdentityRawValues.empty());
    EXPECT_EQ(DisplayGroup::fromJson(parseJson(R"({"id":"g","name":"n","kind":null})")).kind,
              DisplayGroup::Kind::custom);

    for (const char* bad :
         {R"({"name":"n"})", R"({"id":"g"})", R"({"id":"g","name":"n","kind":"shared"})",
          R"({"id":"g","name":"n","displayIdentityRawValues":"a"})",
          R"({"id":"g","name":"n","displayIdentityRawValues":["a",1]})"})
        EXPECT_THROW(DisplayGroup::fromJson(parseJson(bad)), JsonDecodeError) << bad;

    // The member list comes back without blanks and repeats.
    const auto group = DisplayGroup::fromJson(
        parseJson(R"({"id":"g","name":"n","displayIdentityRawValues":["a","","b","a"]})"));
    EXPECT_EQ(group.displayIdentityRawValues, (std::vector<std::string>{"a", "b"}));
}

TEST(DisplayGroup, VisibleMembersFollowTheGroupOrder) {
    const auto a = display(10, 1);
    const auto b = display(20, 2);
    const auto outsider = display(30, 3);
    const DisplayGroup group{"g",
                             "n",
                             DisplayGroup::Kind::custom,
                             {DisplayIdentity::of(b).rawValue, "vendor-9-model-9-serial-9-external",
                              DisplayIdentity::of(a).rawValue}};
    EXPECT_EQ(idsOf(group.visibleMembers({a, outsider, b})), (std::vector<DisplayID>{20, 10}));
    EXPECT_TRUE(group.visibleMembers({outsider}).empty());
    EXPECT_TRUE(DisplayGroup{}.visibleMembers({a, b}).empty());
}

TEST(DisplayGroup, TwinMonitorsComeLowerDisplayIdFirst) {
    // Same model without a serial and the same name: one identity for both.
    const auto left = display(7, 0, "Twin");
    const auto right = display(4, 0, "Twin");
    const auto other = display(2, 5);
    const DisplayGroup group{
        "g",
        "n",
        DisplayGroup::Kind::custom,
        {DisplayIdentity::of(left).rawValue, DisplayIdentity::of(other).rawValue}};
    EXPECT_EQ(idsOf(group.visibleMembers({other, left, right})), (std::vector<DisplayID>{4, 7, 2}));
}

}  // namespace
}  // namespace quorvane
