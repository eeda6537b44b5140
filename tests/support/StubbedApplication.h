#pragma once

#include "app/ApplicationController.h"
#include "app/ApplicationMain.h"
#include "app/MainWindow.h"
#include "platform/Preferences.h"
#include "stub-site/StubSite.h"
#include "support/RecordingDesktopServices.h"

#include <QNetworkProxy>
#include <QTemporaryDir>
#include <memory>

namespace reelhound::testing {

// The real application against the local stand-in of the site, with recorded
// desktop services and its settings in a temporary folder: for the tools that
// drive the window by hand (benchmarks, screenshots).
class StubbedApplication {
public:
    // Starts the site, routes the network through it and launches the application.
    bool start() {
        if (!folder.isValid() || !site.listen())
            return false;
        QNetworkProxy::setApplicationProxy(site.proxy());
        preferences = std::make_unique<Preferences>(folder.filePath("Reelhound.conf"));
        launched = launchApplication(desktop, *preferences);
        return true;
    }

    ApplicationController& controller() { return *launched.controller; }
    MainWindow& window() { return *launched.window; }

    QTemporaryDir folder;
    StubSite site;
    RecordingDesktopServices desktop;
    std::unique_ptr<Preferences> preferences;
    LaunchedApplication launched;
};

} // namespace reelhound::testing
