#pragma once

#include <functional>
#include <optional>
#include <string>

#include "models/recovery/quorvane_temporary_neutral_comparison_token.hpp"

namespace quorvane {

// One hold-to-compare button's comparison: the token it holds between the
// press and every way the press can end. `enabled` only guards the start; an
// end always hands the token back (the window reports the button disabled
// while its own comparison runs). The store calls are injected.
//
// The store may end a comparison itself (correction switched off, a change
// of the display's colour meanwhile): `runs` tells whether the held token's
// comparison still runs. A token whose comparison ended is not comparing —
// the button shows and says the current colour — and the next start asks
// the store for a new comparison at once.
class HoldToCompareSession {
  public:
    using Begin = std::function<std::optional<QuorvaneTemporaryNeutralComparisonToken>()>;
    using End = std::function<void(const QuorvaneTemporaryNeutralComparisonToken&)>;
    using Runs = std::function<bool(const QuorvaneTemporaryNeutralComparisonToken&)>;

    // Without `runs`, a held token counts as running until it is handed back.
    HoldToCompareSession(Begin begin, End end, Runs runs = {});

    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool enabled() const { return enabled_; }
    bool comparing() const;

    // A press or a movement while pressed: asks the store unless disabled or
    // already comparing. A refusal leaves the button idle. A token whose
    // comparison the store ended is handed back first.
    void beginIfNeeded();
    // Release, lost grab, hiding, the keyboard focus leaving, losing the
    // application's focus: hands the token back, whatever the enabled
    // state; nothing held does nothing.
    void end();
    // The accessible default action: ends a running comparison, else starts
    // one when enabled.
    void toggleForAccessibility();

  private:
    Begin begin_;
    End end_;
    Runs runs_;
    bool enabled_ = true;
    std::optional<QuorvaneTemporaryNeutralComparisonToken> token_;
};

// What the button shows and says in each state.
struct HoldToCompareTexts {
    std::string symbol;
    std::string title;
    std::string caption;
    std::string accessibilityLabel;
    std::string accessibilityValue;
    std::string tooltip;
    std::string hint;
    // The button trait and the default action exist while enabled or comparing.
    bool actsAsButton = false;

    bool operator==(const HoldToCompareTexts&) const = default;
};

HoldToCompareTexts holdToCompareTexts(bool comparing, bool enabled);

}  // namespace quorvane
