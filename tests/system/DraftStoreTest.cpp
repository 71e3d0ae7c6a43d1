// Each system's draft store: a draft replaced whole, read back exactly, removed, and on Linux for the student's
// account alone whatever the umask.
#include "support/TempFolder.h"
#include "system/SystemDraftStore.h"

#include <gtest/gtest.h>

// A browser's private file system has no accounts, and no modes to check.
#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
#define KELVRAST_FILE_MODES
#include <sys/stat.h>
#endif

using namespace kelvrast;
using kelvrast::testing::TempFolder;

namespace {

std::size_t entriesIn(const std::filesystem::path& folder) {
    return kelvrast::testing::entriesOf(folder).size();
}

} // namespace

TEST(DraftStoreTest, ADraftIsReplacedWholeReadBackAndRemoved) {
#ifdef KELVRAST_FILE_MODES
    const mode_t oldMask = ::umask(022);
#endif
    TempFolder home;
    // The folders above it are missing too, as $XDG_STATE_HOME is on a new account.
    const std::filesystem::path folder = home.path() / "state" / "kelvrast";
    SystemDraftStore store(folder);
    const std::string first("first draft\r\n\0\xff", 16);
    const std::string second = std::string(100000, 'x') + "second";

    EXPECT_TRUE(store.read("draft_Ann.txt").status().isNotFound());
    ASSERT_TRUE(store.replace("draft_Ann.txt", first).ok());
    ASSERT_TRUE(store.replace("draft_Ann.txt", second).ok());
    ASSERT_TRUE(store.read("draft_Ann.txt").ok());
    EXPECT_EQ(store.read("draft_Ann.txt").value(), second);
    EXPECT_EQ(store.pathOf("draft_Ann.txt"), folder / "draft_Ann.txt");
    // The copy that replaced it is gone with its name.
    EXPECT_EQ(entriesIn(folder), 1u);
#ifdef KELVRAST_FILE_MODES
    struct stat seen {};
    ASSERT_EQ(::stat(folder.c_str(), &seen), 0);
    EXPECT_EQ(seen.st_mode & 07777, 0700u);
    ASSERT_EQ(::stat((home.path() / "state").c_str(), &seen), 0);
    EXPECT_EQ(seen.st_mode & 07777, 0700u);
    ASSERT_EQ(::stat(store.pathOf("draft_Ann.txt").c_str(), &seen), 0);
    EXPECT_EQ(seen.st_mode & 07777, 0600u);
    ::umask(oldMask);
#endif
    ASSERT_TRUE(store.remove("draft_Ann.txt").ok());
    EXPECT_TRUE(store.read("draft_Ann.txt").status().isNotFound());
    EXPECT_TRUE(store.remove("draft_Ann.txt").ok());
    EXPECT_EQ(entriesIn(folder), 0u);
}
