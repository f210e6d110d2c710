#pragma once

namespace quorvane {

// The role of the confirming button: `destructive` shows it as a destructive
// button.
enum class QuorvaneDestructiveConfirmationStyle { standard, destructive };

}  // namespace quorvane
