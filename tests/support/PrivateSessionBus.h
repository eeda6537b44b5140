#pragma once

#include "support/EventLoop.h"

#include <QProcess>
#include <QString>

namespace reelhound::testing {

// A session bus of the test's own, so nothing reaches a real desktop.
class PrivateSessionBus {
public:
    ~PrivateSessionBus() {
        daemon_.kill();
        daemon_.waitForFinished();
    }

    // False when dbus-daemon is not installed or does not say where it listens.
    bool start() {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {"--session", "--nofork", "--nopidfile", "--print-address=1"});
        if (!daemon_.waitForStarted(10000) ||
            !runEventLoopUntil([&] { return daemon_.canReadLine(); }, 10000))
            return false;
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        return true;
    }

    const QString& address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

} // namespace reelhound::testing
