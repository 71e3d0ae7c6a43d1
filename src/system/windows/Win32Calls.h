#pragma once

#include <windows.h>

namespace kelvrast {

// The Win32 calls Win32Files makes on answer files, their notes and their folders: the real ones forward to the
// system, and a test puts a simulated disk in their place to cut the power after any one of them. Each returns
// what its call returns and sets the last error as it does.
class Win32Calls {
public:
    virtual ~Win32Calls() = default;

    virtual HANDLE createFile(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                              DWORD disposition, DWORD flags, HANDLE templateFile) = 0;
    virtual BOOL closeHandle(HANDLE handle) = 0;
    virtual BOOL readFile(HANDLE file, LPVOID into, DWORD size, LPDWORD count, LPOVERLAPPED at) = 0;
    virtual BOOL writeFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD count, LPOVERLAPPED at) = 0;
    virtual BOOL flushFileBuffers(HANDLE file) = 0;
    virtual BOOL getFileSizeEx(HANDLE file, PLARGE_INTEGER size) = 0;
    virtual BOOL setFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID information,
                                            DWORD size) = 0;
    virtual BOOL lockFileEx(HANDLE file, DWORD flags, DWORD reserved, DWORD low, DWORD high, LPOVERLAPPED at) = 0;
    virtual BOOL unlockFileEx(HANDLE file, DWORD reserved, DWORD low, DWORD high, LPOVERLAPPED at) = 0;
    virtual BOOL createDirectory(LPCWSTR path, LPSECURITY_ATTRIBUTES security) = 0;
    virtual BOOL setFileAttributes(LPCWSTR path, DWORD attributes) = 0;
    // GetSecurityInfo of an open file: its owner and access list, in a descriptor freed with LocalFree. The handle
    // needs READ_CONTROL.
    virtual DWORD getSecurityInfo(HANDLE file, SECURITY_INFORMATION what, PSID* owner, PACL* accessList,
                                  PSECURITY_DESCRIPTOR* descriptor) = 0;
    virtual BOOL getFileTime(HANDLE file, LPFILETIME made, LPFILETIME read, LPFILETIME written) = 0;
    virtual BOOL moveFileEx(LPCWSTR from, LPCWSTR to, DWORD flags) = 0;
};

// The system's own calls.
Win32Calls& windowsCalls();

} // namespace kelvrast
