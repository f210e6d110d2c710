#pragma once

#include <QObject>
#include <QtGlobal>
#include <functional>

namespace quorvane {

// The moment the X server goes away, taken before Qt ends the process.
//
// Qt's xcb platform does not report a broken connection: it warns through
// Qt's message handler and calls exit(1) right after, from inside its event
// processing, while every other thread of the program still runs. That
// warning is the one place to act first, so this object puts a message
// handler in front of the one before it (which still gets every message):
// a message on the GUI thread while Qt's X connection is broken calls
// `end` once, which must end the process in order and not return.
//
// A child of the Qt application object (the handler finds it there); the
// handler before it is back in place once it is destroyed.
class DisplayServerLoss : public QObject {
    Q_OBJECT

  public:
    using End = std::function<void()>;

    // Needs the Qt application object.
    explicit DisplayServerLoss(End end);
    ~DisplayServerLoss() override;
    DisplayServerLoss(const DisplayServerLoss&) = delete;
    DisplayServerLoss& operator=(const DisplayServerLoss&) = delete;

    // Whether Qt's own connection to the X server is broken; false off the
    // xcb platform.
    static bool qtConnectionBroken();

  private:
    static void handleMessage(QtMsgType type, const QMessageLogContext& context,
                              const QString& text);
    void endIfBroken();

    End end_;
    QtMessageHandler previous_ = nullptr;
    bool ending_ = false;
};

}  // namespace quorvane
