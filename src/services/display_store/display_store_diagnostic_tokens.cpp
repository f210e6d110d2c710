#include "models/coding/unicode_text.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

bool isUnreservedInFileURL(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
           byte == '~' || byte == '/';
}

// "file://" and the path with every byte outside the unreserved set
// percent-encoded, as a file URL's absolute string reads.
std::string fileURLString(const std::filesystem::path& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = "file://";
    for (const unsigned char byte : path.string()) {
        if (isUnreservedInFileURL(byte)) {
            text += static_cast<char>(byte);
        } else {
            text += '%';
            text += kHex[byte >> 4];
            text += kHex[byte & 0x0F];
        }
    }
    return text;
}

}  // namespace

void DisplayStore::appendDiagnosticRedactionToken(const std::optional<std::string>& token,
                                                  std::vector<std::string>& tokens) {
    if (!token)
        return;
    auto trimmed = trimWhitespaceAndNewlines(*token);
    if (!trimmed.empty())
        tokens.push_back(std::move(trimmed));
}

void DisplayStore::appendDiagnosticRedactionTokens(const DisplayColorProfile& profile,
                                                   std::vector<std::string>& tokens) {
    appendDiagnosticRedactionToken(profile.id, tokens);
    appendDiagnosticRedactionToken(profile.name, tokens);
    appendDiagnosticRedactionToken(profile.displayName(), tokens);
    if (trimWhitespaceAndNewlines(profile.name).empty())
        appendDiagnosticRedactionToken(profile.modeDescription, tokens);
    if (!profile.url)
        return;
    const auto& path = *profile.url;
    appendDiagnosticRedactionToken(fileURLString(path), tokens);
    appendDiagnosticRedactionToken(path.string(), tokens);
    appendDiagnosticRedactionToken(path.filename().string(), tokens);
    appendDiagnosticRedactionToken(path.stem().string(), tokens);
    appendDiagnosticRedactionToken(path.parent_path().string(), tokens);
}

}  // namespace quorvane
