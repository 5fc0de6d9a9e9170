#include "logging/dirlistbox.h"
#include "logging/drivelistbox.h"
#include "logging/logfile.h"
#include "rig.h"

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

enum Failure { FullDisk, DirectoryNowFile, NoDirectory, Nul, SizeLimit };

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
        // Without a log window the dialog reads the text of a new, hidden one.
        QTest::newRow("empty, window closed") << QString() << "leer" << false << "leer.txt";
        QTest::newRow("no name") << LogText << QString() << true << QString();
    }

    void save()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QFETCH(bool, spreadsheet);
        QFETCH(QString, fileName);
        FileRig rig(text);
        if (text.isEmpty()) {
            rig.log->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!textdatei::instance());
        }
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
            QCOMPARE(contents(rig.file(fileName)), text.isEmpty() ? QByteArray() : LogBytes);
        QVERIFY(rig.dialog->isVisible() != named && rig.form->isVisible() == named);
        QCOMPARE(textdatei::instance()->isVisible(), !text.isEmpty());
        QCOMPARE(textdatei::instance()->logText(), text);
    }

    void twoSavesAppend()
    {
        FileRig rig(LogText);
        rig.save(QStringLiteral("werte"), msgbox::AnswerNo);
        rig.log->Command2->click();
        QVERIFY(datei::instance() == rig.dialog && rig.dialog->isVisible());
        QCOMPARE(rig.dialog->Text1->text(), QStringLiteral("werte"));
        rig.save(QStringLiteral("werte"), msgbox::AnswerNo);
        QCOMPARE(contents(rig.file(QStringLiteral("werte.txt"))), LogBytes + LogBytes);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full disk") << "voll" << int(FullDisk) << "kein Platz mehr frei";
        QTest::newRow("directory now a file")
            << "werte" << int(DirectoryNowFile) << "kein Verzeichnis";
        QTest::newRow("no directory") << "2024/05" << int(NoDirectory) << "existiert nicht";
        QTest::newRow("NUL") << QStringLiteral("wer%1te").arg(QChar(0)) << int(Nul)
                             << "nicht zulässt";
        QTest::newRow("size limit midway") << "werte" << int(SizeLimit) << "zu groß";
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
        if (failure == FullDisk) {
            QVERIFY(QFile::link(QStringLiteral("/dev/full"), rig.file(QStringLiteral("voll.txt"))));
        } else if (failure == DirectoryNowFile) {
            const QString gone = rig.file(QStringLiteral("weg"));
            QVERIFY(QDir().mkdir(gone));
            rig.dialog->Dir1->setPath(gone);
            QVERIFY(QDir().rmdir(gone));
            QFile file(gone);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else if (failure == SizeLimit) {
            QFile file(rig.file(QStringLiteral("werte.txt")));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(former) == former.size());
            file.close();
            std::signal(SIGXFSZ, SIG_IGN);
            limit.rlim_cur = former.size() + 8;
            QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
        }
        const QString path = logfile::path(rig.dialog->Dir1->path(), name, QStringLiteral(".txt"));
        rig.save(name, msgbox::AnswerNo);
        setrlimit(RLIMIT_FSIZE, &unlimited);

        QCOMPARE(rig.boxes.calls.size(), 2);
        const ScriptedMessageBoxes::Call &box = rig.boxes.calls.last();
        QVERIFY(box.style == msgbox::StyleCritical && box.title == QStringLiteral("Warmlog"));
        QVERIFY2(box.prompt.contains(QStringLiteral("„%1“").arg(path)), qPrintable(box.prompt));
        QFETCH(QString, reason);
        QVERIFY2(box.prompt.contains(reason), qPrintable(box.prompt));
        QVERIFY(rig.dialog->isVisible() && !rig.form->isVisible());
        QCOMPARE(rig.dialog->Text1->text(), name);
        QCOMPARE(rig.log->logText(), LogText);
        // Nothing of a failed save stays behind, not even a part of the text.
        if (failure == SizeLimit)
            QCOMPARE(contents(rig.file(QStringLiteral("werte.txt"))), former);
    }

    void driveAndDirectory()
    {
        LogRig rig;
        datei *dialog = datei::programWide();
        QCOMPARE(dialog->Dir1->path(), QDir::currentPath());
        QCOMPARE(dialog->Drive1->itemData(0).toString(), QStringLiteral("/"));
        // Where "/" is no mount point, the system's root volume is invalid: still "/" comes first.
        const DriveListBox unmounted({}, QStorageInfo());
        QCOMPARE(unmounted.itemText(0) + unmounted.itemData(0).toString(), QStringLiteral("//"));

        // Choosing a drive moves the directory list to its root; a file there needs no second
        // separator.
        dialog->Drive1->setCurrentIndex(0);
        dialog->Drive1_Change();
        QCOMPARE(dialog->Dir1->path(), QStringLiteral("/"));
        QCOMPARE(
            logfile::path(dialog->Dir1->path(), QStringLiteral("werte"), QStringLiteral(".txt")),
            QStringLiteral("/werte.txt"));

        // Going back writes nothing and asks nothing.
        dialog->show();
        dialog->Text1->setText(QStringLiteral("werte"));
        dialog->Command2->click();
        QVERIFY(!dialog->isVisible() && rig.form->isVisible() && rig.boxes.calls.isEmpty());
    }
};

QTEST_MAIN(TestLogFile)
#include "tst_logfile.moc"
