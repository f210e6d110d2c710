#pragma once

#include <optional>
#include <string>

namespace quorvane {

// What became of one automation URL, told to whoever sent it: a script that
// handed a URL to the running application hears whether it was carried out
// and, when it was not, why, in the words the windows show.
struct QuorvaneAutomationURLOutcome {
    enum class Kind {
        carriedOut,  // the command did what it was asked
        duplicate,   // a copy of one just carried out, ignored: the first stands
        refused,     // turned down before anything was tried; nothing changed
        failed,      // tried, and a display did not take it (others may have)
    };

    Kind kind = Kind::refused;
    // The status message the URL left: the action's own text, even while a
    // save problem is shown in its place.
    std::string statusText;

    // Why the URL was not carried out; none when it was, or when it was a
    // copy of one that was.
    std::optional<std::string> refusal() const;

    bool operator==(const QuorvaneAutomationURLOutcome&) const = default;
};

// The exit status of a launch that handed its URL to the running
// application, which did not carry it out (refused it, or a display did not
// take it); the reason goes to standard error. A URL carried out, or ignored
// as a copy of one that was, ends the launch with 0.
inline constexpr int kAutomationURLNotCarriedOutStatus = 3;

}  // namespace quorvane
