#include "services/ddc/user_defaults_ddc_capability_cache_store.hpp"

#include <exception>

namespace quorvane {

std::string UserDefaultsDDCCapabilityCacheStore::standardStorageKey() {
    return std::string(kDefaultsDomain) + ".ddc-capabilities.v1";
}

UserDefaultsDDCCapabilityCacheStore::UserDefaultsDDCCapabilityCacheStore(
    std::shared_ptr<DefaultsStoring> defaults, std::string storageKey)
    : defaults_(std::move(defaults)), storageKey_(std::move(storageKey)) {}

std::optional<std::string> UserDefaultsDDCCapabilityCacheStore::encode(
    const DDCCapabilityCache& cache) {
    try {
        return dumpJson(cache.toJson<Json>());  // std::map-backed: sorted keys
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<DDCCapabilityCache> UserDefaultsDDCCapabilityCacheStore::decode(
    std::string_view bytes) {
    try {
        return decodeValue<DDCCapabilityCache>(parseJson(bytes));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

DDCCapabilityCacheLoadResult UserDefaultsDDCCapabilityCacheStore::loadResult() const {
    const std::optional<std::string> data = defaults_->dataForKey(storageKey_);
    if (!data)
        return {DDCCapabilityCache::empty(), false, std::nullopt};
    const std::optional<DDCCapabilityCache> cache = decode(*data);
    if (!cache) {
        return {DDCCapabilityCache::empty(), true,
                "저장된 모니터 기능 확인 정보를 읽지 못해 새로 시작합니다."};
    }
    if (cache->schemaVersion != DDCCapabilityCache::kSchemaVersion) {
        return {DDCCapabilityCache::empty(), true,
                "저장된 모니터 기능 확인 정보를 새로 시작합니다."};
    }
    return {*cache, false, std::nullopt};
}

void UserDefaultsDDCCapabilityCacheStore::save(const DDCCapabilityCache& cache) {
    const std::optional<std::string> data = encode(cache);
    if (!data)
        return;
    defaults_->setData(storageKey_, *data);
}

}  // namespace quorvane
