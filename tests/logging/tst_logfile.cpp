#include "logging/dirlistbox.h"
#include "logging/drivelistbox.h"
#include "logging/logfile.h"
#include "rig.h"
#include "support/named.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

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
struct FileRig : LogRig
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

} // namespace

class TestLogFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fileBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QString() << QByteArray();
        QTest::newRow("unfinished line") << QStringLiteral("a") << QByteArray("a\r\n");
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
        QTest::newRow("blanks") << LogText << "Keller Ost" << false << "Keller Ost.txt";
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
        QVERIFY(!rig.form->isVisible());
        rig.save(name, spreadsheet ? msgbox::AnswerYes : msgbox::AnswerNo);

        const bool named = !name.isEmpty();
        QCOMPARE(rig.boxes.calls.size(), 1);
        QCOMPARE(rig.boxes.calls[0].prompt,
                 named ? QStringLiteral("Möchten sie die Datei als Exceldatei speichern?")
                       : QStringLiteral("Bitte Dateinamen angeben:"));
        QCOMPARE(rig.boxes.calls[0].style,
                 named ? msgbox::StyleYesNo | msgbox::StyleQuestion : msgbox::StyleInformation);
        QCOMPARE(rig.boxes.calls[0].title,
                 named ? QStringLiteral("Warmlog") : QStringLiteral("Dateiname"));
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
        QTest::newRow("device") << "voll" << int(Device) << "Gerät";
        QTest::newRow("directory now a file") << "werte" << int(NowFile) << "kein Verzeichnis";
        QTest::newRow("no directory") << "2024/05" << int(NoDirectory) << "existiert nicht";
        QTest::newRow("NUL") << QStringLiteral("wer%1te").arg(QChar(0)) << int(Nul)
                             << "nicht zulässt";
        QTest::newRow("size limit midway") << "werte" << int(SizeLimit) << "zu groß";
        QTest::newRow("size limit, new file") << "werte" << int(NewFile) << "zu groß";
        QTest::newRow("FIFO") << "werte" << int(Fifo) << "Pipe (FIFO)";
        QTest::newRow("socket") << "werte" << int(Socket) << "Socket";
        QTest::newRow("directory") << "werte" << int(Folder) << "Verzeichnis";
    }

    void failures()
    {
        QFETCH(QString, name);
        QFETCH(int, failure);
        FileRig rig(LogText);
        const QByteArray former("alt\r\n");
        rlimit limit{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &limit) == 0);
        const rlimit unlimited = limit;
        const QString target = rig.file(QStringLiteral("werte.txt"));
        sockaddr_un address{AF_UNIX, {}};
        qstrncpy(address.sun_path, QFile::encodeName(target).constData(), sizeof address.sun_path);
        const int socket = failure == Socket ? ::socket(AF_UNIX, SOCK_STREAM, 0) : -1;
        if (failure == Socket)
            QVERIFY(::bind(socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
        if (failure == Fifo)
            QVERIFY(::mkfifo(address.sun_path, 0600) == 0);
        if (failure == Folder)
            QVERIFY(QDir().mkdir(target));
        if (failure == Device) {
            QVERIFY(QFile::link(QStringLiteral("/dev/full"), rig.file(QStringLiteral("voll.txt"))));
        } else if (failure == NowFile) {
            const QString gone = rig.file(QStringLiteral("weg"));
            QVERIFY(QDir().mkdir(gone));
            named<DirListBox>(*rig.dialog, "Dir1")->setPath(gone);
            QVERIFY(QDir().rmdir(gone));
            QFile file(gone);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else if (failure == SizeLimit || failure == NewFile) {
            QFile file(target);
            if (failure == SizeLimit)
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write(former) == former.size());
            file.close();
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
        QVERIFY2(box.prompt.contains(reason), qPrintable(box.prompt));
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
        QTest::newRow("click highlights") << "click"
                                          << ".";
        QTest::newRow("double click opens") << "double"
                                            << "a";
        QTest::newRow("Enter opens") << "enter"
                                     << "a";
        QTest::newRow("link to a folder") << "enter c"
                                          << "c";
    }

    void folderList()
    {
        QFETCH(QString, action);
        FileRig rig(LogText);
        QVERIFY(QDir(rig.dir.path()).mkdir(QStringLiteral("a")));
        for (const auto &[link, target] : {std::pair{"b", "/dev/null"}, {"c", "a"}, {"d", "f"}})
            QVERIFY(QFile::link(QLatin1String(target), rig.file(QLatin1String(link))));
        QVERIFY(QFile(rig.file(QStringLiteral("f"))).open(QIODevice::WriteOnly));
        named<DirListBox>(*rig.dialog, "Dir1")->setPath(rig.dir.path());
        DirListBox *list = named<DirListBox>(*rig.dialog, "Dir1");
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
        LogRig rig;
        rig.openLog()->Command2_Click();
        datei *dialog = datei::instance();
        QCOMPARE(named<DirListBox>(*dialog, "Dir1")->path(), QDir::currentPath());
        QCOMPARE(named<DriveListBox>(*dialog, "Drive1")->itemData(0).toString(),
                 QStringLiteral("/"));
        // Where "/" is no mount point, the system's root volume is invalid: still "/" comes first.
        const DriveListBox unmounted({}, QStorageInfo());
        QCOMPARE(unmounted.itemText(0) + unmounted.itemData(0).toString(), QStringLiteral("//"));

        // Choosing a drive moves the directory list to its root; a file there needs no second
        // separator.
        named<DriveListBox>(*dialog, "Drive1")->setCurrentIndex(0);
        dialog->Drive1_Change();
        QCOMPARE(named<DirListBox>(*dialog, "Dir1")->path(), QStringLiteral("/"));
        QCOMPARE(logfile::path(named<DirListBox>(*dialog, "Dir1")->path(), QStringLiteral("werte"),
                               QStringLiteral(".txt")),
                 QStringLiteral("/werte.txt"));

        // Going back writes nothing and asks nothing.
        dialog->show();
        named<QLineEdit>(*dialog, "Text1")->setText(QStringLiteral("werte"));
        named<QPushButton>(*dialog, "Command2")->click();
        QVERIFY(!dialog->isVisible() && rig.form->isVisible() && rig.boxes.calls.isEmpty());

        // Without its log window the dialog has nothing to save and makes up no empty log.
        delete textdatei::instance();
        QTemporaryDir dir;
        named<DirListBox>(*dialog, "Dir1")->setPath(dir.path());
        dialog->show();
        named<QPushButton>(*dialog, "Command1")->click();
        QVERIFY(!textdatei::instance() && rig.boxes.calls.isEmpty() && QDir(dir.path()).isEmpty());
    }
};

QTEST_MAIN(TestLogFile)
#include "tst_logfile.moc"
