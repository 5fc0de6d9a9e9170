#include "logging/dirlistbox.h"
#include "logging/drivelistbox.h"
#include "logging/logfile.h"
#include "rig.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

namespace {

// A line the user typed and two records, as the log window holds them.
const QString LogText = QStringLiteral("Garten, Nordseite\n"
                                       "14:05:09\t21.5 °C\t20.9 °C\t22.3 °C\n"
                                       "14:05:10\t21.6 °C\t20.9 °C\t22.3 °C\n");
const QByteArray LogBytes("Garten, Nordseite\r\n"
                          "14:05:09\t21.5 \260C\t20.9 \260C\t22.3 \260C\r\n"
                          "14:05:10\t21.6 \260C\t20.9 \260C\t22.3 \260C\r\n");

const QString Question = QStringLiteral("Möchten sie die Datei als Exceldatei speichern?");

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The log window holding a text, and the save dialog opened from it on a fresh directory.
struct FileRig : LogRig
{
    QTemporaryDir dir;
    textdatei *log = nullptr;
    datei *dialog = nullptr;

    explicit FileRig(const QString &text)
    {
        log = openLog();
        log->Text1->setPlainText(text);
        log->Command2->click();
        dialog = datei::instance();
        dialog->Dir1->setPath(dir.path());
    }

    void save(const QString &name, int answer)
    {
        dialog->Text1->setText(name);
        boxes.answers = {answer};
        dialog->Command1->click();
    }

    QString file(const QString &name) const { return dir.filePath(name); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::System); }
};

enum Failure { FullDisk, DirectoryNowFile, Slash, Nul, TooLong, SizeLimit, ReadOnly };

} // namespace

class TestLogFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fileBytes_data();
    void fileBytes();
    void save_data();
    void save();
    void twoSavesAppend();
    void emptyLogCreatesEmptyFile();
    void emptyName();
    void failures_data();
    void failures();
    void driveAndDirectory();
};

void TestLogFile::fileBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << "" << QByteArray();
    QTest::newRow("unfinished line") << "a" << QByteArray("a\r\n");
    QTest::newRow("LF") << "a\nb\n" << QByteArray("a\r\nb\r\n");
    QTest::newRow("CR LF kept") << "a\r\nb\r\n" << QByteArray("a\r\nb\r\n");
    QTest::newRow("lone CR") << "a\rb" << QByteArray("a\r\nb\r\n");
    QTest::newRow("empty lines") << "\n\n" << QByteArray("\r\n\r\n");
    QTest::newRow("line separator") << QStringLiteral("a\u2028b\u2029") << QByteArray("a\r\nb\r\n");
    QTest::newRow("degree") << "21.5 °C\t-.5 °C" << QByteArray("21.5 \260C\t-.5 \260C\r\n");
    QTest::newRow("upper half") << QStringLiteral("€ „ä“ ß – Ÿ")
                                << QByteArray("\200 \204\344\223 \337 \226 \237\r\n");
    QTest::newRow("not in the code page") << QStringLiteral("ā\u0081Ω") << QByteArray("???\r\n");
    QTest::newRow("beyond the basic plane is one character")
        << QStringLiteral("x\U0001F321y") << QByteArray("x?y\r\n");
}

void TestLogFile::fileBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(logfile::fileBytes(text), bytes);
}

void TestLogFile::save_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("text") << "garten" << msgbox::AnswerNo << "garten.txt";
    QTest::newRow("spreadsheet") << "garten" << msgbox::AnswerYes << "garten.xls";
    QTest::newRow("own extension") << "werte.txt" << msgbox::AnswerNo << "werte.txt.txt";
    QTest::newRow("blanks") << "Keller Ost" << msgbox::AnswerNo << "Keller Ost.txt";
    QTest::newRow("only blanks") << "  " << msgbox::AnswerYes << "  .xls";
}

void TestLogFile::save()
{
    QFETCH(QString, name);
    QFETCH(int, answer);
    QFETCH(QString, fileName);

    FileRig rig(LogText);
    QVERIFY(!rig.form->isVisible());
    rig.save(name, answer);

    QCOMPARE(rig.boxes.calls.size(), 1);
    QCOMPARE(rig.boxes.calls[0].prompt, Question);
    QCOMPARE(rig.boxes.calls[0].style, msgbox::StyleYesNo | msgbox::StyleQuestion);
    QCOMPARE(rig.boxes.calls[0].title, QStringLiteral("Warmlog"));
    QCOMPARE(rig.files(), QStringList{fileName});
    QCOMPARE(contents(rig.file(fileName)), LogBytes);
    QVERIFY(!rig.dialog->isVisible());
    QVERIFY(rig.form->isVisible());
    QVERIFY(rig.log->isVisible());
    QCOMPARE(rig.log->logText(), LogText);
}

void TestLogFile::twoSavesAppend()
{
    FileRig rig(LogText);
    rig.save(QStringLiteral("werte"), msgbox::AnswerNo);
    rig.log->Command2->click();
    QCOMPARE(datei::instance(), rig.dialog);
    QVERIFY(rig.dialog->isVisible());
    QCOMPARE(rig.dialog->Text1->text(), QStringLiteral("werte"));
    rig.save(QStringLiteral("werte"), msgbox::AnswerNo);
    QCOMPARE(contents(rig.file(QStringLiteral("werte.txt"))), LogBytes + LogBytes);
}

void TestLogFile::emptyLogCreatesEmptyFile()
{
    FileRig rig{QString()};
    // Without a log window the dialog reads the text of a new, hidden one.
    QPointer<textdatei> closed = rig.log;
    rig.log->close();
    QTRY_VERIFY(closed.isNull());

    rig.save(QStringLiteral("leer"), msgbox::AnswerNo);
    QCOMPARE(rig.files(), QStringList{QStringLiteral("leer.txt")});
    QCOMPARE(contents(rig.file(QStringLiteral("leer.txt"))), QByteArray());
    QVERIFY(textdatei::instance());
    QVERIFY(!textdatei::instance()->isVisible());
}

