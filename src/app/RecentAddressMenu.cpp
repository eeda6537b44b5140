#include "app/RecentAddressMenu.h"

#include "core/Configuration.h"
#include "core/RecentURLList.h"
#include "platform/Preferences.h"
#include "platform/Strings.h"

#include <QComboBox>
#include <QLineEdit>

namespace reelhound {
namespace {

QString preferencesKey() {
    return QString::fromLatin1(kRecentURLsKey);
}

} // namespace

RecentAddressMenu::RecentAddressMenu(QComboBox& popUp, QLineEdit& addressField,
                                     Preferences& preferences, QObject* parent)
    : QObject(parent), popUp_(popUp), addressField_(addressField), preferences_(preferences) {}

void RecentAddressMenu::registerDefaults() {
    Preferences::registerDefaults({{preferencesKey(), toQt(defaultRecentURLs())}});
}

void RecentAddressMenu::setAddresses(const QStringList& list) {
    addresses_ = list;
    const QSignalBlocker blocker(popUp_);
    popUp_.clear();
    popUp_.addItems(addresses_);
}

void RecentAddressMenu::load() {
    const auto stored = toStd(preferences_.stringArrayForKey(preferencesKey()));
    setAddresses(toQt(normalizedRecentURLs(stored)));
    connectItems();
}

void RecentAddressMenu::connectItems() {
    connect(&popUp_, &QComboBox::activated, this, &RecentAddressMenu::itemChosen,
            Qt::UniqueConnection);
}

void RecentAddressMenu::remember(const QString& shortURL) {
    auto list = toStd(addresses_);
    rememberInRecentURLs(list, toStd(shortURL));
    setAddresses(toQt(list));
    connectItems();
    store();
    popUp_.setCurrentIndex(0);
}

void RecentAddressMenu::store() {
    QStringList titles;
    titles.reserve(popUp_.count());
    for (int i = 0; i < popUp_.count(); ++i)
        titles.push_back(popUp_.itemText(i));
    preferences_.setObjectForKey(titles, preferencesKey());
}

void RecentAddressMenu::itemChosen(int itemIndex) {
    addressField_.setText(QStringLiteral("http://") + popUp_.itemText(itemIndex));
}

} // namespace reelhound
