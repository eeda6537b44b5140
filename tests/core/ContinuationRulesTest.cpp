#include "core/ContentRange.h"
#include "core/PartialRecord.h"
#include "core/RetryPolicy.h"

#include <gtest/gtest.h>

namespace reelhound {
namespace {

TEST(ContentRangeTest, parsesOnlyWellFormedRanges) {
    const auto range = parseContentRange("bytes 100-199/1000");
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, 100);
    EXPECT_EQ(range->last, 199);
    EXPECT_EQ(range->total, 1000);
    const auto unknownTotal = parseContentRange("bytes 0-9/*");
    ASSERT_TRUE(unknownTotal);
    EXPECT_FALSE(unknownTotal->total);
    for (const char* bad :
         {"", "bytes", "bytes 5-4/10", "bytes 0-10/10", "bytes -1-4/10", "bytes 0-4/10 ",
          "items 0-4/10", "bytes 0-4", "bytes */10", "bytes 0-99999999999999999999/10"})
        EXPECT_FALSE(parseContentRange(bad)) << bad;
}

struct ContinuationRow {
    ContinuationAnswer answer;
    ContinuationVerdict verdict;
};

TEST(ContinuationTest, onlyTheExactRestOfTheSameFileContinues) {
    const FileIdentity file{1000, "\"v1\""};
    const ContinuationRow rows[] = {
        {{206, "bytes 400-999/1000", "\"v1\""}, ContinuationVerdict::Continues},
        {{200, "", "\"v1\""}, ContinuationVerdict::RangesIgnored},
        {{206, "bytes 400-999/1000", "\"v2\""}, ContinuationVerdict::FileChanged},
        {{206, "bytes 400-1999/2000", "\"v1\""}, ContinuationVerdict::FileChanged},
        {{206, "bytes 400-999/*", "\"v1\""}, ContinuationVerdict::FileChanged},
        {{206, "bytes 0-999/1000", "\"v1\""}, ContinuationVerdict::RangeDoesNotFit},
        {{206, "bytes 400-499/1000", "\"v1\""}, ContinuationVerdict::RangeDoesNotFit},
        {{206, "", "\"v1\""}, ContinuationVerdict::RangeDoesNotFit},
        {{416, "bytes */1000", "\"v1\""}, ContinuationVerdict::RangeDoesNotFit},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.answer.contentRange + " " + row.answer.validator);
        EXPECT_EQ(checkContinuation(row.answer, 400, file), row.verdict);
        EXPECT_FALSE(describeContinuationVerdict(row.verdict).empty());
    }
    // A range with an end must end there, not at the file's end.
    EXPECT_EQ(checkContinuation({206, "bytes 400-499/1000", "\"v1\""}, 400, file, 499),
              ContinuationVerdict::Continues);
    EXPECT_EQ(checkContinuation({206, "bytes 400-999/1000", "\"v1\""}, 400, file, 499),
              ContinuationVerdict::RangeDoesNotFit);
}

TEST(RetryPolicyTest, pausesGrowAndHonourRetryAfterUpToAMinute) {
    EXPECT_EQ(retryPauseSeconds(1, std::nullopt), 1);
    EXPECT_EQ(retryPauseSeconds(2, std::nullopt), 2);
    EXPECT_EQ(retryPauseSeconds(3, std::nullopt), 3);
    EXPECT_EQ(retryPauseSeconds(kMaximumRetries, std::nullopt), 3);
    // The retries outlast an outage of two minutes.
    int pauses = 0;
    for (int retry = 1; retry <= kMaximumRetries; ++retry)
        pauses += retryPauseSeconds(retry, std::nullopt);
    EXPECT_GE(pauses, 120);
    EXPECT_LE(pauses, 125);
    EXPECT_EQ(retryPauseSeconds(2, 3), 3);
    EXPECT_EQ(retryPauseSeconds(2, 600), 60);
    EXPECT_EQ(parseRetryAfter(" 120 "), 60);
    EXPECT_EQ(parseRetryAfter("3"), 3);
    EXPECT_EQ(parseRetryAfter("99999999999999999999999"), 60);
    for (const char* ignored : {"", "-5", "3.5", "Wed, 21 Oct 2026 07:28:00 GMT"})
        EXPECT_FALSE(parseRetryAfter(ignored)) << ignored;
}

TEST(RetryPolicyTest, onlyPassingStatusesAreRetried) {
    for (const int status : {408, 429, 500, 502, 503, 504})
        EXPECT_TRUE(isTransientHTTPStatus(status)) << status;
    for (const int status : {200, 206, 301, 400, 401, 403, 404, 410, 416, 501, 505})
        EXPECT_FALSE(isTransientHTTPStatus(status)) << status;
}

