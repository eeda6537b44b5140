#pragma once

#include "app/ApplicationController.h"
#include "app/ApplicationMain.h"
#include "app/MainWindow.h"
#include "platform/Preferences.h"
#include "support/RecordingDesktopServices.h"
#include "ui_MainWindow.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace reelhound::testing {

// The real window and controller, started the way the application starts
// them, with recorded desktop services and a throw-away settings file.
class ApplicationFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(settingsDir.isValid());
        ApplicationController::initialize();
    }

    QString settingsPath() const { return settingsDir.filePath(QStringLiteral("Reelhound.conf")); }

    // Start-up up to the event loop: load the window, then the two launch callbacks.
    void launch() {
        preferences = std::make_unique<Preferences>(settingsPath());
        LaunchedApplication launched = launchApplication(desktop, *preferences);
        controller = std::move(launched.controller);
        window = std::move(launched.window);
    }

    // A second run reading the same settings file.
    void relaunch() {
        window.reset();
        controller.reset();
        preferences.reset();
        desktop = RecordingDesktopServices{};
        launch();
    }

    Ui::MainWindow& ui() { return window->ui(); }

    void enterAddressAndGet(const QString& text) {
        ui().URLEntryTextField->setText(text);
        ui().URLGetURLButton->click();
    }

    QTemporaryDir settingsDir;
    RecordingDesktopServices desktop;
    std::unique_ptr<Preferences> preferences;
    std::unique_ptr<ApplicationController> controller;
    std::unique_ptr<MainWindow> window;
};

} // namespace reelhound::testing
