#include "platform/linux/edid.hpp"

#include <gtest/gtest.h>

#include "support/edid_builder.hpp"

namespace quorvane {
namespace {

using testing::EdidBuilder;

TEST(EdidTest, ValidBlockGivesNumbersInThePlatformShape) {
    EdidBuilder builder;
    builder.manufacturer = "APP";
    builder.productCode = 0xA118;
    builder.serial = 0xDEADBEEF;
    auto edid = Edid::parse(builder.bytes());
    ASSERT_TRUE(edid);
    // "APP" packs to 0x0610: the vendor number Apple displays report.
    EXPECT_EQ(edid->vendorNumber, 1552u);
    EXPECT_EQ(edid->modelNumber, 41240u);
    EXPECT_EQ(edid->serialNumber, 0xDEADBEEFu);
    EXPECT_EQ(edid->monitorName, "DELL U2720Q");
    ASSERT_TRUE(edid->gamma);
    EXPECT_DOUBLE_EQ(*edid->gamma, 2.2);
    ASSERT_TRUE(edid->colorimetry);
    EXPECT_NEAR(edid->colorimetry->red.x, 0.640, 0.001);
    EXPECT_NEAR(edid->colorimetry->green.y, 0.600, 0.001);
    EXPECT_NEAR(edid->colorimetry->blue.x, 0.150, 0.001);
    EXPECT_NEAR(edid->colorimetry->white.y, 0.329, 0.001);
}

TEST(EdidTest, ExtensionBlocksAfterTheBaseBlockAreIgnored) {
    auto bytes = EdidBuilder{}.bytes();
    bytes.resize(256, 0xAB);
    auto edid = Edid::parse(bytes);
    ASSERT_TRUE(edid);
    EXPECT_EQ(edid->serialNumber, 0x01020304u);
}

TEST(EdidTest, DamagedBlocksAreRejected) {
    auto bytes = EdidBuilder{}.bytes();

    EXPECT_FALSE(Edid::parse({bytes.begin(), bytes.end() - 1}));
    EXPECT_FALSE(Edid::parse({}));

    auto badChecksum = bytes;
    badChecksum[127] ^= 0x01;
    EXPECT_FALSE(Edid::parse(badChecksum));

    auto changedPayload = bytes;
    changedPayload[12] ^= 0x10;  // a serial bit flipped in transit
    EXPECT_FALSE(Edid::parse(changedPayload));

    auto badHeader = bytes;
    badHeader[0] = 0x01;
    EdidBuilder::fixChecksum(badHeader);
    EXPECT_FALSE(Edid::parse(badHeader));
}

TEST(EdidTest, NameIsAbsentWhenMissingOrBlankUsesAllThirteenBytesAndDropsUnprintables) {
    EdidBuilder builder;
    builder.name.reset();
    EXPECT_FALSE(Edid::parse(builder.bytes())->monitorName);
    builder.name = "   ";
    EXPECT_FALSE(Edid::parse(builder.bytes())->monitorName);
    builder.name = "ABCDEFGHIJKLM";  // no line feed: the text fills the field
    EXPECT_EQ(Edid::parse(builder.bytes())->monitorName, "ABCDEFGHIJKLM");

    builder.name = std::string("LG\x01 HDR\xC3", 8);
    EXPECT_EQ(Edid::parse(builder.bytes())->monitorName, "LG HDR");
}

TEST(EdidTest, UnfilledColorimetryAndGammaAreAbsent) {
    EdidBuilder builder;
    builder.gammaByte = 0xFF;
    auto bytes = builder.bytes();
    for (std::size_t i = 25; i <= 34; ++i) {
        bytes[i] = 0;
    }
    EdidBuilder::fixChecksum(bytes);
    auto edid = Edid::parse(bytes);
    ASSERT_TRUE(edid);
    EXPECT_FALSE(edid->gamma);
    EXPECT_FALSE(edid->colorimetry);
}

}  // namespace
}  // namespace quorvane
