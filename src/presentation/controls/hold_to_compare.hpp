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
class HoldToCompareSession {
  public:
    using Begin = std::function<std::optional<QuorvaneTemporaryNeutralComparisonToken>()>;
    using End = std::function<void(const QuorvaneTemporaryNeutralComparisonToken&)>;

    HoldToCompareSession(Begin begin, End end);

    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool enabled() const { return enabled_; }
    bool comparing() const { return token_.has_value(); }

    // A press or a movement while pressed: asks the store unless disabled or
    // already comparing. A refusal leaves the button idle.
    void beginIfNeeded();
    // Release, lost grab, hiding, losing the application's focus: hands the
    // token back, whatever the enabled state; nothing held does nothing.
    void end();
    // The accessible default action: ends a running comparison, else starts
    // one when enabled.
    void toggleForAccessibility();

  private:
    Begin begin_;
    End end_;
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
