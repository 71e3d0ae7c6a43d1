// Reads an answer file block by block and prints one line a block: "header TITLE", "answer KEY|ANSWER" or
// "notes NOTE", with any line break of the answer or note shown as "\n". Ends with status 1, after saying where and
// why, when the file holds anything but whole blocks. The end-to-end tests check the program's files with it.
//
//     check_answer_file master|send|notes FILE
#include "support/AnswerFileChecker.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

using namespace kelvrast::testing;

namespace {

std::string oneLine(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.replace(at, 2, "\\n");
    return text;
}

void print(const FileBlock& block) {
    switch (block.kind) {
    case FileBlock::Kind::header:
        std::printf("header %s\n", block.title.c_str());
        break;
    case FileBlock::Kind::answer:
        std::printf("answer %s|%s\n", block.keyLine.value_or("").c_str(), oneLine(block.text).c_str());
        break;
    case FileBlock::Kind::notes:
        std::printf("notes %s\n", oneLine(block.text).c_str());
        break;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    const std::string kindName = argc == 3 ? argv[1] : "";
    if (kindName != "master" && kindName != "send" && kindName != "notes") {
        std::fprintf(stderr, "usage: check_answer_file master|send|notes FILE\n");
        return 2;
    }
    std::ifstream in(argv[2], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 2;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const AnswerFileKind kind = kindName == "master" ? AnswerFileKind::master
                                : kindName == "send" ? AnswerFileKind::send
                                                     : AnswerFileKind::notes;
    const CheckedAnswerFile checked = checkAnswerFile(bytes, kind);
    for (const FileBlock& block : checked.blocks)
        print(block);
    if (!checked.whole()) {
        std::fprintf(stderr, "%s: line %zu (byte %zu) starts no whole block: %s\n", argv[2], *checked.firstBadLine,
                     checked.badOffset, checked.problem.c_str());
        return 1;
    }
    return 0;
}
