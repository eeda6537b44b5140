#include "app/ApplicationFixture.h"
#include "app/DesktopIntegration.h"
#include "app/WindowKeys.h"
#include "platform/Strings.h"
#include "support/InstalledTranslation.h"

#include <QFile>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>
#include <algorithm>
#include <memory>

using namespace reelhound;
using reelhound::testing::ApplicationFixture;
using reelhound::testing::InstalledTranslation;
using reelhound::testing::windowKeyOwners;

namespace {

// The languages Reelhound ships besides English.
const QStringList kLanguages = {QStringLiteral("de"), QStringLiteral("fr"), QStringLiteral("es")};

struct Message {
    QString context;
    QString source;
    bool numerus = false;
    QString type;           // the translation's type attribute: empty when finished
    QStringList forms;      // one text, or every plural form
};

std::vector<Message> readTs(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    std::vector<Message> messages;
    QString context;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            messages.push_back({context, {}, xml.attributes().value("numerus") == u"yes", {}, {}});
        } else if (xml.name() == u"source") {
            messages.back().source = xml.readElementText();
        } else if (xml.name() == u"translation") {
            messages.back().type = xml.attributes().value("type").toString();
            if (!messages.back().numerus)
                messages.back().forms << xml.readElementText();
        } else if (xml.name() == u"numerusform") {
            messages.back().forms << xml.readElementText();
        }
    }
    return messages;
}

QString tsPath(const QString& language) {
    return QStringLiteral(REELHOUND_SOURCE_DIR "/translations/reelhound_%1.ts").arg(language);
}

// The arguments a text fills in, in order of number: "%2 of %1" gives "%1 %2".
QString arguments(const QString& text) {
    static const QRegularExpression marker(QStringLiteral("%(n|\\d+)"));
    QStringList found;
    for (const auto& match : marker.globalMatch(text))
        found << match.captured();
    std::sort(found.begin(), found.end());
    return found.join(' ');
}

// How many keyboard mnemonics a text has ("&&" is a plain ampersand).
qsizetype mnemonics(QString text) {
    return text.remove(QStringLiteral("&&")).count('&');
}

class EachLanguage : public ::testing::TestWithParam<QString> {};

class WindowInEachLanguage : public ApplicationFixture,
                             public ::testing::WithParamInterface<QString> {};

} // namespace

TEST_P(EachLanguage, everyText_hasAFinishedTranslationWithTheSourcesArgumentsAndKeys) {
    const auto messages = readTs(tsPath(GetParam()));
    const auto english = readTs(tsPath(QStringLiteral("en")));
    ASSERT_FALSE(messages.empty());
    ASSERT_EQ(messages.size(), english.size()) << "run the update_translations target";
    for (const Message& message : messages) {
        const std::string where = (message.context + " / " + message.source).toStdString();
        // "unfinished", "vanished" and "obsolete" all leave a text the person cannot read.
        EXPECT_TRUE(message.type.isEmpty()) << message.type.toStdString() << ": " << where;
        ASSERT_FALSE(message.forms.isEmpty()) << where;
        for (const QString& form : message.forms) {
            EXPECT_FALSE(form.trimmed().isEmpty()) << where;
            EXPECT_EQ(arguments(form), arguments(message.source)) << where << " -> " << form.toStdString();
            EXPECT_EQ(mnemonics(form), mnemonics(message.source)) << where << " -> " << form.toStdString();
        }
    }
}

TEST_P(EachLanguage, compiledFile_holdsEveryTranslationOfTheTsFile) {
    const InstalledTranslation installed(GetParam());
    ASSERT_TRUE(installed.loaded());
    for (const Message& message : readTs(tsPath(GetParam()))) {
        const QByteArray context = message.context.toUtf8();
        const QByteArray source = message.source.toUtf8();
        if (message.numerus) {
            // One and two are different forms in every language shipped.
            EXPECT_EQ(installed.translator().translate(context, source, nullptr, 1), message.forms.first());
            EXPECT_EQ(installed.translator().translate(context, source, nullptr, 2), message.forms.last());
        } else {
            EXPECT_EQ(installed.translator().translate(context, source), message.forms.first())
                << message.source.toStdString();
        }
    }
}

TEST_P(EachLanguage, launcherEntryAndDescription_haveTheLanguage) {
    const QString language = GetParam();
    QFile entry(QStringLiteral(REELHOUND_SOURCE_DIR "/resources/desktop/%1.desktop").arg(kDesktopId));
    QFile metainfo(QStringLiteral(REELHOUND_SOURCE_DIR "/resources/desktop/%1.metainfo.xml").arg(kDesktopId));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly) && metainfo.open(QIODevice::ReadOnly));
    const QString entryText = QString::fromUtf8(entry.readAll());
    for (const char* key : {"GenericName", "Comment", "Keywords"})
        EXPECT_TRUE(entryText.contains(QStringLiteral("\n%1[%2]=").arg(QLatin1String(key), language))) << key;
    EXPECT_TRUE(QString::fromUtf8(metainfo.readAll())
                    .contains(QStringLiteral("<summary xml:lang=\"%1\">").arg(language)));
}

