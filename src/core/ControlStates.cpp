#include "core/ControlStates.h"

namespace reelhound {

ControlStates controlStatesFor(const Activities& a) {
    ControlStates s;
    const bool downloading = a.downloading();
    // What can be cancelled: a cancelled transfer is on its way out already.
    const bool cancellable = a.lookupRunning || a.transfer == TransferActivity::Running;
    // While the link service is asked, the rest of the window waits with it.
    const bool conversionSideFree = !a.converting && !a.lookupRunning;

    s.getEnabled = !a.busy();
    s.recentMenuEnabled = true; // it only fills in the address field
    s.destinationSelectEnabled = a.downloadUnlocked && !a.busy();

    s.downloadButtonCancels = downloading;
    // A running download can always be cancelled, whatever else runs.
    s.downloadButtonEnabled = downloading ? cancellable : a.downloadUnlocked && !a.converting;
    s.downloadMayStart = !a.busy();
    s.downloadMenuEnabled = s.downloadMayStart && a.downloadUnlocked;

    s.conversionSettingsEnabled = a.sourceAccepted && conversionSideFree;
    s.selectSourceEnabled = conversionSideFree;
    s.convertButtonStops = a.converting;
    s.convertButtonEnabled = a.converting || (a.sourceAccepted && !a.lookupRunning);
    s.conversionMayStart = conversionSideFree;
    s.convertMenuEnabled = s.conversionMayStart && a.sourceAccepted;

    s.escapeCancelsDownload = cancellable;
    s.escapeStopsConversion = !downloading && a.converting;
    return s;
}

} // namespace reelhound
