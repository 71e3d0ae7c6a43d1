#include "flow/QuestionBank.h"

#include "text/CodePage.h"
#include "text/MessageText.h"

#include <initializer_list>
#include <string_view>
#include <vector>

namespace kelvrast {

namespace {

const std::string questionPrefix = "`q";

std::string paragraphs(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (std::string_view piece : pieces) {
        if (!text.empty()) {
            text += "\r\n\r\n";
        }
        text += piece;
    }
    return text;
}

// The working folder as the student sees it, in the program's 8-bit code page.
std::string folderText(const std::filesystem::path& folder) {
    if (folder.empty()) {
        return "c:\\kelvrast";
    }
    return codepage::fromUnicode(pathText(folder)).bytes;
}

std::string firstQuestion() {
    return paragraphs({
        questionPrefix + "001.  Part 1 includes six activities.  If you have completed an activity, just enter the "
                         "answer 'completed'. ",
        "This question is appearing in the Question box.  The box to the right of it is the Answer box, where you "
        "type your answers to the questions posed here.",
        "To use this program you read a question, then enter your answer in the Answer box and click on Enter Answer.  "
        "Your answers should give what is requested without excessive detail: just enough for the instructor to tell "
        "that you understand the item.",
        "After entering an answer click on Next Question/Answer above the Question box.",
        "Do you understand these instructions?",
    });
}

std::string sendFileInstructions(const std::string& folder) {
    return paragraphs({
        "This program has created the folder " + folder + " on your hard drive.  ",
        "Browse to that folder and locate the file whose name begins with SEND.  The name of the file also includes "
        "your name, as you typed it into this program, and the file shows as a Text file.",
        "Never tamper with a SEND file in any way.  The file contains internal codes, and if they have been tampered "
        "with you lose the credit for the assignment.  You may make copies of the file and view or change the copies "
        "anywhere you like, but the untouched, tamper-free SEND file is the one to send when it is requested.",
        "State in the Answer box whether or not you have been able to locate the SEND file.  Do not send the SEND "
        "file yet: there are more questions/instructions to come in the q_a_fenwick.",
    });
}

std::string secondQuestion() {
    return questionPrefix +
           "002.  Note that every time you click on Enter Answer the program writes your response to your SEND file.  "
           "Everything you enter with the Enter Answer button stays in that file, even if the program vanishes or "
           "crashes; the program never 'unwrites' anything.  Explain this in your own words.";
}

std::string resubmissionInstructions() {
    return paragraphs({
        "Any time the instructor does not post a response to your access site by the end of the following day, you "
        "should resubmit your work using the Submit Work form.  When you resubmit, say at the beginning that the work "
        "is being resubmitted and give the date on which you first submitted it.",
        "If you don't know where your access site is or how to access it, go to ",
        "https://www.example.org/access-code and request one now.  You can submit the q_a_fenwick without your access "
        "code, but other assignments should contain your code.",
    });
}

std::string thirdQuestion() {
    return questionPrefix +
           "003.  If you are working on a TARN computer, it may return to its initial configuration whenever it is "
           "rebooted, so you should back up your work frequently, for example by e-mailing a copy to yourself or by "
           "saving it on a key drive or other device.  This is a good idea on any computer.  Please indicate that "
           "you understand this suggestion.";
}

std::string submissionInstructions(const std::string& folder) {
    return paragraphs({
        "Once more, locate the SEND file in your " + folder +
            " folder, and open the file.  Copy its contents to the clipboard (CTRL-A, then CTRL-C), return to the "
            "form that instructed you to run this program, and paste the contents into the indicated box "
            "(right-click, then Paste).",
        "You may now click on the Quit button, or simply close the program.",
    });
}

std::vector<std::string> bankEntries(const std::string& folder) {
    return {
        "001.  Only assignment:  fenwick asst",
        "",
        firstQuestion(),
        "",
        sendFileInstructions(folder),
        "",
        secondQuestion(),
        "",
        resubmissionInstructions(),
        thirdQuestion(),
        submissionInstructions(folder),
        "",
        "end program",
        "",
    };
}

} // namespace

void loadQuestionBank(MainWindowState& state) {
    for (std::string& entry : bankEntries(folderText(state.folderPath))) {
        state.bankIndex += 1;
        if (state.bankIndex < 0 || state.bankIndex >= MainWindowState::bankSize) {
            return; // the entries stored so far stay in place
        }
        state.questionBank[state.bankIndex] = std::move(entry);
    }
}

} // namespace kelvrast
