#include "platform/PartialData.h"
#include "platform/DownloadFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>

using namespace reelhound;
using namespace std::chrono_literals;

namespace {

// Destinations with kept data of different ages, some gone or replaced by
// links; the clean-up at start-up removes only what is ours and old.
TEST(PartialDataIndex, removesKeptDataOlderThanItsLifetimeAndForgetsWhatIsGone) {
    QTemporaryDir folder;
    QTemporaryDir elsewhere;
    ASSERT_TRUE(folder.isValid() && elsewhere.isValid());
    const QString victim = elsewhere.filePath("victim.flv");
    {
        QFile file(victim);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not ours");
    }
    const auto now = std::chrono::system_clock::now();
    struct Row {
        const char* name;
        const char* kept;        // "data", "link" (to the victim) or "" (nothing)
        std::chrono::hours age;  // since the kept data was last written
        bool cleared;
        bool stillListed;
    };
    const Row rows[] = {{"fresh.flv", "data", 24h, false, true},
                        {"thirteen-days.flv", "data", 13 * 24h, false, true},
                        {"fifteen-days.flv", "data", 15 * 24h, true, false},
                        {"planted-link.flv", "link", 30 * 24h, true, false},
                        {"finished.flv", "", 0h, false, false}};
    PartialDataIndex index(folder.filePath("state/partial-downloads"));
    for (const Row& row : rows) {
        const QString destination = folder.filePath(row.name);
        const QByteArray data = QFile::encodeName(partialDataPath(destination));
        if (QByteArray(row.kept) == "data") {
            QFile file(partialDataPath(destination));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("kept bytes");
            file.close();
            ASSERT_TRUE(writePartialRecord(destination, {"demo", {100, "v"}, currentBootId(), 0}));
        } else if (QByteArray(row.kept) == "link") {
            ASSERT_TRUE(QFile::link(victim, partialDataPath(destination)));
        }
        const auto written = std::chrono::system_clock::to_time_t(now - row.age);
        const timeval times[2] = {{written, 0}, {written, 0}};
        if (*row.kept) {
            ASSERT_EQ(::lutimes(data.constData(), times), 0);
        }
        index.add(destination);
    }

    const QStringList cleared = index.removeExpired(now);

    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString destination = folder.filePath(row.name);
        EXPECT_EQ(cleared.contains(destination), row.cleared);
        EXPECT_EQ(index.destinations().contains(destination), row.stillListed);
        const bool kept = QFileInfo(partialDataPath(destination)).exists() ||
                          QFileInfo(partialDataPath(destination)).isSymLink();
        EXPECT_EQ(kept, row.stillListed);
        EXPECT_EQ(QFileInfo::exists(partialRecordPath(destination)), row.stillListed);
    }
    QFile file(victim);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "not ours");
}

// The record is the one thing a later run believes: it comes back only
// from a regular file of this user with one name.
TEST(PartialRecordFile, isReadOnlyFromAnOwnedRegularFile) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString destination = folder.filePath("video.flv");
    const PartialRecord record{"demo", {100, "\"v1\""}, "boot", 40};
    ASSERT_TRUE(writePartialRecord(destination, record));
    ASSERT_TRUE(readPartialRecord(destination).has_value());
    EXPECT_EQ(readPartialRecord(destination)->syncedBytes, 40);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{".video.flv.part.record"}); // no temporary left

    const QString recordPath = partialRecordPath(destination);
    const QString moved = folder.filePath("elsewhere.record");
    ASSERT_TRUE(QFile::rename(recordPath, moved));
    ASSERT_TRUE(QFile::link(moved, recordPath));
    EXPECT_FALSE(readPartialRecord(destination)) << "read through a link";
    ASSERT_TRUE(QFile::remove(recordPath));
    ASSERT_EQ(::link(QFile::encodeName(moved).constData(), QFile::encodeName(recordPath).constData()), 0);
    EXPECT_FALSE(readPartialRecord(destination)) << "a second name";

    // Writing replaces whatever is at the name; a link's target stays as it was.
    ASSERT_TRUE(QFile::remove(recordPath));
    ASSERT_TRUE(QFile::link(moved, recordPath));
    ASSERT_TRUE(writePartialRecord(destination, {"other", {5, "w"}, "boot", 0}));
    EXPECT_FALSE(QFileInfo(recordPath).isSymLink());
    EXPECT_EQ(readPartialRecord(destination)->key, "other");
    QFile untouched(moved);
    ASSERT_TRUE(untouched.open(QIODevice::ReadOnly));
    EXPECT_EQ(untouched.readAll().toStdString(), formatPartialRecord(record));
}

// Kept data that shrank after it was looked at is never made up to length.
TEST(PartialDataFile, continuesOnlyBytesThatAreThere) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString destination = folder.filePath("video.flv");
    {
        QFile file(partialDataPath(destination));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("0123456789");
    }
    DownloadFile shrunk;
    EXPECT_FALSE(shrunk.continuePartial(destination, 20));
    DownloadFile kept;
    EXPECT_TRUE(kept.continuePartial(destination, 4));
    kept.keep();
    EXPECT_EQ(QFileInfo(partialDataPath(destination)).size(), 4);
}

} // namespace
