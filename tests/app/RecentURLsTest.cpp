#include "app/ApplicationFixture.h"
#include "core/Configuration.h"

#include <QFile>
#include <QSettings>

using namespace reelhound;
using reelhound::testing::ApplicationFixture;

using RecentAddresses = ApplicationFixture;

namespace {

const QString kKey = QStringLiteral("RHDRecentURLs");

QStringList items(QComboBox* popUp) {
    QStringList titles;
    for (int i = 0; i < popUp->count(); ++i)
        titles << popUp->itemText(i);
    return titles;
}

QString watch(const QString& id) {
    return QStringLiteral("www.vistaro.com/watch?v=") + id;
}

const QStringList kPlaceholders = {"Recent URL 1", "Recent URL 2", "Recent URL 3", "Recent URL 4",
                                   "Recent URL 5"};

} // namespace

TEST_F(RecentAddresses, firstRun_showsPlaceholdersAndAChosenOneIsRefused) {
    launch();
    EXPECT_EQ(items(ui().recentURLPopUpButton), kPlaceholders);
    EXPECT_EQ(controller->recentURLArray(), kPlaceholders);

    emit ui().recentURLPopUpButton->activated(2);
    EXPECT_EQ(ui().URLEntryTextField->text(), QStringLiteral("http://Recent URL 3"));
    EXPECT_EQ(controller->recentURLArray(), kPlaceholders); // choosing changes nothing

    ui().URLGetURLButton->click();
    ASSERT_EQ(desktop.alerts.size(), 1u);
    EXPECT_EQ(controller->recentURLArray(), kPlaceholders);
    EXPECT_FALSE(QSettings(settingsPath(), QSettings::IniFormat).contains(kKey));
}

TEST_F(RecentAddresses, acceptedAddresses_rotateTheMenuAndSurviveARestart) {
    launch();
    enterAddressAndGet(QStringLiteral("http://") + watch("A"));
    EXPECT_EQ(
        items(ui().recentURLPopUpButton),
        (QStringList{watch("A"), "Recent URL 1", "Recent URL 2", "Recent URL 3", "Recent URL 4"}));
    EXPECT_EQ(ui().recentURLPopUpButton->currentIndex(), 0);

    for (const char* id : {"B", "C", "D", "E", "F"})
        enterAddressAndGet(watch(id)); // without the scheme
    const QStringList newestFirst{watch("F"), watch("E"), watch("D"), watch("C"), watch("B")};
    EXPECT_EQ(controller->recentURLArray(), newestFirst);
    EXPECT_EQ(items(ui().recentURLPopUpButton), newestFirst);

    // A refused address changes nothing; an entry comes back with its scheme.
    enterAddressAndGet(QStringLiteral("https://nowhere"));
    EXPECT_EQ(controller->recentURLArray(), newestFirst);
    emit ui().recentURLPopUpButton->activated(4);
    EXPECT_EQ(ui().URLEntryTextField->text(), QStringLiteral("http://") + watch("B"));

    relaunch();
    EXPECT_EQ(items(ui().recentURLPopUpButton), newestFirst);
    enterAddressAndGet(watch("F"));
    EXPECT_EQ(controller->recentURLArray().mid(0, 2), (QStringList{watch("F"), watch("F")}));
}

TEST_F(RecentAddresses, addressesWithSeparatorsAndNonAsciiText_roundTripThroughTheStore) {
    launch();
    const QString odd = watch(QStringLiteral("a,b;\"c\"=d é 😀 %s"));
    enterAddressAndGet(odd);
    relaunch();
    EXPECT_EQ(controller->recentURLArray().first(), odd);
}

TEST_F(RecentAddresses, storedValuesSomethingElseWrote_stillGiveFiveUsableEntries) {
    struct Shape {
        const char* what;
        QVariant stored;
        QStringList expected;
    };
    const Shape shapes[] = {
        {"a single string",
         QStringLiteral("one"),
         {"one", "Recent URL 2", "Recent URL 3", "Recent URL 4", "Recent URL 5"}},
        {"a number", 42, kPlaceholders},
        {"a map", QVariantMap{{"x", 1}}, kPlaceholders},
        {"two entries",
         QStringList{"a", "b"},
         {"a", "b", "Recent URL 3", "Recent URL 4", "Recent URL 5"}},
        {"seven entries",
         QStringList{"1", "2", "3", "4", "5", "6", "7"},
         {"1", "2", "3", "4", "5"}},
        {"entries that are not strings",
         QVariantList{1, QStringLiteral("kept"), QVariantMap{}, 2.5},
         {"kept", "Recent URL 2", "Recent URL 3", "Recent URL 4", "Recent URL 5"}},
    };
    for (const auto& shape : shapes) {
        SCOPED_TRACE(shape.what);
        {
            QSettings settings(settingsPath(), QSettings::IniFormat);
            settings.setValue(kKey, shape.stored);
        }
        relaunch();
        EXPECT_EQ(controller->recentURLArray(), shape.expected);
        EXPECT_EQ(items(ui().recentURLPopUpButton), shape.expected);
        enterAddressAndGet(watch("N"));
        EXPECT_EQ(controller->recentURLArray().size(), 5);
        EXPECT_EQ(controller->recentURLArray().first(), watch("N"));
        QFile::remove(settingsPath());
    }
}

TEST_F(RecentAddresses, corruptSettingsFile_startsWithPlaceholders) {
    {
        QFile file(settingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\x00\xff[General\nRHDRecentURLs=@Variant(\x00\x00\x00\x7f\xff\xff)\n[[[\n", 40);
    }
    launch();
    EXPECT_EQ(controller->recentURLArray().size(), 5);
    enterAddressAndGet(watch("ok"));
    EXPECT_EQ(controller->recentURLArray().first(), watch("ok"));
}
