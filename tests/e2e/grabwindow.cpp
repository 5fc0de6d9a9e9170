// Saves what an X window shows as a PNG file, for the end-to-end tests' screenshots:
//
//   warmlog-grabwindow WINDOW_ID FILE.png
//
// Needs only Qt, so the tests do not depend on an image tool being installed.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    bool isNumber = false;
    const WId window = arguments.value(1).toULongLong(&isNumber, 0);
    if (arguments.size() != 3 || !isNumber) {
        QTextStream(stderr) << "usage: warmlog-grabwindow WINDOW_ID FILE.png\n";
        return 2;
    }
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window);
    if (shot.isNull() || !shot.save(arguments.at(2), "PNG")) {
        QTextStream(stderr) << "warmlog-grabwindow: could not save window " << arguments.at(1)
                            << '\n';
        return 1;
    }
    return 0;
}
