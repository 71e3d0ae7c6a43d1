#include "support/windows/SecurityAnswer.h"

#include <sddl.h>

#include <vector>

namespace kelvrast::testing {

std::wstring signedInAccountSid() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> user(size);
    const bool read = size > 0 && ::GetTokenInformation(token, TokenUser, user.data(), size, &size);
    ::CloseHandle(token);
    LPWSTR text = nullptr;
    if (!read || !::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &text))
        return {};
    std::wstring sid(text);
    ::LocalFree(text);
    return sid;
}

DWORD answerSecurityInfo(const std::wstring& sddl, PSID* owner, PACL* accessList, PSECURITY_DESCRIPTOR* descriptor) {
    PSECURITY_DESCRIPTOR made = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &made, nullptr))
        return ::GetLastError();
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    if (owner)
        ::GetSecurityDescriptorOwner(made, owner, &defaulted);
    if (accessList)
        ::GetSecurityDescriptorDacl(made, &present, accessList, &defaulted);
    *descriptor = made;
    return ERROR_SUCCESS;
}

} // namespace kelvrast::testing
