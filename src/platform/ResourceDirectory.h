#pragma once

#include <QString>

namespace reelhound {

// <directory of the executable>/../share/reelhound, in the build tree and in
// an installed tree alike.
QString applicationResourceDirectory();

// The full path of the named resource in the resource directory, or a null
// string when there is no such file. An empty type means no extension.
QString pathForResource(const QString& name, const QString& type);

} // namespace reelhound
