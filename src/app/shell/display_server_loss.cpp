#include "app/shell/display_server_loss.hpp"

#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QThread>
#include <utility>

namespace quorvane {

DisplayServerLoss::DisplayServerLoss(End end)
    : QObject(QCoreApplication::instance()), end_(std::move(end)) {
    previous_ = qInstallMessageHandler(&DisplayServerLoss::handleMessage);
    // Qt's warning is a plain one; logging rules that turn such warnings
    // off would keep it, and with it this moment, from the handler.
    QLoggingCategory::defaultCategory()->setEnabled(QtWarningMsg, true);
}

DisplayServerLoss::~DisplayServerLoss() {
    qInstallMessageHandler(previous_);
}

bool DisplayServerLoss::qtConnectionBroken() {
    const auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    const auto* x11 =
        application ? application->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    return connection != nullptr && xcb_connection_has_error(connection) != 0;
}

void DisplayServerLoss::handleMessage(QtMsgType type, const QMessageLogContext& context,
                                      const QString& text) {
    auto* application = QCoreApplication::instance();
    auto* loss = application ? application->findChild<DisplayServerLoss*>(
                                   QString(), Qt::FindDirectChildrenOnly)
                             : nullptr;
    if (loss == nullptr)
        return;
    if (loss->previous_)
        loss->previous_(type, context, text);
    loss->endIfBroken();
}

void DisplayServerLoss::endIfBroken() {
    if (ending_ || QThread::currentThread() != thread() || !qtConnectionBroken())
        return;
    ending_ = true;
    end_();
}

}  // namespace quorvane
