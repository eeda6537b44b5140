#include "support/RunProgram.h"

#include <QProcess>

namespace reelhound::testing {

ProgramResult runProgram(const QString& program, const QStringList& arguments,
                         int timeoutMilliseconds) {
    QProcess process;
    process.start(program, arguments);
    process.closeWriteChannel();
    ProgramResult result;
    if (process.waitForFinished(timeoutMilliseconds) &&
        process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    result.standardOutput = process.readAllStandardOutput();
    return result;
}

} // namespace reelhound::testing
