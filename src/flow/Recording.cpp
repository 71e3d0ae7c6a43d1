#include "flow/Recording.h"

#include "coding/LineCoding.h"
#include "flow/AnswerRecords.h"
#include "flow/BoxText.h"
#include "flow/NumberText.h"

#include <array>
#include <deque>

namespace kelvrast {
namespace {

// The answer as it will be recorded, or nothing when it is not to be recorded: the Answer box still holds
// exactly the prompt, or it holds characters the files cannot hold and the student chose to go back.
std::optional<std::string> answerToRecord(const MainWindowState& state, Platform& platform) {
    const std::u16string shown = platform.boxes->answerText();
    if (shown == toScreenText(state.answerPrompt))
        return std::nullopt;
    codepage::Encoded answer = codepage::fromUnicode(shown);
    if (answer.unmappable.empty())
        return answer.bytes;
    std::u16string list;
    for (const std::u16string& character : answer.unmappable)
        list += (list.empty() ? u"" : u"  ") + character;
    const bool record = platform.dialogs.choose(
        u"Your answer contains characters that the answer files cannot hold:  " + list +
            u"\n\nYou can record the answer with \"?\" in place of each of them, or go back and change it.",
        u"Record with \"?\"", u"Go back");
    if (!record)
        return std::nullopt;
    return answer.bytes;
}

void reportNotRecorded(Platform& platform, const std::u16string& what, const Status& failure) {
    platform.dialogs.message(u"Your " + what + u" was not recorded. " + failure.message() +
                             u"\n\nWhat you typed is still in the Answer box, so you can try again.");
}

void finishRecording(MainWindowState& state, Platform& platform, std::string textBuffer) {
    state.awaitingResponse = false;
    state.textBuffer = std::move(textBuffer);
    platform.boxes->setQuestionText(u"");
    platform.boxes->setAnswerText(u"");
}

} // namespace

void enterResponse(MainWindowState& state, Platform& platform) {
    std::optional<std::string> answer = answerToRecord(state, platform);
    if (!answer)
        return;
    const double key = leadingNumberValue(state.assignmentNumber) * 10000 + leadingNumberValue(state.questionNumber);
    const std::string entry = code(state.currentLine, state.codeNumber);
    const std::string coded = code(*answer, state.codeNumber);
    // Each file's time line is its own reading of the clock.
    const std::string masterTime = platform.clock.time();
    const std::string sendTime = platform.clock.time();
    Status recorded =
        platform.files.appendBlocks({{state.masterFilePath, records::answerBlock({masterTime, key, entry, coded})},
                                     {state.sendFilePath, records::answerBlock({sendTime, {}, entry, coded})}});
    if (!recorded.ok())
        return reportNotRecorded(platform, u"answer", recorded);
    finishRecording(state, platform, *answer);
}

void saveAsNotes(MainWindowState& state, Platform& platform) {
    std::optional<std::string> answer = answerToRecord(state, platform);
    if (!answer)
        return;
    const std::string notes = std::string(records::notesPrefix) + *answer;
    const std::array files{state.masterFilePath, state.sendFilePath, state.notesFilePath};
    std::array<records::NotesRecord, 3> blocks;
    for (auto& block : blocks)
        block.time = platform.clock.time();
    for (auto& block : blocks) {
        block.date = platform.clock.date();
        block.secondTime = platform.clock.time();
        block.codedEntry = code(state.currentLine, state.codeNumber);
        block.codedNotes = code(notes, state.codeNumber);
    }
    std::vector<PendingBlock> pending;
    for (std::size_t i = 0; i < files.size(); ++i)
        pending.push_back({files[i], records::notesBlock(blocks[i])});
    Status recorded = platform.files.appendBlocks(pending);
    if (!recorded.ok())
        return reportNotRecorded(platform, u"note", recorded);
    finishRecording(state, platform, notes);
}

bool lastRecordHolds(const MainWindowState& state, Files& files, std::u16string_view answer) {
    if (answer.empty() || answer == toScreenText(state.answerPrompt))
        return false;
    const std::string bytes = codepage::fromUnicode(answer).bytes;
    auto ending = [](std::string_view before, const std::string& text) {
        return std::string(before) + std::string(records::lineEnd) + text + std::string(records::lineEnd) +
               std::string(records::recordCloser) + std::string(records::lineEnd);
    };
    const std::array endings{
        ending(records::responseMarker, code(bytes, state.codeNumber)),
        ending(records::recordOpener, code(std::string(records::notesPrefix) + bytes, state.codeNumber))};
    auto linesIn = [](const std::string& text) {
        std::size_t count = 0;
        for (std::size_t at = text.find(records::lineEnd); at != std::string::npos;
             at = text.find(records::lineEnd, at + 1))
            ++count;
        return count;
    };
    // This start's header, four lines, may follow the record.
    constexpr std::size_t headerLines = 4;
    const std::size_t kept = std::max(linesIn(endings[0]), linesIn(endings[1])) + headerLines;
    std::deque<std::string> last;
    const Status read = files.readLines(state.masterFilePath, [&](std::string_view line) {
        last.emplace_back(line);
        if (last.size() > kept)
            last.pop_front();
    });
    if (!read.ok())
        return false;
    for (const std::string& wanted : endings)
        for (const std::size_t after : {std::size_t{0}, headerLines}) {
            const std::size_t count = linesIn(wanted);
            if (last.size() < count + after)
                continue;
            std::string joined;
            for (std::size_t i = last.size() - after - count; i < last.size() - after; ++i)
                joined += last[i] + std::string(records::lineEnd);
            if (joined == wanted)
                return true;
        }
    return false;
}

} // namespace kelvrast
