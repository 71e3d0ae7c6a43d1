#include "system/posix/PosixFailure.h"

#include "text/MessageText.h"

#include <cerrno>
#include <cstring>
#include <optional>

namespace kelvrast {
namespace {

constexpr ErrorMeaning<int> errorMeanings[] = {
    {ENOENT, FileProblem::notFound}, {EACCES, FileProblem::permissionRefused}, {EPERM, FileProblem::permissionRefused},
    {EISDIR, FileProblem::isFolder}, {ENOSPC, FileProblem::diskFull},          {EDQUOT, FileProblem::diskFull},
    {EROFS, FileProblem::readOnly},  {ENAMETOOLONG, FileProblem::nameTooLong}, {ENOTDIR, FileProblem::notAFolder},
};

} // namespace

Failure posixFailure(FileAction action, const std::filesystem::path& file, int error) {
    if (const std::optional<FileProblem> problem = problemOf<int>(error, errorMeanings))
        return fileFailure(action, file, *problem);
    return fileFailure(action, file, asciiText(std::strerror(error)));
}

} // namespace kelvrast
