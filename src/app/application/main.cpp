#include <unistd.h>
#include <QApplication>
#include <QMetaObject>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/composition/session_bus_address.hpp"
#include "app/composition/x_server_reachability.hpp"
#include "app/shell/application_setup.hpp"
#include "app/shell/display_server_loss.hpp"
#include "app/shell/quit_signals.hpp"
#include "app/shell/quit_watchdog.hpp"
#include "app/shell/quorvane_application.hpp"
#include "app/shell/single_instance.hpp"
#include "cli/cli_text.hpp"
#include "platform/linux/icc_profile_library.hpp"
#include "services/automation/quorvane_automation_url_outcome.hpp"
#include "services/persistence/defaults_store.hpp"
#include "views/access/application_accessible.hpp"

namespace {

// Automation URLs among the arguments; anything else the desktop passes is
// ignored.
std::vector<QString> automationURLs(int argc, char** argv) {
    std::vector<QString> urls;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument.startsWith(QStringLiteral("quorvane:"), Qt::CaseInsensitive))
            urls.push_back(argument);
    }
    return urls;
}

// Why a URL was not carried out, on standard error: the running
// application's own words, with anything that would act on a terminal (the
// text may quote the URL) written as a visible escape.
void tellRefusal(const std::string& refusal) {
    const auto line = "quorvane: " + quorvane::visibleControlCharacters(refusal) + "\n";
    std::fputs(line.c_str(), stderr);
}

// A later launch hands its URLs (or the wish to see the main window) to the
// running instance and ends: with 0 when each was carried out (or ignored as
// a copy of one that was), else with kAutomationURLNotCarriedOutStatus after
// naming each refusal. Every URL is handed over, as the first launch would
// carry out every one.
int handOver(quorvane::SingleInstance& instance, const std::vector<QString>& urls) {
    using quorvane::InstanceMessage;
    std::vector<InstanceMessage> messages;
    for (const auto& url : urls) {
        auto text = url.toStdString();
        // Refused here, before any of the URLs is handed over, with the
        // reason; the running instance would only drop it unread.
        if (text.size() > quorvane::kInstanceURLCap) {
            std::fprintf(stderr,
                         "quorvane: 이 URL은 %zu바이트입니다. 실행 중인 Quorvane은 %zu바이트 "
                         "이하의 URL만 받습니다\n",
                         text.size(), quorvane::kInstanceURLCap);
            return 1;
        }
        messages.push_back({InstanceMessage::Kind::openURL, std::move(text)});
    }
    if (messages.empty())
        messages.push_back({InstanceMessage::Kind::showMainWindow, {}});
    int status = 0;
    for (const auto& message : messages) {
        const auto delivery = instance.send(message);
        const auto* answer = std::get_if<quorvane::InstanceAnswer>(&delivery);
        if (!answer) {
            const auto line =
                quorvane::noAnswerLine(std::get<quorvane::SingleInstance::NoAnswer>(delivery));
            std::fputs(line.c_str(), stderr);
            return 1;
        }
        if (answer->refusal) {
            tellRefusal(*answer->refusal);
            status = quorvane::kAutomationURLNotCarriedOutStatus;
        }
    }
    return status;
}

// Lets the watchdog ask the store, while it lives, whether it holds changes
// not saved yet.
class UnsavedChangesAsked {
  public:
    UnsavedChangesAsked(quorvane::QuitWatchdog& watchdog, quorvane::QuorvaneApplication& shell)
        : watchdog_(watchdog) {
        watchdog_.askForUnsavedChanges([&shell] { return shell.holdsUnsavedChanges(); });
    }
    ~UnsavedChangesAsked() { watchdog_.askForUnsavedChanges({}); }
    UnsavedChangesAsked(const UnsavedChangesAsked&) = delete;
    UnsavedChangesAsked& operator=(const UnsavedChangesAsked&) = delete;

  private:
    quorvane::QuitWatchdog& watchdog_;
};

}  // namespace

