#include "app/shell/record_change_notifier.hpp"

#include <utility>

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
    removalSettled_.setSingleShot(true);
    removalSettled_.setInterval(kRemovalSettleTime);
    connect(&removalSettled_, &QTimer::timeout, this,
            [this] { store_.reloadRecordsChangedOnDisk(std::exchange(removed_, {})); });
}

RecordChangeNotifier::~RecordChangeNotifier() {
    notifier_.reset();
}

void RecordChangeNotifier::takeChanges() {
    const auto changes = watcher_->takeChanges();
    std::set<DisplayStoreRecord> written;
    for (const auto& fileName : changes.written) {
        written.insert(records_.at(fileName));
        removed_.erase(records_.at(fileName));
    }
    for (const auto& fileName : changes.removed)
        removed_.insert(records_.at(fileName));
    if (!written.empty())
        store_.reloadRecordsChangedOnDisk(written);
    if (!changes.removed.empty())
        removalSettled_.start();
}

}  // namespace quorvane
