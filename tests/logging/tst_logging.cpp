#include "info/urls.h"
#include "logging/dirlistbox.h"
#include "logging/drivelistbox.h"
#include "logging/logfile.h"
#include "support/windowrig.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <clocale>
#include <csignal>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A line the user typed and a record, as the log window holds them.
const QString LogText = QStringLiteral("Garten\n14:05:09\t21.5 °C\t-.5 °C\t22.3 °C\n");
const QByteArray LogBytes("Garten\r\n14:05:09\t21.5 \260C\t-.5 \260C\t22.3 \260C\r\n");

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The log window holding a text, and the save dialog opened from it on a fresh directory.
struct FileRig : WindowRig
{
    QTemporaryDir dir;
    textdatei *log = openLog();
    datei *dialog = nullptr;

    explicit FileRig(const QString &text)
    {
        named<QPlainTextEdit>(*log, "Text1")->setPlainText(text);
        named<QPushButton>(*log, "Command2")->click();
        dialog = datei::instance();
        named<DirListBox>(*dialog, "Dir1")->setPath(dir.path());
    }

    void save(const QString &name, int answer)
    {
        named<QLineEdit>(*dialog, "Text1")->setText(name);
        boxes.answers = {answer};
        named<QPushButton>(*dialog, "Command1")->click();
    }

    QString file(const QString &name) const { return dir.filePath(name); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::System); }
};

enum Failure { Device, NowFile, NoDirectory, Nul, SizeLimit, NewFile, Fifo, Socket, Folder };

const QString Idle = QStringLiteral("Logdatei");
const QString Recording = QStringLiteral("Logdatei --> Messung läuft <--");
const QString Stopped = QStringLiteral("Logdatei --> Messung beendet <--");

// Plays clicks ("start", "stop", "clear", or a control's name) and timer ticks ("tick") on the
// log window. Clicks on disabled buttons do nothing, as for a user.
void play(textdatei *log, const QString &script)
{
    static const QHash<QString, QString> buttons = {
        {"start", "Command3"}, {"stop", "Command6"}, {"clear", "Command4"}};
    for (const QString &step : script.split(u' ', Qt::SkipEmptyParts)) {
        if (step == QLatin1String("tick"))
            log->Timer1_Timer();
        else
            log->findChild<QAbstractButton *>(buttons.value(step, step))->click();
    }
}

// WCAG's relative luminance.
double luminance(const QColor &colour)
{
    auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

// The fixed texts of the window (its title, labels, buttons, frames), and every text its control
// cuts, or a disabled display field whose text shows from its end or reads faintly.
QStringList cutTexts(QWidget *window, QStringList *fixed)
{
    QStringList cut;
    *fixed = QStringList{window->windowTitle()};
    for (QWidget *control : window->findChildren<QWidget *>()) {
        const bool frame = control->inherits("QGroupBox");
        const QString text = control->property(frame ? "title" : "text").toString();
        QRect room = control->contentsRect();
        QStyle *style = control->style();
        if (auto *box = qobject_cast<QLineEdit *>(control)) {
            QStyleOptionFrame option;
            option.initFrom(box);
            option.lineWidth =
                box->hasFrame() ? style->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
            constexpr int LineEditMargin = 2;
            room = style->subElementRect(QStyle::SE_LineEditContents, &option, box)
                       .adjusted(LineEditMargin, 0, -LineEditMargin, 0);
            const QPalette &palette = box->palette();
            const double light = luminance(palette.color(QPalette::Disabled, QPalette::Base));
            const double dark = luminance(palette.color(QPalette::Disabled, QPalette::Text));
            if (!box->isEnabled() &&
                (std::max(light, dark) + 0.05) / (std::min(light, dark) + 0.05) < 4.5)
                cut << box->objectName() + QStringLiteral(" faint");
            if (!box->isEnabled() && box->cursorPosition() != 0)
                cut << box->objectName() + QStringLiteral(" shows its end");
        } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
            QStyleOptionButton option;
            option.initFrom(button);
            room = style->subElementRect(qobject_cast<QRadioButton *>(button)
                                             ? QStyle::SE_RadioButtonContents
                                             : QStyle::SE_PushButtonContents,
                                         &option, button);
        } else if (frame) {
            room = control->rect().adjusted(8, 0, -8, 0);
        } else if (!control->inherits("QLabel")) {
            continue;
        }
        if (!control->inherits("QLineEdit"))
            *fixed << text;
        const QFontMetrics metrics = control->fontMetrics();
        const QSize needed(metrics.size(Qt::TextShowMnemonic, text).width(), metrics.height());
        if (!text.isEmpty() && control->isVisibleTo(window) &&
            (needed.width() > room.width() || needed.height() > room.height()))
            cut << control->objectName() + QLatin1String(": ") + text;
    }
    return cut;
}

} // namespace

