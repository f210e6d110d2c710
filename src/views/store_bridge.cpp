#include "views/store_bridge.hpp"

#include <QMetaObject>

namespace quorvane {

StoreBridge::StoreBridge(DisplayStore& store, QObject* parent) : QObject(parent), store_(store) {
    observer_ = store_.addChangeObserver([this] { scheduleChanged(); });
}

StoreBridge::~StoreBridge() {
    store_.removeChangeObserver(observer_);
}

void StoreBridge::scheduleChanged() {
    if (pending_)
        return;
    pending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            pending_ = false;
            emit storeChanged();
        },
        Qt::QueuedConnection);
}

}  // namespace quorvane
