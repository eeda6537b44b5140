#include "core/SourceFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

using namespace reelhound;
namespace fs = std::filesystem;

namespace {

class SourceFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/reelhound-source-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(directory_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(directory_, ignored);
    }

    std::string makeFile(const std::string& name) {
        const fs::path path = directory_ / name;
        std::ofstream(path) << "FLV";
        return path.string();
    }

    fs::path directory_;
};

} // namespace

TEST_F(SourceFileTest, readableFlvFile_isAccepted) {
    const std::string path = makeFile("clip.flv");
    EXPECT_TRUE(isConvertibleSourcePath(path));
    EXPECT_TRUE(isConvertibleSourcePath(makeFile("clip.old.flv")));
    EXPECT_TRUE(isConvertibleSourcePath(makeFile("with space.flv")));
}

TEST_F(SourceFileTest, emptyOrMissingPath_isRefused) {
    EXPECT_FALSE(isConvertibleSourcePath(""));
    EXPECT_FALSE(isConvertibleSourcePath((directory_ / "missing.flv").string()));
    fs::create_symlink(directory_ / "missing.flv", directory_ / "dangling.flv");
    EXPECT_FALSE(isConvertibleSourcePath((directory_ / "dangling.flv").string()));
}

TEST_F(SourceFileTest, otherExtensions_areRefusedAlthoughTheFileIsThere) {
    for (const char* name : {"clip.FLV", "clip.Flv", "clip.flv.part", "clip", ".flv", "clip."}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(isConvertibleSourcePath(makeFile(name)));
    }
}

TEST_F(SourceFileTest, directoryNamedLikeAVideo_isAccepted) {
    // Existing and readable is all that is asked; the converter refuses it later.
    fs::create_directory(directory_ / "clip.flv");
    EXPECT_TRUE(isConvertibleSourcePath((directory_ / "clip.flv").string()));
    EXPECT_TRUE(isConvertibleSourcePath((directory_ / "clip.flv").string() + "/"));
    fs::create_directory(directory_ / "clips.flv");
    EXPECT_FALSE(isConvertibleSourcePath(makeFile("clips.flv/clip.mp4")));
}

TEST_F(SourceFileTest, unreadableFile_isRefused) {
    const std::string locked = makeFile("locked.flv");
    const std::string open = makeFile("open.flv");
    fs::permissions(locked, fs::perms::none);
    if (!std::ifstream(locked).is_open()) {
        EXPECT_FALSE(isConvertibleSourcePath(locked));
        EXPECT_TRUE(isConvertibleSourcePath(open));
        return;
    }

    // Root reads everything; ask as an ordinary user in a child instead.
    if (geteuid() != 0)
        GTEST_SKIP() << "this process reads files without read permission";
    fs::permissions(directory_,
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0)
            _exit(2);
        const bool lockedRefused = !isConvertibleSourcePath(locked);
        const bool openAccepted = isConvertibleSourcePath(open);
        _exit(lockedRefused && openAccepted ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "could not switch to an ordinary user to test read permission";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "an unreadable file passed, or a readable one failed";
}

TEST_F(SourceFileTest, pathWithEmbeddedNul_isRefused) {
    const std::string path = makeFile("clip.flv");
    EXPECT_FALSE(isConvertibleSourcePath(path + std::string("\0.txt", 5)));
}