int main(int argc, char** argv) {
    // First, before any thread starts: every thread inherits the mask that
    // leaves the quit signals to the watchdog's.
    quorvane::QuitSignalIntake quitSignals;
    // A write to a peer that is gone (the X server ending at logout while
    // the hot keys are released, a later launch that hung up) must fail
    // with EPIPE where it is made, not end the process by SIGPIPE before it
    // can say why, write what it holds and remove its instance socket.
    std::signal(SIGPIPE, SIG_IGN);
    // Set while no other thread reads the environment.
    if (const auto address = quorvane::SessionBusAddress::toSetForThisProcess())
        ::setenv("DBUS_SESSION_BUS_ADDRESS", address->c_str(), 1);
    const char* display = std::getenv("DISPLAY");
    // From the start to the last destructor of main(): a main thread stuck
    // anywhere (a file list reading a file that blocks for good) must not
    // keep the outputs' correction, nor the program, past a quit signal.
    quorvane::QuitWatchdog watchdog({quitSignals.pending(), [&quitSignals] { quitSignals.take(); }},
                                    quorvane::quitWatchdogServer(display ? display : ""),
                                    [](const quorvane::QuitWatchdog::Ending& ending) {
                                        // Written at once, without the stream's lock the stuck
                                        // thread may hold.
                                        const auto line = quorvane::unansweredQuitLine(ending);
                                        [[maybe_unused]] const auto written =
                                            ::write(STDERR_FILENO, line.data(), line.size());
                                        std::_Exit(quorvane::QuitWatchdog::kUnansweredQuitStatus);
                                    });
    if (!watchdog.watching())
        quitSignals.giveUp();
    // Without an X server Qt would abort with its own plugin diagnostics;
    // say plainly what is missing instead.
    if (!quorvane::xServerReachable()) {
        std::fputs(quorvane::noXServerMessage(display).c_str(), stderr);
        return 1;
    }
    // The X server is the one the store talks to; Qt must use it too.
    qputenv("QT_QPA_PLATFORM", "xcb");

    // Before the application object: the windows screen readers reach.
    quorvane::installApplicationAccessible();
    QApplication application(argc, argv);
    // After it: how each widget reads, Qt's own dialog texts in Korean, the
    // names and the style, for the program's life.
    const quorvane::ApplicationSetup setup(application);

    const auto urls = automationURLs(argc, argv);
    std::unique_ptr<quorvane::SingleInstance> instance;
    if (auto path = quorvane::instanceSocketPath(std::getenv("XDG_RUNTIME_DIR"),
                                                 display ? display : "", ::getuid()))
        instance = std::make_unique<quorvane::SingleInstance>(*path);
    if (instance && instance->role() == quorvane::SingleInstance::Role::secondary) {
        // A launch that hands over changed no output: a quit signal ends it
        // at once, by the signal's own action.
        quitSignals.giveUp();
        return handOver(*instance, urls);
    }

    quorvane::QuorvaneApplication shell({{},
                                         quorvane::FileDefaultsStore::standardLocation(),
                                         quorvane::IccProfileLibrary::standardDirectories()});
    // Asked by the watchdog as it ends a stuck program; cleared before the
    // store goes, once its own end has told what it could not save.
    const UnsavedChangesAsked unsavedAsked(watchdog, shell);
    // Qt ends the process the moment it finds its X connection broken. The
    // program ends itself just before, in order: the store is closed (the
    // pending saves written, every worker thread stopped), later launches
    // find no instance, the user is told why. Nothing else may run then: the
    // windows and Qt's own state still point at the lost connection, and
    // tearing the libraries down under Qt's threads is what used to crash.
    quorvane::DisplayServerLoss displayServerLoss([&shell, &instance, &watchdog, display] {
        watchdog.askForUnsavedChanges({});
        shell.closeAfterDisplayServerLoss();
        instance.reset();
        std::fputs(quorvane::lostXServerMessage(display).c_str(), stderr);
        std::fflush(nullptr);
        std::_Exit(1);
    });
    quorvane::QuitSignals quitRequests(quitSignals.eventLoopEnd());
    QObject::connect(&quitRequests, &quorvane::QuitSignals::quitRequested, &shell,
                     [&shell, &watchdog](int) {
                         watchdog.answered();
                         shell.quit();
                     });
    if (instance && !instance->listen([&shell](const quorvane::InstanceMessage& message,
                                               quorvane::SingleInstance::Answer answer) {
            if (message.kind == quorvane::InstanceMessage::Kind::openURL) {
                shell.handleURL(QString::fromStdString(message.url), std::move(answer));
                return;
            }
            // Taken at once: the launch need not wait for the window to
            // be built.
            answer({});
            shell.showMainWindow();
        }))
        std::fputs(
            "quorvane: 나중에 실행한 Quorvane의 요청을 받을 수 없습니다. 실행할 때마다 "
            "따로 동작합니다\n",
            stderr);

    shell.start();
    // This launch goes on running the windows, so its status cannot tell
    // what became of its URLs; a refusal is named on standard error as a
    // later launch names it, and shown in the windows.
    for (const auto& url : urls)
        QMetaObject::invokeMethod(
            &shell,
            [&shell, url] {
                if (const auto refusal = shell.handleURL(url).refusal())
                    tellRefusal(*refusal);
            },
            Qt::QueuedConnection);
    // The bound for taking a quit counts from the event loop's start.
    QMetaObject::invokeMethod(
        &application, [&watchdog] { watchdog.listening(); }, Qt::QueuedConnection);
    const int status = QApplication::exec();
    // A change that could not be saved is lost: the run did not end well.
    if (shell.shutDown() && status == 0)
        return quorvane::QuorvaneApplication::kChangesLostStatus;
    return status;
}
