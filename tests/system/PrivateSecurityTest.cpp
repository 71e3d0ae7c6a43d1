#ifdef _WIN32

#include "support/LogicHarness.h"
#include "support/TempFolder.h"
#include "support/windows/SecurityAnswer.h"
#include "system/shared/UnfinishedAppend.h"
#include "system/windows/Win32Files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <map>
#include <string>
#include <vector>

using namespace kelvrast;
using namespace kelvrast::testing;

namespace {

std::wstring sidText(PSID sid) {
    LPWSTR text = nullptr;
    if (!::ConvertSidToStringSidW(sid, &text))
        return L"?";
    std::wstring result(text);
    ::LocalFree(text);
    return result;
}

std::wstring ownAccount() {
    HANDLE token = nullptr;
    ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token);
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size);
    ::CloseHandle(token);
    return sidText(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
}

// What the security descriptor of a file or folder, read back as any program would, lets others do.
struct Grants {
    bool readBack = false;
    std::string sddl; // the whole descriptor, for a failure's message
    bool inheritsNothing = false;
    std::wstring owner;
    // Rights on the object itself, by account, from the allowing entries (inherit-only ones left out).
    std::vector<std::pair<std::wstring, ACCESS_MASK>> allowed;

    ACCESS_MASK of(const std::wstring& account) const {
        ACCESS_MASK mask = 0;
        for (const auto& [who, rights] : allowed)
            if (who == account)
                mask |= rights;
        return mask;
    }
};

Grants grantsOf(const std::filesystem::path& path) {
    Grants grants;
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                &owner, nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return grants;
    grants.readBack = true;
    LPWSTR text = nullptr;
    if (::ConvertSecurityDescriptorToStringSecurityDescriptorW(
            descriptor, SDDL_REVISION_1, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &text, nullptr)) {
        grants.sddl = std::filesystem::path(text).string();
        ::LocalFree(text);
    }
    grants.owner = sidText(owner);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ::GetSecurityDescriptorControl(descriptor, &control, &revision);
    grants.inheritsNothing = (control & SE_DACL_PROTECTED) != 0;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        void* entry = nullptr;
        ::GetAce(dacl, i, &entry);
        const auto* header = static_cast<ACE_HEADER*>(entry);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        grants.allowed.emplace_back(sidText(&allowed->SidStart), allowed->Mask);
    }
    ::LocalFree(descriptor);
    return grants;
}

constexpr wchar_t system[] = L"S-1-5-18";
constexpr wchar_t administrators[] = L"S-1-5-32-544";
constexpr wchar_t signedIn[] = L"S-1-5-11";

// Wine keeps no security descriptor: it sets the mode bits from the one given and makes one up from them when
// asked, without the protection flag or Administrators. What the mode bits carry, others' access, is checked
// everywhere; the descriptor as given only on Windows.
bool descriptorsAreKept() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr;
}

// Whether any account but the owner's, SYSTEM and Administrators has one of these rights.
bool othersHaveAny(const Grants& grants, ACCESS_MASK rights) {
    for (const auto& [who, mask] : grants.allowed)
        if (who != grants.owner && who != system && who != administrators && (mask & rights))
            return true;
    return false;
}

constexpr ACCESS_MASK takeOrChange = DELETE | WRITE_DAC | WRITE_OWNER;

// A file only its owner's account, SYSTEM and Administrators may open.
bool isPrivateFile(const Grants& grants, const std::wstring& account) {
    if (grants.owner != account ||
        othersHaveAny(grants, FILE_READ_DATA | FILE_WRITE_DATA | FILE_APPEND_DATA | takeOrChange))
        return false;
    return !descriptorsAreKept() || (grants.inheritsNothing && grants.of(administrators) == FILE_ALL_ACCESS);
}

// A folder where other accounts may add entries, and list them when listable is set, but not take away what is in
// it. Windows' documentation promises that FILE_LIST_DIRECTORY is what File Explorer and the file dialogs need to
// show a folder's entries; Wine, with one account, cannot show another account listing it.
bool isSharedFolder(const Grants& grants, const std::wstring& account, bool listable) {
    const ACCESS_MASK refused = FILE_DELETE_CHILD | takeOrChange | (listable ? 0 : FILE_LIST_DIRECTORY);
    if (grants.owner != account || othersHaveAny(grants, refused))
        return false;
    const ACCESS_MASK granted = FILE_ADD_FILE | (listable ? FILE_LIST_DIRECTORY : 0);
    return !descriptorsAreKept() || (grants.inheritsNothing && (grants.of(signedIn) & granted) == granted);
}

} // namespace

