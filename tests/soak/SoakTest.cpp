// Hundreds of transfers and conversions in one application process: open
// files, child processes and resident memory must come back to where they were.
#include "reliability/DriverProcess.h"
#include "support/QtPrinters.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <iostream>

using namespace reelhound::testing;

namespace {

constexpr int kCycles = 200;

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer keeps freed memory in quarantine, so resident memory grows
// by design; leaks of descriptors and processes still show.
constexpr long kResidentSlackKiB = 512 * 1024;
#else
constexpr long kResidentSlackKiB = 16 * 1024;
#endif

TEST(Soak, downloadCancelCyclesAndScriptedConversions_leaveNothingBehind) {
    DriverTree tree;
    ASSERT_TRUE(tree.create());
    ASSERT_TRUE(tree.useScriptedConverter());
    QElapsedTimer clock;
    clock.start();
    const DriverOutput run = runDriver(
        tree.executable(),
        {"soak", QString::number(kCycles), QString::number(kCycles), tree.filePath(".")}, 170000);
    ASSERT_EQ(run.exitCode, 0) << run.raw.toStdString();

    std::cout << "soak of " << kCycles << " download-and-cancel cycles and " << kCycles
              << " conversions in " << clock.elapsed() / 1000.0 << " s\n";
    for (const char* figure : {"fds", "children", "rss-kib"})
        std::cout << "  " << figure << ": "
                  << run.value(QStringLiteral("start-") + figure).toStdString() << " -> "
                  << run.value(QStringLiteral("end-") + figure).toStdString() << '\n';

    EXPECT_EQ(run.value("failures"), "0") << run.raw.toStdString();
    const auto figure = [&](const char* name) { return run.value(name).toLong(); };
    EXPECT_GT(figure("start-fds"), 0);
    EXPECT_LE(figure("end-fds"), figure("start-fds"));
    EXPECT_LE(figure("end-children"), figure("start-children"));
    EXPECT_GT(figure("start-rss-kib"), 0);
    EXPECT_LE(figure("end-rss-kib") - figure("start-rss-kib"), kResidentSlackKiB);
}

} // namespace
