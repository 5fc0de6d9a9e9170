#include "logging/logrecord.h"
#include "rig.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTest>
#include <QTimer>

namespace {

const QString Hyphens = QStringLiteral("-----------------");
const QString Idle = QStringLiteral("Logdatei");
const QString Recording = QStringLiteral("Logdatei --> Messung läuft <--");
const QString Stopped = QStringLiteral("Logdatei --> Messung beendet <--");

// Plays a space-separated script of clicks ("start", "stop", "clear", "option1".."option4") and
// timer ticks ("tick") on the log window. Clicks on disabled buttons do nothing, as for a user.
void play(textdatei *log, const QString &script)
{
    const QList<QRadioButton *> options = {log->Option1, log->Option2, log->Option3, log->Option4};
    for (const QString &step : script.split(u' ', Qt::SkipEmptyParts)) {
        if (step == QLatin1String("start"))
            log->Command3->click();
        else if (step == QLatin1String("stop"))
            log->Command6->click();
        else if (step == QLatin1String("clear"))
            log->Command4->click();
        else if (step == QLatin1String("tick"))
            log->Timer1_Timer();
        else if (step.startsWith(QLatin1String("option")))
            options.at(step.back().digitValue() - 1)->click();
        else
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }
}

} // namespace

class TestTextdatei : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void states_data();
    void states();
    void intervals_data();
    void intervals();
    void record_data();
    void record();
    void typedTextAndViewStay();
    void hideAndShowKeepState();
    void closeBoxStartsAnew();
};

void TestTextdatei::states_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("buttonsEnabled");
    QTest::addColumn<int>("records");

    QTest::newRow("idle") << "" << Idle << 0 << true << 0;
    QTest::newRow("idle, start") << "start" << Recording << 1000 << false << 0;
    QTest::newRow("idle, stop") << "stop" << Stopped << 0 << true << 0;
    QTest::newRow("idle, clear") << "clear" << Idle << 0 << true << 0;
    QTest::newRow("recording, ticks") << "start tick tick" << Recording << 1000 << false << 2;
    QTest::newRow("recording, clear refused")
        << "start tick clear" << Recording << 1000 << false << 1;
    QTest::newRow("recording, option alone") << "start option2" << Recording << 1000 << false << 0;
    QTest::newRow("recording, start anew")
        << "start tick option4 start" << Recording << 3600000 << false << 1;
    QTest::newRow("recording, stop") << "start tick stop" << Stopped << 0 << true << 1;
    QTest::newRow("stopped, start")
        << "start stop option3 start" << Recording << 60000 << false << 0;
    QTest::newRow("stopped, stop") << "start tick stop stop" << Stopped << 0 << true << 1;
    QTest::newRow("stopped, clear") << "start tick stop clear" << Idle << 0 << true << 0;
}

void TestTextdatei::states()
{
    QFETCH(QString, script);
    QFETCH(QString, caption);
    QFETCH(int, interval);
    QFETCH(bool, buttonsEnabled);
    QFETCH(int, records);

    LogRig rig;
    textdatei *log = rig.openLog();
    play(log, script);

    QCOMPARE(log->windowTitle(), caption);
    QCOMPARE(log->Timer1->interval(), interval);
    QCOMPARE(log->Timer1->isActive(), interval != 0);
    for (QPushButton *button : {log->Command1, log->Command2, log->Command4, log->Command5})
        QCOMPARE(button->isEnabled(), buttonsEnabled);
    for (QWidget *always :
         {static_cast<QWidget *>(log->Command3), static_cast<QWidget *>(log->Command6),
          static_cast<QWidget *>(log->Option1), static_cast<QWidget *>(log->Option4)})
        QVERIFY(always->isEnabled());
    QCOMPARE(log->logText().count(u'\n'), records);
}

void TestTextdatei::intervals_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("interval");

    QTest::newRow("1 second") << "option1"
                              << "  1 Sekunde" << 1000;
    QTest::newRow("30 seconds") << "option2"
                                << "30 Sekunden" << 30000;
    QTest::newRow("1 minute") << "option3"
                              << "1 Minute" << 60000;
    QTest::newRow("1 hour") << "option4"
                            << "1 Stunde" << 3600000;
}

void TestTextdatei::intervals()
{
    QFETCH(QString, option);
    QFETCH(QString, caption);
    QFETCH(int, interval);

    LogRig rig;
    textdatei *log = rig.openLog();
    QVERIFY(log->Option1->isChecked());
    play(log, option + QStringLiteral(" start"));

    const QList<QRadioButton *> options = {log->Option1, log->Option2, log->Option3, log->Option4};
    QCOMPARE(options.at(option.back().digitValue() - 1)->text(), caption);
    QCOMPARE(log->Timer1->interval(), interval);
    QVERIFY(log->Timer1->isActive());
}

