#include "platform/SystemLog.h"

#include "core/Configuration.h"
#include "core/LogText.h"
#include "platform/Strings.h"

#include <QDateTime>
#include <cstdio>
#include <string>
#include <syslog.h>
#include <unistd.h>

namespace reelhound {

void writeSystemLogLine(const QString& message) {
    static const bool opened = [] {
        openlog(config::kApplicationName.data(), LOG_PID, LOG_USER);
        return true;
    }();
    (void)opened;

    const std::string text = singleLineLogText(toStd(message));
    const std::string stamp =
        toStd(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")));
    std::fprintf(stderr, "%s %s[%d] %s\n", stamp.c_str(), config::kApplicationName.data(),
                 static_cast<int>(getpid()), text.c_str());
    std::fflush(stderr);
    syslog(LOG_NOTICE, "%s", text.c_str());
}

} // namespace reelhound
