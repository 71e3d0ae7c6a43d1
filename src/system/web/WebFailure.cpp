#include "system/web/WebFailure.h"

namespace kelvrast {

Status statusOf(FileAction action, const std::filesystem::path& file, opfs::Error error) {
    switch (error) {
    case opfs::Error::none:
        return Status::success();
    case opfs::Error::notFound:
        return fileFailure(action, file, FileProblem::notFound);
    case opfs::Error::isFolder:
        return fileFailure(action, file, FileProblem::isFolder);
    case opfs::Error::held:
        // In a browser only the program itself, in another tab or window, holds the student's files.
        return fileFailure(action, file, u"another tab or window of this program is using it");
    case opfs::Error::quotaExceeded:
        return fileFailure(action, file, FileProblem::diskFull);
    case opfs::Error::invalidName:
        return fileFailure(action, file, FileProblem::invalidName);
    case opfs::Error::exists:
        return fileFailure(action, file, FileProblem::exists);
    case opfs::Error::notAFolder:
        return fileFailure(action, file, FileProblem::notAFolder);
    case opfs::Error::other:
        break;
    }
    return fileFailure(action, file, u"the browser's storage refused it");
}

} // namespace kelvrast
