#include "device/portlist.h"
#include "device/qtseriallink.h"
#include "logging/logrecovery.h"
#include "main/commandline.h"
#include "main/displaystart.h"
#include "main/mainwindow.h"
#include "platform/clock.h"
#include "platform/messageboxes.h"
#include "platform/quitter.h"
#include "platform/terminationwatch.h"
#include "platform/trayicon.h"
#include "platform/urlopener.h"
#include "ui/branding.h"
#include "ui/shippedfonts.h"
#include "warmlog_version.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

int main(int argc, char *argv[])
{
    // Before the display: help, the version and a mistyped option need none.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    StartOptions options;
    QString printed;
    switch (commandline::parse(arguments, &options, &printed)) {
    case commandline::Outcome::Start:
        break;
    case commandline::Outcome::Help:
    case commandline::Outcome::Version:
        std::fputs(printed.toLocal8Bit().constData(), stdout);
        return 0;
    case commandline::Outcome::Invalid:
        std::fprintf(stderr, "%s\n", printed.toLocal8Bit().constData());
        return 2;
    }

    DisplayStart displayStart(argc, argv);
    QApplication app(argc, argv);
    displayStart.started();
    QApplication::setApplicationName(programTitle());
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(WARMLOG_VERSION_MAJOR)
                                            .arg(WARMLOG_VERSION_MINOR)
                                            .arg(WARMLOG_VERSION_PATCH));
    // The program icon in every size the desktop asks for; the windows set their own 32 x 32 one.
    QIcon programIcon;
    const QString sizes = QStringLiteral(":/icons/hicolor");
    for (const QString &size : QDir(sizes).entryList())
        programIcon.addFile(sizes + QLatin1Char('/') + size + QStringLiteral("/apps/warmlog.png"));
    QApplication::setWindowIcon(programIcon);
    addShippedFonts(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"));
    // Qt's own texts, such as a text box's context menu, in the language of the rest.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_de"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    QtSerialLink serial;
    SystemClock clock;
    QtMessageBoxes messageBoxes;
    QtTrayIcon tray;
    ProcessQuitter quitter;
    QtUrlOpener urlOpener;
    SystemPortList ports;
    const Platform platform{clock, messageBoxes, tray, quitter, urlOpener, ports};

    MainWindow mainWindow(serial, platform);
    // The program ends only through MainWindow::confirmQuit(), not when the question box closes
    // with the main window hidden in the notification area.
    QApplication::setQuitOnLastWindowClosed(false);
#if QT_CONFIG(sessionmanager)
    // Logging out asks like the close box; a No keeps the session from ending. Unsaved log text
    // is kept first, since the session may end the program without asking.
    QObject::connect(
        &app, &QGuiApplication::commitDataRequest, &mainWindow,
        [&mainWindow](QSessionManager &manager) {
            const QString kept = mainWindow.keepUnsavedLog();
            if (manager.allowsInteraction() && !mainWindow.close()) {
                manager.cancel();
                if (!kept.isEmpty())
                    logrecovery::withdraw(kept);
            }
        },
        Qt::DirectConnection);
#endif
    const TerminationWatch termination;
    QObject::connect(&termination, &TerminationWatch::terminationRequested, &mainWindow,
                     &MainWindow::endWithoutAsking);

    if (!options.recordFolder.isEmpty()) {
        // An autostart entry expands nothing, so "~/" is the home folder here; and its folder
        // may not exist before the first start.
        QString folder = options.recordFolder;
        if (folder.startsWith(QLatin1String("~/")))
            folder.replace(0, 1, QDir::homePath());
        folder = QFileInfo(folder).absoluteFilePath();
        // A file is a wrong option; a folder that fails later (a drive not yet there) is not.
        if (QFileInfo(folder).exists() && !QFileInfo(folder).isDir()) {
            const QString line = QStringLiteral("warmlog: „%1“ ist kein Ordner.\n");
            std::fputs(line.arg(options.recordFolder).toLocal8Bit().constData(), stderr);
            return 2;
        }
        QDir().mkpath(folder);
        mainWindow.startSeries(folder);
    }
    if (!options.port.isEmpty() && !mainWindow.chooseNamedPort(options.port)) {
        const QString line = QStringLiteral("warmlog: Den Anschluss „%1“ gibt es nicht.\n");
        std::fputs(line.arg(options.port).toLocal8Bit().constData(), stderr);
        return 2;
    }

    mainWindow.show();
    // As if minimised by hand: into the notification area where there is one.
    if (options.tray)
        mainWindow.setWindowState(mainWindow.windowState() | Qt::WindowMinimized);
    const QStringList recovered = logrecovery::takeNoted();
    if (!recovered.isEmpty()) {
        QTimer::singleShot(0, &mainWindow, [&messageBoxes, recovered] {
            messageBoxes.inform(logrecovery::message(recovered), MessageBoxes::Icon::Information,
                                programTitle());
        });
    }
    return QApplication::exec();
}