void TestLogFile::emptyName()
{
    FileRig rig(LogText);
    rig.save(QString(), msgbox::AnswerYes);

    QCOMPARE(rig.boxes.calls.size(), 1);
    QCOMPARE(rig.boxes.calls[0].prompt, QStringLiteral("Bitte Dateinamen angeben:"));
    QCOMPARE(rig.boxes.calls[0].style, msgbox::StyleInformation);
    QCOMPARE(rig.boxes.calls[0].title, QStringLiteral("Dateiname"));
    QVERIFY(rig.files().isEmpty());
    QVERIFY(rig.dialog->isVisible());
    QVERIFY(!rig.form->isVisible());
}

void TestLogFile::failures_data()
{
    QTest::addColumn<int>("failure");
    QTest::addColumn<QString>("reason");

    QTest::newRow("full disk") << int(FullDisk) << "Auf dem Datenträger ist kein Platz mehr frei.";
    QTest::newRow("directory became a file")
        << int(DirectoryNowFile) << "Ein Teil des Pfades ist kein Verzeichnis.";
    QTest::newRow("slash in the name") << int(Slash) << "Das Verzeichnis existiert nicht.";
    QTest::newRow("NUL in the name")
        << int(Nul) << "Der Name enthält ein Zeichen, das das Dateisystem nicht zulässt.";
    QTest::newRow("name too long") << int(TooLong) << "Der Name ist zu lang.";
    QTest::newRow("size limit midway") << int(SizeLimit) << "Die Datei ist zu groß.";
    QTest::newRow("directory not writable") << int(ReadOnly) << "Keine Zugriffsberechtigung.";
}

void TestLogFile::failures()
{
    QFETCH(int, failure);
    QFETCH(QString, reason);

    FileRig rig(LogText);
    QString name = QStringLiteral("werte");
    const QByteArray former("alt\r\n");
    rlimit limit{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &limit) == 0);
    const rlimit unlimited = limit;

    switch (failure) {
    case FullDisk:
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), rig.file(QStringLiteral("voll.txt"))));
        name = QStringLiteral("voll");
        break;
    case DirectoryNowFile: {
        QDir dir(rig.dir.path());
        QVERIFY(dir.mkdir(QStringLiteral("weg")));
        rig.dialog->Dir1->setPath(rig.file(QStringLiteral("weg")));
        QVERIFY(dir.rmdir(QStringLiteral("weg")));
        QFile file(rig.file(QStringLiteral("weg")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        break;
    }
    case Slash:
        name = QStringLiteral("2024/05");
        break;
    case Nul:
        name = QStringLiteral("wer") + QChar(0) + QStringLiteral("te");
        break;
    case TooLong:
        name = QString(300, u'x');
        break;
    case SizeLimit: {
        QFile file(rig.file(QStringLiteral("werte.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(former) == former.size());
        file.close();
        std::signal(SIGXFSZ, SIG_IGN);
        limit.rlim_cur = 64;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
        break;
    }
    case ReadOnly:
        if (geteuid() == 0)
            QSKIP("root writes into any directory");
        QVERIFY(QFile::setPermissions(rig.dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        break;
    }

    const QString path = logfile::path(rig.dialog->Dir1->path(), name, QStringLiteral(".txt"));
    rig.save(name, msgbox::AnswerNo);
    setrlimit(RLIMIT_FSIZE, &unlimited);
    QFile::setPermissions(rig.dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(rig.boxes.calls.size(), 2);
    const ScriptedMessageBoxes::Call &box = rig.boxes.calls.last();
    QCOMPARE(box.style, msgbox::StyleCritical);
    QCOMPARE(box.title, QStringLiteral("Warmlog"));
    QVERIFY2(box.prompt.contains(QStringLiteral("„%1“").arg(path)), qPrintable(box.prompt));
    QVERIFY2(box.prompt.contains(reason), qPrintable(box.prompt));
    QVERIFY(rig.dialog->isVisible());
    QCOMPARE(rig.dialog->Text1->text(), name);
    QCOMPARE(rig.log->logText(), LogText);
    QVERIFY(!rig.form->isVisible());
    // Nothing of a failed save stays behind, not even a part of the text.
    if (failure == SizeLimit)
        QCOMPARE(contents(rig.file(QStringLiteral("werte.txt"))), former);
}

void TestLogFile::driveAndDirectory()
{
    LogRig rig;
    datei *dialog = datei::programWide();
    QCOMPARE(dialog->Dir1->path(), QDir::currentPath());
    QVERIFY(dialog->Text1->text().isEmpty());
    QCOMPARE(dialog->Drive1->itemData(0).toString(), QStringLiteral("/"));

    // Choosing a drive moves the directory list to its root; the root's files need no second
    // separator.
    dialog->Drive1->setCurrentIndex(0);
    dialog->Drive1_Change();
    QCOMPARE(dialog->Dir1->path(), QStringLiteral("/"));
    QCOMPARE(logfile::path(dialog->Dir1->path(), QStringLiteral("werte"), QStringLiteral(".txt")),
             QStringLiteral("/werte.txt"));

    // Going back writes nothing and asks nothing.
    dialog->show();
    dialog->Text1->setText(QStringLiteral("werte"));
    dialog->Command2->click();
    QVERIFY(!dialog->isVisible());
    QVERIFY(rig.form->isVisible());
    QVERIFY(rig.boxes.calls.isEmpty());
}

QTEST_MAIN(TestLogFile)
#include "tst_logfile.moc"
