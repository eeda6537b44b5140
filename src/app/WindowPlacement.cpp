#include "app/WindowPlacement.h"

#include "app/widgets/ScrollingContent.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QWindow>
#include <algorithm>

namespace reelhound {
namespace {

// The room inside the window's frame. The frame is known only once a window
// manager has framed the window; until then it counts as none.
QSize roomFor(QMainWindow& window, const QScreen& screen) {
    window.winId(); // the native window, which knows its frame once it has one
    const QMargins frame = window.windowHandle()->frameMargins();
    return screen.availableGeometry().size() -
           QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
}

void limitMinimumTo(QMainWindow& window, const QSize& room) {
    auto* content = qobject_cast<ScrollingContent*>(window.centralWidget());
    if (content == nullptr)
        return;
    // The menu and status bars keep their height; the content gets the rest.
    content->setLargestMinimumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    window.layout()->activate();
    const int bars = window.minimumSizeHint().height() - content->minimumSizeHint().height();
    QSize largest(room.width(), room.height() - bars);
    content->setLargestMinimumSize(largest);
    window.layout()->activate();
    // Whatever else the window adds to its content's width or height.
    const QSize over = (window.minimumSizeHint() - room).expandedTo(QSize(0, 0));
    if (!over.isEmpty() || over.width() > 0 || over.height() > 0) {
        content->setLargestMinimumSize(largest - over);
        window.layout()->activate();
    }
}

} // namespace

void placeWindowOnScreen(QMainWindow& window, const QScreen& screen) {
    const QSize room = roomFor(window, screen);
    limitMinimumTo(window, room);
    window.resize(window.size().boundedTo(room).expandedTo(window.minimumSize()));
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen.availableGeometry().center());
    // Centred, and its top left corner on the screen whatever the frame.
    const QPoint corner = screen.availableGeometry().topLeft();
    frame.moveTopLeft(
        QPoint(std::max(frame.left(), corner.x()), std::max(frame.top(), corner.y())));
    window.move(frame.topLeft());
}

void showPlacedWindow(QMainWindow& window) {
    // Centre on the screen the window will appear on, at a size that fits it.
    if (QLayout* layout = window.layout())
        layout->activate();
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen)
        placeWindowOnScreen(window, *screen);
    window.show();
    // Shown, the window may have learnt the size of its frame.
    if (screen)
        placeWindowOnScreen(window, *screen);
    window.raise();
    window.activateWindow();
    window.repaint();
}

} // namespace reelhound
