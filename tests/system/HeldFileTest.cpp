#ifdef _WIN32

#include "support/TempFolder.h"
#include "system/shared/UnfinishedAppend.h"
#include "system/windows/Win32Files.h"

#include <gtest/gtest.h>

#include <chrono>

#include <windows.h>

using namespace kelvrast;
using namespace kelvrast::testing;

// Another program holds the SEND file without sharing it, as a virus scanner or a backup does for a moment. A hold
// that ends while the program waits costs the student nothing; one that lasts gives the message after the tries of
// about a second, and the file is as it was. The same holds for a file that only the repair of an answer the last
// run left unfinished opens: the append waits for it, and gives up without writing anything.
TEST(HeldFile, AShortHoldIsWaitedOutAndALongOneIsReported) {
    for (const bool heldForTheRepair : {false, true})
        for (const bool endsWhileWaiting : {true, false}) {
            SCOPED_TRACE(std::string(heldForTheRepair ? "held for the repair, " : "") +
                         (endsWhileWaiting ? "a short hold" : "a long hold"));
            TempFolder home;
            const std::filesystem::path file = home.path() / "send_0101Ann.txt";
            const std::filesystem::path master = home.path() / "masterFile_Ann.txt";
            const std::filesystem::path notes = home.path() / "notes_Ann.txt";
            writeBytes(file, "kept\r\n");
            std::filesystem::path held = file;
            if (heldForTheRepair) {
                // The last run stopped with the master file's block in and the notes file's block not yet.
                const std::string block = "block\r\n";
                ASSERT_TRUE(Win32Files().appendBlocks({{master, "kept\r\n"}, {notes, "kept\r\n"}}).ok());
                writeBytes(master, "kept\r\n" + block);
                const auto written = std::chrono::file_clock::to_sys(std::filesystem::last_write_time(master));
                writeBytes(
                    unfinished::notePath(master),
                    unfinished::stampedNoteOf(
                        {{{}, 6, block}, {notes.filename(), 6, block}},
                        std::chrono::duration_cast<std::chrono::nanoseconds>(written.time_since_epoch()).count()));
                held = notes;
            }
            HANDLE holder =
                ::CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(holder, INVALID_HANDLE_VALUE);
            int waits = 0;
            Win32Files files([&] {
                if (++waits == 3 && endsWhileWaiting) {
                    ::CloseHandle(holder);
                    holder = INVALID_HANDLE_VALUE;
                }
            });
            Status appended = Status::success();
            if (heldForTheRepair)
                appended = files.appendBlocks({{master, "next\r\n"}, {file, "next\r\n"}});
            else if (const Result<AppendReceipt> one = files.appendBlock(file, "block\r\n"); !one.ok())
                appended = one.status();
            if (holder != INVALID_HANDLE_VALUE)
                ::CloseHandle(holder);

            if (endsWhileWaiting) {
                EXPECT_TRUE(appended.ok());
                EXPECT_EQ(waits, 3);
                EXPECT_EQ(readBytes(file), heldForTheRepair ? "kept\r\nnext\r\n" : "kept\r\nblock\r\n");
            } else {
                ASSERT_FALSE(appended.ok());
                EXPECT_NE(appended.message().find(u"another program is using it"), std::u16string::npos);
                EXPECT_EQ(waits, 19);
                EXPECT_EQ(readBytes(file), "kept\r\n");
            }
            if (heldForTheRepair) {
                EXPECT_EQ(readBytes(master), endsWhileWaiting ? "kept\r\nnext\r\n" : "kept\r\nblock\r\n");
                EXPECT_EQ(readBytes(notes), "kept\r\n");
            }
        }
}

#endif
