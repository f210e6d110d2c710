#include "app/shell/record_change_notifier.hpp"

#include <utility>

#include "app/composition/linux_display_store_factory.hpp"
#include "services/persistence/defaults_store.hpp"
#include "services/persistence/record_write_stamp.hpp"
#include "services/persistence/rights/folder_owner_rights.hpp"

namespace quorvane {

RecordChangeNotifier::RecordChangeNotifier(const std::filesystem::path& defaultsFolder,
                                           DisplayStore& store, QObject* parent)
    : QObject(parent),
      store_(store),
      folder_(defaultsFolder),
      folderRights_(defaultsFolder),
      records_(LinuxDisplayStoreFactory::recordFileNames()) {
    if (defaultsFolder.empty() || FileDefaultsStore(defaultsFolder).ensureFolder())
        return;
    std::set<std::string> fileNames;
    for (const auto& [fileName, record] : records_) {
        fileNames.insert(fileName);
        // A request that left a record's bytes as they were is written to
        // its stamp alone.
        const auto stampName = RecordWriteStamp::fileNameFor(fileName);
        stamps_.emplace(stampName, record);
        fileNames.insert(stampName);
    }
    {
        const FolderOwnerRights rights(folderRights_.current());
        watcher_ = std::make_unique<DefaultsFolderWatcher>(defaultsFolder, std::move(fileNames));
    }
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
    // A folder made again is watched anew from here.
    const auto changes = [this] {
        const FolderOwnerRights rights(folderRights_.current());
        return watcher_->takeChanges();
    }();
    std::set<DisplayStoreRecord> written;
    for (const auto& fileName : changes.written) {
        const auto stamp = stamps_.find(fileName);
        const auto record = stamp != stamps_.end() ? stamp->second : records_.at(fileName);
        written.insert(record);
        removed_.erase(record);
    }
    // A stamp gone says nothing of its record, which is told by itself.
    bool recordRemoved = false;
    for (const auto& fileName : changes.removed) {
        if (const auto record = records_.find(fileName); record != records_.end()) {
            removed_.insert(record->second);
            recordRemoved = true;
        }
    }
    if (!written.empty())
        store_.reloadRecordsChangedOnDisk(written);
    if (recordRemoved)
        removalSettled_.start();
}

}  // namespace quorvane
