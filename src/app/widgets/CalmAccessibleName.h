#pragma once

#include <QString>

class QLabel;

namespace reelhound {

// A line that changes many times a second (a download's byte count, the
// converter's output) is named for what it is, followed by its text
// ("Amount downloaded: received 512 bytes"). A screen reader speaks every
// change of a name, so the name follows the text at most once in
// kCalmNameInterval, and then with the latest text.
inline constexpr int kCalmNameIntervalMs = 2000;

void nameLineCalmly(QLabel& line, const QString& what);
// Call after every change of the line's text.
void lineTextChanged(QLabel& line);

} // namespace reelhound
