// The working folder and what the program keeps in it are closed to other accounts on a shared computer.
#ifndef _WIN32

#include "support/LogicHarness.h"
#include "system/shared/UnfinishedAppend.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace kelvrast;
using kelvrast::testing::LogicHarness;
using kelvrast::testing::readBytes;
using kelvrast::testing::writeBytes;

namespace {

// Sets the process's umask for the scope of a case.
class Umask {
public:
    explicit Umask(mode_t mask) : old_(::umask(mask)) {}
    ~Umask() { ::umask(old_); }
    Umask(const Umask&) = delete;
    Umask& operator=(const Umask&) = delete;

private:
    mode_t old_;
};

mode_t modeOf(const std::filesystem::path& path) {
    struct stat seen {};
    EXPECT_EQ(::lstat(path.c_str(), &seen), 0) << path;
    return seen.st_mode & 07777;
}

// Every folder and file under the working folder, by its path from there, with its mode.
std::map<std::string, mode_t> modesUnder(const std::filesystem::path& folder) {
    std::map<std::string, mode_t> modes{{".", modeOf(folder)}};
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        modes[entry.path().lexically_relative(folder).string()] = modeOf(entry.path());
    return modes;
}

} // namespace

TEST(PrivateFilesTest, WhatTheProgramKeepsIsForTheStudentsAccountAlone) {
    const uid_t otherAccount = 65534;
    struct Case {
        const char* name;
        mode_t umask;
        bool earlierLayout; // folder, files and notes as an earlier version left them: 0755 and 0644
        bool notesOfOther;  // the notes file belongs to another account
    };
    const std::vector<Case> cases = {
        {"made under umask 022", 022, false, false},         {"made under umask 077", 077, false, false},
        {"made under umask 000", 0, false, false},           {"left readable by an earlier version", 022, true, false},
        {"with a file of another account", 022, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Umask mask(c.umask);
        LogicHarness run;
        run.clock.dateText = "01-07-2027";
        const auto folder = run.folder();
        const auto notesFile = folder / "notes_Ann.txt";
        std::map<std::string, std::string> earlier;
        if (c.earlierLayout) {
            std::filesystem::create_directories(unfinished::noteFolder(folder));
            earlier = {{"masterFile_Ann.txt", "#1\r\nan old answer\r\n"},
                       {"send_0107Ann.txt", "#1\r\nan old answer\r\n"},
                       {"notes_Ann.txt", "#3\r\nan old note\r\n"},
                       {"queri.txt", "1\r\n"}};
            for (const auto& [name, bytes] : earlier) {
                writeBytes(folder / name, bytes);
                std::filesystem::permissions(folder / name, std::filesystem::perms(0644));
                if (name != "queri.txt") {
                    writeBytes(unfinished::notePath(folder / name), "");
                    std::filesystem::permissions(unfinished::notePath(folder / name), std::filesystem::perms(0644));
                }
            }
            std::filesystem::permissions(unfinished::noteFolder(folder), std::filesystem::perms(0755));
            std::filesystem::permissions(folder, std::filesystem::perms(0755));
        }
        if (c.notesOfOther && ::chown(notesFile.c_str(), otherAccount, otherAccount) != 0) {
            std::cout << "[ skipped  ] " << c.name << ": only an administrator can give a file to another account\n";
            continue;
        }

        ASSERT_TRUE(run.start(u"Ann").ok());
        run.logic.nextQuestionClicked();
        run.boxes.answer = u"OK";
        run.logic.enterResponseClicked();
        run.boxes.answer = u"a note";
        run.logic.saveAsNotesClicked();

        // One note, the master file's, covers each answer's blocks in all three files.
        std::map<std::string, mode_t> expected{
            {".", 0700}, {".unfinished", 0700}, {".unfinished/masterFile_Ann.txt", 0600}};
        for (const char* name : {"masterFile_Ann.txt", "send_0107Ann.txt", "notes_Ann.txt"})
            expected[name] = 0600;
        if (c.earlierLayout) {
            expected["queri.txt"] = 0600;
            expected[".unfinished/send_0107Ann.txt"] = 0600; // the notes of an earlier version, one per file
            expected[".unfinished/notes_Ann.txt"] = 0600;
        }
        if (c.notesOfOther) {
            // Left as it is, and the student is told which file and why.
            expected["notes_Ann.txt"] = 0644;
            ASSERT_EQ(run.dialogs.messages.size(), 1u);
            const std::u16string& message = run.dialogs.messages[0];
            EXPECT_NE(message.find(notesFile.u16string()), std::u16string::npos);
            EXPECT_NE(message.find(u"belongs to another account"), std::u16string::npos);
        } else {
            EXPECT_EQ(run.dialogs.messages, std::vector<std::u16string>{});
        }
        EXPECT_EQ(modesUnder(folder), expected);
        // Closing a file to others leaves every byte in it.
        for (const auto& [name, bytes] : earlier)
            EXPECT_TRUE(readBytes(folder / name).starts_with(bytes)) << name;
    }
}

#endif
