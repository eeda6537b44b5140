#pragma once

namespace reelhound {

// Creates the application, loads the main window with its controller, runs
// the launch callbacks and the event loop; returns the exit status.
int applicationMain(int argc, char** argv);

} // namespace reelhound
