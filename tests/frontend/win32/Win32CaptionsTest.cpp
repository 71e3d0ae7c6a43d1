#include "Win32WindowUnderTest.h"
#include "frontend/win32/CaptionRoom.h"

#include <cstdlib>

namespace kelvrast::testing {
namespace {

using form::Kind;

// Far narrower than their captions by design: they keep the dialog font and show a sliver of it.
bool narrowByDesign(const std::string& name) {
    return name == "cmd_display_note_file" || name == "cmd_Make_Paragraph_question";
}

LOGFONTW described(HFONT font) {
    LOGFONTW made{};
    ::GetObjectW(font, sizeof made, &made);
    return made;
}

class EveryCaptionAtDpi : public ::testing::TestWithParam<UINT> {};

// Every button, option and label shows its caption whole where it is placed: in the dialog font where that holds it,
// otherwise in a smaller size of the same face.
TEST_P(EveryCaptionAtDpi, ShowsWholeInTheLargestFontThatHoldsIt) {
    Win32WindowUnderTest run;
    const UINT dpi = GetParam();
    if (dpi != run.window.dpi()) {
        RECT frame{};
        ::GetWindowRect(run.window.handle(), &frame);
        ::SendMessageW(run.window.handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
    }
    ASSERT_EQ(run.window.dpi(), dpi);
    const HFONT dialog = run.window.dialogFont();
    for (const form::Control& each : form::controls()) {
        if (each.kind != Kind::commandButton && each.kind != Kind::optionButton && each.kind != Kind::label)
            continue;
        const std::string name = each.objectName();
        HWND made = run.control(name.c_str());
        const auto font = reinterpret_cast<HFONT>(::SendMessageW(made, WM_GETFONT, 0, 0));
        if (narrowByDesign(name)) {
            EXPECT_EQ(font, dialog) << name << " is left as it is";
            EXPECT_FALSE(captionFits(made, font, dpi)) << name << " is no longer narrow: take it off the list";
            continue;
        }
        EXPECT_TRUE(captionFits(made, font, dpi)) << name << " at " << dpi << " dpi";
        if (captionFits(made, dialog, dpi)) {
            EXPECT_EQ(font, dialog) << name << " fits the dialog font and keeps it";
        } else {
            EXPECT_EQ(std::wstring(described(font).lfFaceName), std::wstring(described(dialog).lfFaceName)) << name;
            EXPECT_LT(std::abs(described(font).lfHeight), std::abs(described(dialog).lfHeight)) << name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Form, EveryCaptionAtDpi, ::testing::Values(96u, 144u));

} // namespace
} // namespace kelvrast::testing
