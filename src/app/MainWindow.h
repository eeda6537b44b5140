#pragma once

#include <QMainWindow>
#include <memory>

class QAction;
class QPushButton;
class QToolButton;

namespace Ui {
class MainWindow;
}

namespace reelhound {

class ApplicationController;

// The main window as its description lays it out: every control, the items
// and tags of the pop-ups, the menus, and the connections from the controls
// to the controller's actions. The window owns its controls.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    Ui::MainWindow& ui() { return *ui_; }

    // The controller's outlets and the actions the window sends to it.
    void connectToController(ApplicationController& controller);

protected:
    // A web address dragged onto the window goes into the address field.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyItemTags();
    void shapeConverterOutput();
    void setUpStatusBar();
    static void showKeyOfButton(QAction& item, const QPushButton& button);
    void showPathFieldsAsReadOnly();
    void elideLongRecentAddresses();
    void watchWebViewDrops(QWidget* widget);
    void placeWebViewInTabOrder();
    static void acceptWebAddressDrag(QDropEvent* event);
    void dropWebAddress(QDropEvent* event);

    std::unique_ptr<Ui::MainWindow> ui_;
    // "Show in folder" in the status line.
    QToolButton* showInFolderLink_ = nullptr;
};

// Loads the main window for the controller: creates it, connects the outlets
// and actions, then lets the controller wake up. The caller owns the window.
std::unique_ptr<MainWindow> loadMainWindow(ApplicationController& controller);

} // namespace reelhound
