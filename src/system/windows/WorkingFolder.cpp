#include "system/WorkingFolder.h"

#include <windows.h>

#include <optional>
#include <string>

namespace kelvrast {
namespace {

// Where a lab's administrator puts the working folder for every account of the computer, first found first: a
// machine policy, which Group Policy and Intune write, and the MSI's WORKINGFOLDER property, which the MSI keeps in
// the program's own key. A lab keeps students' work on a network home drive this way, so that it follows them from
// one computer to the next.
constexpr const wchar_t* settingKeys[] = {L"SOFTWARE\\Policies\\kelvrast", L"SOFTWARE\\kelvrast"};
constexpr wchar_t settingValue[] = L"WorkingFolder";

// The value's text; nothing when it is missing or empty.
std::optional<std::wstring> settingText(const wchar_t* key) {
    DWORD size = 0;
    const DWORD types = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key, settingValue, types, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key, settingValue, types, nullptr, text.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(::wcsnlen(text.c_str(), text.size()));
    if (text.find_first_not_of(L" \t") == std::wstring::npos)
        return std::nullopt;
    return text;
}

// %USERNAME% and the like, as the signed-in account sees them, whichever type the value was written as: Group
// Policy's text values are REG_SZ, and an administrator typing %USERNAME% means the variable.
std::wstring expanded(const std::wstring& text) {
    const DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0)
        return text;
    std::wstring result(needed, L'\0');
    if (::ExpandEnvironmentStringsW(text.c_str(), result.data(), needed) == 0)
        return text;
    result.resize(::wcsnlen(result.c_str(), result.size()));
    return result;
}

} // namespace

// c:\kelvrast unless the lab's administrator set another folder. A folder so set that cannot be reached is not
// replaced by c:\kelvrast: start-up says so and makes no file anywhere.
std::filesystem::path workingFolder() {
    for (const wchar_t* key : settingKeys)
        if (const std::optional<std::wstring> set = settingText(key))
            return expanded(*set);
    return L"c:\\kelvrast";
}

} // namespace kelvrast
