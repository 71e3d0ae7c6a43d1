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

// For the working folder: every signed-in account may list it, so that each student finds their own files in File
// Explorer and in the dialog where they attach the SEND file, and may make files and folders in it, but may not
// open nor take away what another account made. Whatever an account makes in it is its own in full (CREATOR
// OWNER); SYSTEM and Administrators keep full control of all of it.
const SECURITY_ATTRIBUTES* workingFolderSecurity();

// For the folder of notes beside the files: the same, except that no one lists it; nothing needs to.
const SECURITY_ATTRIBUTES* noteFolderSecurity();

// Closes what an earlier version made in folder and in its folder of notes, and the two folders, to other
// accounts, where it belongs to the signed-in account: folders as above, files as private ones; a working folder
// of the student's that an earlier version made unlistable is made listable. What another account made is left as
// it is; it is that student's, closed at their next start. Answers the first failure, or ERROR_SUCCESS.
DWORD closeToOtherAccounts(const std::filesystem::path& folder, const std::filesystem::path& notes);

// Whether what owner owns is the student's to write into: the signed-in account's, SYSTEM's or the
// Administrators'. A file another account made in the shared folder before the student (with a list that lets it
// read the file) would show that account everything the student records, so it is never written to.
bool isTrustedOwner(PSID owner);

// Both are made once for the run. When a descriptor cannot be made (the account's token cannot be read), the answer
// is null and Windows' default security applies: the student's answer still goes in, as it always did.

} // namespace kelvrast
