#include "platform/ConverterProcess.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace reelhound;

// The converter's bytes as the window shows them: valid UTF-8 unchanged,
// anything else (a character cut between chunks too) as U+FFFD, never nothing.
TEST(ConverterOutputText, invalidUtf8_showsAsReplacementCharacters) {
    const QString R(QChar::ReplacementCharacter);
    const struct {
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"frame=  25 caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xAC\r\n",
         QStringLiteral(u"frame=  25 caf\u00e9 \u20ac \U0001F3AC\r\n")},
        {QByteArray("a\0b", 3), QString(reinterpret_cast<const QChar*>(u"a\0b"), 3)},
        {"caf\xC3", "caf" + R},                    // the first half of a character
        {"\xA9 ok", R + " ok"},                    // and the second, in the next chunk
        {"\xF0\x9F\x8E", R + R + R},               // a four-byte character cut short
        {"\xFF\xFE", R + R},                       // never in UTF-8
        {"\xC0\xAF", R + R},                       // an overlong "/"
        {"\xED\xA0\x80", R + R + R},               // a surrogate
        {"\xF4\x90\x80", R + R + R},               // above U+10FFFF
        {"\xE2\x82x", R + R + "x"},                // cut short by a plain character
        {"\xE2\x82\xC3\xA9", R + R + u'\u00e9'},   // cut short by a whole one
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeConverterOutput(c.bytes), c.text) << c.bytes.toHex(' ').toStdString();
}
