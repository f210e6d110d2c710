#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// What a second launch asks of the running instance.
struct InstanceMessage {
    enum class Kind { showMainWindow, openURL };
    Kind kind = Kind::showMainWindow;
    std::string url;  // for openURL
    bool operator==(const InstanceMessage&) const = default;
};

// The wire form between two launches on the local socket: a 4-byte
// big-endian length, then that many bytes of UTF-8 text, "show" or "url "
// followed by the URL. A message is at most 64 KiB; a longer announced
// length, an empty one or an unknown text is malformed, and the reader then
// stops for good (the connection is dropped).
inline constexpr std::size_t kInstanceMessageCap = 64 * 1024;
// The longest URL one message carries: the cap less the "url " before it.
inline constexpr std::size_t kInstanceURLCap = kInstanceMessageCap - 4;

std::string encodeInstanceMessage(const InstanceMessage& message);

// The running instance's answer to a message, sent once it has taken it:
// "ok", or for a URL it did not carry out "refused " followed by why, in the
// words its windows show. A refusal too long for one frame is cut at a
// character boundary and ends in "…". An instance from before refusals
// answers "ok" to everything, which still reads as taken, never as failed.
struct InstanceAnswer {
    std::optional<std::string> refusal;
    bool operator==(const InstanceAnswer&) const = default;
};

std::string encodeInstanceAnswer(const InstanceAnswer& answer);
// The answer a complete frame's text carries; none for any other text.
std::optional<InstanceAnswer> decodeInstanceAnswer(std::string_view text);

// Collects one framed text from bytes as they arrive.
class InstanceFrameReader {
  public:
    enum class State { incomplete, complete, malformed };

    // Takes the next bytes; bytes past the end of the frame are malformed.
    State feed(std::string_view bytes);
    State state() const { return state_; }
    // The frame's text once complete.
    const std::string& text() const { return text_; }

  private:
    State state_ = State::incomplete;
    std::string header_;
    std::optional<std::uint32_t> length_;
    std::string text_;
};

// The message a complete frame's text carries; none when it is not one.
std::optional<InstanceMessage> decodeInstanceMessage(std::string_view text);

}  // namespace quorvane
