#include "models/coding/grapheme_clusters.hpp"

#include <utf8proc.h>

namespace quorvane {

namespace {

// Byte length of each cluster in turn; calls `visit(clusterEnd)` for every
// cluster until it returns false.
template <class Visit>
void forEachCluster(std::string_view text, Visit visit) {
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    const auto size = static_cast<utf8proc_ssize_t>(text.size());
    utf8proc_ssize_t offset = 0;
    utf8proc_int32_t previous = -1;
    utf8proc_int32_t state = 0;
    while (offset < size) {
        utf8proc_int32_t scalar = 0;
        utf8proc_ssize_t length = utf8proc_iterate(bytes + offset, size - offset, &scalar);
        if (length <= 0) {  // a bad byte stands alone
            length = 1;
            scalar = -1;
        }
        const bool startsCluster = previous < 0 || scalar < 0 ||
                                   utf8proc_grapheme_break_stateful(previous, scalar, &state);
        if (startsCluster && offset > 0 && !visit(static_cast<std::size_t>(offset)))
            return;
        if (scalar < 0)
            state = 0;
        previous = scalar;
        offset += length;
    }
    if (offset > 0)
        visit(static_cast<std::size_t>(offset));
}

}  // namespace

std::size_t graphemeCount(std::string_view text) {
    std::size_t count = 0;
    forEachCluster(text, [&](std::size_t) {
        ++count;
        return true;
    });
    return count;
}

std::string graphemePrefix(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    std::size_t taken = 0;
    if (count == 0)
        return {};
    forEachCluster(text, [&](std::size_t clusterEnd) {
        end = clusterEnd;
        return ++taken < count;
    });
    return std::string(text.substr(0, end));
}

}  // namespace quorvane
