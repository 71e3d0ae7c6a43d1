#include "system/web/WebDraftStore.h"

#include "system/web/Opfs.h"
#include "system/web/WebFailure.h"

namespace kelvrast {

Status WebDraftStore::replace(const std::filesystem::path& fileName, std::string_view bytes) {
    if (opfs::Error error = opfs::makeFolder(folder_, false); error != opfs::Error::none)
        return statusOf(FileAction::createFolder, folder_, error);
    return statusOf(FileAction::replace, pathOf(fileName), opfs::replaceWhole(pathOf(fileName), bytes));
}

Result<std::string> WebDraftStore::read(const std::filesystem::path& fileName) {
    std::string bytes;
    if (opfs::Error error = opfs::readAll(pathOf(fileName), bytes); error != opfs::Error::none)
        return statusOf(FileAction::open, pathOf(fileName), error).passedOn();
    return bytes;
}

Status WebDraftStore::remove(const std::filesystem::path& fileName) {
    const opfs::Error error = opfs::remove(pathOf(fileName));
    return error == opfs::Error::notFound ? Status::success() : statusOf(FileAction::remove, pathOf(fileName), error);
}

} // namespace kelvrast
