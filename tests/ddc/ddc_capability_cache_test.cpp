#include "models/ddc/ddc_capability_cache.hpp"

#include <gtest/gtest.h>

#include "platform/simulated/in_memory_defaults_store.hpp"
#include "services/ddc/user_defaults_ddc_capability_cache_store.hpp"

namespace quorvane {
namespace {

using State = DDCCapabilityControlState;
using std::chrono::seconds;

const Date kFirst = Date(seconds(1'800'000'000));
const Date kSecond = kFirst + seconds(3600);
const Date kThird = kSecond + seconds(3600);

DisplaySnapshot desk() {
    DisplaySnapshot display;
    display.id = 7;
    display.name = "Desk 1";
    display.vendorNumber = 7;
    display.modelNumber = 9;
    display.bounds = {100, 0, 800, 600};
    return display;
}

DDCSnapshot probe(std::map<DDCVCPCode, std::uint16_t> answered,
                  std::vector<DDCVCPCode> failed = {}) {
    DDCSnapshot snapshot;
    snapshot.displayID = 7;
    snapshot.busCount = 1;
    for (auto [code, value] : answered)
        snapshot.values[code] = {code, value, 100};
    for (DDCVCPCode code : failed)
        snapshot.unsupported[code] = "응답 없음";
    return snapshot;
}

TEST(DDCCapabilityCacheKey, ConnectionFingerprint) {
    DisplaySnapshot display = desk();
    EXPECT_EQ(DDCCapabilityCacheKey::connectionFingerprintFor(display),
              "vendor-7|model-9|serial-0|external|serial-missing|name-Desk-1|bounds-800x600");
    display.bounds = {-40, 20, 800.5, 600.9};
    display.name = "Desk_27/4K";
    display.serialNumber = 12;
    display.isBuiltin = true;
    EXPECT_EQ(DDCCapabilityCacheKey::connectionFingerprintFor(display),
              "vendor-7|model-9|serial-12|builtin|reliable-serial|name-Desk-27-4K|bounds-800x600");
}

TEST(DDCCapabilityCache, MergeTracksSupportedUnstableAndUnsupportedControls) {
    DDCCapabilityCache cache;
    const DisplaySnapshot display = desk();
    const std::string identity = "vendor-7-model-9-serial-missing-name-Desk-1-external";

    auto first = cache.merge(probe({{DDCVCPCode::brightness, 40}, {DDCVCPCode::contrast, 50}},
                                   {DDCVCPCode::audioVolume}),
                             display, kFirst);
    EXPECT_EQ(first.controls.size(), 3u);
    EXPECT_EQ(first.controls.at("16"),
              (DDCCapabilityControlRecord{0x10, State::supported, 40, 100, std::nullopt, kFirst,
                                          std::nullopt}));
    EXPECT_EQ(first.controls.at("98"),
              (DDCCapabilityControlRecord{0x62, State::unsupported, std::nullopt, std::nullopt,
                                          "응답 없음", std::nullopt, kFirst}));
    EXPECT_EQ(cache.entriesByDisplayIdentity.at(identity), first);

    auto second =
        cache.merge(probe({}, {DDCVCPCode::brightness, DDCVCPCode::audioVolume}), display, kSecond);
    EXPECT_EQ(second.controls.at("16"), (DDCCapabilityControlRecord{0x10, State::unstable, 40, 100,
                                                                    "응답 없음", kFirst, kSecond}));
    EXPECT_EQ(second.controls.at("98").state, State::unsupported);
    EXPECT_EQ(second.controls.at("18"), first.controls.at("18"));  // not mentioned: kept

    auto third = cache.merge(probe({{DDCVCPCode::brightness, 45}}, {DDCVCPCode::brightness}),
                             display, kThird);
    EXPECT_EQ(third.controls.at("16"), (DDCCapabilityControlRecord{0x10, State::supported, 45, 100,
                                                                   std::nullopt, kThird, kSecond}));

    cache.merge(probe({}, {DDCVCPCode::brightness}), display, kThird);
    auto fifth = cache.merge(probe({}, {DDCVCPCode::brightness}), display, kThird);
    EXPECT_EQ(fifth.controls.at("16").state, State::unstable);  // never falls to unsupported
}

TEST(DDCCapabilityCache, SilentProbeReplacesTheEntrysFactsButKeepsItsRecords) {
    DDCCapabilityCache cache;
    DisplaySnapshot display = desk();
    const auto before = cache.merge(probe({{DDCVCPCode::contrast, 5}}), display, kFirst);
    cache.entriesByDisplayIdentity["other"] = before;
    cache.entriesByDisplayIdentity
        .at(display.serialNumber == 0 ? before.key.displayIdentityRawValue : "")
        .controls["200"] = before.controls.at("18");

    display.bounds.width = 1024;
    DDCSnapshot silent;
    silent.busCount = 2;
    silent.lastError = "경로 없음";
    const auto after = cache.merge(silent, display, kSecond);
    EXPECT_EQ(after.busCount, 2u);
    EXPECT_EQ(after.displayFailureReason, "경로 없음");
    EXPECT_EQ(after.lastCheckedAt, kSecond);
    EXPECT_NE(after.key.connectionFingerprint, before.key.connectionFingerprint);
    EXPECT_EQ(after.controls, before.controls);  // the unknown "200" record is dropped
    EXPECT_EQ(cache.entriesByDisplayIdentity.at("other"), before);
}

DDCCapabilityControlRecord record(std::uint8_t code, State state) {
    DDCCapabilityControlRecord made;
    made.codeRawValue = code;
    made.state = state;
    return made;
}

TEST(DDCCapabilityEntry, SupportedSummary) {
    DDCCapabilityEntry entry;
    entry.controls["96"] = record(0x60, State::supported);
    entry.controls["16"] = record(0x10, State::supported);
    entry.controls["22"] = record(0x16, State::supported);
    entry.controls["18"] = record(0x12, State::unstable);
    EXPECT_EQ(entry.supportedSummary(), "모니터 밝기, 모니터 자체 RGB · 빨강, 입력 소스");

    DDCCapabilityEntry strange;
    strange.controls["20"] = record(0x14, State::supported);
    EXPECT_EQ(strange.supportedSummary(), "응답한 모니터 설정 항목 없음");
    strange.displayFailureReason = "실패";
    EXPECT_EQ(strange.supportedSummary(), "실패");
}

class CapabilityStoreTest : public ::testing::Test {
  protected:
    std::shared_ptr<InMemoryDefaultsStore> defaults = std::make_shared<InMemoryDefaultsStore>();
    UserDefaultsDDCCapabilityCacheStore store{defaults};
    const std::string key = "org.quorvane.Quorvane.ddc-capabilities.v1";
};

TEST_F(CapabilityStoreTest, SavedCacheRoundTripsWithSortedKeysAndWholeSeconds) {
    EXPECT_EQ(store.loadResult(),
              (DDCCapabilityCacheLoadResult{DDCCapabilityCache::empty(), false, std::nullopt}));
    DDCCapabilityCache cache;
    cache.merge(probe({{DDCVCPCode::brightness, 40}}, {DDCVCPCode::inputSource}), desk(),
                kFirst + std::chrono::milliseconds(750));
    store.save(cache);
    const std::string stored = defaults->contents().at(key);
    EXPECT_LT(stored.find("\"entriesByDisplayIdentity\""), stored.find("\"schemaVersion\""));
    EXPECT_NE(stored.find("\"lastCheckedAt\":\"2027-01-15T08:00:00Z\""), std::string::npos);
    EXPECT_EQ(stored.find("currentValue\":null"), std::string::npos);

    const auto loaded = store.loadResult();
    EXPECT_FALSE(loaded.recoveredFromCorruption);
    auto expected = cache;
    for (auto& [identity, entry] : expected.entriesByDisplayIdentity) {
        entry.lastCheckedAt = kFirst;
        entry.controls.at("16").lastSucceededAt = kFirst;
        entry.controls.at("96").lastFailedAt = kFirst;
    }
    EXPECT_EQ(loaded.cache, expected);
}

TEST_F(CapabilityStoreTest, UnreadableOrForeignRecordsStartAfreshAndStayUntilTheNextSave) {
    for (const std::string blob :
         {R"({"schemaVersion":1})", "not json", R"([1])",
          R"({"schemaVersion":1,"entriesByDisplayIdentity":{"a":{"key":1}}})"}) {
        defaults->setData(key, blob);
        const auto loaded = store.loadResult();
        EXPECT_EQ(loaded, (DDCCapabilityCacheLoadResult{
                              DDCCapabilityCache::empty(), true,
                              "저장된 모니터 기능 확인 정보를 읽지 못해 새로 시작합니다."}))
            << blob;
    }
    defaults->setData(key, R"({"schemaVersion":2,"entriesByDisplayIdentity":{}})");
    EXPECT_EQ(store.loadResult().message, "저장된 모니터 기능 확인 정보를 새로 시작합니다.");
    EXPECT_EQ(defaults->contents().at(key), R"({"schemaVersion":2,"entriesByDisplayIdentity":{}})");
    store.save(DDCCapabilityCache::empty());
    EXPECT_EQ(defaults->contents().at(key), R"({"entriesByDisplayIdentity":{},"schemaVersion":1})");
}

TEST_F(CapabilityStoreTest, FailedSaveIsSilentAndKeepsTheOldRecord) {
    store.save(DDCCapabilityCache::empty());
    defaults->setFailsWrites(true);
    DDCCapabilityCache cache;
    cache.merge(probe({{DDCVCPCode::brightness, 1}}), desk(), kFirst);
    store.save(cache);
    EXPECT_EQ(store.loadResult().cache, DDCCapabilityCache::empty());
}

}  // namespace
}  // namespace quorvane
