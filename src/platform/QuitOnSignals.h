#pragma once

namespace reelhound {

// SIGTERM (what a desktop session sends at log-out), SIGINT and SIGHUP make
// the application quit the way its Quit command does, through the event loop,
// so that a running converter is killed and its partial output removed, and a
// download's temporary file goes. Call once, after the application object
// exists. A second signal while the first is handled changes nothing.
void quitOnTerminationSignals();

} // namespace reelhound
