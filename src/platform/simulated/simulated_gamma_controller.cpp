#include "platform/simulated/simulated_gamma_controller.hpp"

namespace quorvane {

namespace {

// The code a write to an unknown display carries, as X's BadRROutput would.
constexpr std::int32_t kUnknownDisplayCode = 147;

}  // namespace

SimulatedGammaController::SimulatedGammaController(int tableSize) : tableSize_(tableSize) {}

TransferTables SimulatedGammaController::makeTransferTables(
    const ColorAdjustment& adjustment) const {
    return buildTransferTables(adjustment, tableSize_);
}

void SimulatedGammaController::apply(const ColorAdjustment& adjustment, DisplayID displayID) {
    setTransferTables(makeTransferTables(adjustment), displayID);
}

void SimulatedGammaController::setTransferTables(const TransferTables& tables,
                                                 DisplayID displayID) {
    std::lock_guard lock(mutex_);
    if (auto failure = failures_.find(displayID); failure != failures_.end()) {
        throw failure->second;
    }
    if (!knownDisplays_.contains(displayID)) {
        throw DisplayControlError::coreGraphics(kUnknownDisplayCode);
    }
    tables_[displayID] = tables;
    ++writeCount_;
}

std::optional<GammaRamp> SimulatedGammaController::currentRamp(DisplayID displayID) {
    std::lock_guard lock(mutex_);
    if (failures_.contains(displayID) || !knownDisplays_.contains(displayID))
        return std::nullopt;
    const auto size = static_cast<std::size_t>(tableSize_);
    auto found = tables_.find(displayID);
    return found == tables_.end() ? GammaRamp::identity(size)
                                  : GammaRamp::fromTables(found->second, size);
}

void SimulatedGammaController::restoreSystemColorSettings() {
    std::lock_guard lock(mutex_);
    tables_.clear();
    ++restoreCount_;
}

void SimulatedGammaController::setKnownDisplays(std::set<DisplayID> displays) {
    std::lock_guard lock(mutex_);
    knownDisplays_ = std::move(displays);
}

void SimulatedGammaController::setFailure(DisplayID displayID,
                                          std::optional<DisplayControlError> failure) {
    std::lock_guard lock(mutex_);
    if (failure) {
        failures_.insert_or_assign(displayID, *failure);
    } else {
        failures_.erase(displayID);
    }
}

std::optional<TransferTables> SimulatedGammaController::tables(DisplayID displayID) const {
    std::lock_guard lock(mutex_);
    auto found = tables_.find(displayID);
    return found == tables_.end() ? std::nullopt : std::optional<TransferTables>(found->second);
}

int SimulatedGammaController::writeCount() const {
    std::lock_guard lock(mutex_);
    return writeCount_;
}

int SimulatedGammaController::restoreCount() const {
    std::lock_guard lock(mutex_);
    return restoreCount_;
}

}  // namespace quorvane
