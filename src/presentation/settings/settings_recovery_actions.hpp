#pragma once

namespace quorvane {

class DisplayStore;
class QuorvaneDestructiveConfirmationCoordinator;

// "전체 초기화": asks the window's coordinator to confirm a full reset whose
// action resets the store once. Ignored while another confirmation of the
// window is pending; nothing is reset before the user confirms.
void requestFullReset(QuorvaneDestructiveConfirmationCoordinator& confirmations,
                      DisplayStore& store);

}  // namespace quorvane
