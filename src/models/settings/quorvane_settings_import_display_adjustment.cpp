#include "models/settings/quorvane_settings_import_display_adjustment.hpp"

#include <algorithm>
#include <vector>

#include "models/coding/grapheme_clusters.hpp"

namespace quorvane {

namespace {

std::vector<std::string_view> nonEmptyPieces(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        if (end > start)
            pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

// The piece after the first piece equal to `word`, if any.
std::optional<std::string_view> pieceAfter(const std::vector<std::string_view>& pieces,
                                           std::string_view word) {
    const auto found = std::find(pieces.begin(), pieces.end(), word);
    if (found == pieces.end() || std::next(found) == pieces.end())
        return std::nullopt;
    return *std::next(found);
}

}  // namespace

std::string QuorvaneSettingsImportDisplayAdjustment::displayLabel(std::string_view rawValue) {
    const auto pieces = nonEmptyPieces(rawValue, '-');
    const auto model = pieceAfter(pieces, "model");
    const auto vendor = pieceAfter(pieces, "vendor");
    if (model && vendor) {
        return "저장된 디스플레이 " + std::string(*vendor) + "/" + std::string(*model);
    }
    if (graphemeCount(rawValue) < 37)
        return std::string(rawValue);
    return graphemePrefix(rawValue, 33) + "…";
}

}  // namespace quorvane
