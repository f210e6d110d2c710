#include "ddc_transport/ddc_transport.hpp"

#include <span>

#include "ddc_transport/ddc_packet.hpp"
#include "ddc_transport/ddc_result_code.hpp"

namespace quorvane {
namespace {

// One prepared transaction: the bytes to send and, for a read, where the
// reply goes and how it is read.
struct DDCI2CRequest {
    std::span<const std::uint8_t> send;
    std::span<std::uint8_t> reply;  // empty: no reply expected
    I2CReadMode replyMode = I2CReadMode::ddcci;
};

bool endsWholeRead(std::int32_t code) {
    return code == kDDCBuiltInDisplay || code == kDDCNoConnector || code == kDDCNoBus;
}

std::int32_t openFailureCode(I2CStatus status) {
    return status == I2CStatus::missing ? kDDCNoBus : kDDCOpenFailed;
}

// `acknowledged` becomes true once a device takes the request's write.
std::int32_t QuorvaneDDCSendOnRoute(const DDCTransportEnvironment& environment,
                                    std::uint32_t displayID, const DDCI2CRequest& request,
                                    DDCTransportFailureDetail& detail, bool& acknowledged) {
    const DDCBusRoute route = environment.locator->locate(displayID);
    if (route.code != kDDCSuccess)
        return route.code;
    if (route.busPaths.empty())
        return kDDCNoBus;

    std::int32_t last = kDDCNoBus;
    for (const std::string& path : route.busPaths) {
        detail = {};
        I2COpenResult opened = environment.buses->open(path);
        if (!opened.bus) {
            last = openFailureCode(opened.status);
            detail.accessDenied = opened.status == I2CStatus::accessDenied;
            detail.deviceNodeMissing = opened.status == I2CStatus::missing;
            continue;
        }
        if (opened.bus->setSlaveAddress(kDDCSlaveAddress) != I2CStatus::ok) {
            last = kDDCOpenFailed;
            continue;
        }
        if (opened.bus->write(request.send) != I2CStatus::ok) {
            last = kDDCSendFailed;
            continue;
        }
        acknowledged = true;
        if (request.reply.empty())
            return kDDCSuccess;
        environment.sleep(kDDCReplyDelay);
        if (opened.bus->read(request.reply, request.replyMode) != I2CStatus::ok) {
            last = kDDCTransactionFailed;
            continue;
        }
        return kDDCSuccess;
    }
    return last;
}

// Carries one request on the display's buses in order until one succeeds;
// only the last bus's failure survives. After a failure the route is looked
// up afresh next time: the monitor may have moved or its bus gone.
std::int32_t QuorvaneDDCSendRequest(const DDCTransportEnvironment& environment,
                                    std::uint32_t displayID, const DDCI2CRequest& request,
                                    DDCTransportFailureDetail& detail, bool& acknowledged) {
    const std::int32_t result =
        QuorvaneDDCSendOnRoute(environment, displayID, request, detail, acknowledged);
    if (result != kDDCSuccess)
        environment.locator->forget(displayID);
    return result;
}

}  // namespace

std::int32_t QuorvaneDDCAvailability(const DDCTransportEnvironment& environment,
                                     std::uint32_t displayID, std::uint32_t* busCount) {
    if (busCount)
        *busCount = 0;
    const DDCBusRoute route = environment.locator->locate(displayID);
    if (route.code != kDDCSuccess)
        return route.code;
    if (route.busPaths.empty())
        return kDDCNoBus;
    if (busCount)
        *busCount = static_cast<std::uint32_t>(route.busPaths.size());
    return kDDCSuccess;
}

std::int32_t QuorvaneDDCReadVCP(const DDCTransportEnvironment& environment, std::uint32_t displayID,
                                std::uint8_t code, std::uint16_t* current, std::uint16_t* maximum,
                                DDCTransportFailureDetail* detail) {
    if (detail)
        *detail = {};
    if (!current || !maximum)
        return kDDCMissingOutValue;
    *current = 0;
    *maximum = 0;
    DDCTransportFailureDetail attemptDetail;
    bool acknowledged = false;

    const DDCGetVCPRequest request = makeGetVCPRequest(code);
    std::int32_t lastFailure = kDDCInvalidReply;
    for (I2CReadMode mode : {I2CReadMode::ddcci, I2CReadMode::simple}) {
        for (int attempt = 0; attempt < kDDCReadAttemptsPerMode; ++attempt) {
            DDCGetVCPReplyBytes reply{};
            const std::int32_t sent = QuorvaneDDCSendRequest(
                environment, displayID, {request, reply, mode}, attemptDetail, acknowledged);
            if (endsWholeRead(sent)) {
                if (detail)
                    *detail = attemptDetail;
                return sent;
            }
            if (sent == kDDCSuccess && isValidGetVCPReply(reply, code)) {
                const DDCGetVCPReply decoded = decodeGetVCPReply(reply);
                if (decoded.resultCode != 0)
                    return kDDCUnsupportedCode;
                *current = decoded.current;
                *maximum = decoded.maximum;
                return kDDCSuccess;
            }
            lastFailure = sent != kDDCSuccess ? sent : kDDCInvalidReply;
            if (sent == kDDCSuccess)
                attemptDetail = {};
            environment.sleep(kDDCRetryPause);
        }
    }
    if (detail) {
        *detail = attemptDetail;
        detail->requestNeverAcknowledged = !acknowledged && lastFailure == kDDCSendFailed;
    }
    return lastFailure;
}

std::int32_t QuorvaneDDCWriteVCP(const DDCTransportEnvironment& environment,
                                 std::uint32_t displayID, std::uint8_t code, std::uint16_t value,
                                 DDCTransportFailureDetail* detail) {
    const DDCSetVCPRequest request = makeSetVCPRequest(code, value);
    DDCTransportFailureDetail attemptDetail;
    bool acknowledged = false;
    const std::int32_t sent = QuorvaneDDCSendRequest(
        environment, displayID, {request, {}, I2CReadMode::ddcci}, attemptDetail, acknowledged);
    if (detail)
        *detail = attemptDetail;
    if (sent != kDDCSuccess)
        return sent;
    environment.sleep(kDDCPostWritePause);
    return kDDCSuccess;
}

}  // namespace quorvane
