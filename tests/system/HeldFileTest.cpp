#ifdef _WIN32

#include "support/TempFolder.h"
#include "system/windows/Win32Files.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace kelvrast;
using namespace kelvrast::testing;

// Another program holds the SEND file without sharing it, as a virus scanner or a backup does for a moment. A hold
// that ends while the program waits costs the student nothing; one that lasts gives the message after the tries of
// about a second, and the file is as it was.
TEST(HeldFile, AShortHoldIsWaitedOutAndALongOneIsReported) {
    for (const bool endsWhileWaiting : {true, false}) {
        TempFolder home;
        const std::filesystem::path file = home.path() / "send_0101Ann.txt";
        writeBytes(file, "kept\r\n");
        HANDLE holder =
            ::CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        int waits = 0;
        Win32Files files([&] {
            if (++waits == 3 && endsWhileWaiting) {
                ::CloseHandle(holder);
                holder = INVALID_HANDLE_VALUE;
            }
        });
        const Result<AppendReceipt> appended = files.appendBlock(file, "block\r\n");
        if (holder != INVALID_HANDLE_VALUE)
            ::CloseHandle(holder);

        if (endsWhileWaiting) {
            EXPECT_TRUE(appended.ok());
            EXPECT_EQ(waits, 3);
            EXPECT_EQ(readBytes(file), "kept\r\nblock\r\n");
        } else {
            ASSERT_FALSE(appended.ok());
            EXPECT_NE(appended.status().message().find(u"another program is using it"), std::u16string::npos);
            EXPECT_EQ(waits, 19);
            EXPECT_EQ(readBytes(file), "kept\r\n");
        }
    }
}

#endif
