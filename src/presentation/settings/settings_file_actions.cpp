#include "presentation/settings/settings_file_actions.hpp"

#include <exception>

#include "models/settings/quorvane_settings_document_error.hpp"
#include "services/display_store/display_store.hpp"
#include "services/persistence/atomic_file_writer.hpp"
#include "services/persistence/quorvane_file_write_error.hpp"
#include "services/persistence/quorvane_settings_file_read_error.hpp"

namespace quorvane {

void exportSettings(DisplayStore& store, const std::optional<std::filesystem::path>& destination,
                    Date now) {
    if (!destination)
        return;
    try {
        const auto document =
            QuorvaneSettingsDocumentCoder::exportDocument(store.preferences(), now);
        writeFileAtomically(*destination, store.settingsDocumentCoder().encode(document));
    } catch (const QuorvaneFileWriteError& error) {
        store.setStatusMessage(error.description());
        return;
    } catch (const QuorvaneSettingsDocumentEncodingError& error) {
        store.setStatusMessage(error.description());
        return;
    }
    store.setStatusMessage("설정 내보내기 완료");
}

void importSettings(DisplayStore& store, SettingsWindowState& state,
                    const std::optional<std::filesystem::path>& source, Duration readTimeLimit) {
    if (!source)
        return;
    QuorvanePreferences preferences;
    try {
        const std::string data = QuorvaneSettingsFileLoader::loadData(*source, readTimeLimit);
        preferences = store.settingsDocumentCoder().decode(data);
    } catch (const QuorvaneSettingsDocumentError& error) {
        store.setStatusMessage(error.description());
        return;
    } catch (const QuorvaneSettingsFileReadError& error) {
        store.setStatusMessage(error.description());
        return;
    }
    state.settingsImportDraft = QuorvaneSettingsImportDraft::of(std::move(preferences));
    store.setStatusMessage("설정 파일을 확인했습니다 — 적용 전 미리보기를 확인하세요");
}

}  // namespace quorvane
