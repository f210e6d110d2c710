#pragma once

#include <string>

namespace quorvane {

// A failed read or write of a monitor control, carrying the transport's
// message; the description is that message unchanged.
struct DDCControllerError {
    std::string message;

    static DDCControllerError transport(std::string text) { return {std::move(text)}; }
    const std::string& description() const { return message; }

    bool operator==(const DDCControllerError&) const = default;
};

}  // namespace quorvane
