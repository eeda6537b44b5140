#include "core/ControlStates.h"

#include <gtest/gtest.h>

using namespace reelhound;

namespace {

Activities with(bool unlocked, bool accepted) {
    Activities a;
    a.downloadUnlocked = unlocked;
    a.sourceAccepted = accepted;
    return a;
}

} // namespace

// One activity at a time, the window's states are the familiar ones.
TEST(ControlStates, eachActivityAloneGivesTheWindowsUsualStates) {
    struct Row {
        const char* phase;
        Activities activities;
        // Get, destination, download enabled, download cancels, settings, select, convert
        bool get, destination, download, cancels, settings, select, convert;
    };
    Activities lookup = with(true, false);
    lookup.lookupRunning = true;
    Activities transfer = with(true, false);
    transfer.transfer = TransferActivity::Running;
    Activities converting = with(false, true);
    converting.converting = true;
    for (const Row& row : {
             Row{"launch", with(false, false), true, false, false, false, false, true, false},
             Row{"address taken", with(true, false), true, true, true, false, false, true, false},
             Row{"lookup running", lookup, false, false, true, true, false, false, false},
             Row{"download running", transfer, false, false, true, true, false, true, false},
             Row{"download finished", with(true, true), true, true, true, false, true, true, true},
             Row{"source accepted", with(false, true), true, false, false, false, true, true, true},
             Row{"converting", converting, false, false, false, false, false, false, true},
             Row{"source refused", with(true, false), true, true, true, false, false, true, false},
         }) {
        SCOPED_TRACE(row.phase);
        const ControlStates s = controlStatesFor(row.activities);
        EXPECT_EQ(s.getEnabled, row.get);
        EXPECT_TRUE(s.recentMenuEnabled);
        EXPECT_EQ(s.destinationSelectEnabled, row.destination);
        EXPECT_EQ(s.downloadButtonEnabled, row.download);
        EXPECT_EQ(s.downloadButtonCancels, row.cancels);
        EXPECT_EQ(s.conversionSettingsEnabled, row.settings);
        EXPECT_EQ(s.selectSourceEnabled, row.select);
        EXPECT_EQ(s.convertButtonEnabled, row.convert);
        EXPECT_EQ(s.convertButtonStops, row.activities.converting);
    }
}

// Whatever runs together: a running download can be cancelled, nothing that
// runs can be started a second time, and Escape always has one meaning.
TEST(ControlStates, overlappingActivitiesKeepTheirPromises) {
    for (int bits = 0; bits < 64; ++bits) {
        Activities a;
        a.lookupRunning = bits & 1;
        a.transfer = (bits & 2) ? ((bits & 4) ? TransferActivity::Stopping : TransferActivity::Running)
                                : TransferActivity::Idle;
        a.converting = bits & 8;
        a.downloadUnlocked = bits & 16;
        a.sourceAccepted = bits & 32;
        SCOPED_TRACE(bits);
        const ControlStates s = controlStatesFor(a);
        if (a.lookupRunning || a.transfer == TransferActivity::Running) {
            EXPECT_TRUE(s.downloadButtonCancels);
            EXPECT_TRUE(s.downloadButtonEnabled);
            EXPECT_TRUE(s.escapeCancelsDownload);
        }
        if (a.downloading()) {
            EXPECT_FALSE(s.downloadMayStart || s.downloadMenuEnabled);
        }
        if (a.converting) {
            EXPECT_FALSE(s.conversionMayStart || s.selectSourceEnabled ||
                         s.conversionSettingsEnabled || s.convertMenuEnabled);
            EXPECT_TRUE(s.convertButtonStops && s.convertButtonEnabled);
            EXPECT_FALSE(s.downloadMayStart || s.getEnabled || s.destinationSelectEnabled);
        }
        EXPECT_FALSE(s.escapeCancelsDownload && s.escapeStopsConversion);
        // The menu starts a conversion only where the button would.
        EXPECT_EQ(s.convertMenuEnabled, s.convertButtonEnabled && !s.convertButtonStops);
        EXPECT_TRUE(s.recentMenuEnabled);
        EXPECT_EQ(s.getEnabled, !a.busy());
    }
}
