#pragma once

#include "flow/MainWindowState.h"
#include "platform/Platform.h"

#include <string>

namespace kelvrast {

// One step through the question bank: while an answer is due, only puts the answer prompt into the Answer box;
// otherwise takes the next non-blank entry into currentLine and nextPiece. Returns false when the step ended
// the program.
bool readNextQuestion(MainWindowState& state, Platform& platform);

// "Next Question / Answer": one step, then the entry read is appended to the Question box.
void nextQuestionClicked(MainWindowState& state, Platform& platform);

// The message shown at the end of the bank, naming the SEND file to submit.
std::u16string closingMessage(const MainWindowState& state);

} // namespace kelvrast
