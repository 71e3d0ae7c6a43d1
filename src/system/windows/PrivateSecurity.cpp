#include "system/windows/PrivateSecurity.h"

#include "system/windows/Win32Handle.h"

#include <aclapi.h>
#include <sddl.h>

#include <memory>
#include <string>
#include <vector>

namespace kelvrast {
namespace {

// The signed-in account, read from the program's token once for the run.
class Account {
public:
    Account() {
        HANDLE token = nullptr;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
            return;
        Win32Handle owned(token);
        DWORD size = 0;
        ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        user_.resize(size);
        if (size == 0 || !::GetTokenInformation(token, TokenUser, user_.data(), size, &size)) {
            user_.clear();
            return;
        }
        LPWSTR text = nullptr;
        if (::ConvertSidToStringSidW(sid(), &text)) {
            sddl_ = text;
            ::LocalFree(text);
        }
    }
    PSID sid() const { return user_.empty() ? nullptr : reinterpret_cast<const TOKEN_USER*>(user_.data())->User.Sid; }
    // The SID as SDDL spells it; empty when the token cannot be read.
    const std::wstring& sddl() const { return sddl_; }

private:
    std::vector<unsigned char> user_;
    std::wstring sddl_;
};

const Account& signedInAccount() {
    static const Account account;
    return account;
}

class Descriptor {
public:
    explicit Descriptor(const std::wstring& sddl) {
        PSECURITY_DESCRIPTOR made = nullptr;
        if (!sddl.empty() &&
            ::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &made, nullptr))
            descriptor_.reset(made);
        attributes_.nLength = sizeof attributes_;
        attributes_.lpSecurityDescriptor = descriptor_.get();
        attributes_.bInheritHandle = FALSE;
    }
    const SECURITY_ATTRIBUTES* attributes() const { return descriptor_ ? &attributes_ : nullptr; }

private:
    struct LocalFreer {
        void operator()(void* memory) const { ::LocalFree(memory); }
    };
    std::unique_ptr<void, LocalFreer> descriptor_;
    SECURITY_ATTRIBUTES attributes_{};
};

// Rights on a folder that make new entries in it but neither list it nor reach what others made there: the
// folder's write rights (FILE_GENERIC_WRITE, which FlushFileBuffers needs to flush the folder's entries), traverse
// and read its attributes. Not FILE_LIST_DIRECTORY, FILE_DELETE_CHILD, DELETE or WRITE_DAC.
constexpr wchar_t dropOnlyRights[] = L"0x1201B6";
// The same and FILE_LIST_DIRECTORY with FILE_READ_EA: the folder's entries can be listed. Listing shows the files'
// names, never what is in them: each file keeps its own list.
constexpr wchar_t listAndDropRights[] = L"0x1201BF";

std::wstring fileSddl(const std::wstring& account) {
    if (account.empty())
        return {};
    // P: the list is protected, nothing is inherited from the folder.
    return L"O:" + account + L"D:P(A;;FA;;;" + account + L")(A;;FA;;;SY)(A;;FA;;;BA)";
}

std::wstring folderSddl(const std::wstring& account, const wchar_t* signedInRights) {
    if (account.empty())
        return {};
    return L"O:" + account + L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICIIO;FA;;;CO)(A;;" + signedInRights + L";;;AU)";
}

// Whether the signed-in account owns what is at path, and, when inheritedOnly is set, its access list is inherited
// as it was for everything an earlier version made: what this version makes has a list of its own.
bool isOwn(const std::filesystem::path& path, bool inheritedOnly) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                &owner, nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    const bool inherited =
        ::GetSecurityDescriptorControl(descriptor, &control, &revision) && (control & SE_DACL_PROTECTED) == 0;
    const PSID account = signedInAccount().sid();
    const bool own = account && ::EqualSid(owner, account);
    ::LocalFree(descriptor);
    return own && (inherited || !inheritedOnly);
}

// Gives what is at path the access list of security, protected from inheritance, in place of the inherited one.
// SetFileSecurityW writes the descriptor's list and its protection as given. Wine 8 applies a new list through it
// only: SetNamedSecurityInfoW and SetSecurityInfo report success there and change nothing.
DWORD applyAccessList(const std::filesystem::path& path, const SECURITY_ATTRIBUTES* security) {
    if (!security)
        return ERROR_INVALID_SECURITY_DESCR;
    if (!::SetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, security->lpSecurityDescriptor))
        return ::GetLastError();
    return ERROR_SUCCESS;
}

// The files and folders in folder. A folder that cannot be listed holds none that need closing: this version makes
// the folder of notes so that no one lists it, and an earlier version's folders are listed by the account that made
// them.
std::vector<std::filesystem::path> entriesOf(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> entries;
    WIN32_FIND_DATAW found{};
    HANDLE search =
        ::FindFirstFileExW((folder / L"*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L".." && (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
            entries.push_back(folder / name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return entries;
}

} // namespace

DWORD closeToOtherAccounts(const std::filesystem::path& folder, const std::filesystem::path& notes) {
    DWORD firstError = ERROR_SUCCESS;
    const auto close = [&](const std::filesystem::path& path, const SECURITY_ATTRIBUTES* security,
                           bool inheritedOnly = true) {
        if (!isOwn(path, inheritedOnly))
            return;
        if (const DWORD error = applyAccessList(path, security); error != ERROR_SUCCESS && firstError == ERROR_SUCCESS)
            firstError = error;
    };
    for (const std::filesystem::path& entry : entriesOf(notes))
        close(entry, privateFileSecurity());
    close(notes, noteFolderSecurity());
    for (const std::filesystem::path& entry : entriesOf(folder))
        if (entry != notes)
            close(entry, privateFileSecurity());
    // Its list is written again whatever it was: the last version kept the working folder from being listed.
    close(folder, workingFolderSecurity(), false);
    return firstError;
}

const SECURITY_ATTRIBUTES* privateFileSecurity() {
    static const Descriptor descriptor(fileSddl(signedInAccount().sddl()));
    return descriptor.attributes();
}

const SECURITY_ATTRIBUTES* workingFolderSecurity() {
    static const Descriptor descriptor(folderSddl(signedInAccount().sddl(), listAndDropRights));
    return descriptor.attributes();
}

const SECURITY_ATTRIBUTES* noteFolderSecurity() {
    static const Descriptor descriptor(folderSddl(signedInAccount().sddl(), dropOnlyRights));
    return descriptor.attributes();
}

bool isTrustedOwner(PSID owner) {
    if (!owner || !::IsValidSid(owner))
        return false;
    const PSID account = signedInAccount().sid();
    return (account && ::EqualSid(owner, account)) || ::IsWellKnownSid(owner, WinLocalSystemSid) ||
           ::IsWellKnownSid(owner, WinBuiltinAdministratorsSid);
}

} // namespace kelvrast
