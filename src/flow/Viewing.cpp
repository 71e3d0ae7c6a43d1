#include "flow/Viewing.h"

#include "flow/BoxText.h"

#include <algorithm>

namespace kelvrast {
namespace {

// The file's lines, each after a CR LF, built whole so that a long file costs one replacement of the box.
// Gathered as bytes and turned into screen text once, so a long file makes no text per line and the larger
// screen text is never grown and copied.
Result<std::u16string> linesForDisplay(Files& files, const std::filesystem::path& file) {
    std::string bytes;
    Status read = files.readLines(file, [&](std::string_view line) {
        bytes += "\r\n";
        bytes += line;
    });
    if (!read.ok())
        return read.passedOn();
    return toScreenText(bytes);
}

// A NUL byte that an editor or a failing disk left in a file shows as the symbol for NUL: Windows' text boxes end
// their text at the first NUL, and everything after it would look lost.
std::u16string withNulsVisible(std::u16string text) {
    std::replace(text.begin(), text.end(), u'\0', u'\u2400');
    return text;
}

} // namespace

void clearAnswer(Platform& platform) {
    platform.boxes->replaceAnswerUndoably(u"");
}

void displayNotes(MainWindowState& state, Platform& platform) {
    Result<std::u16string> notes = linesForDisplay(platform.files, state.notesFilePath);
    if (!notes.ok()) {
        platform.dialogs.message(notes.status().isNotFound()
                                     ? u"No notes have been saved yet."
                                     : u"The notes file could not be shown. " + notes.status().message());
        return;
    }
    state.textBuffer = toProgramText(notes.value());
    platform.boxes->setQuestionText(platform.boxes->questionText() + withNulsVisible(std::move(notes.value())));
}

void displaySendFile(const MainWindowState& state, Platform& platform) {
    Result<std::u16string> lines = linesForDisplay(platform.files, state.sendFilePath);
    if (!lines.ok()) {
        platform.dialogs.message(u"The SEND file could not be shown. " + lines.status().message());
        return;
    }
    if (lines.value().empty())
        return;
    std::u16string shown = platform.boxes->questionText();
    if (shown.empty())
        shown = withNulsVisible(std::move(lines.value()));
    else
        shown += withNulsVisible(std::move(lines.value()));
    platform.boxes->setQuestionText(shown);
}

} // namespace kelvrast
