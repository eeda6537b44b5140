#include "stub-site/StubSite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>
#include <unistd.h>

// The test-pattern video, made with the installed ffmpeg.
namespace reelhound {

QString StubSite::videoFilePath() {
    if (videoFileTried_)
        return videoFilePath_;
    videoFileTried_ = true;

    const QDir folder(QDir::tempPath() + QStringLiteral("/reelhound-stub-site-") +
                      QString::number(getuid()));
    if (!folder.mkpath(QStringLiteral(".")))
        return {};
    const QString path = folder.filePath(QStringLiteral("test-pattern-1.flv"));
    if (QFileInfo(path).size() > 0) {
        videoFilePath_ = path;
        return path;
    }
    // Made under a name of our own and renamed, so a parallel run never sees
    // half a file.
    const QString making =
        folder.filePath(QStringLiteral("making-%1.flv").arg(QCoreApplication::applicationPid()));
    QProcess ffmpeg;
    ffmpeg.setStandardInputFile(QProcess::nullDevice());
    ffmpeg.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ffmpeg.start(QStringLiteral("ffmpeg"), {QStringLiteral("-nostdin"),
                                            QStringLiteral("-hide_banner"),
                                            QStringLiteral("-loglevel"),
                                            QStringLiteral("error"),
                                            QStringLiteral("-y"),
                                            QStringLiteral("-f"),
                                            QStringLiteral("lavfi"),
                                            QStringLiteral("-i"),
                                            QStringLiteral("testsrc=size=320x240:rate=25"),
                                            QStringLiteral("-f"),
                                            QStringLiteral("lavfi"),
                                            QStringLiteral("-i"),
                                            QStringLiteral("sine=frequency=440:sample_rate=44100"),
                                            QStringLiteral("-t"),
                                            QStringLiteral("3"),
                                            QStringLiteral("-c:v"),
                                            QStringLiteral("flv1"),
                                            QStringLiteral("-c:a"),
                                            QStringLiteral("libmp3lame"),
                                            QStringLiteral("-fflags"),
                                            QStringLiteral("+bitexact"),
                                            QStringLiteral("-flags"),
                                            QStringLiteral("+bitexact"),
                                            QStringLiteral("-f"),
                                            QStringLiteral("flv"),
                                            making});
    const bool made = ffmpeg.waitForStarted(10000) && ffmpeg.waitForFinished(60000) &&
                      ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0 &&
                      QFileInfo(making).size() > 0;
    if (!made || std::rename(QFile::encodeName(making).constData(),
                             QFile::encodeName(path).constData()) != 0) {
        QFile::remove(making);
        return {};
    }
    videoFilePath_ = path;
    return path;
}

QByteArray StubSite::videoFileContents() {
    QFile file(videoFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace reelhound
