#include "platform/linux/gamma_controller.hpp"

#include "models/display/display_control_error.hpp"
#include "platform/linux/crtc_gamma.hpp"
#include "platform/linux/display_manager.hpp"
#include "platform/linux/randr_screen.hpp"

namespace quorvane {

GammaController::GammaController(int tableSize, std::string displayName)
    : tableSize_(tableSize), displayName_(std::move(displayName)) {}

TransferTables GammaController::makeTransferTables(const ColorAdjustment& adjustment) const {
    return buildTransferTables(adjustment, tableSize_);
}

void GammaController::apply(const ColorAdjustment& adjustment, DisplayID displayID) {
    setTransferTables(makeTransferTables(adjustment), displayID);
}

void GammaController::setTransferTables(const TransferTables& tables, DisplayID displayID) {
    auto connection = XConnection::open(displayName_);
    if (!connection) {
        throw DisplayControlError::coreGraphics(kXServerUnreachableCode);
    }
    auto screen = RandrScreen::read(*connection, RandrScreen::Probe::cached);
    if (!screen) {
        throw DisplayControlError::coreGraphics(kXServerUnreachableCode);
    }
    auto output = screen->activeOutput(displayID, false);
    if (!output) {
        // What the server itself answers for an output it does not drive.
        throw DisplayControlError::coreGraphics(screen->badOutputErrorCode());
    }
    if (auto error = writeCrtcGamma(*connection, output->crtc, tables)) {
        throw DisplayControlError::coreGraphics(error->errorCode);
    }
}

void GammaController::restoreSystemColorSettings() {
    auto connection = XConnection::open(displayName_);
    if (!connection) {
        return;
    }
    auto screen = RandrScreen::read(*connection, RandrScreen::Probe::cached);
    if (!screen) {
        return;
    }
    for (const auto& output : screen->activeOutputs(false)) {
        std::size_t size = crtcGammaSize(*connection, output.crtc);
        if (size > 0) {
            writeCrtcGamma(*connection, output.crtc, GammaRamp::identity(size));
        }
    }
}

}  // namespace quorvane
