#include "platform/QuitOnSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace reelhound {
namespace {

// Written by the handler, read by the event loop: the only safe way from a
// signal handler into Qt.
int signalSockets[2] = {-1, -1};
bool signalReceived = false;

extern "C" void noteTerminationSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

void quitOnTerminationSignals(std::function<void()> beforeQuit) {
    auto* application = QCoreApplication::instance();
    if (application == nullptr || signalSockets[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSockets) != 0)
        return;

    auto* notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, application);
    QObject::connect(notifier, &QSocketNotifier::activated, application,
                     [beforeQuit = std::move(beforeQuit)] {
        char bytes[16];
        while (::read(signalSockets[1], bytes, sizeof bytes) > 0) {
        }
        signalReceived = true;
        if (beforeQuit)
            beforeQuit();
        QCoreApplication::quit();
    });

    struct sigaction action = {};
    action.sa_handler = noteTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

bool terminationSignalReceived() {
    return signalReceived;
}

} // namespace reelhound
