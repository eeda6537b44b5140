#pragma once

#include <QString>

class QLabel;

namespace reelhound {

// The newest lines of a text that fit the label as it stands, each wrapped to
// the label's width at word boundaries (anywhere only within a word wider than
// the label), so the label never draws half a row or cuts a line at its edge.
// Lines end at "\n" or "\r"; blank lines are left out. For a label that shows
// its text as plain text, aligned to its bottom.
QString newestLinesThatFit(const QString& text, const QLabel& label);

} // namespace reelhound
