#include <gtest/gtest.h>

#include "presentation/design/mnemonic_text.hpp"

namespace quorvane {
namespace {

TEST(MnemonicTextTest, EveryAmpersandOfAUserNameIsDoubledAndShowsOnceAgain) {
    EXPECT_EQ(verbatimMnemonicText("R&D"), "R&&D");
    EXPECT_EQ(verbatimMnemonicText("&&"), "&&&&");
    EXPECT_EQ(verbatimMnemonicText("회의 & 발표&"), "회의 && 발표&&");
    EXPECT_EQ(verbatimMnemonicText("저녁"), "저녁");
    EXPECT_EQ(verbatimMnemonicText(""), "");
    for (const char* name : {"R&D", "&", "&&", "a&&&b", "회의 & 발표&", "&시작", ""})
        EXPECT_EQ(shownMnemonicText(verbatimMnemonicText(name)), name) << name;
}

TEST(MnemonicTextTest, ALoneMarkIsNotDrawnAndATrailingOneIsDropped) {
    EXPECT_EQ(shownMnemonicText("&Save"), "Save");
    EXPECT_EQ(shownMnemonicText("Save&"), "Save");
    EXPECT_EQ(shownMnemonicText("a&&b&c"), "a&bc");
}

}  // namespace
}  // namespace quorvane
