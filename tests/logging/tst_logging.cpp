#include "info/linkswindow.h"
#include "logging/dirlistbox.h"
#include "logging/drivelistbox.h"
#include "logging/logfile.h"
#include "logging/logrecovery.h"
#include "support/textsfit.h"
#include "support/windowrig.h"
#include "ui/shippedfonts.h"

#include <clocale>
#include <csignal>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#endif

using namespace Qt::StringLiterals;

namespace {

// A line the user typed and a record, as the log window holds them and as a file gets them.
const QString LogText = u"Garten\n14:05:09\t21.5 °C\t-.5 °C\t22.3 °C\n"_s;
const QByteArray LogBytes("Garten\r\n14:05:09\t21.5 \260C\t-.5 \260C\t22.3 \260C\r\n");
const QByteArray OldBytes("alt\r\n");

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

template <typename... Controls> void click(const QWidget &window, Controls... controls)
{
    (named<QAbstractButton>(window, controls)->click(), ...);
}

// The log window holding a text, and the save dialog opened from it on a fresh directory.
struct LogRig : WindowRig
{
    QTemporaryDir dir;
    LogWindow *log = openLog();
    LogFileDialog *dialog = nullptr;

    explicit LogRig(const QString &text = LogText)
    {
        named<QPlainTextEdit>(*log, "Text1")->setPlainText(text);
        click(*log, "Command2");
        dialog = LogFileDialog::instance();
        named<DirListBox>(*dialog, "Dir1")->setPath(dir.path());
    }

    void save(const QString &name, MessageBoxes::Answer answer)
    {
        named<QLineEdit>(*dialog, "Text1")->setText(name);
        boxes.answers = {answer};
        click(*dialog, "Command1");
    }

    QString file(const QString &name) const { return dir.filePath(name); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::System); }
};

// What a save finds under the name of its file.
enum Obstacle { Nothing, OldFile, Device, Fifo, Socket, Folder, InUse };

bool place(Obstacle obstacle, const QString &target)
{
    QFile file(target);
    if (obstacle == OldFile || obstacle == InUse)
        return file.open(QIODevice::WriteOnly) && file.write(OldBytes) == OldBytes.size();
    if (obstacle == Folder)
        return QDir().mkdir(target);
#ifndef Q_OS_WIN
    const QByteArray path = QFile::encodeName(target);
    sockaddr_un address{AF_UNIX, {}};
    qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
    if (obstacle == Device)
        return QFile::link(u"/dev/full"_s, target);
    if (obstacle == Fifo)
        return ::mkfifo(path.constData(), 0600) == 0;
    if (obstacle == Socket) // left open, as a server's would be
        return ::bind(::socket(AF_UNIX, SOCK_STREAM, 0), reinterpret_cast<sockaddr *>(&address),
                      sizeof address) == 0;
#endif
    return obstacle == Nothing;
}

// The obstacle, the reason given, and the name typed, "|" for a NUL.
using Failure = std::tuple<const char *, Obstacle, const char *, const char *>;
const char *const ForDevice = "Der Name gehört zu einem Gerät, nicht zu einer Datei.";
const char *const BadCharacter = "Der Name enthält ein Zeichen, das das Dateisystem nicht zulässt.";
const char *const NoFolder = "Das Verzeichnis existiert nicht.";
const char *const ForFolder = "Der Name gehört zu einem Verzeichnis.";
const Failure Failures[] = {
    {"no directory", Nothing, NoFolder, "2024/05"},
    {"NUL", Nothing, BadCharacter, "wer|te"},
    {"directory", Folder, ForFolder, "werte"},
    {"device", Device, ForDevice, "werte"},
    {"file on the path", OldFile, "Ein Teil des Pfades ist kein Verzeichnis.", "werte.txt/x"},
    {"size limit midway", OldFile, "Die Datei ist zu groß.", "werte"},
    {"size limit, new file", Nothing, "Die Datei ist zu groß.", "werte"},
    {"FIFO", Fifo, "Der Name gehört zu einer Pipe (FIFO), nicht zu einer Datei.", "werte"},
    {"socket", Socket, "Der Name gehört zu einem Socket, nicht zu einer Datei.", "werte"}};
