#include "app/shell/instance_message.hpp"

namespace quorvane {

namespace {

constexpr std::string_view kShow = "show";
constexpr std::string_view kURLPrefix = "url ";
constexpr std::string_view kAcknowledgement = "ok";
constexpr std::string_view kRefusalPrefix = "refused ";
constexpr std::string_view kEllipsis = "…";
constexpr std::size_t kHeaderSize = 4;

std::string frame(std::string_view text) {
    const auto length = static_cast<std::uint32_t>(text.size());
    std::string bytes;
    bytes.push_back(static_cast<char>((length >> 24) & 0xFF));
    bytes.push_back(static_cast<char>((length >> 16) & 0xFF));
    bytes.push_back(static_cast<char>((length >> 8) & 0xFF));
    bytes.push_back(static_cast<char>(length & 0xFF));
    bytes.append(text);
    return bytes;
}

}  // namespace

std::string encodeInstanceMessage(const InstanceMessage& message) {
    if (message.kind == InstanceMessage::Kind::openURL)
        return frame(std::string(kURLPrefix) + message.url);
    return frame(kShow);
}

std::string encodeInstanceAnswer(const InstanceAnswer& answer) {
    if (!answer.refusal)
        return frame(kAcknowledgement);
    std::string text = std::string(kRefusalPrefix) + *answer.refusal;
    if (text.size() > kInstanceMessageCap) {
        // A status can quote a URL of up to the cap; the reader drops a
        // longer frame, and the launch would hear no answer at all.
        std::size_t end = kInstanceMessageCap - kEllipsis.size();
        while (end > kRefusalPrefix.size() &&
               (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            --end;
        text.resize(end);
        text += kEllipsis;
    }
    return frame(text);
}

std::optional<InstanceAnswer> decodeInstanceAnswer(std::string_view text) {
    if (text == kAcknowledgement)
        return InstanceAnswer{};
    if (text.starts_with(kRefusalPrefix))
        return InstanceAnswer{std::string(text.substr(kRefusalPrefix.size()))};
    return std::nullopt;
}

InstanceFrameReader::State InstanceFrameReader::feed(std::string_view bytes) {
    if (state_ != State::incomplete)
        return state_ = State::malformed;
    while (!bytes.empty()) {
        if (!length_) {
            const std::size_t take = std::min(kHeaderSize - header_.size(), bytes.size());
            header_.append(bytes.substr(0, take));
            bytes.remove_prefix(take);
            if (header_.size() < kHeaderSize)
                return state_;
            std::uint32_t length = 0;
            for (unsigned char byte : header_)
                length = (length << 8) | byte;
            if (length == 0 || length > kInstanceMessageCap)
                return state_ = State::malformed;
            length_ = length;
            text_.reserve(length);
            continue;
        }
        const std::size_t take = std::min<std::size_t>(*length_ - text_.size(), bytes.size());
        text_.append(bytes.substr(0, take));
        bytes.remove_prefix(take);
        if (text_.size() == *length_) {
            // One frame per connection: anything after it is not ours.
            return state_ = bytes.empty() ? State::complete : State::malformed;
        }
    }
    return state_;
}

std::optional<InstanceMessage> decodeInstanceMessage(std::string_view text) {
    if (text == kShow)
        return InstanceMessage{InstanceMessage::Kind::showMainWindow, {}};
    if (text.size() > kURLPrefix.size() && text.substr(0, kURLPrefix.size()) == kURLPrefix)
        return InstanceMessage{InstanceMessage::Kind::openURL,
                               std::string(text.substr(kURLPrefix.size()))};
    return std::nullopt;
}

}  // namespace quorvane
