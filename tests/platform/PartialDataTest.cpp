#include "platform/PartialData.h"
#include "platform/PartialDataClaim.h"
#include "platform/DownloadFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
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
        // "data" with its record, "held" the same claimed by a running
        // transfer, "own" a file of the person's without a record, "link" (to
        // the victim) or "" (nothing)
        const char* kept;
        std::chrono::hours age;  // since the kept data was last written
        bool cleared;
        bool stillListed;
        bool dataStays;
    };
    const Row rows[] = {{"fresh.flv", "data", 24h, false, true, true},
                        {"thirteen-days.flv", "data", 13 * 24h, false, true, true},
                        {"fifteen-days.flv", "data", 15 * 24h, true, false, false},
                        {"held.flv", "held", 30 * 24h, false, true, true},
                        {"notes.txt", "own", 30 * 24h, false, false, true},
                        {"planted-link.flv", "link", 30 * 24h, false, false, false},
                        {"finished.flv", "", 0h, false, false, false}};
    PartialDataIndex index(folder.filePath("state/partial-downloads"));
    std::vector<std::unique_ptr<PartialDataClaim>> running;
    for (const Row& row : rows) {
        const QString destination = folder.filePath(row.name);
        const QByteArray data = QFile::encodeName(partialDataPath(destination));
        const QByteArray kept(row.kept);
        if (kept == "data" || kept == "held" || kept == "own") {
            QFile file(partialDataPath(destination));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("kept bytes");
            file.close();
            if (kept != "own") {
                ASSERT_TRUE(
                    writePartialRecord(destination, {"demo", {100, "v"}, currentBootId(), 0}));
            }
            if (kept == "held")
                running.push_back(std::move(PartialDataClaim::take(destination).claim));
        } else if (kept == "link") {
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
        EXPECT_EQ(kept, row.dataStays);
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
    ASSERT_TRUE(writePartialRecord(destination, {"demo", {100, "v"}, currentBootId(), 0}));
    const auto claim = PartialDataClaim::take(destination).claim;
    ASSERT_NE(claim, nullptr);
    DownloadFile shrunk;
    EXPECT_FALSE(shrunk.continuePartial(*claim, 20));
    DownloadFile kept;
    EXPECT_TRUE(kept.continuePartial(*claim, 4));
    kept.keep();
    EXPECT_EQ(QFileInfo(partialDataPath(destination)).size(), 4);
}

// What may be at the kept data's name when a transfer claims it, and what
// the claim finds and leaves: only one holder at a time, the person's own
// files untouched, and no empty file left behind.
TEST(PartialDataClaim, isHeldByOneAtATimeAndTouchesOnlyWhatIsOurs) {
    using Outcome = PartialDataClaim::Outcome;
    using Creation = PartialDataClaim::Creation;
    struct Row {
        const char* name;
        const char* found; // "", "ours" (data and record), "own" (data alone), "link", "fifo", "held"
        Creation creation;
        Outcome outcome;
        const char* leftAfterRelease; // what is at the data's name once the claim is given up
    };
    const Row rows[] = {
        {"nothing", "", Creation::MakeEmpty, Outcome::Claimed, "nothing"},
        {"nothingToLookAt", "", Creation::OnlyExisting, Outcome::Missing, "nothing"},
        {"ours", "ours", Creation::MakeEmpty, Outcome::Claimed, "data"},
        {"held", "held", Creation::MakeEmpty, Outcome::Busy, "data"},
        {"personsOwn", "own", Creation::MakeEmpty, Outcome::NotOurs, "data"},
        {"link", "link", Creation::MakeEmpty, Outcome::Claimed, "nothing"},
        {"fifo", "fifo", Creation::MakeEmpty, Outcome::Claimed, "nothing"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QString destination = folder.filePath("video.flv");
        const QString data = partialDataPath(destination);
        const QByteArray found(row.found);
        std::unique_ptr<PartialDataClaim> holder;
        if (found == "ours" || found == "own" || found == "held") {
            QFile file(data);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("kept bytes");
            file.close();
            if (found != "own") {
                ASSERT_TRUE(
                    writePartialRecord(destination, {"demo", {100, "v"}, currentBootId(), 0}));
            }
            if (found == "held")
                holder = std::move(PartialDataClaim::take(destination).claim);
        } else if (found == "link") {
            ASSERT_TRUE(QFile::link(folder.filePath("elsewhere"), data));
        } else if (found == "fifo") {
            ASSERT_EQ(::mkfifo(QFile::encodeName(data).constData(), 0600), 0);
        }

        PartialDataClaim::Result result = PartialDataClaim::take(destination, row.creation);
        EXPECT_EQ(result.outcome, row.outcome);
        EXPECT_EQ(result.claim != nullptr, row.outcome == Outcome::Claimed);
        EXPECT_FALSE(QFileInfo::exists(folder.filePath("elsewhere")));
        if (result.claim) {
            EXPECT_EQ(PartialDataClaim::take(destination).outcome, Outcome::Busy);
            EXPECT_EQ(result.claim->size(), found == "ours" ? 10 : 0);
        }
        result.claim.reset();
        const QFileInfo left(data);
        EXPECT_EQ(left.exists() || left.isSymLink() ? "data" : "nothing",
                  std::string(row.leftAfterRelease));
        if (left.exists()) {
            EXPECT_EQ(left.size(), 10);
        }
    }
}

// An index grown far past its bound (by an older version, or by hand) is read
// whole and cleaned, not ignored; two processes adding at once lose nothing.
TEST(PartialDataIndex, aHugeIndexIsCleanedAndStaysBounded) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString indexPath = folder.filePath("state/partial-downloads");
    ASSERT_TRUE(QDir().mkpath(folder.filePath("state")));
    const QString expired = folder.filePath("expired.flv");
    {
        QFile file(partialDataPath(expired));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("kept bytes");
    }
    ASSERT_TRUE(writePartialRecord(expired, {"demo", {100, "v"}, currentBootId(), 0}));
    {
        QFile index(indexPath);
        ASSERT_TRUE(index.open(QIODevice::WriteOnly));
        index.write(QFile::encodeName(expired) + '\n');
        for (int i = 0; i < 100000; ++i)
            index.write(QFile::encodeName(folder.filePath(QStringLiteral("gone-%1.flv").arg(i))) +
                        '\n');
    }
    PartialDataIndex index(indexPath);
    const QStringList cleared =
        index.removeExpired(std::chrono::system_clock::now() + 15 * 24h);
    EXPECT_EQ(cleared, QStringList{expired});
    EXPECT_FALSE(QFileInfo::exists(partialDataPath(expired)));
    EXPECT_TRUE(index.destinations().isEmpty());

    for (int i = 0; i < PartialDataIndex::kMaximumEntries + 10; ++i)
        index.add(folder.filePath(QStringLiteral("new-%1.flv").arg(i)));
    EXPECT_EQ(index.destinations().size(), PartialDataIndex::kMaximumEntries);
    EXPECT_EQ(index.destinations().last(),
              folder.filePath(QStringLiteral("new-%1.flv").arg(PartialDataIndex::kMaximumEntries + 9)));

    // Two processes, each adding its own destinations at the same time.
    ASSERT_TRUE(QFile::remove(indexPath));
    pid_t children[2] = {};
    for (int child = 0; child < 2; ++child) {
        children[child] = ::fork();
        ASSERT_GE(children[child], 0);
        if (children[child] == 0) {
            for (int i = 0; i < 200; ++i)
                index.add(folder.filePath(QStringLiteral("process-%1-%2.flv").arg(child).arg(i)));
            ::_exit(0);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(index.destinations().size(), 400);
}

} // namespace
