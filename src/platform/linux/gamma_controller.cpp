#include "platform/linux/gamma_controller.hpp"

#include <xcb/randr.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "models/display/display_control_error.hpp"
#include "platform/linux/crtc_gamma.hpp"
#include "platform/linux/restore_ramp.hpp"
#include "platform/linux/shared_x_connection.hpp"

namespace quorvane {
namespace {

struct GammaTarget {
    XResourceID crtc = 0;
    std::size_t rampSize = 0;
    // The output's place among the active outputs (names its ICC profile).
    std::size_t outputIndex = 0;
};

// A read that got no answer because the server went away while it waited
// is the loss of the server, not a fault of this output: the caller stops
// there instead of counting the output as failed and going on.
DisplayControlError readFailure(const SharedXConnection::Lease& lease, int errorCode) {
    return DisplayControlError::coreGraphics(lease.connection().lost() ? kXServerUnreachableCode
                                                                       : errorCode);
}

// The CRTC that drives the output and its ramp size, remembered or read.
GammaTarget gammaTarget(const SharedXConnection::Lease& lease, DisplayID displayID) {
    const RandrOutput* output = lease.activeOutput(displayID);
    if (output == nullptr) {
        // What the server itself answers for an output it does not drive.
        throw readFailure(lease, lease.randrErrorBase() + BadRROutput);
    }
    const auto index = static_cast<std::size_t>(output - lease.activeOutputs().data());
    auto& sizes = lease.cache().rampSizes;
    auto known = sizes.find(output->crtc);
    if (known != sizes.end()) {
        return {output->crtc, known->second, index};
    }
    std::size_t size = crtcGammaSize(lease.connection(), output->crtc);
    if (size == 0) {
        throw readFailure(lease, kXBadLength);
    }
    sizes[output->crtc] = size;
    return {output->crtc, size, index};
}

// Asks at once for the ramp sizes not remembered yet of the CRTCs that
// drive these displays, and remembers those the server tells; the writes
// then wait for no size of their own (one that did not come is asked again
// by itself, and met as a lost server there).
void rememberRampSizes(const SharedXConnection::Lease& lease,
                       const std::vector<DisplayID>& displayIDs) {
    auto& sizes = lease.cache().rampSizes;
    xcb_connection_t* xcb = lease.connection().xcb();
    std::map<XResourceID, xcb_randr_get_crtc_gamma_size_cookie_t> asked;
    for (DisplayID displayID : displayIDs) {
        const RandrOutput* output = lease.activeOutput(displayID);
        if (output != nullptr && !sizes.contains(output->crtc) && !asked.contains(output->crtc)) {
            asked.emplace(output->crtc, xcb_randr_get_crtc_gamma_size(
                                            xcb, static_cast<xcb_randr_crtc_t>(output->crtc)));
        }
    }
    for (const auto& [crtc, cookie] : asked) {
        xcb_generic_error_t* error = nullptr;
        auto* reply = xcb_randr_get_crtc_gamma_size_reply(xcb, cookie, &error);
        if (reply != nullptr && reply->size > 0) {
            sizes[crtc] = reply->size;
        }
        std::free(reply);
        std::free(error);
    }
}

}  // namespace

GammaController::GammaController(int tableSize, std::string displayName)
    : GammaController(tableSize, std::make_shared<SharedXConnection>(std::move(displayName))) {}

GammaController::GammaController(int tableSize, std::shared_ptr<SharedXConnection> connection)
    : tableSize_(tableSize), connection_(std::move(connection)) {}

TransferTables GammaController::makeTransferTables(const ColorAdjustment& adjustment) const {
    return buildTransferTables(adjustment, tableSize_);
}

void GammaController::apply(const ColorAdjustment& adjustment, DisplayID displayID) {
    setTransferTables(makeTransferTables(adjustment), displayID);
}

void GammaController::setTransferTables(const TransferTables& tables, DisplayID displayID) {
    auto lease = connection_->lease();
    if (!lease) {
        throw DisplayControlError::coreGraphics(kXServerUnreachableCode);
    }
    // The server tells of a screen change in the events that precede the
    // write's answer. When one came, the remembered CRTC may have driven
    // another output by then: look the output up again and write once more.
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto target = gammaTarget(*lease, displayID);
        // Neutral means the output's own calibration, not a bare identity.
        const bool neutral = isNeutralTables(tables);
        const auto restored =
            neutral ? restoreRamp(lease->connection(), target.outputIndex, target.rampSize)
                    : GammaRamp{};
        const auto& ramp = neutral ? restored : ramps_.rampFor(tables, target.rampSize);
        if (auto error = writeCrtcGamma(lease->connection(), target.crtc, ramp)) {
            lease->cache().clear();
            throw DisplayControlError::coreGraphics(error->errorCode);
        }
        if (!lease->takeScreenChanges()) {
            return;
        }
    }
}

