#include "system/windows/Win32Calls.h"

#include <aclapi.h>

namespace kelvrast {
namespace {

class WindowsCalls final : public Win32Calls {
public:
    HANDLE createFile(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                      DWORD flags, HANDLE templateFile) override {
        return ::CreateFileW(path, access, share, security, disposition, flags, templateFile);
    }
    BOOL closeHandle(HANDLE handle) override { return ::CloseHandle(handle); }
    BOOL readFile(HANDLE file, LPVOID into, DWORD size, LPDWORD count, LPOVERLAPPED at) override {
        return ::ReadFile(file, into, size, count, at);
    }
    BOOL writeFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD count, LPOVERLAPPED at) override {
        return ::WriteFile(file, bytes, size, count, at);
    }
    BOOL flushFileBuffers(HANDLE file) override { return ::FlushFileBuffers(file); }
    BOOL getFileSizeEx(HANDLE file, PLARGE_INTEGER size) override { return ::GetFileSizeEx(file, size); }
    BOOL setFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID information,
                                    DWORD size) override {
        return ::SetFileInformationByHandle(file, kind, information, size);
    }
    BOOL lockFileEx(HANDLE file, DWORD flags, DWORD reserved, DWORD low, DWORD high, LPOVERLAPPED at) override {
        return ::LockFileEx(file, flags, reserved, low, high, at);
    }
    BOOL unlockFileEx(HANDLE file, DWORD reserved, DWORD low, DWORD high, LPOVERLAPPED at) override {
        return ::UnlockFileEx(file, reserved, low, high, at);
    }
    BOOL createDirectory(LPCWSTR path, LPSECURITY_ATTRIBUTES security) override {
        return ::CreateDirectoryW(path, security);
    }
    BOOL setFileAttributes(LPCWSTR path, DWORD attributes) override { return ::SetFileAttributesW(path, attributes); }
    DWORD getSecurityInfo(HANDLE file, SECURITY_INFORMATION what, PSID* owner, PACL* accessList,
                          PSECURITY_DESCRIPTOR* descriptor) override {
        return ::GetSecurityInfo(file, SE_FILE_OBJECT, what, owner, nullptr, accessList, nullptr, descriptor);
    }
    BOOL getFileTime(HANDLE file, LPFILETIME made, LPFILETIME read, LPFILETIME written) override {
        return ::GetFileTime(file, made, read, written);
    }
    BOOL moveFileEx(LPCWSTR from, LPCWSTR to, DWORD flags) override { return ::MoveFileExW(from, to, flags); }
};

} // namespace

Win32Calls& windowsCalls() {
    static WindowsCalls calls;
    return calls;
}

} // namespace kelvrast
