#include "models/ddc/ddc_write_status.hpp"

namespace quorvane {

std::string_view caseName(DDCWriteStatusPhase phase) {
    switch (phase) {
        case DDCWriteStatusPhase::pending:
            return "pending";
        case DDCWriteStatusPhase::succeeded:
            return "succeeded";
        case DDCWriteStatusPhase::failed:
            return "failed";
    }
    return {};
}

std::optional<DDCWriteStatusPhase> parseCaseName(std::string_view text, DDCWriteStatusPhase*) {
    for (DDCWriteStatusPhase phase : {DDCWriteStatusPhase::pending, DDCWriteStatusPhase::succeeded,
                                      DDCWriteStatusPhase::failed}) {
        if (caseName(phase) == text)
            return phase;
    }
    return std::nullopt;
}

}  // namespace quorvane
