#pragma once

#include <QByteArray>
#include <QString>

// Files the tests lay out and look at afterwards.
namespace reelhound::testing {

// Writes bytes to path, replacing what was there; the test fails if it cannot.
void writeFile(const QString& path, const QByteArray& bytes);
// What the file at path holds; empty when it cannot be read.
QByteArray contentsOf(const QString& path);
// A test clip with sound (320x240, seconds long) made by the real ffmpeg.
bool makeClip(const QString& path, int seconds = 2);

} // namespace reelhound::testing
