#include <QApplication>
#include <QMetaObject>
#include <cstdio>
#include <cstdlib>

#include "app/composition/x_server_reachability.hpp"
#include "app/shell/quit_signals.hpp"
#include "app/shell/quorvane_application.hpp"
#include "platform/linux/icc_profile_library.hpp"
#include "services/persistence/defaults_store.hpp"

int main(int argc, char** argv) {
    quorvane::blockQuitSignals();
    // Without an X server Qt would abort with its own plugin diagnostics;
    // say plainly what is missing instead.
    if (!quorvane::xServerReachable()) {
        std::fputs(quorvane::noXServerMessage(std::getenv("DISPLAY")).c_str(), stderr);
        return 1;
    }
    // The X server is the one the store talks to; Qt must use it too.
    qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setDesktopFileName(QStringLiteral("quorvane"));
    QApplication::setQuitOnLastWindowClosed(false);

    quorvane::QuorvaneApplication shell({{},
                                         quorvane::FileDefaultsStore::standardLocation(),
                                         quorvane::IccProfileLibrary::standardDirectories()});
    quorvane::QuitSignals quitSignals;
    QObject::connect(&quitSignals, &quorvane::QuitSignals::quitRequested, &shell,
                     [&shell](int) { shell.quit(); });

    shell.start();
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument.startsWith(QStringLiteral("quorvane:"), Qt::CaseInsensitive))
            QMetaObject::invokeMethod(
                &shell, [&shell, argument] { shell.handleURL(argument); }, Qt::QueuedConnection);
    }
    const int status = QApplication::exec();
    shell.shutDown();
    return status;
}
