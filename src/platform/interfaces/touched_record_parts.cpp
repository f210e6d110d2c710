#include "platform/interfaces/touched_record_parts.hpp"

#include <algorithm>

namespace quorvane {

namespace {

void keepLater(std::optional<Date>& kept, std::optional<Date> candidate) {
    if (candidate && (!kept || *candidate > *kept))
        kept = candidate;
}

}  // namespace

TouchedRecordParts TouchedRecordParts::all(Date askedAt) {
    TouchedRecordParts parts;
    parts.all_ = askedAt;
    return parts;
}

void TouchedRecordParts::touch(std::string_view field, std::string_view entry, Date askedAt) {
    auto [found, inserted] = parts_.try_emplace({std::string(field), std::string(entry)}, askedAt);
    if (!inserted)
        found->second = std::max(found->second, askedAt);
}

bool TouchedRecordParts::contains(std::string_view field, std::string_view entry) const {
    return askedAt(field, entry).has_value();
}

std::optional<Date> TouchedRecordParts::askedAt(std::string_view field,
                                                std::string_view entry) const {
    std::optional<Date> latest = all_;
    const auto timeOf = [&](std::string_view part) -> std::optional<Date> {
        const auto found = parts_.find({std::string(field), std::string(part)});
        if (found == parts_.end())
            return std::nullopt;
        return found->second;
    };
    keepLater(latest, timeOf({}));
    if (!entry.empty())
        keepLater(latest, timeOf(entry));
    return latest;
}

std::set<std::pair<std::string, std::string>> TouchedRecordParts::parts() const {
    std::set<std::pair<std::string, std::string>> result;
    for (const auto& [part, askedAt] : parts_)
        result.insert(part);
    return result;
}

void TouchedRecordParts::add(const TouchedRecordParts& other) {
    keepLater(all_, other.all_);
    for (const auto& [part, askedAt] : other.parts_)
        touch(part.first, part.second, askedAt);
}

}  // namespace quorvane
