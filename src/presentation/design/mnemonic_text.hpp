#pragma once

#include <string>
#include <string_view>

namespace quorvane {

// Qt reads a single "&" in the text of a menu item or a button as the mark
// of its keyboard mnemonic: it hides the "&" and makes Alt plus the next
// letter a shortcut. A name the user typed ("R&D", "Tom & Jerry") must show
// as typed and must never become a shortcut, so every "&" is doubled, which
// Qt shows as one "&".
std::string verbatimMnemonicText(std::string_view text);

// What a button draws for the text it was given: "&&" becomes "&", a single
// "&" (a mnemonic mark) is left out. Buttons that paint their own label use
// it, so they show the same as Qt's own buttons.
std::string shownMnemonicText(std::string_view text);

}  // namespace quorvane
