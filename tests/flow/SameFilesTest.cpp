#include "support/LogicHarness.h"
#include "system/shared/MersenneRandom.h"
#include "text/CodePage.h"
#include "text/MessageText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

using namespace kelvrast;
using kelvrast::testing::LogicHarness;
using kelvrast::testing::readBytes;

namespace {

using FileSet = std::map<std::u8string, std::string>;

// Where the answer files of this walk lie, exactly as the Windows program writes them in c:\kelvrast; ctest runs
// the tests in the build folder, where the build copies them.
const std::filesystem::path expectedFolder = "same_files";

// The one part of an answer file that depends on the machine: the working folder, named in a question's text.
std::string asInTheWindowsFolder(std::string bytes, const std::filesystem::path& folder) {
    const std::string shown = codepage::fromUnicode(pathText(folder)).bytes;
    for (std::size_t at = bytes.find(shown); at != std::string::npos; at = bytes.find(shown, at))
        bytes.replace(at, shown.size(), "c:\\kelvrast");
    return bytes;
}

// A student's afternoon on a fixed clock, with the program's own generator seeded from it as start-up seeds it, so
// that the real program on any system, started at the same time, writes these bytes: an answer, a note, a two-line
// answer with a character beyond ASCII, and an empty answer; then the answer files as they lie in the folder.
FileSet walkAssignment() {
    MersenneRandom random;
    LogicHarness run{random};
    EXPECT_TRUE(run.start(u"Zoë Brontë").ok());
    run.logic.nextQuestionClicked();
    run.boxes.answer = u"four";
    run.logic.enterResponseClicked();
    run.logic.nextQuestionClicked();
    run.boxes.answer = u"check the units first";
    run.logic.saveAsNotesClicked();
    run.clock.timeText = "14:07:30";
    run.boxes.answer = u"the café\r\nand the second line";
    run.logic.enterResponseClicked();
    run.logic.nextQuestionClicked();
    run.boxes.answer = u"";
    run.logic.enterResponseClicked();

    FileSet files;
    for (const auto& entry : std::filesystem::directory_iterator(run.folder()))
        if (entry.is_regular_file())
            files[entry.path().filename().u8string()] = asInTheWindowsFolder(readBytes(entry.path()), run.folder());
    return files;
}

FileSet expectedFiles() {
    FileSet files;
    for (const auto& entry : std::filesystem::directory_iterator(expectedFolder))
        files[entry.path().filename().u8string()] = readBytes(entry.path());
    return files;
}

// The same clock readings and random numbers give the same bytes on every system: Windows-1252, CR LF, the same
// records, the same file names.
TEST(SameFiles, AWholeAssignmentWritesTheSameBytesOnEverySystem) {
    ASSERT_TRUE(std::filesystem::is_directory(expectedFolder))
        << "no folder " << std::filesystem::absolute(expectedFolder).string() << ": run the tests through ctest";
    const FileSet written = walkAssignment();
    const FileSet expected = expectedFiles();
    ASSERT_EQ(written.size(), 3u);
    ASSERT_EQ(expected.size(), 3u);
    for (const auto& [name, bytes] : expected) {
        ASSERT_TRUE(written.contains(name)) << "no file " << reinterpret_cast<const char*>(name.c_str());
        EXPECT_EQ(written.at(name), bytes) << reinterpret_cast<const char*>(name.c_str());
    }
}

} // namespace
