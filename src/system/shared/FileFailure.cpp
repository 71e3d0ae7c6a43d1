#include "system/shared/FileFailure.h"

#include "text/MessageText.h"

#include <string>

namespace kelvrast {

namespace {

std::u16string_view actionText(FileAction action) {
    switch (action) {
    case FileAction::open:
        return u"Could not open";
    case FileAction::flushNewFileEntry:
        return u"Could not save the new file";
    case FileAction::createFolder:
        return u"Could not create the folder";
    case FileAction::flushNewFolderEntry:
        return u"Could not save the new folder";
    case FileAction::read:
        return u"Could not read";
    case FileAction::writeTo:
        return u"Could not write to";
    case FileAction::lock:
        return u"Could not lock";
    case FileAction::readSizeOf:
        return u"Could not read the size of";
    case FileAction::takeBack:
        return u"Could not take the record back out of";
    case FileAction::keepPrivate:
        return u"Could not keep other accounts from reading";
    case FileAction::replace:
        return u"Could not replace";
    case FileAction::remove:
        return u"Could not remove";
    }
    return u"Could not use";
}

std::u16string_view problemText(FileProblem problem) {
    switch (problem) {
    case FileProblem::notFound:
        return u"the file or its folder does not exist";
    case FileProblem::permissionRefused:
        return u"permission was refused";
    case FileProblem::isFolder:
        return u"it is a folder, not a file";
    case FileProblem::notAFolder:
        return u"part of the path is not a folder";
    case FileProblem::diskFull:
        return u"the disk is full";
    case FileProblem::readOnly:
        return u"the disk is read-only";
    case FileProblem::nameTooLong:
        return u"the name is too long";
    case FileProblem::invalidName:
        return u"the name is not a valid file name";
    case FileProblem::exists:
        return u"it exists already";
    case FileProblem::inUse:
        return u"another program is using it";
    case FileProblem::changedSinceWritten:
        return u"the file has changed since it was written";
    case FileProblem::recordTooLong:
        return u"the record is too long";
    case FileProblem::ownedByOther:
        return u"it belongs to another account";
    case FileProblem::madeByAnotherAccount:
        return u"another account of this computer has made a file with this name, so nothing of yours goes into it; "
               u"ask the lab's administrator to remove it";
    }
    return u"it failed";
}

std::u16string message(FileAction action, const std::filesystem::path& file, std::u16string_view why) {
    std::u16string text(actionText(action));
    text += u" ";
    text += pathText(file);
    text += u": ";
    text += why;
    text += u".";
    return text;
}

} // namespace

Failure fileFailure(FileAction action, const std::filesystem::path& file, FileProblem problem) {
    std::u16string text = message(action, file, problemText(problem));
    return problem == FileProblem::notFound ? Status::notFound(std::move(text)) : Status::failure(std::move(text));
}

Failure fileFailure(FileAction action, const std::filesystem::path& file, std::u16string_view systemWords) {
    return Status::failure(message(action, file, systemWords));
}

std::u16string copyLeftBehind(const std::filesystem::path& file, const Status& whyNot) {
    return u" The copy already written to " + pathText(file) +
           u" stays there, because it could not be taken out again. " + whyNot.message();
}

} // namespace kelvrast
