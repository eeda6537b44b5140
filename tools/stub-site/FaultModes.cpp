#include "stub-site/FaultModes.h"

namespace reelhound {
namespace {

// The numbers a "name-N" mode takes where not every one does.
bool takesNumber(FaultMode mode, qint64 number) {
    switch (mode) {
    case FaultMode::DroppedPercent:
        return number <= 100;
    case FaultMode::DropsEvery:
    case FaultMode::GivesUp:
        return number >= 1 && number <= 99;
    case FaultMode::Redirects:
    case FaultMode::Throttled:
    case FaultMode::ConnectionLimit:
    case FaultMode::ValidatorChanges:
        return number >= 1;
    case FaultMode::Expired:
        return number >= 400 && number <= 599;
    default:
        return true;
    }
}

} // namespace

FaultChoice faultModeOf(const QString& videoId) {
    const QString mode = videoId.section(u'&', 0, 0);
    for (const FaultModeEntry& entry : kFaultModes) {
        const QString identifier = QString::fromLatin1(entry.identifier);
        if (!identifier.endsWith(u"-N")) {
            if (mode == identifier)
                return {entry.mode};
            continue;
        }
        const QString prefix = identifier.chopped(1); // "name-"
        if (!mode.startsWith(prefix))
            continue;
        bool ok = false;
        const qint64 number = mode.mid(prefix.size()).toLongLong(&ok);
        if (ok && number >= 0 && takesNumber(entry.mode, number))
            return {entry.mode, number};
    }
    return {};
}

} // namespace reelhound
