#pragma once

#include "app/MainWindow.h"

#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <map>

namespace reelhound::testing {

// Every key that reaches a control from anywhere in the window, and who owns
// it: the labels' mnemonics (for their buddies), the buttons', the menu bar's
// and the window's shortcuts.
inline std::map<QString, QStringList> windowKeyOwners(MainWindow& window) {
    std::map<QString, QStringList> owners;
    const auto note = [&](const QKeySequence& key, const QString& owner) {
        if (!key.isEmpty())
            owners[key.toString()] << owner;
    };
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->buddy())
            note(QKeySequence::mnemonic(label->text()), label->objectName());
    }
    for (QPushButton* button : window.findChildren<QPushButton*>())
        note(QKeySequence::mnemonic(button->text()), button->objectName());
    for (QAction* menu : window.menuBar()->actions())
        note(QKeySequence::mnemonic(menu->text()), menu->text());
    for (QShortcut* shortcut : window.findChildren<QShortcut*>())
        note(shortcut->key(), QStringLiteral("shortcut"));
    return owners;
}

} // namespace reelhound::testing
