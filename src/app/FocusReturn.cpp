#include "app/FocusReturn.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

namespace reelhound {

void returnFocusWhenClosed(QDialog& dialog, QWidget* parent) {
    if (parent == nullptr)
        return;
    const QPointer<QWidget> window = parent->window();
    const QPointer<QWidget> opener = QApplication::focusWidget();
    QObject::connect(&dialog, &QDialog::finished, window, [window, opener] {
        QMetaObject::invokeMethod(
            window,
            [window, opener] {
                window->raise();
                window->activateWindow();
                // A control that went out of use meanwhile has handed the focus on.
                if (opener && opener->window() == window && opener->isEnabled() &&
                    opener->isVisible())
                    opener->setFocus(Qt::OtherFocusReason);
            },
            Qt::QueuedConnection);
    });
}

} // namespace reelhound
