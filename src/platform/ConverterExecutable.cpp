#include "platform/ConverterExecutable.h"

#include "platform/ResourceDirectory.h"

namespace reelhound {

QString converterSearchPath() {
    return applicationResourceDirectory() + QStringLiteral("/ffmpeg");
}

QString converterExecutablePath() {
    return pathForResource(QStringLiteral("ffmpeg"), QString());
}

} // namespace reelhound
