#include "models/settings/quorvane_settings_document_error.hpp"

#include <utility>

#include "models/coding/byte_count_format.hpp"
#include "models/coding/number_format.hpp"

namespace quorvane {

namespace {

std::string describe(QuorvaneSettingsDocumentError::Kind kind, const std::string& appName,
                     std::int64_t number) {
    using Kind = QuorvaneSettingsDocumentError::Kind;
    switch (kind) {
        case Kind::unsupportedAppName:
            return "Quorvane 설정 파일이 아닙니다: " + appName;
        case Kind::unsupportedDocumentVersion:
            return "지원하지 않는 설정 파일 버전입니다: " + formatDecimal(number);
        case Kind::fileTooLarge:
            return "설정 파일이 너무 큽니다. 최대 " + formatFileByteCount(number) +
                   " 이하의 Quorvane 설정 파일만 가져올 수 있습니다.";
        case Kind::invalidData:
            return "설정 파일을 읽을 수 없습니다.";
    }
    return {};
}

}  // namespace

QuorvaneSettingsDocumentError::QuorvaneSettingsDocumentError(Kind kind, std::string appName,
                                                             std::int64_t number)
    : kind_(kind),
      appName_(std::move(appName)),
      number_(number),
      description_(describe(kind_, appName_, number_)) {}

QuorvaneSettingsDocumentError QuorvaneSettingsDocumentError::unsupportedAppName(
    std::string appName) {
    return {Kind::unsupportedAppName, std::move(appName), 0};
}

QuorvaneSettingsDocumentError QuorvaneSettingsDocumentError::unsupportedDocumentVersion(
    std::int64_t version) {
    return {Kind::unsupportedDocumentVersion, {}, version};
}

QuorvaneSettingsDocumentError QuorvaneSettingsDocumentError::fileTooLarge(
    std::int64_t maximumBytes) {
    return {Kind::fileTooLarge, {}, maximumBytes};
}

QuorvaneSettingsDocumentError QuorvaneSettingsDocumentError::invalidData() {
    return {Kind::invalidData, {}, 0};
}

}  // namespace quorvane
