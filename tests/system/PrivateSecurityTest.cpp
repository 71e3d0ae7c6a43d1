#ifdef _WIN32

#include "platform/UnfinishedAppend.h"
#include "support/TempFolder.h"
#include "system/windows/Win32Files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

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

// A folder where other accounts may add entries but neither list it nor take away what is in it.
bool isSharedFolder(const Grants& grants, const std::wstring& account) {
    if (grants.owner != account || othersHaveAny(grants, FILE_LIST_DIRECTORY | FILE_DELETE_CHILD | takeOrChange))
        return false;
    return !descriptorsAreKept() || (grants.inheritsNothing && (grants.of(signedIn) & FILE_ADD_FILE));
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
    struct Case {
        std::filesystem::path path;
        bool folder;
        bool closed;
    };
    for (const Case& made : std::vector<Case>{{folder, true, true},
                                              {unfinished::notePath(send).parent_path(), true, true},
                                              {send, false, true},
                                              {unfinished::notePath(send), false, true},
                                              {earlier, true, true},
                                              {earlierNote.parent_path(), true, true},
                                              {earlierSend, false, true},
                                              {earlierNote, false, true},
                                              {defaultFile, false, false},
                                              {defaultFolder, true, false}}) {
        SCOPED_TRACE(made.path.string());
        const Grants grants = grantsOf(made.path);
        ASSERT_TRUE(grants.readBack);
        SCOPED_TRACE(grants.sddl);
        EXPECT_EQ(made.folder ? isSharedFolder(grants, account) : isPrivateFile(grants, account), made.closed);
    }
}

#endif
