#include "support/TempFolder.h"
#include "system/web/WebDraftStore.h"

#include <gtest/gtest.h>

#include <emscripten.h>

using namespace kelvrast;
using namespace kelvrast::testing;

namespace {

// Holds the file with a sync access handle of its own, as the program in another tab does while it writes the same
// student's draft: for the given time, or with none until letGo().
// clang-format off
EM_ASYNC_JS(void, holdFile, (const char* path, int milliseconds), {
    const names = UTF8ToString(path).split("/").filter((name) => name !== "");
    let folder = await navigator.storage.getDirectory();
    for (const name of names.slice(0, -1)) folder = await folder.getDirectoryHandle(name);
    const handle = await (await folder.getFileHandle(names[names.length - 1])).createSyncAccessHandle();
    if (milliseconds > 0) setTimeout(() => handle.close(), milliseconds);
    else Module.heldFile = handle;
});

EM_JS(void, letGo, (), { Module.heldFile.close(); });
// clang-format on

} // namespace

// Two tabs of one student share the draft's file. A hold of a moment is waited out, as a held answer file is; one
// that lasts is told as the other tab's, and the draft is as it was. The moment's hold ends on a timer set before
// the program's first try, so it ends before the tries of about a second do.
TEST(HeldDraft, AMomentsHoldIsWaitedOutAndALongOneIsToldAsAnotherTabs) {
    for (const bool removing : {true, false})
        for (const bool shortHold : {true, false}) {
            SCOPED_TRACE(std::string(removing ? "remove, " : "replace, ") +
                         (shortHold ? "a moment's hold" : "a long hold"));
            TempFolder folder;
            const std::filesystem::path draft = folder.path() / "draft_Ann.txt";
            writeBytes(draft, "typed");
            WebDraftStore store(folder.path());
            holdFile(draft.c_str(), shortHold ? 200 : 0);

            const Status done = removing ? store.remove(draft.filename()) : store.replace(draft.filename(), "more");
            if (shortHold) {
                EXPECT_TRUE(done.ok()) << std::string(done.message().begin(), done.message().end());
                EXPECT_EQ(isThere(draft), !removing);
                if (!removing)
                    EXPECT_EQ(readBytes(draft), "more");
            } else {
                ASSERT_FALSE(done.ok());
                EXPECT_NE(done.message().find(u"another tab or window"), std::u16string::npos);
                letGo();
                EXPECT_EQ(readBytes(draft), "typed");
            }
        }
}
