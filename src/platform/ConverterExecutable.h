#pragma once

#include <QString>

namespace reelhound {

// Where the converter is looked for: the resource "ffmpeg" (no extension) in
// the application's resource directory, whether or not anything is there.
QString converterSearchPath();

// The converter's full path, or a null string when the application carries
// none. Looked up afresh on every call, so a converter put in place while the
// application runs is found by the next conversion.
QString converterExecutablePath();

} // namespace reelhound
