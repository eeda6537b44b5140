#pragma once

#include "app/MainWindow.h"

#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <map>

namespace reelhound::testing {

// Every key that reaches a control from anywhere in the window, and who owns
// it: the labels' mnemonics (for their buddies), the buttons', the menu bar's
// titles and the window's shortcuts. The items of a menu answer to their
// letters only while that menu is open, so each menu is a set of keys of its
// own: it is listed under the menu's title ("&File: Q").
inline std::map<QString, QStringList> windowKeyOwners(MainWindow& window) {
    std::map<QString, QStringList> owners;
    const auto note = [&](const QString& scope, const QKeySequence& key, const QString& owner) {
        if (!key.isEmpty())
            owners[scope + key.toString()] << owner;
    };
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->buddy())
            note({}, QKeySequence::mnemonic(label->text()), label->objectName());
    }
    for (QPushButton* button : window.findChildren<QPushButton*>())
        note({}, QKeySequence::mnemonic(button->text()), button->objectName());
    for (QAction* menu : window.menuBar()->actions()) {
        note({}, QKeySequence::mnemonic(menu->text()), menu->text());
        if (menu->menu()) {
            for (QAction* item : menu->menu()->actions())
                note(menu->text() + QStringLiteral(": "), QKeySequence::mnemonic(item->text()),
                     item->text());
        }
    }
    for (QShortcut* shortcut : window.findChildren<QShortcut*>())
        note({}, shortcut->key(), QStringLiteral("shortcut"));
    return owners;
}

} // namespace reelhound::testing
