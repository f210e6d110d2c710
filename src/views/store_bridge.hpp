#pragma once

#include <QObject>

#include "services/display_store/display_store.hpp"

namespace quorvane {

// The store's change notifications as one Qt signal. The store notifies after
// every change; the bridge emits storeChanged() once on the next turn of the
// event loop, however many changes came before it, so a burst of changes
// redraws the views once. Views call the store directly and re-read it on
// the signal. Lives on the store's (GUI) thread.
class StoreBridge : public QObject {
    Q_OBJECT

  public:
    explicit StoreBridge(DisplayStore& store, QObject* parent = nullptr);
    ~StoreBridge() override;

    DisplayStore& store() const { return store_; }

  signals:
    void storeChanged();

  private:
    void scheduleChanged();

    DisplayStore& store_;
    DisplayStore::ObserverID observer_;
    bool pending_ = false;
};

}  // namespace quorvane