TEST_P(WindowInEachLanguage, everyControlKey_belongsToOneControl) {
    const InstalledTranslation installed(GetParam());
    ASSERT_TRUE(installed.loaded());
    launch();
    ASSERT_NE(ui().URLGetURLButton->text(), QStringLiteral("&Get")); // the language is on
    const auto owners = windowKeyOwners(*window);
    const QKeySequence download = QKeySequence::mnemonic(ui().FLVGetFLVButton->text());
    EXPECT_FALSE(download.isEmpty());
    EXPECT_EQ(owners.count(download.toString()), 1u);
    for (const auto& [key, who] : owners)
        EXPECT_EQ(who.size(), 1) << key.toStdString() << ": " << who.join(", ").toStdString();
    // The toggling buttons' other titles, while work runs.
    for (const char* other : {"Sto&p", "Cance&l"}) {
        const QString title = QCoreApplication::translate("reelhound::ApplicationController", other);
        const QKeySequence key = QKeySequence::mnemonic(title);
        EXPECT_FALSE(key.isEmpty()) << title.toStdString();
        EXPECT_EQ(owners.count(key.toString()), 0u) << title.toStdString();
    }
    // The question about replacing a file: a key for each of its buttons.
    const auto keyOf = [](const char* text) {
        return QKeySequence::mnemonic(
            QCoreApplication::translate("reelhound::ApplicationController", text));
    };
    EXPECT_FALSE(keyOf("&Replace").isEmpty());
    EXPECT_FALSE(keyOf("&Cancel").isEmpty());
    EXPECT_NE(keyOf("&Replace"), keyOf("&Cancel"));
}

INSTANTIATE_TEST_SUITE_P(Languages, EachLanguage, ::testing::ValuesIn(kLanguages),
                         [](const auto& info) { return info.param.toStdString(); });
INSTANTIATE_TEST_SUITE_P(Languages, WindowInEachLanguage, ::testing::ValuesIn(kLanguages),
                         [](const auto& info) { return info.param.toStdString(); });

struct ProgressCase {
    const char* language;
    std::int64_t bytes;
    std::int64_t length; // -1: unknown
    const char* line;
};

TEST(ProgressLineTranslation, byteCount_picksThePluralForm) {
    const ProgressCase cases[] = {
        {"de", 1, -1, "1 Byte empfangen"},
        {"de", 2, -1, "2 Bytes empfangen"},
        {"en", 1, 4, "received 1 bytes / 25.00 percent complete"},
        {"en", 36864, 168960, "received 36864 bytes / 21.82 percent complete"},
        // Other languages write their numbers their own way.
        {"de", 1, 4, "1 Byte empfangen / 25,00 Prozent fertig"},
        // Beyond an int: the count must not wrap into a singular or a negative.
        {"de", 3'000'000'001, -1, "3000000001 Bytes empfangen"},
        {"de", 4'294'967'297, -1, "4294967297 Bytes empfangen"},
        {"fr", 0, -1, "0 octet reçu"},
        {"fr", 1, -1, "1 octet reçu"},
        {"fr", 2, 4, "2 octets reçus / terminé à 50,00 pour cent"},
        {"es", 1, 8, "1 byte recibido / 12,50 por ciento completado"},
        {"es", 1, -1, "1 byte recibido"},
        {"es", 1'000'000, -1, "1000000 bytes recibidos"},
    };
    for (const ProgressCase& c : cases) {
        const InstalledTranslation installed(QString::fromLatin1(c.language));
        ASSERT_TRUE(installed.loaded());
        EXPECT_EQ(downloadProgressLine(downloadProgress(c.bytes, c.length)), QString::fromUtf8(c.line))
            << c.language << " " << c.bytes;
    }
}

TEST(RateLineTranslation, figuresFollowTheLanguage) {
    const TransferRateLine left{kRateSecondsLeftText, 12.34, 64.0, 4.2, 12};
    const TransferRateLine unknownLength{kRateText, 1234.5, 0.0, 0.24, 0};
    const struct {
        const char* language;
        TransferRateLine line;
        const char* text;
    } cases[] = {
        {"en", left, "12.3 of 64.0 MB at 4.2 MB/s, about 12 s left"},
        {"en", unknownLength, "1234.5 MB at 0.2 MB/s"},
        {"de", left, "12,3 von 64,0 MB mit 4,2 MB/s, noch etwa 12 s"},
        {"fr", unknownLength, "1234,5 Mo à 0,2 Mo/s"},
        {"es", {kRateMinutesLeftText, 1.0, 900.0, 2.5, 6}, "1,0 de 900,0 MB a 2,5 MB/s, quedan unos 6 min"},
    };
    for (const auto& c : cases) {
        const InstalledTranslation installed(QString::fromLatin1(c.language));
        ASSERT_TRUE(installed.loaded());
        EXPECT_EQ(transferRateText(c.line), QString::fromUtf8(c.text)) << c.language;
    }
}
