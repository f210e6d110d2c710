#include "services/persistence/record_write_stamp.hpp"

#include <algorithm>
#include <chrono>

#include "models/coding/json_coding.hpp"

namespace quorvane {

namespace {

std::int64_t nanosecondsOf(Date date) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(date.time_since_epoch()).count();
}

Date dateOf(std::int64_t nanoseconds) {
    return Date(std::chrono::duration_cast<Date::duration>(std::chrono::nanoseconds(nanoseconds)));
}

Json requestsJSON(const TouchedRecordParts& requested) {
    Json parts = Json::array();
    for (const auto& [field, entry] : requested.parts()) {
        parts.push_back({{"field", field},
                         {"entry", entry},
                         {"askedAt", nanosecondsOf(*requested.askedAt(field, entry))}});
    }
    Json result{{"parts", std::move(parts)}};
    if (const auto all = requested.allAskedAt())
        result["all"] = nanosecondsOf(*all);
    return result;
}

TouchedRecordParts requestsFrom(const Json& json) {
    TouchedRecordParts result;
    if (json.contains("all"))
        result = TouchedRecordParts::all(dateOf(json.at("all").get<std::int64_t>()));
    for (const auto& part : json.at("parts")) {
        result.touch(part.at("field").get<std::string>(), part.at("entry").get<std::string>(),
                     dateOf(part.at("askedAt").get<std::int64_t>()));
    }
    return result;
}

TouchedRecordParts requestsUpTo(const TouchedRecordParts& touched, Date now) {
    TouchedRecordParts result;
    if (const auto all = touched.allAskedAt())
        result = TouchedRecordParts::all(std::min(*all, now));
    for (const auto& [field, entry] : touched.parts())
        result.touch(field, entry, std::min(*touched.askedAt(field, entry), now));
    return result;
}

// `date` moved by `shift`, held at the ends of what a date can be (a stamp
// may hold any number).
Date shifted(Date date, Duration shift) {
    const auto by = std::chrono::duration_cast<Date::duration>(shift);
    if (by > Date::duration::zero() && date > Date::max() - by)
        return Date::max();
    if (by < Date::duration::zero() && date < Date::min() - by)
        return Date::min();
    return date + by;
}

TouchedRecordParts requestsShifted(const TouchedRecordParts& touched, Duration shift) {
    TouchedRecordParts result;
    if (const auto all = touched.allAskedAt())
        result = TouchedRecordParts::all(shifted(*all, shift));
    for (const auto& [field, entry] : touched.parts())
        result.touch(field, entry, shifted(*touched.askedAt(field, entry), shift));
    return result;
}

}  // namespace

RecordWriteStamp RecordWriteStamp::made(std::string writer, std::uint64_t sequence, Date now,
                                        const RecordFileIdentity& file, std::string_view bytes,
                                        const std::optional<RecordWriteStamp>& previous,
                                        const TouchedRecordParts& touched) {
    RecordWriteStamp stamp{std::move(writer),
                           sequence,
                           now,
                           file,
                           bytes.size(),
                           digestOf(bytes),
                           previous ? previous->requested : TouchedRecordParts(),
                           std::nullopt};
    stamp.requested.add(requestsUpTo(touched, now));
    return stamp;
}

RecordWriteStamp RecordWriteStamp::upTo(Date latest) const {
    auto stamp = *this;
    stamp.writtenAt = std::min(writtenAt, latest);
    stamp.requested = requestsUpTo(requested, latest);
    return stamp;
}

RecordWriteStamp RecordWriteStamp::onLineOf(const RequestClock& clock, Date changedEarliest,
                                            Date changedLatest) const {
    auto moved = *this;
    const auto shift = clock.shiftFrom(timeline);
    moved.writtenAt = shifted(writtenAt, shift);
    moved.requested = requestsShifted(requested, shift);
    moved.timeline = clock.timeline();
    if (clock.isThisBoot(timeline))
        return moved;
    auto latest = clock.fromWall(changedLatest);
    if (clock.isEarlierBoot(timeline, changedEarliest))
        latest = std::min(latest, clock.bootBegan() - std::chrono::nanoseconds(1));
    return moved.upTo(latest);
}

