#include "system/web/Opfs.h"

#include <cstdlib>
#include <string_view>

extern "C" {
int kelvrast_opfs_open(const char* path, int create);
double kelvrast_opfs_read(int handle, char* into, double size, double at);
double kelvrast_opfs_write(int handle, const char* from, double size, double at);
double kelvrast_opfs_size(int handle);
int kelvrast_opfs_truncate(int handle, double size);
int kelvrast_opfs_flush(int handle);
void kelvrast_opfs_close(int handle);
int kelvrast_opfs_make_folder(const char* path, int mustBeNew);
int kelvrast_opfs_kind(const char* path);
int kelvrast_opfs_remove(const char* path);
int kelvrast_opfs_move(const char* from, const char* to);
int kelvrast_opfs_read_all(const char* path, char** into, std::uint32_t* size);
double kelvrast_opfs_last_modified(const char* path);
int kelvrast_opfs_names(const char* path, char** into);
}

namespace kelvrast::opfs {
namespace {

// A path as the browser's side takes it: UTF-8, "/" between names.
std::string text(const std::filesystem::path& path) {
    const std::u8string utf8 = path.generic_u8string();
    return std::string(utf8.begin(), utf8.end());
}

// The error a negative answer of opfs.js carries; none for the rest.
Error errorOf(double answer) {
    return answer < 0 ? static_cast<Error>(static_cast<int>(-answer)) : Error::none;
}

} // namespace

AccessHandle::AccessHandle(const std::filesystem::path& file, bool create) {
    const int opened = kelvrast_opfs_open(text(file).c_str(), create ? 1 : 0);
    if (opened > 0)
        handle_ = opened;
    else
        error_ = errorOf(opened);
}

AccessHandle::~AccessHandle() {
    if (isOpen())
        kelvrast_opfs_close(handle_);
}

std::optional<std::size_t> AccessHandle::read(std::uint64_t offset, char* into, std::size_t size) {
    const double count = kelvrast_opfs_read(handle_, into, static_cast<double>(size), static_cast<double>(offset));
    if (count < 0) {
        error_ = errorOf(count);
        return std::nullopt;
    }
    return static_cast<std::size_t>(count);
}

Error AccessHandle::write(std::uint64_t offset, std::string_view bytes) {
    const double count =
        kelvrast_opfs_write(handle_, bytes.data(), static_cast<double>(bytes.size()), static_cast<double>(offset));
    if (count < 0)
        return errorOf(count);
    // A write that stops short found no room for the rest.
    return static_cast<std::size_t>(count) == bytes.size() ? Error::none : Error::quotaExceeded;
}

std::optional<std::uint64_t> AccessHandle::size() {
    const double size = kelvrast_opfs_size(handle_);
    if (size < 0) {
        error_ = errorOf(size);
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(size);
}

Error AccessHandle::truncate(std::uint64_t size) {
    return errorOf(kelvrast_opfs_truncate(handle_, static_cast<double>(size)));
}

Error AccessHandle::flush() {
    return errorOf(kelvrast_opfs_flush(handle_));
}

Error makeFolder(const std::filesystem::path& folder, bool mustBeNew) {
    return errorOf(kelvrast_opfs_make_folder(text(folder).c_str(), mustBeNew ? 1 : 0));
}

std::optional<Kind> kindOf(const std::filesystem::path& path, Error& error) {
    const int kind = kelvrast_opfs_kind(text(path).c_str());
    error = errorOf(kind);
    if (error != Error::none)
        return std::nullopt;
    return kind == 1 ? Kind::file : kind == 2 ? Kind::folder : Kind::none;
}

Error remove(const std::filesystem::path& path) {
    return errorOf(kelvrast_opfs_remove(text(path).c_str()));
}

Error move(const std::filesystem::path& from, const std::filesystem::path& to) {
    return errorOf(kelvrast_opfs_move(text(from).c_str(), text(to).c_str()));
}

Error replaceWhole(const std::filesystem::path& file, std::string_view bytes) {
    const std::filesystem::path copy = file.string() + ".new";
    Error error = Error::none;
    {
        AccessHandle handle(copy, true);
        if (!handle.isOpen())
            return handle.error();
        error = handle.truncate(0);
        if (error == Error::none)
            error = handle.write(0, bytes);
        if (error == Error::none)
            error = handle.flush();
    }
    if (error == Error::none)
        error = opfs::move(copy, file);
    if (error != Error::none)
        opfs::remove(copy);
    return error;
}

Error readAll(const std::filesystem::path& file, std::string& into) {
    char* bytes = nullptr;
    std::uint32_t size = 0;
    const Error error = errorOf(kelvrast_opfs_read_all(text(file).c_str(), &bytes, &size));
    if (error == Error::none)
        into.assign(bytes, size);
    std::free(bytes);
    return error;
}

std::optional<std::int64_t> lastModified(const std::filesystem::path& file) {
    const double milliseconds = kelvrast_opfs_last_modified(text(file).c_str());
    if (milliseconds < 0)
        return std::nullopt;
    return static_cast<std::int64_t>(milliseconds) * 1'000'000;
}

Error namesIn(const std::filesystem::path& folder, std::vector<std::string>& names) {
    char* listed = nullptr;
    const Error error = errorOf(kelvrast_opfs_names(text(folder).c_str(), &listed));
    if (error != Error::none)
        return error;
    names.clear();
    std::string_view rest = listed;
    for (std::size_t end; (end = rest.find('/')) != std::string_view::npos; rest.remove_prefix(end + 1))
        names.emplace_back(rest.substr(0, end));
    std::free(listed);
    return Error::none;
}

} // namespace kelvrast::opfs