std::vector<std::optional<DisplayControlError>> GammaController::setTransferTablesOnEach(
    const TransferTables& tables, const std::vector<DisplayID>& displayIDs) {
    using Answers = std::vector<std::optional<DisplayControlError>>;
    auto lease = connection_->lease();
    if (!lease) {
        return Answers(displayIDs.size(),
                       DisplayControlError::coreGraphics(kXServerUnreachableCode));
    }
    const bool neutral = isNeutralTables(tables);
    Answers answers(displayIDs.size());
    // As for one display: a screen change told of among the answers may
    // have moved a remembered CRTC, so every write is made once more.
    for (int attempt = 0; attempt < 2; ++attempt) {
        rememberRampSizes(*lease, displayIDs);
        std::vector<unsigned long> requests;
        std::vector<std::size_t> requested;
        for (std::size_t index = 0; index < displayIDs.size(); ++index) {
            answers[index].reset();
            try {
                // Nothing more can be asked of a server found gone.
                if (lease->connection().lost()) {
                    throw readFailure(*lease, kXServerUnreachableCode);
                }
                auto target = gammaTarget(*lease, displayIDs[index]);
                const auto restored =
                    neutral ? restoreRamp(lease->connection(), target.outputIndex, target.rampSize)
                            : GammaRamp{};
                const auto& ramp = neutral ? restored : ramps_.rampFor(tables, target.rampSize);
                if (auto request = sendCrtcGamma(lease->connection(), target.crtc, ramp)) {
                    requests.push_back(*request);
                    requested.push_back(index);
                } else {
                    throw readFailure(*lease, kXBadLength);
                }
            } catch (const DisplayControlError& error) {
                answers[index] = error;
                if (error.isDisplayServerUnreachable()) {
                    std::fill(answers.begin() + static_cast<std::ptrdiff_t>(index), answers.end(),
                              error);
                    return answers;
                }
            }
        }
        const auto reported = lease->connection().syncEach(requests);
        for (std::size_t at = 0; at < requested.size(); ++at) {
            if (reported[at]) {
                answers[requested[at]] = DisplayControlError::coreGraphics(reported[at]->errorCode);
                lease->cache().clear();
            }
        }
        if (lease->connection().lost() || !lease->takeScreenChanges()) {
            return answers;
        }
    }
    return answers;
}

std::optional<GammaRamp> GammaController::currentRamp(DisplayID displayID) {
    auto lease = connection_->lease();
    if (!lease)
        return std::nullopt;
    const RandrOutput* output = lease->activeOutput(displayID);
    if (output == nullptr)
        return std::nullopt;
    return readCrtcGamma(lease->connection(), output->crtc);
}

void GammaController::restoreSystemColorSettings() {
    auto lease = connection_->lease();
    if (!lease) {
        return;
    }
    auto outputs = lease->activeOutputs();
    for (std::size_t index = 0; index < outputs.size(); ++index) {
        const auto crtc = outputs[index].crtc;
        std::size_t size = crtcGammaSize(lease->connection(), crtc);
        if (size > 0) {
            writeCrtcGamma(lease->connection(), crtc,
                           restoreRamp(lease->connection(), index, size));
        }
    }
}

}  // namespace quorvane
