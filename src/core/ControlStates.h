#pragma once

// What runs in the window and which controls that leaves usable: the one rule
// from which every control's enabled state and the two toggling buttons' forms
// follow. The controller keeps the activities and applies the result after
// every change; each action checks the same result before it acts.
namespace reelhound {

enum class TransferActivity {
    Idle,
    Running,
    Stopping, // cancelled, not yet torn down
};

struct Activities {
    bool lookupRunning = false; // the link service is being asked for the file
    TransferActivity transfer = TransferActivity::Idle;
    bool converting = false;

    // What earlier events unlocked and no activity changes.
    bool downloadUnlocked = false; // an address was taken, or a conversion ended
    bool sourceAccepted = false;   // the source field holds a file the settings are unlocked for

    bool downloading() const { return lookupRunning || transfer != TransferActivity::Idle; }
    bool busy() const { return downloading() || converting; }
};

struct ControlStates {
    bool getEnabled = false;
    bool recentMenuEnabled = false;
    bool destinationSelectEnabled = false;
    // The download button cancels while a lookup or a transfer runs, and
    // starts a download otherwise.
    bool downloadButtonCancels = false;
    bool downloadButtonEnabled = false;
    // Whether a download may start now, by any path (button, menu, shortcut).
    bool downloadMayStart = false;
    // The menu offers a download only where the button would start one.
    bool downloadMenuEnabled = false;
    bool conversionSettingsEnabled = false;
    bool selectSourceEnabled = false;
    // The convert button stops the conversion while one runs.
    bool convertButtonStops = false;
    bool convertButtonEnabled = false;
    // Whether a conversion may start now; the source is checked on its own.
    bool conversionMayStart = false;
    // The menu offers a conversion only where the button would start one.
    bool convertMenuEnabled = false;
    // Escape cancels the download when one runs, otherwise stops a conversion.
    bool escapeCancelsDownload = false;
    bool escapeStopsConversion = false;

    bool operator==(const ControlStates&) const = default;
};

ControlStates controlStatesFor(const Activities& activities);

} // namespace reelhound