class TestLogging : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void states_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("records");
        QTest::newRow("idle") << QString() << Idle << 0 << 0;
        QTest::newRow("idle, start") << "Option2 start" << Recording << 30000 << 0;
        QTest::newRow("idle, stop") << "stop" << Stopped << 0 << 0;
        QTest::newRow("recording, option") << "start Option2" << Recording << 1000 << 0;
        QTest::newRow("recording, start")
            << "start tick Option4 start" << Recording << 3600000 << 1;
        QTest::newRow("recording, stop") << "start tick stop" << Stopped << 0 << 1;
        QTest::newRow("stopped, start") << "start stop Option3 start" << Recording << 60000 << 0;
        QTest::newRow("stopped, clear") << "start tick stop clear" << Idle << 0 << 0;
    }

    void states()
    {
        QFETCH(QString, script);
        QFETCH(int, interval);
        WindowRig rig;
        textdatei *log = rig.openLog();
        play(log, script);

        QTEST(log->windowTitle(), "caption");
        QCOMPARE(named<QTimer>(*log, "Timer1")->interval(), interval);
        QCOMPARE(named<QTimer>(*log, "Timer1")->isActive(), interval != 0);
        for (const char *button : {"Command1", "Command2", "Command4", "Command5"})
            QCOMPARE(named<QPushButton>(*log, button)->isEnabled(), interval == 0);
        QTEST(int(log->logText().count(u'\n')), "records");
    }

    void record_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("record");
        QTest::newRow("main window's start")
            << QTime(16, 0, 0)
            << "16:00:00\t-----------------\t-----------------\t-----------------\r\n";
        QTest::newRow("temperatures") << QTime(7, 5, 9) << "07:05:09\t21.5 °C\t-.5 °C\t22.3 °C\r\n";
    }

    void record()
    {
        QFETCH(QTime, time);
        QFETCH(QString, record);
        // The main window's texts as shown.
        const QStringList shown = record.chopped(2).split(u'\t');
        WindowRig rig;
        textdatei *log = rig.openLog();
        rig.clock.time = time;
        for (int field = 1; field <= 3; ++field)
            named<QLineEdit>(*rig.form, qPrintable(u"Text%1"_s.arg(field)))->setText(shown[field]);
        play(log, QStringLiteral("start")); // the window's own timer, once a second
        QTRY_COMPARE(log->logText(),
                     QString(record + record).replace(QLatin1String("\r\n"), QLatin1String("\n")));
        play(log, QStringLiteral("stop"));
        // "Log &kopieren" hands over the whole text with the file's line ends.
        named<QPushButton>(*log, "Command5")->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), record + record);
    }

    void showAgain_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Schließen keeps it") << QStringLiteral("Option3 start tick stop") << false;
        QTest::newRow("close box ends it") << QStringLiteral("Option4 start tick") << true;
    }

    void showAgain()
    {
        QFETCH(QString, script);
        QFETCH(bool, closeBox);
        WindowRig rig;
        QPointer<textdatei> first = rig.openLog();
        named<QPushButton>(*first, "Command2")->click();
        const QPointer<datei> dialog = datei::instance();
        play(first, script);
        const QString text = first->logText();
        if (closeBox) {
            QVERIFY(first->close());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(first.isNull() && !textdatei::instance());
            // Its file dialog goes with it, so it cannot save a log that no longer exists.
            QVERIFY(dialog.isNull());
        } else {
            named<QPushButton>(*first, "Command1")->click();
            QVERIFY(!first->isVisible() && rig.form->isVisible() && dialog->isVisible());
        }

        textdatei *log = rig.openLog();
        QVERIFY(log->isVisible() && !named<QTimer>(*log, "Timer1")->isActive());
        QCOMPARE(log == first, !closeBox);
        QCOMPARE(log->windowTitle(), closeBox ? Idle : Stopped);
        QCOMPARE(log->logText(), closeBox ? QString() : text);
        QCOMPARE(named<QRadioButton>(*log, "Option1")->isChecked(), closeBox);
    }

    // Every text shows whole, the clock texts of 12- and 24-hour locales included; the log
    // windows show exactly their fixed texts, in any order.
    void textsFit_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<QStringList>("texts");
        for (const char *locale : {"C", "en_US.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"})
            QTest::addRow("main window, %s", locale)
                << "Form1" << QByteArray(locale) << QStringList();
        QTest::newRow("textdatei")
            << "textdatei" << QByteArray("C")
            << QStringList{"Logdatei",      "Einstellungen:", "&Log starten", "Log l&öschen",
                           "Log &kopieren", "Intervall:",     "  1 Sekunde",  "30 Sekunden",
                           "1 Minute",      "1 Stunde",       "Log s&toppen", "Sc&hließen",
                           "&Speichern"};
        QTest::newRow("datei") << "datei" << QByteArray("C")
                               << QStringList{"Log Datei anlegen",
                                              "Pfadangaben:", "Datei &erstellen", "&Zurück"};
        QTest::newRow("URLs") << "URLs" << QByteArray("C") << QStringList();
    }

    void textsFit()
    {
        QFETCH(QString, window);
        QFETCH(QByteArray, locale);
        const QByteArray former = std::setlocale(LC_TIME, nullptr);
        if (!std::setlocale(LC_TIME, locale.constData()))
            QSKIP("locale not generated");
        WindowRig rig;
        rig.clock.time = QTime(22, 5, 11);
        rig.form->Timer2_Timer();
        rig.form->resetit();
        std::setlocale(LC_TIME, former.constData());
        named<QLabel>(*rig.form, "Label7")->setText(QStringLiteral("Spion an Com 4"));
        named<KeyedStatusBar>(*rig.form, "StatusBar1")
            ->setPanelText(QStringLiteral("Ubat"), QStringLiteral("Batteriespannung: 4.25 Volt "));
        named<QPushButton>(*rig.openLog(), "Command2")->click();
        URLs::showInstance(rig.platform, nullptr);
        rig.form->show();
        for (QWidget *shown : QApplication::topLevelWidgets()) {
            if (shown->objectName() == window) {
                QVERIFY(QTest::qWaitForWindowExposed(shown));
                QStringList fixed;
                const QStringList cut = cutTexts(shown, &fixed);
                QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String(" | "))));
                QFETCH(QStringList, texts);
                fixed.sort();
                texts.sort();
                if (!texts.isEmpty())
                    QCOMPARE(fixed, texts);
            }
        }
        delete URLs::instance();
    }

    // A window shown again comes to the front even when it was shown already.
    void bringsForward_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("window");
        QTest::newRow("&Log Datei erstellen") << u"Form1.m_datei_logd"_s << u"textdatei"_s;
        QTest::newRow("Sc&hließen") << u"textdatei.Command1"_s << u"Form1"_s;
        QTest::newRow("&Speichern") << u"textdatei.Command2"_s << u"datei"_s;
        QTest::newRow("&Zurück") << u"datei.Command2"_s << u"Form1"_s;
    }

    void bringsForward()
    {
        QFETCH(QString, control);
        QFETCH(QString, window);
        WindowRig rig;
        textdatei *log = rig.openLog();
        rig.form->show();
        named<QPushButton>(*log, "Command2")->click();
        QWidget other;
        other.show();
        other.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &other);
        const QStringList path = control.split(u'.');
        for (QWidget *shown : QApplication::topLevelWidgets()) {
            if (shown->objectName() == path[0]) {
                if (auto *action = shown->findChild<QAction *>(path[1]))
                    action->trigger();
                else
                    shown->findChild<QAbstractButton *>(path[1])->click();
            }
        }
        QTRY_COMPARE(QApplication::activeWindow() ? QApplication::activeWindow()->objectName() : "",
                     window);
    }
    void fileBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QString() << QByteArray();
        QTest::newRow("line ends") << QStringLiteral("a\nb\rc\u2028d\u2029e\r\n")
                                   << QByteArray("a\r\nb\r\nc\r\nd\r\ne\r\n");
        QTest::newRow("code page") << QStringLiteral("21.5 °C € „ä“ ß – Ÿ")
                                   << QByteArray("21.5 \260C \200 \204\344\223 \337 \226 \237\r\n");
        QTest::newRow("not in it") << QStringLiteral("ā\u0081Ω") << QByteArray("???\r\n");
        QTest::newRow("beyond the basic plane")
            << QStringLiteral("x\U0001F321y") << QByteArray("x?y\r\n");
    }

    void fileBytes()
    {
        QFETCH(QString, text);
        QTEST(logfile::fileBytes(text), "bytes");
    }

    void save_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("spreadsheet");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("text") << LogText << "garten" << false << "garten.txt";
        QTest::newRow("spreadsheet") << LogText << "garten" << true << "garten.xls";
        QTest::newRow("own extension") << LogText << "werte.txt" << false << "werte.txt.txt";
        QTest::newRow("only blanks") << LogText << "  " << true << "  .xls";
        QTest::newRow("empty") << QString() << "leer" << false << "leer.txt";
        QTest::newRow("no name") << LogText << QString() << true << QString();
        QTest::newRow("non-breaking space")
            << QStringLiteral("a\u00A0b\u2029c\n") << "nbsp" << false << "nbsp.txt";
    }

    void save()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QFETCH(bool, spreadsheet);
        QFETCH(QString, fileName);
        FileRig rig(text);
        rig.save(name, spreadsheet ? msgbox::AnswerYes : msgbox::AnswerNo);

        const bool named = !name.isEmpty();
        QCOMPARE(rig.boxes.calls.size(), 1);
        const ScriptedMessageBoxes::Call &box = rig.boxes.calls[0];
        QCOMPARE(QStringList({box.prompt, box.title, QString::number(box.style)}),
                 named ? QStringList({"Möchten sie die Datei als Exceldatei speichern?", "Warmlog",
                                      QString::number(msgbox::StyleYesNo | msgbox::StyleQuestion)})
                       : QStringList({"Bitte Dateinamen angeben:", "Dateiname",
                                      QString::number(msgbox::StyleInformation)}));
        QCOMPARE(rig.files(), named ? QStringList{fileName} : QStringList());
        if (named)
            QCOMPARE(contents(rig.file(fileName)), logfile::fileBytes(text));
        QVERIFY(rig.dialog->isVisible() != named && rig.form->isVisible() == named);
        QVERIFY(rig.log->isVisible());
        QCOMPARE(rig.log->logText(), QString(text).replace(u'\u2029', u'\n'));
    }

    void twoSavesAppend()
    {
        FileRig rig(LogText);
        rig.save(QStringLiteral("werte"), msgbox::AnswerNo);
        named<QPushButton>(*rig.log, "Command2")->click();
        QVERIFY(datei::instance() == rig.dialog && rig.dialog->isVisible());
        QCOMPARE(named<QLineEdit>(*rig.dialog, "Text1")->text(), QStringLiteral("werte"));
        rig.save(QStringLiteral("werte"), msgbox::AnswerNo);
        QCOMPARE(contents(rig.file(QStringLiteral("werte.txt"))), LogBytes + LogBytes);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char *tag, const QString &name, Failure failure,
                            const char *reason) {
            QTest::newRow(tag) << name << int(failure) << QString::fromUtf8(reason);
        };
        row("device", u"voll"_s, Device, "Der Name gehört zu einem Gerät, nicht zu einer Datei.");
        row("directory now a file", u"werte"_s, NowFile,
            "Ein Teil des Pfades ist kein Verzeichnis.");
        row("no directory", u"2024/05"_s, NoDirectory, "Das Verzeichnis existiert nicht.");
        row("NUL", u"wer%1te"_s.arg(QChar(0)), Nul,
            "Der Name enthält ein Zeichen, das das Dateisystem nicht zulässt.");
        row("size limit midway", u"werte"_s, SizeLimit, "Die Datei ist zu groß.");
        row("size limit, new file", u"werte"_s, NewFile, "Die Datei ist zu groß.");
        row("FIFO", u"werte"_s, Fifo,
            "Der Name gehört zu einer Pipe (FIFO), nicht zu einer Datei.");
        row("socket", u"werte"_s, Socket, "Der Name gehört zu einem Socket, nicht zu einer Datei.");
        row("directory", u"werte"_s, Folder, "Der Name gehört zu einem Verzeichnis.");
    }

    void failures()
    {
        QFETCH(QString, name);
        QFETCH(int, failure);
        FileRig rig(LogText);
        const QByteArray former("alt\r\n");
        const QString target = rig.file(QStringLiteral("werte.txt"));
        sockaddr_un address{AF_UNIX, {}};
        qstrncpy(address.sun_path, QFile::encodeName(target).constData(), sizeof address.sun_path);
        const int socket = failure == Socket ? ::socket(AF_UNIX, SOCK_STREAM, 0) : -1;
        QVERIFY(failure != Socket ||
                ::bind(socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
        QVERIFY(failure != Fifo || ::mkfifo(address.sun_path, 0600) == 0);
        QVERIFY(failure != Folder || QDir().mkdir(target));
        QVERIFY(failure != Device || QFile::link(u"/dev/full"_s, rig.file(u"voll.txt"_s)));
        QFile file(failure == NowFile ? rig.file(u"weg"_s) : target);
        if (failure == NowFile) {
            QVERIFY(QDir().mkdir(file.fileName()));
            named<DirListBox>(*rig.dialog, "Dir1")->setPath(file.fileName());
            QVERIFY(QDir().rmdir(file.fileName()) && file.open(QIODevice::WriteOnly));
        }
        QVERIFY(failure != SizeLimit ||
                (file.open(QIODevice::WriteOnly) && file.write(former) == former.size()));
        file.close();
        rlimit limit{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &limit) == 0);
        const rlimit unlimited = limit;
        if (failure == SizeLimit || failure == NewFile) {
            std::signal(SIGXFSZ, SIG_IGN);
            limit.rlim_cur = former.size() + 8;
            QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
        }
        const QString path = logfile::path(named<DirListBox>(*rig.dialog, "Dir1")->path(), name,
                                           QStringLiteral(".txt"));
        const QStringList before = rig.files();
        // A save that waits for the FIFO's reader is cut short by the alarm instead of hanging
        // the test, and then fails for the wrong reason.
        struct sigaction interrupt = {};
        interrupt.sa_handler = [](int) {};
        sigaction(SIGALRM, &interrupt, nullptr);
        alarm(2);
        rig.save(name, msgbox::AnswerNo);
        alarm(0);
        setrlimit(RLIMIT_FSIZE, &unlimited);
        ::close(socket);

        QCOMPARE(rig.boxes.calls.size(), 2);
        const ScriptedMessageBoxes::Call &box = rig.boxes.calls.last();
        QVERIFY(box.style == msgbox::StyleCritical && box.title == QStringLiteral("Warmlog"));
        QVERIFY2(box.prompt.contains(QStringLiteral("„%1“").arg(path)), qPrintable(box.prompt));
        QFETCH(QString, reason);
        QCOMPARE(box.prompt.section(QStringLiteral("\nGrund: "), 1),
                 reason + QStringLiteral("\n\nDas Log wurde nicht gespeichert."));
        QVERIFY(rig.dialog->isVisible() && !rig.form->isVisible());
        QCOMPARE(named<QLineEdit>(*rig.dialog, "Text1")->text(), name);
        QCOMPARE(rig.log->logText(), LogText);
        // Nothing of a failed save stays behind, not even a part of the text or an empty file.
        QCOMPARE(rig.files(), before);
        if (failure == SizeLimit)
            QCOMPARE(contents(target), former);
    }

    // The folder list offers only folders; the file goes into the one shown open.
    void folderList_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("folder");
        QTest::newRow("click highlights") << u"click"_s << u"."_s;
        QTest::newRow("double click opens") << u"double"_s << u"a"_s;
        QTest::newRow("Enter opens") << u"enter"_s << u"a"_s;
        QTest::newRow("link to a folder") << u"enter c"_s << u"c"_s;
    }

    void folderList()
    {
        QFETCH(QString, action);
        FileRig rig(LogText);
        QVERIFY(QDir(rig.dir.path()).mkdir(QStringLiteral("a")));
        for (const auto &[link, target] : {std::pair{"b", "/dev/null"}, {"c", "a"}, {"d", "f"}})
            QVERIFY(QFile::link(QLatin1String(target), rig.file(QLatin1String(link))));
        QVERIFY(QFile(rig.file(QStringLiteral("f"))).open(QIODevice::WriteOnly));
        DirListBox *list = named<DirListBox>(*rig.dialog, "Dir1");
        list->setPath(rig.dir.path());
        QStringList names;
        for (int row = list->currentRow() + 1; row < list->count(); ++row)
            names << list->item(row)->text().trimmed();
        QCOMPARE(names, QStringList({"a", "c"}));

        const QListWidgetItem *item = list->item(list->currentRow() + 1 + action.endsWith('c'));
        const QPoint at = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (action == QLatin1String("double"))
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        if (action.startsWith(QLatin1String("enter")))
            QTest::keyClick(list, Qt::Key_Return);
        QTest::qWait(0);
        rig.save(QStringLiteral("werte"), msgbox::AnswerNo);
        QFETCH(QString, folder);
        QCOMPARE(contents(QDir(rig.file(folder)).filePath(QStringLiteral("werte.txt"))), LogBytes);
    }

    void driveAndDirectory()
    {
        WindowRig rig;
        rig.openLog()->Command2_Click();
        datei *dialog = datei::instance();
        DirListBox *dirs = named<DirListBox>(*dialog, "Dir1");
        QCOMPARE(dirs->path(), QDir::currentPath());
        // Where "/" is no mount point, the system's root volume is invalid: still "/" comes first.
        const DriveListBox unmounted({}, QStorageInfo());
        QCOMPARE(unmounted.itemText(0) + unmounted.itemData(0).toString(), QStringLiteral("//"));

        // Choosing a drive moves the directory list to its root; a file there needs no second
        // separator.
        named<DriveListBox>(*dialog, "Drive1")->setCurrentIndex(0);
        dialog->Drive1_Change();
        QCOMPARE(dirs->path(), QStringLiteral("/"));
        QCOMPARE(logfile::path(dirs->path(), u"werte"_s, u".txt"_s), u"/werte.txt"_s);

        // Going back writes nothing and asks nothing.
        dialog->show();
        named<QLineEdit>(*dialog, "Text1")->setText(QStringLiteral("werte"));
        named<QPushButton>(*dialog, "Command2")->click();
        QVERIFY(!dialog->isVisible() && rig.form->isVisible() && rig.boxes.calls.isEmpty());

        // Without its log window the dialog has nothing to save and makes up no empty log.
        delete textdatei::instance();
        QTemporaryDir dir;
        dirs->setPath(dir.path());
        dialog->show();
        named<QPushButton>(*dialog, "Command1")->click();
        QVERIFY(!textdatei::instance() && rig.boxes.calls.isEmpty() && QDir(dir.path()).isEmpty());
    }
};

QTEST_MAIN(TestLogging)
#include "tst_logging.moc"
