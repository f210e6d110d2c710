#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <memory>
#include <set>

#include "platform/linux/defaults_folder_watcher.hpp"
#include "services/display_store/display_store.hpp"
#include "services/persistence/rights/folder_rights_cache.hpp"

namespace quorvane {

// Tells the store when another process (the command line, a second
// application, an editor, a backup put back) writes or removes one of its
// records, so the windows and the screens show the other process's values
// and the store's next save starts from them. The store's own saves are
// told too; it sees them as unchanged. A write that changed only a record's
// stamp (a request for the values it holds already) is told as a write of
// the record: the store's held changes must weigh the request.
//
// A removal is told a moment later: an editor that moves the record away
// and writes a new one is then told only as the write, never as a reset
// in between. A record still missing then (deleted by hand, or the whole
// folder) is the store's reset.
class RecordChangeNotifier : public QObject {
    Q_OBJECT

  public:
    static constexpr std::chrono::milliseconds kRemovalSettleTime{250};

    // Creates the defaults folder when missing, so the first record another
    // process writes is seen as well.
    RecordChangeNotifier(const std::filesystem::path& defaultsFolder, DisplayStore& store,
                         QObject* parent = nullptr);
    ~RecordChangeNotifier() override;

  private:
    void takeChanges();

    DisplayStore& store_;
    // Each record by its file's name, and by its write stamp's name.
    // The watch follows the folder with its owner's rights, as the saves do.
    std::filesystem::path folder_;
    FolderRightsCache folderRights_;
    std::map<std::string, DisplayStoreRecord> records_;
    std::map<std::string, DisplayStoreRecord> stamps_;
    std::unique_ptr<DefaultsFolderWatcher> watcher_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::set<DisplayStoreRecord> removed_;
    QTimer removalSettled_;
};

}  // namespace quorvane
