#pragma once

#include "core/UserText.h"

// Plain words for why a file could not be read, written or made, from the
// system's error number.
namespace reelhound {

// Each a whole sentence for the person; the layers above translate them in
// the context "FileError".
inline constexpr const char* kDiskFullWords = REELHOUND_USER_TEXT("FileError", "The disk is full.");

// The words for an error number, or nullptr where the system's own
// description (strerror) says it as well as anything.
const char* fileErrorText(int code);

} // namespace reelhound
