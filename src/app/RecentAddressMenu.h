#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QComboBox;
class QLineEdit;

namespace reelhound {

class Preferences;

// The last five accepted addresses: kept in the preferences, listed in the
// pop-up, and put into the address field when one is picked.
class RecentAddressMenu : public QObject {
    Q_OBJECT

public:
    RecentAddressMenu(QComboBox& popUp, QLineEdit& addressField, Preferences& preferences,
                      QObject* parent = nullptr);

    // Registers the addresses a first run starts with.
    static void registerDefaults();

    const QStringList& addresses() const { return addresses_; }
    // The pop-up's items follow the list, index for index.
    void setAddresses(const QStringList& list);
    void load();
    // The address goes first, once, and the list is stored.
    void remember(const QString& shortURL);
    // Every item sends the same action; the chosen item's index comes with it.
    void connectItems();
    void itemChosen(int itemIndex);

private:
    void store();

    QComboBox& popUp_;
    QLineEdit& addressField_;
    Preferences& preferences_;
    QStringList addresses_;
};

} // namespace reelhound