void TestTextdatei::record_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("record");

    QTest::newRow("before a device answered")
        << QTime(16, 0, 0) << QStringList{Hyphens, Hyphens, Hyphens}
        << "16:00:00\t-----------------\t-----------------\t-----------------\r\n";
    QTest::newRow("temperatures") << QTime(14, 5, 9) << QStringList{"21.5 °C", "20.9 °C", "22.3 °C"}
                                  << "14:05:09\t21.5 °C\t20.9 °C\t22.3 °C\r\n";
    QTest::newRow("below zero") << QTime(7, 0, 59) << QStringList{"-.5 °C", "-12 °C", "0 °C"}
                                << "07:00:59\t-.5 °C\t-12 °C\t0 °C\r\n";
}

void TestTextdatei::record()
{
    QFETCH(QTime, time);
    QFETCH(QStringList, fields);
    QFETCH(QString, record);

    QCOMPARE(logRecord(clockText(time), fields[0], fields[1], fields[2]), record);

    LogRig rig;
    textdatei *log = rig.openLog();
    rig.show(time, fields[0], fields[1], fields[2]);
    play(log, QStringLiteral("start tick tick stop"));
    QCOMPARE(log->logText(),
             QString(record + record).replace(QLatin1String("\r\n"), QStringLiteral("\n")));

    // "Log kopieren" hands over the whole text with the file's line ends.
    log->Command5->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), record + record);
}

void TestTextdatei::typedTextAndViewStay()
{
    LogRig rig;
    textdatei *log = rig.openLog();
    QVERIFY(QTest::qWaitForWindowExposed(log));
    rig.show(QTime(14, 5, 9), "21.5 °C", "20.9 °C", "22.3 °C");
    const QString line = QStringLiteral("14:05:09\t21.5 °C\t20.9 °C\t22.3 °C\n");

    // A note typed on an unfinished line keeps its line, and the caret stays in it.
    QTest::keyClicks(log->Text1, QStringLiteral("Notiz"));
    play(log, QStringLiteral("start tick"));
    QTest::keyClicks(log->Text1, QStringLiteral(" 1"));
    QCOMPARE(log->logText(), QStringLiteral("Notiz 1\n") + line);

    // A view scrolled away from the caret at the end stays where the user left it.
    for (int i = 0; i < 200; ++i)
        log->Timer1_Timer();
    log->Text1->moveCursor(QTextCursor::End);
    QScrollBar *bar = log->Text1->verticalScrollBar();
    QVERIFY(bar->maximum() > 100);
    bar->setValue(bar->maximum() / 2);
    const int top = bar->value();
    const int caret = log->Text1->textCursor().position();
    play(log, QStringLiteral("tick tick"));
    QCOMPARE(bar->value(), top);
    QCOMPARE(log->Text1->textCursor().position(), caret);
    QCOMPARE(log->logText().size(), caret + 2 * line.size());
}

void TestTextdatei::hideAndShowKeepState()
{
    LogRig rig;
    textdatei *log = rig.openLog();
    QVERIFY(log->isVisible());
    play(log, QStringLiteral("option3 start tick stop"));
    const QString text = log->logText();

    log->Command1->click();
    QVERIFY(!log->isVisible());
    QVERIFY(rig.form->isVisible());

    QCOMPARE(rig.openLog(), log);
    QVERIFY(log->isVisible());
    QCOMPARE(log->windowTitle(), Stopped);
    QCOMPARE(log->logText(), text);
    QVERIFY(log->Option3->isChecked());
}

void TestTextdatei::closeBoxStartsAnew()
{
    LogRig rig;
    QPointer<textdatei> first = rig.openLog();
    play(first, QStringLiteral("option4 start tick"));
    QPointer<QTimer> timer = first->Timer1;

    QVERIFY(first->close());
    QTRY_VERIFY(first.isNull());
    QVERIFY(timer.isNull());
    QVERIFY(!textdatei::instance());

    textdatei *second = rig.openLog();
    QVERIFY(second->isVisible());
    QCOMPARE(second->windowTitle(), Idle);
    QVERIFY(second->logText().isEmpty());
    QVERIFY(second->Option1->isChecked());
    QVERIFY(!second->Timer1->isActive());
}

QTEST_MAIN(TestTextdatei)
#include "tst_textdatei.moc"
