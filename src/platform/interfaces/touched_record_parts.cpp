#include "platform/interfaces/touched_record_parts.hpp"

namespace quorvane {

TouchedRecordParts TouchedRecordParts::all() {
    TouchedRecordParts parts;
    parts.all_ = true;
    return parts;
}

void TouchedRecordParts::touch(std::string_view field, std::string_view entry) {
    parts_.emplace(std::string(field), std::string(entry));
}

bool TouchedRecordParts::contains(std::string_view field, std::string_view entry) const {
    if (all_ || parts_.contains({std::string(field), std::string()}))
        return true;
    return !entry.empty() && parts_.contains({std::string(field), std::string(entry)});
}

void TouchedRecordParts::add(const TouchedRecordParts& other) {
    all_ = all_ || other.all_;
    parts_.insert(other.parts_.begin(), other.parts_.end());
}

}  // namespace quorvane
