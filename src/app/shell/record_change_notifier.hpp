#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <filesystem>
#include <memory>

#include "platform/linux/defaults_folder_watcher.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

// Tells the store when another process (the command line, a second
// application, a copy made by hand) writes one of its records, so the
// windows show the other process's values and the store's next save starts
// from them. The store's own saves are told too; it sees them as unchanged.
class RecordChangeNotifier : public QObject {
    Q_OBJECT

  public:
    // Creates the defaults folder when missing, so the first record another
    // process writes is seen as well.
    RecordChangeNotifier(const std::filesystem::path& defaultsFolder, DisplayStore& store,
                         QObject* parent = nullptr);
    ~RecordChangeNotifier() override;

  private:
    void takeChanges();

    DisplayStore& store_;
    std::map<std::string, DisplayStoreRecord> records_;
    std::unique_ptr<DefaultsFolderWatcher> watcher_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace quorvane
