#include "core/FileErrorText.h"

#include <cerrno>

namespace reelhound {

const char* fileErrorText(int code) {
    switch (code) {
    case ENOSPC:
        return kDiskFullWords;
    case EDQUOT:
        return REELHOUND_USER_TEXT("FileError", "Your disk quota is used up.");
    case EROFS:
        return REELHOUND_USER_TEXT("FileError", "The disk is read-only.");
    case EACCES:
    case EPERM:
        return REELHOUND_USER_TEXT("FileError", "Access was denied.");
    default:
        return nullptr;
    }
}

} // namespace reelhound
