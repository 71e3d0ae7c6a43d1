#include "Win32WindowUnderTest.h"

#include <shlobj.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace kelvrast::testing {
namespace {

enum class Clipboard {
    empty,        // emptied, nothing put back: as after the owner of its text emptied it
    pictureOnly,  // a bitmap and no text
    fileListOnly, // a file list, as the file manager copies files, and no text
    textPromised, // text promised for later, which its owner never renders
    text,         // text, the one thing a box takes
};

struct PasteCase {
    const char* name;
    Clipboard clipboard;
    bool inserts;
};

// A failing case names what the clipboard held.
void PrintTo(const PasteCase& paste, std::ostream* out) {
    *out << paste.name;
}

const std::vector<PasteCase> pasteCases{
    {"Empty", Clipboard::empty, false},
    {"PictureOnly", Clipboard::pictureOnly, false},
    {"FileListOnly", Clipboard::fileListOnly, false},
    {"TextPromisedNeverRendered", Clipboard::textPromised, false},
    {"Text", Clipboard::text, true},
};

const std::wstring pasted = L" and more";

HGLOBAL globalCopy(const void* bytes, std::size_t size) {
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (memory) {
        std::memcpy(::GlobalLock(memory), bytes, size);
        ::GlobalUnlock(memory);
    }
    return memory;
}

HGLOBAL fileList() {
    const std::wstring files = L"C:\\notes.txt";
    std::vector<char> bytes(sizeof(DROPFILES) + (files.size() + 2) * sizeof(wchar_t), 0);
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::memcpy(bytes.data(), &header, sizeof header);
    std::memcpy(bytes.data() + sizeof header, files.c_str(), files.size() * sizeof(wchar_t));
    return globalCopy(bytes.data(), bytes.size());
}

// The clipboard as another program would leave it; the window is its owner, as OpenClipboard with no window would
// make SetClipboardData fail.
void fill(HWND owner, Clipboard clipboard) {
    ASSERT_TRUE(::OpenClipboard(owner));
    ::EmptyClipboard();
    switch (clipboard) {
    case Clipboard::empty:
        break;
    case Clipboard::pictureOnly:
        EXPECT_TRUE(::SetClipboardData(CF_BITMAP, ::CreateBitmap(4, 4, 1, 32, nullptr)));
        break;
    case Clipboard::fileListOnly:
        EXPECT_TRUE(::SetClipboardData(CF_HDROP, fileList()));
        break;
    case Clipboard::textPromised:
        // Delayed rendering: the owner is asked with WM_RENDERFORMAT when a box reads it, and puts nothing there.
        ::SetClipboardData(CF_UNICODETEXT, nullptr);
        break;
    case Clipboard::text:
        EXPECT_TRUE(::SetClipboardData(CF_UNICODETEXT, globalCopy(pasted.c_str(), (pasted.size() + 1) * 2)));
        break;
    }
    ::CloseClipboard();
}

class Win32Paste : public ::testing::TestWithParam<PasteCase> {};

// WM_PASTE, as Ctrl+V, Shift+Insert and the context menu send it, to every box: only text is inserted, anything
// else inserts nothing, and the program goes on.
TEST_P(Win32Paste, OnlyTextIsInsertedAndNothingElseEndsTheProgram) {
    const PasteCase& paste = GetParam();
    Win32WindowUnderTest run;
    run.startAndShow();
    fill(run.window.handle(), paste.clipboard);

    const std::u16string typed = u"half an answer";
    for (const form::Control& each : form::controls()) {
        if (each.kind != form::Kind::textBox)
            continue;
        HWND box = run.control(each.objectName().c_str());
        ::SetWindowTextW(box, wideText(typed).c_str());
        ::SendMessageW(box, EM_SETSEL, typed.size(), typed.size());
        ::SendMessageW(box, WM_PASTE, 0, 0);
        run.pump();
        EXPECT_EQ(windowText(box), paste.inserts ? typed + programText(pasted) : typed) << each.objectName();
    }
    EXPECT_FALSE(run.programEnd.exitStatus.has_value());
    EXPECT_TRUE(::IsWindowVisible(run.window.handle()));

    ASSERT_TRUE(::OpenClipboard(run.window.handle()));
    ::EmptyClipboard();
    ::CloseClipboard();
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfClipboard, Win32Paste, ::testing::ValuesIn(pasteCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kelvrast::testing
