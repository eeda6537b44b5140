#include "platform/FileDescriptor.h"
#include "platform/FileErrors.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <fcntl.h>

using namespace reelhound;

// Every file error reaches the person in these words, and every sync that
// the file system refuses is judged by the same rule.
TEST(FileErrors, errorNumbers_mapToTheirWordsAndSyncVerdict) {
    const struct {
        int code;
        const char* words;
        bool syncUnsupported;
    } cases[] = {
        {ENOSPC, "The disk is full.", false},
        {EDQUOT, "Your disk quota is used up.", false},
        {EROFS, "The disk is read-only.", true},
        {EACCES, "Access was denied.", false},
        {EPERM, "Access was denied.", false},
        {EFBIG, "File too large.", false}, // the system's own words otherwise
        {EIO, "Input/output error.", false},
        {EINVAL, "Invalid argument.", true},
        {ENOTSUP, "Operation not supported.", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(describeFileError(c.code), QString::fromUtf8(c.words)) << c.code;
        EXPECT_EQ(isSyncUnsupported(c.code), c.syncUnsupported) << c.code;
    }
}

// A descriptor is closed exactly once, by whoever holds it last.
TEST(FileErrors, fileDescriptor_closesOnceWhenItsLastOwnerGoes) {
    const auto isOpen = [](int fd) { return ::fcntl(fd, F_GETFD) != -1; };
    int raw = -1;
    {
        FileDescriptor first(::open("/dev/null", O_RDONLY | O_CLOEXEC));
        raw = first.get();
        ASSERT_TRUE(isOpen(raw));
        FileDescriptor second = std::move(first);
        EXPECT_FALSE(first.isOpen());
        EXPECT_TRUE(isOpen(raw)) << "a move does not close";
        const int released = FileDescriptor(second.release()).get();
        EXPECT_EQ(released, raw);
        EXPECT_FALSE(isOpen(raw)) << "the temporary that took it closed it";
        EXPECT_FALSE(second.isOpen());
    }
}
