#pragma once

#include <windows.h>

#include <string>

namespace kelvrast::testing {

// The signed-in account's SID, as SDDL spells it.
std::wstring signedInAccountSid();

// Answers a GetSecurityInfo call as the system does, with the descriptor that sddl spells: owner and access list
// point into it, and the caller frees it with LocalFree.
DWORD answerSecurityInfo(const std::wstring& sddl, PSID* owner, PACL* accessList, PSECURITY_DESCRIPTOR* descriptor);

} // namespace kelvrast::testing
