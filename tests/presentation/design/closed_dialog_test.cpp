#include <gtest/gtest.h>

#include "presentation/design/closed_dialog.hpp"

namespace quorvane {
namespace {

// The opener asks for the keyboard where no window of the program holds it
// or the closed dialog still does; never from another window the user went
// to, nor where it has it already or no longer shows.
TEST(ClosedDialogTest, TheOpenerAsksForTheKeyboardUnlessItHasItOrTheUserWentElsewhere) {
    EXPECT_TRUE(openerAsksForTheKeyboard({true, false, false}));
    EXPECT_FALSE(openerAsksForTheKeyboard({true, true, false}));
    EXPECT_FALSE(openerAsksForTheKeyboard({true, false, true}));
    EXPECT_FALSE(openerAsksForTheKeyboard({false, false, false}));
}

}  // namespace
}  // namespace quorvane
