#include "system/web/WebDraftStore.h"

#include "system/shared/FileFailure.h"
#include "system/web/Opfs.h"

namespace kelvrast {
namespace {

// What the browser answered, as the program tells it: success for none, else the failure in plain words.
Status statusOf(FileAction action, const std::filesystem::path& file, opfs::Error error) {
    switch (error) {
    case opfs::Error::none:
        return Status::success();
    case opfs::Error::notFound:
        return fileFailure(action, file, FileProblem::notFound);
    case opfs::Error::quotaExceeded:
        return fileFailure(action, file, FileProblem::diskFull);
    case opfs::Error::held:
        return fileFailure(action, file, FileProblem::inUse);
    default:
        return fileFailure(action, file, u"the browser's storage refused it");
    }
}

} // namespace

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
