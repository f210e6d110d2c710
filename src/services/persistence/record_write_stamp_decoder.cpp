#include "services/persistence/record_write_stamp_decoder.hpp"

namespace quorvane {

std::optional<RecordWriteStamp> RecordWriteStampDecoder::decode(std::string_view line) const {
    {
        std::lock_guard guard(mutex_);
        if (const auto kept = decoded_.find(line); kept != decoded_.end())
            return kept->second;
    }
    auto stamp = RecordWriteStamp::decode(line);
    std::lock_guard guard(mutex_);
    if (decoded_.size() >= kRememberedLines)
        decoded_.clear();
    decoded_.try_emplace(std::string(line), stamp);
    return stamp;
}

}  // namespace quorvane
