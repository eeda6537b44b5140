#include "support/Files.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace reelhound::testing {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size()) << path.toStdString();
}

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool makeClip(const QString& path, int seconds) {
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25", "-f", "lavfi",
                  "-i", "sine=frequency=440", "-t", QString::number(seconds), "-c:v", "flv1",
                  "-c:a", "libmp3lame", "-y", path});
    ffmpeg.closeWriteChannel();
    return ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0;
}

} // namespace reelhound::testing