std::string RecordWriteStamp::writeID() const {
    return writer + ":" + std::to_string(sequence);
}

std::string RecordWriteStamp::unstampedWriteID(const RecordFileIdentity& file,
                                               const struct stat& info) {
    const auto known = [](const auto& value) {
        return value ? std::to_string(*value) : std::string("-");
    };
    const auto nanoseconds = [](const timespec& time) {
        return std::to_string(nanosecondsSinceEpoch(time));
    };
    // The change time as well: a copy keeps the modification time it was
    // given (cp -p), and where the file system has neither birth times nor
    // generations a restore may get the same inode number back, but nothing
    // can set a file's change time back to an earlier write's.
    return "file:" + std::to_string(file.device) + ":" + std::to_string(file.inode) + ":" +
           known(file.bornAt) + ":" + known(file.generation) + ":" + nanoseconds(info.st_mtim) +
           ":" + nanoseconds(info.st_ctim);
}

bool RecordWriteStamp::describes(const RecordFileIdentity& other, std::string_view bytes) const {
    return file.mayBe(other) && size == bytes.size() && digest == digestOf(bytes);
}

std::string RecordWriteStamp::encoded() const {
    Json json{{"writer", writer},
              {"sequence", sequence},
              {"writtenAt", nanosecondsOf(writtenAt)},
              {"device", file.device},
              {"inode", file.inode},
              {"size", size},
              {"digest", digest},
              {"requested", requestsJSON(requested)}};
    if (file.bornAt)
        json["born"] = *file.bornAt;
    if (file.generation)
        json["generation"] = *file.generation;
    if (pending)
        json["pending"] = true;
    if (timeline) {
        json["boot"] = timeline->bootID;
        json["bootOffset"] = timeline->offset.count();
        if (timeline->machineID)
            json["machine"] = *timeline->machineID;
    }
    return json.dump();
}

std::optional<RecordWriteStamp> RecordWriteStamp::decode(std::string_view bytes) {
    try {
        const auto json = Json::parse(bytes);
        RecordWriteStamp stamp;
        stamp.writer = json.at("writer").get<std::string>();
        stamp.sequence = json.at("sequence").get<std::uint64_t>();
        stamp.writtenAt = dateOf(json.at("writtenAt").get<std::int64_t>());
        stamp.file.device = json.at("device").get<std::uint64_t>();
        stamp.file.inode = json.at("inode").get<std::uint64_t>();
        if (json.contains("born"))
            stamp.file.bornAt = json.at("born").get<std::int64_t>();
        if (json.contains("generation"))
            stamp.file.generation = json.at("generation").get<std::uint32_t>();
        stamp.size = json.at("size").get<std::uint64_t>();
        stamp.digest = json.at("digest").get<std::uint64_t>();
        stamp.requested = requestsFrom(json.at("requested"));
        stamp.pending = json.value("pending", false);
        if (json.contains("boot")) {
            stamp.timeline =
                RequestTimeline{json.at("boot").get<std::string>(),
                                Duration(json.at("bootOffset").get<std::int64_t>()), std::nullopt};
            if (json.contains("machine"))
                stamp.timeline->machineID = json.at("machine").get<std::string>();
        }
        return stamp;
    } catch (const Json::exception&) {
        return std::nullopt;
    }
}

std::uint64_t RecordWriteStamp::digestOf(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::string RecordWriteStamp::fileNameFor(std::string_view recordFileName) {
    // Appended rather than added up: GCC 12 optimising `"." + std::string`
    // warns of an overlap that cannot happen.
    std::string name = ".";
    name.append(recordFileName);
    name.append(".written");
    return name;
}

}  // namespace quorvane
