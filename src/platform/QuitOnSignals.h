#pragma once

#include <functional>

namespace reelhound {

// SIGTERM (what a desktop session sends at log-out), SIGINT and SIGHUP make
// the application quit the way its Quit command does, through the event loop,
// so that a running converter is killed and its partial output removed, and a
// download's temporary file goes. Call once, after the application object
// exists. A second signal while the first is handled changes nothing.
// `beforeQuit` runs first: before the main loop runs, quitting does not end
// the loop of a dialog that is open (the launch-time warning), so the caller
// closes such dialogs there.
void quitOnTerminationSignals(std::function<void()> beforeQuit = {});

// Whether such a signal has come. One that comes before the main event loop
// runs (during the launch-time warning, say) ends the loops running then, but
// the main loop, started afterwards, would not know: check this before it.
bool terminationSignalReceived();

} // namespace reelhound