TEST(PartialRecordTest, readsBackWhatWasWrittenAndNothingElse) {
    const PartialRecord record{"demo_1", {1000, "\"v1\""}, "b007-1d", 512};
    const std::string text = formatPartialRecord(record);
    const auto read = parsePartialRecord(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->key, "demo_1");
    EXPECT_EQ(read->file.total, 1000);
    EXPECT_EQ(read->file.validator, "\"v1\"");
    EXPECT_EQ(read->bootId, "b007-1d");
    EXPECT_EQ(read->syncedBytes, 512);

    const auto replaced = [&](std::string_view from, std::string_view to) {
        std::string changed = text;
        changed.replace(changed.find(from), from.size(), to);
        return changed;
    };
    for (const std::string& bad :
         {std::string(), text.substr(0, text.size() - 1), replaced("partial download 1", "x"),
          replaced("total=1000", "total=0"), replaced("total=1000", "total=10x"),
          replaced("synced=512", "synced=-1"), replaced("key=demo_1", "key="),
          replaced("validator=\"v1\"", "validator="), replaced("boot=", "boat="),
          replaced("validator=\"v1\"", "validator=\"v1\"\rX-Injected: 1"), text + "key=other\n",
          text + std::string(kMaximumPartialRecordSize, '#') + "\n",
          formatPartialRecord({"demo\nsynced=9", {1000, "v"}, "b", 0})})
        EXPECT_FALSE(parsePartialRecord(bad)) << bad;
}

TEST(PartialRecordTest, trustsUnsyncedBytesOnlyWithinTheSameSystemRun) {
    const PartialRecord record{"demo", {1000, "v"}, "boot-a", 300};
    struct Row {
        std::int64_t fileBytes;
        const char* bootNow;
        std::int64_t continuable;
    };
    for (const Row& row :
         {Row{600, "boot-a", 600}, Row{600, "boot-b", 300}, Row{200, "boot-b", 200},
          Row{1000, "boot-a", 999}, Row{5000, "boot-a", 999}, Row{-1, "boot-a", 0}})
        EXPECT_EQ(continuablePartialBytes(record, row.fileBytes, row.bootNow), row.continuable)
            << row.fileBytes << " " << row.bootNow;
    EXPECT_EQ(continuablePartialBytes({"demo", {1000, "v"}, "", 300}, 600, ""), 300);
}

ByteRanges rangesOf(std::int64_t length, const std::vector<ByteRange>& list) {
    ByteRanges ranges(length);
    for (const ByteRange& range : list)
        ranges.add(range);
    return ranges;
}

// Data with holes: synced [0,100) [400,500), also written [100,200) [600,700).
TEST(PartialRecordTest, dataWithHolesTrustsWrittenRangesOnlyWithinTheSameSystemRun) {
    const PartialRecord record =
        rangedPartialRecord("demo", {1000, "v"}, "boot-a", rangesOf(1000, {{0, 100}, {400, 500}}),
                            rangesOf(1000, {{0, 200}, {400, 500}, {600, 700}}));
    struct Row {
        std::int64_t fileBytes;
        const char* bootNow;
        std::vector<ByteRange> continuable;
    };
    for (const Row& row :
         {Row{700, "boot-a", {{0, 200}, {400, 500}, {600, 700}}},
          Row{700, "boot-b", {{0, 100}, {400, 500}}}, Row{450, "boot-a", {{0, 200}, {400, 450}}}}) {
        EXPECT_EQ(continuableRanges(record, row.fileBytes, row.bootNow).held(), row.continuable)
            << row.fileBytes << " " << row.bootNow;
        EXPECT_EQ(parsePartialRecord(formatPartialRecord(record)), record);
    }
    EXPECT_EQ(continuablePartialBytes(record, 700, "boot-a"), 200);
    // Everything written: the last byte is asked for again.
    const PartialRecord all = rangedPartialRecord("demo", {1000, "v"}, "boot-a", ByteRanges(1000),
                                                  rangesOf(1000, {{0, 1000}}));
    EXPECT_EQ(continuableRanges(all, 1000, "boot-a").held(), (std::vector<ByteRange>{{0, 999}}));

    const std::string head = "reelhound partial download 1\nkey=k\ntotal=1000\nvalidator=v\n"
                             "boot=b\nsynced=100\n";
    for (const char* bad :
         {"synced-ranges=100-200\n", "synced-ranges=50-200\n", "synced-ranges=300-200\n",
          "synced-ranges=200-1001\n", "written=0-10 5-20\n", "written=20-30 0-10\n",
          "written=0-10 10-20\n", "written=0-10 \n", "written=-1-10\n", "holes=0-10\n"})
        EXPECT_FALSE(parsePartialRecord(head + bad)) << bad;
    EXPECT_TRUE(parsePartialRecord(head + "synced-ranges=101-200 300-1000\nwritten=\n"));

    // More ranges than the record holds: the smallest are left out.
    ByteRanges many(1'000'000'000);
    for (std::int64_t i = 0; i < 400; ++i)
        many.add({i * 2'000'000 + 1, i * 2'000'000 + 1000 + i});
    const std::string text =
        formatPartialRecord(rangedPartialRecord("demo", {1'000'000'000, "v"}, "b", many, many));
    ASSERT_LE(text.size(), kMaximumPartialRecordSize);
    const auto kept = parsePartialRecord(text);
    ASSERT_TRUE(kept && kept->writtenRanges);
    EXPECT_FALSE(kept->syncedRanges.empty());
    EXPECT_EQ(kept->syncedRanges.back(), many.held().back());
    for (const ByteRange& range : *kept->writtenRanges)
        EXPECT_NE(std::find(many.held().begin(), many.held().end(), range), many.held().end());
}

} // namespace
} // namespace reelhound
