#pragma once

#include <QString>

namespace reelhound {

// Writes one line to standard error in the usual "date time name[pid] message"
// form and the same message to syslog. The message is always data, never a
// format, and is folded to a single line first.
void writeSystemLogLine(const QString& message);

} // namespace reelhound
