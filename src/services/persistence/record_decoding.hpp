#pragma once

#include <exception>
#include <optional>
#include <string_view>

namespace quorvane {

// The record `bytes` hold in the record's own coding (Record::decoded), or
// none when they are not one.
template <class Record>
std::optional<Record> decodedRecord(std::string_view bytes) {
    try {
        return Record::decoded(bytes);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace quorvane
