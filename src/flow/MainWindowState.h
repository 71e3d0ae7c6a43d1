#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace kelvrast {

// Everything the program knows during a run. Texts are 8-bit Windows-1252; paths are kept apart from them,
// in the file system's own encoding, so that names beyond ASCII make valid file names.
struct MainWindowState {
    static constexpr int bankSize = 5001;
    static constexpr int progressRows = 101;
    static constexpr int progressColumns = 51;

    std::string assignmentTitle;
    float codeNumber = 0;
    std::u16string studentName; // as typed at the name prompt
    std::filesystem::path folderPath;
    std::filesystem::path masterFilePath;
    std::filesystem::path sendFilePath;
    std::filesystem::path notesFilePath;
    std::string assignmentNumber;
    std::string nextAssignmentNumber;
    std::string answerPrompt;
    int bankIndex = 0;
    std::vector<std::string> questionBank = std::vector<std::string>(bankSize);
    int presentationMode = 0;
    std::string currentLine;
    std::string questionNumber;
    std::string nextPiece;
    int pieceStart = 0;
    bool awaitingResponse = false;
    std::string textBuffer;
    std::string queryFileTag;
    std::array<std::array<double, progressColumns>, progressRows> progressTable{};
    double lastAnswered = 0;
};

} // namespace kelvrast
