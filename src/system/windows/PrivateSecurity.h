#pragma once

#include <windows.h>

#include <filesystem>

namespace kelvrast {

// "c:\kelvrast" is one folder for every account of the machine, at a fixed path, so what the program makes there
// carries its own security descriptor instead of inheriting the drive's, which lets every signed-in user read and
// change what is in it.

// For each file the program makes: the student's account, SYSTEM and Administrators, and no one else; nothing
// inherited from the folder.
const SECURITY_ATTRIBUTES* privateFileSecurity();

// For the working folder and the folder of notes beside the files: every signed-in account may make its own files
// and folders in it, but may not list it nor open what another account made. Whatever an account makes in it is
// its own in full (CREATOR OWNER); SYSTEM and Administrators keep full control of all of it.
const SECURITY_ATTRIBUTES* sharedFolderSecurity();

// Closes what an earlier version made in folder and in its folder of notes, and the two folders, to other
// accounts, where it belongs to the signed-in account: folders as shared folders, files as private ones. What
// another account made is left as it is; it is that student's, closed at their next start. Answers the first
// failure, or ERROR_SUCCESS.
DWORD closeToOtherAccounts(const std::filesystem::path& folder, const std::filesystem::path& notes);

// Both are made once for the run. When a descriptor cannot be made (the account's token cannot be read), the answer
// is null and Windows' default security applies: the student's answer still goes in, as it always did.

} // namespace kelvrast
