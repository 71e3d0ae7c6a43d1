#pragma once

#include "support/SimulatedDiskModel.h"
#include "system/windows/Win32Calls.h"

namespace kelvrast::testing {

// The simulated disk below Win32Files, as Microsoft's documentation promises no more: FlushFileBuffers on a file
// makes its bytes and size durable; a new entry in a folder is durable once the folder, or what the entry names,
// was flushed through a handle of its own; the root of c: is not opened for that, as on a standard account; a size
// grown without its data may come back as zeros or old bytes (NTFS journals metadata, not data). The security
// attributes it is passed are ignored. Every call after the power cut fails with ERROR_DEVICE_NOT_CONNECTED, what
// Windows reports for a disk that has gone away; the machine has lost its power, so no error the program could tell
// apart is more real.
class SimulatedWin32Disk final : public Win32Calls, public SimulatedDiskModel {
public:
    HANDLE createFile(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                      DWORD flags, HANDLE templateFile) override;
    BOOL closeHandle(HANDLE handle) override;
    BOOL readFile(HANDLE file, LPVOID into, DWORD size, LPDWORD count, LPOVERLAPPED at) override;
    BOOL writeFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD count, LPOVERLAPPED at) override;
    BOOL flushFileBuffers(HANDLE file) override;
    BOOL getFileSizeEx(HANDLE file, PLARGE_INTEGER size) override;
    BOOL setFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID information,
                                    DWORD size) override;
    BOOL lockFileEx(HANDLE file, DWORD flags, DWORD reserved, DWORD low, DWORD high, LPOVERLAPPED at) override;
    BOOL unlockFileEx(HANDLE file, DWORD reserved, DWORD low, DWORD high, LPOVERLAPPED at) override;
    BOOL createDirectory(LPCWSTR path, LPSECURITY_ATTRIBUTES security) override;
    BOOL setFileAttributes(LPCWSTR path, DWORD attributes) override;
    // Every file on it is the signed-in account's.
    DWORD getSecurityInfo(HANDLE file, SECURITY_INFORMATION what, PSID* owner, PACL* accessList,
                          PSECURITY_DESCRIPTOR* descriptor) override;
    BOOL getFileTime(HANDLE file, LPFILETIME made, LPFILETIME read, LPFILETIME written) override;
    BOOL moveFileEx(LPCWSTR from, LPCWSTR to, DWORD flags) override;

private:
    // Sets the last error, as the system's calls do on failure.
    static BOOL fail(DWORD error);
    // The open file, or nothing with the last error set.
    Open* usable(HANDLE handle);
    // The file's node, or nothing with the last error set: missing file, missing folder or power gone.
    std::optional<int> existing(const std::filesystem::path& path);
    HANDLE made(const std::filesystem::path& path, DWORD access);
    HANDLE opening(int found, DWORD access, DWORD disposition, DWORD flags);
};

} // namespace kelvrast::testing
