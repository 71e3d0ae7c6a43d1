// Starts like the program does: a QApplication on the desktop's platform and an input dialog. With --leak it
// loses one block of its own from inside a Qt event handler, where every frame below the handler is Qt's.
#include <QApplication>
#include <QInputDialog>
#include <QTimer>

#include <cstring>
#include <string>

namespace {

// Kept out of line so that the leak report names it.
[[gnu::noinline]] void leakOneBlock() {
    auto* block = new std::string(200, 'x');
    // Tells the compiler the block is used, so that the allocation stays in an optimised build too.
    asm volatile("" : : "r"(block) : "memory");
}

} // namespace

int main(int argc, char* argv[]) {
    const bool leak = argc > 1 && std::strcmp(argv[1], "--leak") == 0;
    QApplication app(argc, argv);
    QInputDialog prompt;
    prompt.setLabelText(QStringLiteral("Your full name:"));
    prompt.show();
    QTimer::singleShot(200, &prompt, [&prompt, leak] {
        if (leak)
            leakOneBlock();
        prompt.accept();
        QApplication::quit();
    });
    return QApplication::exec();
}
