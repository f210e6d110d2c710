#include <gtest/gtest.h>

#include "presentation/design/closed_dialog.hpp"

namespace quorvane {
namespace {

// The opener asks for the keyboard only where the dialog had it as it
// closed and the opener still shows: never from another program or another
// of the program's windows, nor where the window manager gave it back.
TEST(ClosedDialogTest, TheOpenerAsksForTheKeyboardOnlyWhereTheClosedDialogHadIt) {
    EXPECT_TRUE(openerAsksForTheKeyboard(true, KeyboardHolder::closedDialog));
    EXPECT_FALSE(openerAsksForTheKeyboard(false, KeyboardHolder::closedDialog));
    for (const auto holder :
         {KeyboardHolder::opener, KeyboardHolder::otherWindow, KeyboardHolder::elsewhere})
        EXPECT_FALSE(openerAsksForTheKeyboard(true, holder));
}

// The X server's word, current while the program's thread was busy,
// outweighs the toolkit's; the toolkit's counts where the server names no
// window.
TEST(ClosedDialogTest, TheXServersWordOutweighsTheToolkits) {
    EXPECT_EQ(keyboardHolderAtClose(KeyboardHolder::elsewhere, KeyboardHolder::closedDialog),
              KeyboardHolder::elsewhere);
    EXPECT_EQ(keyboardHolderAtClose(KeyboardHolder::closedDialog, KeyboardHolder::elsewhere),
              KeyboardHolder::closedDialog);
    EXPECT_EQ(keyboardHolderAtClose(std::nullopt, KeyboardHolder::closedDialog),
              KeyboardHolder::closedDialog);
}

}  // namespace
}  // namespace quorvane
