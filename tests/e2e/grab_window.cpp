// Counts the dark pixels in a rectangle of a window's client area, so that the end-to-end tests can see what the
// program drew. Usage: grab_window WINDOW LEFT TOP WIDTH HEIGHT, the window's X id and the rectangle in pixels.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <array>
#include <iostream>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 6) {
        std::cerr << "usage: grab_window WINDOW LEFT TOP WIDTH HEIGHT\n";
        return 2;
    }
    bool ok = true;
    const WId window = arguments[1].toULongLong(&ok, 0);
    std::array<int, 4> rectangle{};
    for (std::size_t i = 0; i < rectangle.size() && ok; ++i)
        rectangle[i] = arguments[static_cast<qsizetype>(i) + 2].toInt(&ok);
    if (!ok) {
        std::cerr << "grab_window: the window and the rectangle must be numbers\n";
        return 2;
    }

    QScreen* screen = QGuiApplication::primaryScreen();
    const QImage image =
        screen ? screen->grabWindow(window, rectangle[0], rectangle[1], rectangle[2], rectangle[3]).toImage()
               : QImage();
    if (image.isNull()) {
        std::cerr << "grab_window: the window could not be grabbed\n";
        return 1;
    }
    long dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    std::cout << dark << '\n';
    return 0;
}
