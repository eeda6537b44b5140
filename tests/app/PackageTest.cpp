#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QString firstMatch(const char* path, const char* pattern) {
    QFile file(QStringLiteral(REELHOUND_SOURCE_DIR "/") + QLatin1String(path));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("(%1 unreadable)").arg(QLatin1String(path));
    return QRegularExpression(QLatin1String(pattern))
        .match(QString::fromUtf8(file.readAll()))
        .captured(1);
}

} // namespace

// The version the build names is the one the Debian package and the
// software centre announce, so a release cannot go out under two numbers.
TEST(ReleaseVersion, packageAndDescription_nameTheBuildsVersion) {
    const struct {
        const char* file;
        const char* pattern; // the newest entry's version is the first match
    } places[] = {
        // Without a Debian revision, if one is added ("0.1.0-2").
        {"debian/changelog", R"re(^reelhound \(([^)-]+))re"},
        {"resources/desktop/net.reelhound.Reelhound.metainfo.xml", R"re(<release version="([^"]+)")re"},
    };
    for (const auto& place : places)
        EXPECT_EQ(firstMatch(place.file, place.pattern).toStdString(), REELHOUND_VERSION) << place.file;
}
