#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <utility>

namespace reelhound::testing {

inline const QString kDriver = QStringLiteral(REELHOUND_RELIABILITY_DRIVER);
inline const QString kScriptedConverter = QStringLiteral(REELHOUND_SCRIPTED_CONVERTER);

// What reelhound_reliability_driver printed: "key: value" lines.
struct DriverOutput {
    int exitCode = -1; // -1 when it crashed, was killed or timed out
    QList<std::pair<QString, QString>> lines;
    QByteArray raw;

    QStringList values(const QString& key) const {
        QStringList found;
        for (const auto& [name, value] : lines)
            if (name == key)
                found << value;
        return found;
    }
    QString value(const QString& key) const {
        const QStringList found = values(key);
        return found.isEmpty() ? QString() : found.last();
    }
};

inline void parseDriverOutput(DriverOutput& output) {
    for (const QByteArray& line : output.raw.split('\n')) {
        const qsizetype colon = line.indexOf(": ");
        if (colon > 0)
            output.lines.append(
                {QString::fromUtf8(line.left(colon)), QString::fromUtf8(line.mid(colon + 2))});
    }
}

// Runs the driver to its end; standard error passes through to ours.
inline DriverOutput runDriver(const QString& executable, const QStringList& arguments,
                              int timeoutMs = 60000) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(executable, arguments);
    DriverOutput output;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
    } else if (process.exitStatus() == QProcess::NormalExit) {
        output.exitCode = process.exitCode();
    }
    output.raw = process.readAllStandardOutput();
    parseDriverOutput(output);
    return output;
}

// A copy of the driver in bin/ of a folder of its own, so that its resource
// directory (../share/reelhound) holds whatever converter a test puts there.
class DriverTree {
public:
    bool create() {
        if (!root_.isValid() || !QDir(root_.path()).mkpath(QStringLiteral("bin")) ||
            !QDir(root_.path()).mkpath(QStringLiteral("share/reelhound")))
            return false;
        // The executable's own path decides the resource directory, so it is a
        // copy (a symbolic link would resolve back to the build tree).
        return QFile::copy(kDriver, executable()) &&
               QFile::setPermissions(executable(), QFile::permissions(kDriver));
    }

    QString executable() const { return root_.filePath(QStringLiteral("bin/driver")); }
    QString converterPath() const {
        return root_.filePath(QStringLiteral("share/reelhound/ffmpeg"));
    }
    QString filePath(const QString& name) const { return root_.filePath(name); }

    bool useScriptedConverter() const { return QFile::link(kScriptedConverter, converterPath()); }

    bool putConverterFile(const QByteArray& contents, QFile::Permissions permissions) const {
        QFile file(converterPath());
        return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() &&
               file.setPermissions(permissions);
    }

private:
    QTemporaryDir root_;
};

// Whether a process with this id exists (a zombie counts: it was not reaped).
inline bool processExists(qint64 pid) {
    return pid > 0 && QFile::exists(QStringLiteral("/proc/%1").arg(pid));
}

} // namespace reelhound::testing
