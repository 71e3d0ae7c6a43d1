// The least a Qt Widgets program does to ask for a name: an application and one input dialog. The program's
// launch to its name prompt is measured against this.
#include <QApplication>
#include <QInputDialog>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("minimal_prompt"));
    bool accepted = false;
    QInputDialog::getText(nullptr, QString(), QStringLiteral("Your full name:  "), QLineEdit::Normal, QString(),
                          &accepted);
    return accepted ? 0 : 1;
}
