#include "app/shell/record_change_notifier.hpp"

#include "app/composition/linux_display_store_factory.hpp"
#include "services/persistence/defaults_store.hpp"

namespace quorvane {

RecordChangeNotifier::RecordChangeNotifier(const std::filesystem::path& defaultsFolder,
                                           DisplayStore& store, QObject* parent)
    : QObject(parent), store_(store), records_(LinuxDisplayStoreFactory::recordFileNames()) {
    if (defaultsFolder.empty() || FileDefaultsStore(defaultsFolder).ensureFolder())
        return;
    std::set<std::string> fileNames;
    for (const auto& [fileName, record] : records_)
        fileNames.insert(fileName);
    watcher_ = std::make_unique<DefaultsFolderWatcher>(defaultsFolder, std::move(fileNames));
    if (!watcher_->watching())
        return;
    notifier_ = std::make_unique<QSocketNotifier>(watcher_->descriptor(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { takeChanges(); });
}

RecordChangeNotifier::~RecordChangeNotifier() {
    notifier_.reset();
}

void RecordChangeNotifier::takeChanges() {
    std::set<DisplayStoreRecord> changed;
    for (const auto& fileName : watcher_->takeChangedFiles())
        changed.insert(records_.at(fileName));
    if (!changed.empty())
        store_.reloadRecordsChangedOnDisk(changed);
}

}  // namespace quorvane
