#pragma once

#include <memory>

namespace reelhound {

class ApplicationController;
class DesktopServices;
class MainWindow;
class Preferences;

// What the web engine needs before the QApplication is made.
void prepareWebEngine();

// The controller and its window after the launch sequence: the controller's
// class set-up, the window with its outlets and actions, and the two launch
// callbacks. The window goes before the controller.
struct LaunchedApplication {
    std::unique_ptr<ApplicationController> controller;
    std::unique_ptr<MainWindow> window;
};
LaunchedApplication launchApplication(DesktopServices& desktop, Preferences& preferences);

// Creates the application, launches it and runs the event loop; returns the
// exit status.
int applicationMain(int argc, char** argv);

} // namespace reelhound
