// Saves what an X window shows as a PNG file, for the end-to-end tests' screenshots, with Qt alone
// so that the tests need no image tool:  warmlog-grabwindow WINDOW_ID FILE.png
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    bool isNumber = false;
    const WId window = QByteArray(argc == 3 ? argv[1] : "").toULongLong(&isNumber, 0);
    if (isNumber && QGuiApplication::primaryScreen()->grabWindow(window).save(
                        QString::fromLocal8Bit(argv[2]), "PNG"))
        return 0;
    qWarning("warmlog-grabwindow: no screenshot (WINDOW_ID FILE.png)");
    return 1;
}