// Old DOS names are devices in every folder; a colon names a hidden stream.
const Failure WindowsFailures[] = {{"no directory", Nothing, NoFolder, "2024/05"},
                                   {"NUL", Nothing, BadCharacter, "wer|te"},
                                   {"directory", Folder, ForFolder, "werte"},
                                   {"COM1", Nothing, ForDevice, "com1"},
                                   {"NUL device", Nothing, ForDevice, "NUL "},
                                   {"stream", Nothing, BadCharacter, "werte:x"},
                                   {"in use", InUse, "Die Datei wird gerade benutzt.", "werte"}};

} // namespace

class TestLogging : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Recording locks saving, copying, clearing and closing. Each step notes its state and click.
    void states()
    {
        const QString typed = u"Gar\u00A0ten"_s; // with a non-breaking space and no line end
        LogRig rig(typed);
        rig.clock.time = QTime(7, 5, 9);
        rig.put("Text1 Text2 Text3", {u"21.5 °C"_s, u"-.5 °C"_s, u"22.3 °C"_s});
        LogWindow *log = rig.log;
        const auto expect = [&log](const QString &caption, int interval, const QString &text) {
            const QTimer *timer = named<QTimer>(*log, "Timer1");
            QCOMPARE(log->windowTitle() + u'|' + QString::number(timer->interval()),
                     caption + u'|' + QString::number(interval));
            QCOMPARE(timer->isActive(), interval != 0);
            for (const char *button : {"Command1", "Command2", "Command4", "Command5"})
                QCOMPARE(named<QPushButton>(*log, button)->isEnabled(), interval == 0);
            QCOMPARE(log->logText(), text);
        };
        const QString idle = u"Logdatei"_s, recording = u"Logdatei --> Messung läuft <--"_s,
                      stopped = u"Logdatei --> Messung beendet <--"_s;
        const QString record =
            (usClock() ? u"7:05:09 AM"_s : u"07:05:09"_s) + u"\t21.5 °C\t-.5 °C\t22.3 °C\n"_s;
        expect(idle, 0, typed);
        click(*log, "Command3"); // idle, start: at the first option, by its own timer
        expect(recording, 1000, typed);
        QTRY_COMPARE(log->logText(), typed + u"\n"_s + record);
        click(*log, "Option2"); // recording, option: waits for the next start
        log->recordReadings();
        const QString twice = typed + u"\n"_s + record + record;
        expect(recording, 1000, twice);
        click(*log, "Command3"); // recording, start
        expect(recording, 30000, twice);
        click(*log, "Command6"); // recording, stop
        expect(stopped, 0, twice);
        click(*log, "Command5"); // "Log &kopieren": the whole text with the file's line ends
        QCOMPARE(QGuiApplication::clipboard()->text(), QString(twice).replace(u"\n"_s, u"\r\n"_s));
        click(*log, "Option4", "Command3"); // stopped, start
        expect(recording, 3600000, twice);
        click(*log, "Command6", "Command4"); // stopped, clear
        expect(idle, 0, QString());
        click(*log, "Command6"); // idle, stop
        expect(stopped, 0, QString());

        // Typing around the ticks: a record starts its own line, and the typing goes on after it.
        auto *edit = named<QPlainTextEdit>(*log, "Text1");
        edit->setPlainText(typed);
        edit->moveCursor(QTextCursor::End);
        QTest::keyClick(edit, Qt::Key_Return);
        log->recordReadings();
        QTest::keyClicks(edit, u"Notiz B"_s);
        log->recordReadings();
        QTest::keyClick(edit, Qt::Key_Exclam);
        QCOMPARE(log->logText(), typed + u"\n"_s + record + u"Notiz B!\n"_s + record);
        edit->clear();

        // Sc&hließen only hides; the close box ends the window and its dialog, the next starts
        // anew.
        const QPointer<LogWindow> first = log;
        const QPointer<LogFileDialog> dialog = rig.dialog;
        log->recordReadings();
        click(*log, "Command1");
        QVERIFY(!log->isVisible() && rig.form->isVisible() && dialog->isVisible());
        QCOMPARE(rig.openLog(), log);
        QVERIFY(log->isVisible() && named<QRadioButton>(*log, "Option4")->isChecked());
        expect(stopped, 0, record);
        QVERIFY(log->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull() && !LogWindow::instance() && dialog.isNull());
        log = rig.openLog();
        QVERIFY(log->isVisible() && named<QRadioButton>(*log, "Option1")->isChecked());
        expect(idle, 0, QString());
    }

    // Every text shows whole and readable, clock texts of 12 and 24 hours too, on a light desktop
    // and a dark one; the log windows' texts exactly.
    void textsFit_data()
    {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<bool>("dark");
        QTest::newRow("24 hours, light") << QByteArray("C") << false;
        QTest::newRow("12 hours, dark") << QByteArray("en_US.UTF-8") << true;
    }
    void textsFit()
    {
        QFETCH(QByteArray, locale);
        QFETCH(bool, dark);
        const QPalette light = QApplication::palette();
        const auto restore = qScopeGuard([&light] { QApplication::setPalette(light); });
        if (dark) // Fusion's palette from a dark grey: black fields, white texts
            QApplication::setPalette(QPalette(QColor(0x35, 0x35, 0x35)));
        // Where the faces come with the program (the Windows zip), as warmlog does at start.
        addShippedFonts(QCoreApplication::applicationDirPath() + u"/fonts"_s);
        const QByteArray former = std::setlocale(LC_TIME, nullptr);
        if (!std::setlocale(LC_TIME, locale.constData()))
            QSKIP("locale not generated");
        LogRig rig;
        rig.clock.time = QTime(22, 5, 11);
        rig.form->showTime();
        rig.form->resetExtremes();
        std::setlocale(LC_TIME, former.constData());
        rig.put("Label7 Ubat", {u"Spion an Com 4"_s, u"Batteriespannung: 4.25 Volt "_s});
        LinksWindow::showInstance(rig.platform, nullptr);
        const std::unique_ptr<LinksWindow> links(LinksWindow::instance());
        rig.form->show();
        QHash<QString, QStringList> fixed;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (!window->isVisible())
                continue;
            QVERIFY(QTest::qWaitForWindowExposed(window));
            const QStringList cut = cutTexts(window, &fixed[window->objectName()]);
            QVERIFY2(cut.isEmpty(),
                     qPrintable(window->objectName() + u": "_s + cut.join(u" | "_s)));
        }
        QCOMPARE(fixed[u"textdatei"_s],
                 QStringList({"  1 Sekunde", "&Log starten", "&Speichern", "1 Minute", "1 Stunde",
                              "30 Sekunden", "Einstellungen:", "Intervall:", "Log &kopieren",
                              "Log l&öschen", "Log s&toppen", "Logdatei", "Sc&hließen"}));
        QCOMPARE(fixed[u"datei"_s],
                 QStringList({"&Zurück", "Datei &erstellen", "Log Datei anlegen", "Pfadangaben:"}));
    }

    void fileBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QString() << QByteArray();
        QTest::newRow("line ends")
            << u"a\nb\rc\u2028d\u2029e\r\n"_s << QByteArray("a\r\nb\r\nc\r\nd\r\ne\r\n");
        // On Windows the system's ANSI code page: Windows-1250 under Polish settings.
        const bool polish = Windows && qEnvironmentVariable("LC_ALL").startsWith(u"pl_PL");
        QTest::newRow("code page") << u"21.5 °C € „ä“ ß – Ÿ ł"_s
                                   << QByteArray("21.5 \260C \200 \204\344\223 \337 \226 ") +
                                          (polish ? "? \263\r\n" : "\237 ?\r\n");
        QTest::newRow("not in it, beyond the basic plane too")
            << u"āΩ \U0001F321"_s << QByteArray("?? ?\r\n");
        if (!Windows)
            QTest::newRow("unassigned") << u"\u0081"_s << QByteArray("?\r\n");
    }

    void fileBytes()
    {
        QFETCH(QString, text);
        QTEST(logfile::fileBytes(text), "bytes");
    }

    // A save needs a name; it asks text or spreadsheet, takes the name as it is and keeps it, and
    // marks the text saved until the next record. A second one appends. Without its log window
    // the dialog saves nothing.
    void save()
    {
        LogRig rig;
        click(*rig.dialog, "Command1");
        QVERIFY(rig.dialog->isVisible() && rig.log->hasUnsavedText());
        rig.save(u" werte.txt "_s, MessageBoxes::Answer::Yes);
        QVERIFY(!rig.dialog->isVisible() && rig.form->isVisible() && rig.log->isVisible());
        QVERIFY(!rig.log->hasUnsavedText());
        click(*rig.log, "Command2");
        QVERIFY(LogFileDialog::instance() == rig.dialog && rig.dialog->isVisible());
        QCOMPARE(named<QLineEdit>(*rig.dialog, "Text1")->text(), u" werte.txt "_s);
        rig.save(u" werte.txt "_s, MessageBoxes::Answer::Yes);
        const QString question =
            u"Warmlog: Möchten sie die Datei als Exceldatei speichern? (Yes first)"_s;
        QCOMPARE(rig.serial.calls,
                 QStringList(
                     {"Dateiname: Bitte Dateinamen angeben: (Information)", question, question}));
        QCOMPARE(rig.files(), QStringList{u" werte.txt .xls"_s});
        QCOMPARE(contents(rig.file(u" werte.txt .xls"_s)), LogBytes + LogBytes);
        rig.log->recordReadings();
        QVERIFY(rig.log->hasUnsavedText());
        delete LogWindow::instance();
        click(*rig.dialog, "Command1");
        QVERIFY(!LogWindow::instance() && rig.boxes.shown == 3);
    }

    // A failed save says why and leaves the files and the dialog as they were, to try elsewhere.
    void failures_data() { Windows ? addRows(WindowsFailures) : addRows(Failures); }
    void failures()
    {
        const auto &[tag, obstacle, reasonText, nameText] =
            Windows ? fetchRow(WindowsFailures) : fetchRow(Failures);
        const QString reason = QString::fromUtf8(reasonText),
                      name = QString::fromUtf8(nameText).replace(u'|', QChar(0));
        LogRig rig;
        const QString target = rig.file(u"werte.txt"_s);
        QVERIFY(place(obstacle, target));
        const QStringList before = rig.files();
#ifdef Q_OS_WIN
        // Held open by another program that shares it with nobody.
        const HANDLE held =
            CreateFileW(reinterpret_cast<const wchar_t *>(target.utf16()), GENERIC_READ, 0, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        QCOMPARE(held != INVALID_HANDLE_VALUE, obstacle == InUse);
        rig.save(name, MessageBoxes::Answer::No);
        CloseHandle(held);
#else
        // Every save here would outgrow the limit; only those that reach a regular file write.
        rlimit unlimited{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &unlimited) == 0);
        const rlimit limit{rlim_t(OldBytes.size() + 8), unlimited.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
        rig.save(name, MessageBoxes::Answer::No);
        setrlimit(RLIMIT_FSIZE, &unlimited);
#endif

        QCOMPARE(rig.boxes.shown, 2);
        const QString failed = reason.endsWith(u"zu groß."_s)
                                   ? u"In die Datei „%1“ kann nicht geschrieben werden."_s
                                   : u"Die Datei „%1“ kann nicht geöffnet werden."_s;
        QCOMPARE(rig.serial.calls.last(),
                 u"Warmlog: "_s + failed.arg(QDir::toNativeSeparators(rig.file(name + u".txt"_s))) +
                     u"\nGrund: %1\n\nDas Log wurde nicht gespeichert. (Critical)"_s.arg(reason));
        QVERIFY(rig.dialog->isVisible() && !rig.form->isVisible() && rig.log->hasUnsavedText());
        QCOMPARE(rig.files(), before); // not even a part of the text or an empty file
        if (obstacle == OldFile || obstacle == InUse)
            QCOMPARE(contents(target), OldBytes);
    }

    // The dialog starts in the working directory; a drive's root needs no second separator.
    void drives()
    {
        WindowRig rig;
        click(*rig.openLog(), "Command2");
        LogFileDialog *dialog = LogFileDialog::instance();
        auto *list = named<DirListBox>(*dialog, "Dir1");
        QCOMPARE(list->path(), QDir::currentPath());
        auto *drives = named<DriveListBox>(*dialog, "Drive1");
        drives->setCurrentIndex(drives->findData(Windows ? u"Z:/"_s : u"/"_s));
        dialog->showDriveFolders();
        QCOMPARE(logfile::path(list->path(), u"werte"_s, u".txt"_s),
                 Windows ? u"Z:\\werte.txt"_s : u"/werte.txt"_s);
    }

    // Only folders are listed, links to them too; a click highlights one, Enter or a double
    // click opens it.
    void folders_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("click") << "c";
        QTest::newRow("click, Enter") << "c";
        QTest::newRow("double click") << "a";
    }
    void folders()
    {
        QFETCH(QString, folder);
        const QString gesture = QString::fromLatin1(QTest::currentDataTag());
        const bool opens = gesture != u"click"_s;
        LogRig rig;
        QDir dir(rig.dir.path());
        QVERIFY(dir.mkdir(u"a"_s) && QFile(rig.file(u"f"_s)).open(QIODevice::WriteOnly));
#ifdef Q_OS_WIN
        QVERIFY(dir.mkdir(u"c"_s));
#else
        for (const auto &[link, target] : {std::pair{"b", "/dev/null"}, {"c", "a"}, {"d", "f"}})
            QVERIFY(QFile::link(QLatin1String(target), rig.file(QLatin1String(link))));
#endif
        auto *list = named<DirListBox>(*rig.dialog, "Dir1");
        list->setPath(dir.path());
        QStringList names;
        for (int row = list->currentRow() + 1; row < list->count(); ++row)
            names << list->item(row)->text().trimmed();
        QCOMPARE(names, QStringList({"a", "c"}));
        const QPoint at =
            list->visualItemRect(list->item(list->currentRow() + 1 + names.indexOf(folder)))
                .center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (gesture.endsWith(u"Enter"_s))
            QTest::keyClick(list, Qt::Key_Return);
        else if (gesture == u"double click"_s)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents(); // an open that should not come has come by now
        QTRY_COMPARE(list->path(), opens ? rig.file(folder) : dir.path());
    }

    // A record keeps the user's view and selection; a caret on the empty last line moves on to
    // the new end.
    void recordKeepsView_data()
    {
        QTest::addColumn<int>("anchor"); // of the selection, -1 the end
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("top"); // the vertical scroll bar's value
        QTest::newRow("caret at the end, view at the top") << -1 << -1 << 0;
        QTest::newRow("selection, view in the middle") << 30 << 12 << 50;
    }
    void recordKeepsView()
    {
        QFETCH(int, anchor);
        QFETCH(int, position);
        QFETCH(int, top);
        WindowRig rig;
        LogWindow *log = rig.openLog();
        auto *edit = named<QPlainTextEdit>(*log, "Text1");
        edit->setPlainText(u"Zeile\n"_s.repeated(200));
        const auto end = [edit] { return edit->document()->characterCount() - 1; };
        QTextCursor caret = edit->textCursor();
        caret.setPosition(anchor < 0 ? end() : anchor);
        caret.setPosition(position < 0 ? end() : position, QTextCursor::KeepAnchor);
        edit->setTextCursor(caret);
        edit->verticalScrollBar()->setValue(top);
        log->recordReadings();
        QCOMPARE(QList<int>({edit->verticalScrollBar()->value(), edit->textCursor().anchor(),
                             edit->textCursor().position()}),
                 QList<int>({top, anchor < 0 ? end() : anchor, position < 0 ? end() : position}));
    }

    // Return presses the focused button in every window, as Space does.
    void returnPresses_data()
    {
        QTest::addColumn<int>("key"); // Return and the keypad's Enter by turns
        int row = 0;
        for (const char *button : {"Form1 Command2", "textdatei Command1", "textdatei Command2",
                                   "textdatei Command3", "textdatei Command4", "textdatei Command5",
                                   "textdatei Command6", "datei Command1", "datei Command2"})
            QTest::newRow(button) << int(row++ % 2 ? Qt::Key_Enter : Qt::Key_Return);
    }
    void returnPresses()
    {
        const QList<QByteArray> names = QByteArray(QTest::currentDataTag()).split(' ');
        LogRig rig;
        QWidget *const windows[] = {rig.form.get(), rig.log, rig.dialog};
        auto *pressed = named<QPushButton>(
            **std::find_if(std::begin(windows), std::end(windows),
                           [&names](QWidget *window) { return window->objectName() == names[0]; }),
            names[1].constData());
        QSignalSpy clicked(pressed, &QAbstractButton::clicked);
        pressed->setFocus();
        QFETCH(int, key);
        QTest::keyClick(pressed, Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QTRY_COMPARE(clicked.count(), 1);
    }

    // What the system's end keeps: the bytes a save writes, named once to the next start unless
    // taken back. Last: it moves the program's folders.
    void recovery()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setApplicationName(
            u"tst_logging-%1"_s.arg(QCoreApplication::applicationPid()));
        const QString kept = logrecovery::save(LogText), withdrawn = logrecovery::save(LogText);
        logrecovery::withdraw(withdrawn);
        QVERIFY(!QFile::exists(withdrawn) && contents(kept) == LogBytes);
        QCOMPARE(logrecovery::takeNoted(), QStringList{kept});
        QCOMPARE(logrecovery::takeNoted(), QStringList());
        QDir(QFileInfo(kept).path()).removeRecursively();
    }
};

QTEST_MAIN(TestLogging)
#include "tst_logging.moc"