// What the program makes in the working folder is private to the student who made it, and what an earlier version
// made there is closed at the next start. A file and a folder made with the default security stand beside them,
// so that the test is known to tell the two apart (Wine makes a descriptor up from the mode bits, where the default
// lets everyone read).
TEST(PrivateSecurity, WhatTheProgramMakesIsTheStudentsAlone) {
    TempFolder home;
    const auto makeByDefault = [](const std::filesystem::path& path, bool folder) {
        if (folder)
            ::CreateDirectoryW(path.c_str(), nullptr);
        else
            ::CloseHandle(
                ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    };
    Win32Files files;
    const std::filesystem::path folder = home.path() / "kelvrast";
    const std::filesystem::path send = folder / "send_0101Ann.txt";
    ASSERT_TRUE(files.createFolder(folder).ok());
    ASSERT_TRUE(files.appendBlock(send, "block\r\n").ok());

    const std::filesystem::path earlier = home.path() / "made_by_an_earlier_version";
    const std::filesystem::path earlierSend = earlier / "send_0101Ann.txt";
    const std::filesystem::path earlierNote = unfinished::notePath(earlierSend);
    makeByDefault(earlier, true);
    makeByDefault(earlierSend, false);
    makeByDefault(earlierNote.parent_path(), true);
    makeByDefault(earlierNote, false);
    const std::filesystem::path defaultFile = home.path() / "made_by_another_program.txt";
    const std::filesystem::path defaultFolder = home.path() / "made_by_another_program";
    makeByDefault(defaultFile, false);
    makeByDefault(defaultFolder, true);
    ASSERT_TRUE(files.keepPrivate(earlier).ok());

    const std::wstring account = ownAccount();
    enum class Kind { file, workingFolder, noteFolder };
    struct Case {
        std::filesystem::path path;
        Kind kind;
        bool closed;
    };
    for (const Case& made : std::vector<Case>{{folder, Kind::workingFolder, true},
                                              {unfinished::notePath(send).parent_path(), Kind::noteFolder, true},
                                              {send, Kind::file, true},
                                              {unfinished::notePath(send), Kind::file, true},
                                              {earlier, Kind::workingFolder, true},
                                              {earlierNote.parent_path(), Kind::noteFolder, true},
                                              {earlierSend, Kind::file, true},
                                              {earlierNote, Kind::file, true},
                                              {defaultFile, Kind::file, false},
                                              {defaultFolder, Kind::noteFolder, false}}) {
        SCOPED_TRACE(made.path.string());
        const Grants grants = grantsOf(made.path);
        ASSERT_TRUE(grants.readBack);
        SCOPED_TRACE(grants.sddl);
        EXPECT_EQ(made.kind == Kind::file ? isPrivateFile(grants, account)
                                          : isSharedFolder(grants, account, made.kind == Kind::workingFolder),
                  made.closed);
    }
}

namespace {

// The system's own calls, except that a file a test plants answers with the owner and list the test gives it, as
// a file made by another account of the computer would: Wine keeps one account and no lists of its own.
class PlantedOwners final : public Win32Calls {
public:
    // The descriptor a planted file shows, in SDDL; an empty one makes the file refuse every open, as another
    // student's private file does.
    std::map<std::filesystem::path, std::wstring> planted;
    // When set, the owner every other file shows, as a file server with accounts of its own gives them.
    std::wstring serverOwner;

    HANDLE createFile(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                      DWORD flags, HANDLE templateFile) override {
        const auto found = planted.find(std::filesystem::path(path));
        if (found != planted.end() && found->second.empty()) {
            ::SetLastError(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
        HANDLE opened = system_.createFile(path, access, share, security, disposition, flags, templateFile);
        if (opened != INVALID_HANDLE_VALUE && found != planted.end())
            plantedHandles_[opened] = found->second;
        return opened;
    }
    BOOL closeHandle(HANDLE handle) override {
        plantedHandles_.erase(handle);
        return system_.closeHandle(handle);
    }
    BOOL readFile(HANDLE file, LPVOID into, DWORD size, LPDWORD count, LPOVERLAPPED at) override {
        return system_.readFile(file, into, size, count, at);
    }
    BOOL writeFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD count, LPOVERLAPPED at) override {
        return system_.writeFile(file, bytes, size, count, at);
    }
    BOOL flushFileBuffers(HANDLE file) override { return system_.flushFileBuffers(file); }
    BOOL getFileSizeEx(HANDLE file, PLARGE_INTEGER size) override { return system_.getFileSizeEx(file, size); }
    BOOL setFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID information,
                                    DWORD size) override {
        return system_.setFileInformationByHandle(file, kind, information, size);
    }
    BOOL lockFileEx(HANDLE file, DWORD flags, DWORD reserved, DWORD low, DWORD high, LPOVERLAPPED at) override {
        return system_.lockFileEx(file, flags, reserved, low, high, at);
    }
    BOOL unlockFileEx(HANDLE file, DWORD reserved, DWORD low, DWORD high, LPOVERLAPPED at) override {
        return system_.unlockFileEx(file, reserved, low, high, at);
    }
    BOOL createDirectory(LPCWSTR path, LPSECURITY_ATTRIBUTES security) override {
        return system_.createDirectory(path, security);
    }
    BOOL setFileAttributes(LPCWSTR path, DWORD attributes) override {
        return system_.setFileAttributes(path, attributes);
    }
    BOOL getFileTime(HANDLE file, LPFILETIME made, LPFILETIME read, LPFILETIME written) override {
        return system_.getFileTime(file, made, read, written);
    }
    BOOL moveFileEx(LPCWSTR from, LPCWSTR to, DWORD flags) override { return system_.moveFileEx(from, to, flags); }
    DWORD getSecurityInfo(HANDLE file, SECURITY_INFORMATION what, PSID* owner, PACL* accessList,
                          PSECURITY_DESCRIPTOR* descriptor) override {
        const auto found = plantedHandles_.find(file);
        if (found == plantedHandles_.end() && !serverOwner.empty())
            return answerSecurityInfo(L"O:" + serverOwner + L"D:(A;;FA;;;" + serverOwner + L")", owner, accessList,
                                      descriptor);
        if (found == plantedHandles_.end())
            return system_.getSecurityInfo(file, what, owner, accessList, descriptor);
        return answerSecurityInfo(found->second, owner, accessList, descriptor);
    }

private:
    Win32Calls& system_ = windowsCalls();
    std::map<HANDLE, std::wstring> plantedHandles_;
};

void plant(const std::filesystem::path& file) {
    std::filesystem::create_directories(file.parent_path());
    writeBytes(file, "planted\r\n");
}

} // namespace

// Another account of a lab computer may add files to the shared working folder. A file it made before the student
// (with a list that lets it read the file) is never written to: start-up refuses the name with a message and asks
// again, and a file planted while the student works refuses the answer, which stays in its box. Files that SYSTEM
// or the Administrators own are the computer's own, and are written to. Under Wine only the seam can give a file
// another owner; the student's own files, made for real, stand in every row.
TEST(PrivateSecurity, AFileAnotherAccountMadeIsNeverWrittenTo) {
    const std::wstring anotherStudent = L"S-1-5-21-1004336348-1177238915-682003330-1105";
    const std::wstring readableByAll = L"D:(A;;FA;;;WD)";
    struct Case {
        const char* name;
        std::filesystem::path file; // in the working folder
        std::wstring owner;         // empty: the file refuses even a look, as another student's private file does
        bool plantedWhileWorking;
        bool refused;
        const wchar_t* serverOwner = L""; // every other file's owner, on a file server with accounts of its own
    };
    const std::filesystem::path note = unfinished::notePath("masterFile_Ann.txt");
    const std::vector<Case> cases = {
        {"master file of another account", "masterFile_Ann.txt", anotherStudent, false, true},
        {"note of another account", note, anotherStudent, false, true},
        {"another student's own private file", "masterFile_Ann.txt", L"", false, true},
        {"notes file planted while the student works", "notes_Ann.txt", anotherStudent, true, true},
        {"master file of SYSTEM", "masterFile_Ann.txt", L"S-1-5-18", false, false},
        {"master file of the Administrators", "masterFile_Ann.txt", L"S-1-5-32-544", false, false},
        {"master file on a file server that owns what the student makes", "masterFile_Ann.txt", L"S-1-22-1-1000", false,
         false, L"S-1-22-1-1000"},
        {"master file of another account of that server", "masterFile_Ann.txt", L"S-1-22-1-1001", false, true,
         L"S-1-22-1-1000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlantedOwners calls;
        Win32Files files(calls);
        LogicHarness run(files);
        calls.serverOwner = c.serverOwner;
        const std::filesystem::path planted = run.folder() / c.file;
        const std::wstring sddl = c.owner.empty() ? L"" : L"O:" + c.owner + readableByAll;
        if (!c.plantedWhileWorking) {
            plant(planted);
            calls.planted[planted] = sddl;
        }
        run.dialogs.inputs = {u"Ann", u"Ann Lee"};
        ASSERT_TRUE(run.logic.load().ok());
        if (c.plantedWhileWorking) {
            plant(planted);
            calls.planted[planted] = sddl;
            run.logic.nextQuestionClicked();
            run.boxes.answer = u"a note";
            run.logic.saveAsNotesClicked();
            EXPECT_EQ(run.boxes.answer, u"a note");
        }

        const std::u16string said = run.dialogs.messages.empty() ? u"" : run.dialogs.messages.front();
        if (c.refused) {
            EXPECT_EQ(readBytes(planted), "planted\r\n");
            ASSERT_EQ(run.dialogs.messages.size(), 1u);
            EXPECT_NE(said.find(planted.u16string()), std::u16string::npos);
            EXPECT_NE(said.find(u"another account of this computer has made a file with this name"),
                      std::u16string::npos);
            EXPECT_NE(said.find(u"ask the lab's administrator to remove it"), std::u16string::npos);
        } else {
            EXPECT_EQ(run.dialogs.messages, std::vector<std::u16string>{});
            EXPECT_GT(readBytes(planted).size(), std::string("planted\r\n").size());
        }
        // Refused at start-up, the name is asked again; refused while working, nothing of the note goes anywhere.
        const bool askedAgain = c.refused && !c.plantedWhileWorking;
        EXPECT_EQ(run.dialogs.prompts.size(), askedAgain ? 2u : 1u);
        if (c.plantedWhileWorking) {
            EXPECT_EQ(readBytes(run.folder() / "masterFile_Ann.txt").find("a note"), std::string::npos);
        }
    }
}

#endif
