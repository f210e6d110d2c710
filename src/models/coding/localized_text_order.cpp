#include "models/coding/localized_text_order.hpp"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/stringpiece.h>

#include <cstdlib>

#include "models/coding/unicode_text.hpp"

namespace quorvane {

struct LocalizedTextOrder::Collation {
    // None when ICU could not build one (no data): names are then compared
    // lower-cased, scalar by scalar.
    std::unique_ptr<icu::Collator> collator;
};

LocalizedTextOrder LocalizedTextOrder::forUserLocale() {
    return LocalizedTextOrder(
        collationLocaleName(std::getenv("LC_ALL"), std::getenv("LC_COLLATE"), std::getenv("LANG")));
}

LocalizedTextOrder::LocalizedTextOrder(std::string_view localeName)
    : collation_(std::make_unique<Collation>()) {
    const std::string name = collationLocaleName(std::string(localeName).c_str(), nullptr, nullptr);
    const icu::Locale locale = name.empty() ? icu::Locale::getRoot() : icu::Locale(name.c_str());
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(locale, status));
    if (U_FAILURE(status) || !collator)
        return;
    // Secondary: base letters and accents count, letter case does not.
    collator->setStrength(icu::Collator::SECONDARY);
    collation_->collator = std::move(collator);
}

LocalizedTextOrder::~LocalizedTextOrder() = default;
LocalizedTextOrder::LocalizedTextOrder(LocalizedTextOrder&&) noexcept = default;
LocalizedTextOrder& LocalizedTextOrder::operator=(LocalizedTextOrder&&) noexcept = default;

bool LocalizedTextOrder::before(std::string_view a, std::string_view b) const {
    if (const auto& collator = collation_->collator) {
        UErrorCode status = U_ZERO_ERROR;
        const auto result = collator->compareUTF8(
            icu::StringPiece(a.data(), static_cast<std::int32_t>(a.size())),
            icu::StringPiece(b.data(), static_cast<std::int32_t>(b.size())), status);
        if (U_SUCCESS(status))
            return result == UCOL_LESS;
    }
    return lowercased(a) < lowercased(b);
}

std::string collationLocaleName(const char* lcAll, const char* lcCollate, const char* lang) {
    const char* chosen = nullptr;
    for (const char* candidate : {lcAll, lcCollate, lang}) {
        if (candidate != nullptr && *candidate != '\0') {
            chosen = candidate;
            break;
        }
    }
    if (chosen == nullptr)
        return {};
    std::string name(chosen);
    // "language_TERRITORY.codeset@modifier": the codeset and the modifier
    // are no part of a collation's name.
    name = name.substr(0, name.find_first_of(".@"));
    if (name == "C" || name == "POSIX")
        return {};
    return name;
}

}  // namespace quorvane
