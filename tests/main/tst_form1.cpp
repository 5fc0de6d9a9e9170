#include "main/form1.h"
#include "main/keyedstatusbar.h"
#include "platform/clock.h"
#include "support/fixedclock.h"
#include "support/scriptedmodule.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <clocale>
#include <memory>

namespace {

const QString Hyphens = QStringLiteral("-----------------");
const QTime StartTime(14, 5, 9);

// A clock that moves on by a second each time it is read.
class SteppingClock final : public Clock
{
public:
    mutable QTime next = StartTime;
    QTime currentTime() const override
    {
        const QTime now = next;
        next = next.addSecs(1);
        return now;
    }
};

// The real main window over a scripted serial library and a clock the test sets.
struct Rig
{
    ScriptedModule serial;
    FixedClock clock;
    Platform platform;
    std::unique_ptr<Form1> form;

    explicit Rig(Clock *startClock = nullptr)
    {
        clock.time = StartTime;
        platform.clock = startClock ? startClock : &clock;
        form = std::make_unique<Form1>(serial, platform);
    }

    QAction *portItem(int number) const
    {
        const QList<QAction *> items = {form->m_a_com1, form->m_a_com2, form->m_a_com3,
                                        form->m_a_com4};
        return items.at(number - 1);
    }

    void choosePort(int number, const QList<qint16> &answers)
    {
        serial.answers = answers;
        portItem(number)->trigger();
    }

    void showClock(const QTime &time)
    {
        clock.time = time;
        form->Timer2_Timer();
    }

    QStringList checkedPorts() const
    {
        QStringList names;
        for (int number = 1; number <= 4; ++number) {
            if (portItem(number)->isChecked())
                names << portItem(number)->objectName();
        }
        return names;
    }

    QString panel(const char *key) const { return form->StatusBar1->panelText(QLatin1String(key)); }
};

QString clockField(const QTime &time)
{
    return clockText(time) + QStringLiteral(" Uhr");
}

QStringList exchange(int command, int answer)
{
    return {QStringLiteral("SENDBYTE %1").arg(command),
            QStringLiteral("READBYTE -> %1").arg(answer)};
}

QStringList wakeUpCalls(const QList<int> &pingAnswers)
{
    QStringList calls = {QStringLiteral("RTS 0"), QStringLiteral("DELAY 50"),
                         QStringLiteral("RTS 1"), QStringLiteral("DELAY 200")};
    for (int answer : pingAnswers) {
        calls << QStringLiteral("SENDBYTE 1") << QStringLiteral("DELAY 10")
              << QStringLiteral("READBYTE -> %1").arg(answer);
    }
    return calls;
}

QStringList captions(const QWidget *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startTexts_data();
    void startTexts();
    void startState();
    void menus_data();
    void menus();
    void portSelection_data();
    void portSelection();
    void checkMarkFollowsLastChoice_data();
    void checkMarkFollowsLastChoice();
    void reselectingSamePortKeepsTimes();
    void silentPortAfterDeviceKeepsMeasuring();
    void tick_data();
    void tick();
    void chargingAcrossTicks_data();
    void chargingAcrossTicks();
    void temperatur_data();
    void temperatur();
    void resetButton_data();
    void resetButton();
    void clock_data();
    void clock();
};

void TestForm1::startTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("Label7") << QStringLiteral("Label7") << QStringLiteral("Kein Spion !!!");
    QTest::newRow("Text1") << QStringLiteral("Text1") << Hyphens;
    QTest::newRow("Text2") << QStringLiteral("Text2") << Hyphens;
    QTest::newRow("Text3") << QStringLiteral("Text3") << Hyphens;
    // Each field takes the time anew, in this order.
    QTest::newRow("Text4") << QStringLiteral("Text4") << clockField(StartTime);
    QTest::newRow("Text5") << QStringLiteral("Text5") << clockField(StartTime.addSecs(1));
    QTest::newRow("Text6") << QStringLiteral("Text6") << clockField(StartTime.addSecs(2));
    QTest::newRow("Ubat") << QStringLiteral("Ubat")
                          << QStringLiteral("Batteriespannung: unbekannt ");
    QTest::newRow("Ubatjn") << QStringLiteral("Ubatjn") << QStringLiteral("Laden: nein ");
    QTest::newRow("Command2") << QStringLiteral("Command2")
                              << QStringLiteral("&Reset Min/Max Anzeige");
}

void TestForm1::startTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    SteppingClock clock;
    Rig rig(&clock);

    if (name.startsWith(QLatin1String("Ubat"))) {
        QCOMPARE(rig.form->StatusBar1->panelText(name), text);
        return;
    }
    const QObject *control = rig.form->findChild<QObject *>(name);
    QVERIFY(control);
    QCOMPARE(control->property("text").toString(), text);
}

void TestForm1::startState()
{
    Rig rig;
    Form1 &form = *rig.form;

    QCOMPARE(form.windowTitle(), QStringLiteral("Warmlog"));
    const QString credit = rig.panel("Hilfe");
    QVERIFY2(credit.startsWith(QLatin1String("Warmlog ist von ")) &&
                 credit.endsWith(QLatin1Char(' ')) && !credit.endsWith(QLatin1String("  ")) &&
                 credit.size() > 17,
             qPrintable(credit));

    QVERIFY(form.Timer2->isActive());
    QCOMPARE(form.Timer2->interval(), 1000);
    QVERIFY(!form.Timer1->isActive());
    QCOMPARE(form.Timer1->interval(), 0);

    for (const QLineEdit *box :
         {form.Text1, form.Text2, form.Text3, form.Text4, form.Text5, form.Text6})
        QVERIFY2(!box->isEnabled(), qPrintable(box->objectName()));
    QCOMPARE(form.Command2->toolTip(),
             QStringLiteral("Setzt die Min/Max Anzeige auf die aktuelle Temperatur."));

    QVERIFY(!form.size().isEmpty());
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);

    QVERIFY(rig.checkedPorts().isEmpty());
    QCOMPARE(rig.serial.calls, QStringList());
}

void TestForm1::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("captions");

    // The bar itself: the notification icon's menu never shows there.
    QTest::newRow("bar") << QString() << QStringList{"&Datei", "&Anschluss", "&?"};
    QTest::newRow("m_datei") << QStringLiteral("m_datei")
                             << QStringList{"&Log Datei erstellen", "-", "&Ende"};
    QTest::newRow("m_anschluss") << QStringLiteral("m_anschluss")
                                 << QStringList{"Com &1", "Com &2", "Com &3", "Com &4"};
    QTest::newRow("m_fragezeichen") << QStringLiteral("m_fragezeichen")
                                    << QStringList{"&So sieht der Spion von innen aus", "&Info"};
    QTest::newRow("mnbar") << QStringLiteral("mnbar")
                           << QStringList{"Warmlog anzeigen", "Info", "-", "Beenden"};
}

void TestForm1::menus()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, captions);
    Rig rig;

    const QWidget *widget = menu.isEmpty() ? static_cast<QWidget *>(rig.form->menuBar())
                                           : rig.form->findChild<QMenu *>(menu);
    QVERIFY(widget);
    QCOMPARE(::captions(widget), captions);
    for (const QAction *action : widget->actions())
        QVERIFY(!action->isChecked());
}

void TestForm1::portSelection_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<QList<qint16>>("answers");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("minimum");
    QTest::addColumn<QString>("maximum");
    QTest::addColumn<bool>("measuring");

    QTest::newRow("Com 1 answers") << 1 << QList<qint16>{5, 7, 128, 129}
                                   << QStringList{"OPENCOM COM1:9600,n,8,1"} + wakeUpCalls({5}) +
                                          exchange(1, 7) + exchange(22, 128) + exchange(22, 129)
                                   << QStringLiteral("Spion an Com 1") << QStringLiteral("25.1 °C")
                                   << QStringLiteral("25.4 °C") << true;
    QTest::newRow("Com 2 answers after a silent wake-up")
        << 2 << QList<qint16>{-1, -1, -1, 12, 53, 54}
        << QStringList{"OPENCOM COM2:9600,n,8,1"} + wakeUpCalls({-1, -1, -1}) + exchange(1, 12) +
               exchange(22, 53) + exchange(22, 54)
        << QStringLiteral("Spion an Com 2") << QStringLiteral("-.3 °C") << QStringLiteral(".1 °C")
        << true;
    QTest::newRow("Com 3 silent") << 3 << QList<qint16>{}
                                  << QStringList{"OPENCOM COM3:9600,n,8,1"} +
                                         wakeUpCalls({-1, -1, -1}) + exchange(1, -1)
                                  << QStringLiteral("Kein Spion !!!") << Hyphens << Hyphens
                                  << false;
    QTest::newRow("Com 4 test answer 0 is a device")
        << 4 << QList<qint16>{0, 0, 81, 80}
        << QStringList{"OPENCOM COM4:9600,n,8,1"} + wakeUpCalls({0}) + exchange(1, 0) +
               exchange(22, 81) + exchange(22, 80)
        << QStringLiteral("Spion an Com 4") << QStringLiteral("10 °C") << QStringLiteral("9.6 °C")
        << true;
    QTest::newRow("wake-up answers, test silent")
        << 2 << QList<qint16>{9, -1}
        << QStringList{"OPENCOM COM2:9600,n,8,1"} + wakeUpCalls({9}) + exchange(1, -1)
        << QStringLiteral("Kein Spion !!!") << Hyphens << Hyphens << false;
    QTest::newRow("device answers, temperatures without value")
        << 1 << QList<qint16>{1, 1, 0, -1}
        << QStringList{"OPENCOM COM1:9600,n,8,1"} + wakeUpCalls({1}) + exchange(1, 1) +
               exchange(22, 0) + exchange(22, -1)
        << QStringLiteral("Spion an Com 1") << Hyphens << Hyphens << true;
}

void TestForm1::portSelection()
{
    QFETCH(int, port);
    QFETCH(QList<qint16>, answers);
    QFETCH(QStringList, calls);
    QFETCH(QString, label);
    QFETCH(QString, minimum);
    QFETCH(QString, maximum);
    QFETCH(bool, measuring);
    Rig rig;
    Form1 &form = *rig.form;

    rig.choosePort(port, answers);

    QCOMPARE(rig.serial.calls, calls);
    QCOMPARE(form.Label7->text(), label);
    QCOMPARE(form.Text2->text(), minimum);
    QCOMPARE(form.Text3->text(), maximum);
    QCOMPARE(form.Timer1->isActive(), measuring);
    if (measuring)
        QCOMPARE(form.Timer1->interval(), 1000);
    QCOMPARE(rig.checkedPorts(), QStringList{QStringLiteral("m_a_com%1").arg(port)});
    // Not the selection's business: these wait for the first tick.
    QCOMPARE(form.Text1->text(), Hyphens);
    QCOMPARE(form.windowTitle(), QStringLiteral("Warmlog"));
    for (const QLineEdit *box : {form.Text4, form.Text5, form.Text6})
        QCOMPARE(box->text(), clockField(StartTime));
    QCOMPARE(rig.panel("Ubat"), QStringLiteral("Batteriespannung: unbekannt "));
    QCOMPARE(rig.panel("Ubatjn"), QStringLiteral("Laden: nein "));
}

void TestForm1::checkMarkFollowsLastChoice_data()
{
    QTest::addColumn<QList<int>>("ports");
    QTest::addColumn<bool>("deviceAnswers");

    QTest::newRow("one") << QList<int>{3} << true;
    QTest::newRow("same twice") << QList<int>{2, 2} << true;
    QTest::newRow("same three times, silent") << QList<int>{4, 4, 4} << false;
    QTest::newRow("moves on") << QList<int>{1, 3} << true;
    QTest::newRow("moves back") << QList<int>{4, 2, 4} << false;
}

void TestForm1::checkMarkFollowsLastChoice()
{
    QFETCH(QList<int>, ports);
    QFETCH(bool, deviceAnswers);
    Rig rig;
    if (deviceAnswers)
        rig.serial.defaultAnswer = 100;

    for (int port : ports) {
        rig.choosePort(port, {});
        QCOMPARE(rig.checkedPorts(), QStringList{rig.portItem(port)->objectName()});
    }
    QCOMPARE(rig.serial.callsStartingWith(QStringLiteral("OPENCOM")).size(), ports.size());
    QVERIFY(rig.serial.callsStartingWith(QStringLiteral("CLOSECOM")).isEmpty());
}

void TestForm1::reselectingSamePortKeepsTimes()
{
    Rig rig;
    Form1 &form = *rig.form;
    rig.choosePort(2, {5, 7, 128, 129});
    rig.showClock(QTime(15, 0, 0));
    rig.serial.calls.clear();

    rig.choosePort(2, {5, 7, 130, 131});

    QCOMPARE(rig.serial.calls, QStringList{"OPENCOM COM2:9600,n,8,1"} + wakeUpCalls({5}) +
                                   exchange(1, 7) + exchange(22, 130) + exchange(22, 131));
    QCOMPARE(form.Text2->text(), QStringLiteral("25.8 °C"));
    QCOMPARE(form.Text3->text(), QStringLiteral("26.1 °C"));
    QCOMPARE(form.Text5->text(), clockField(StartTime));
    QCOMPARE(form.Text6->text(), clockField(StartTime));
    QVERIFY(form.Timer1->isActive());
    QCOMPARE(form.Timer1->interval(), 1000);
}

void TestForm1::silentPortAfterDeviceKeepsMeasuring()
{
    Rig rig;
    Form1 &form = *rig.form;
    rig.choosePort(1, {5, 7, 128, 129});

    rig.choosePort(3, {});

    QCOMPARE(rig.checkedPorts(), QStringList{QStringLiteral("m_a_com3")});
    QCOMPARE(form.Label7->text(), QStringLiteral("Kein Spion !!!"));
    QVERIFY(form.Timer1->isActive());
    QCOMPARE(form.Timer1->interval(), 1000);
    QCOMPARE(form.Text2->text(), QStringLiteral("25.1 °C"));
    QCOMPARE(form.Text3->text(), QStringLiteral("25.4 °C"));

    // The cycle goes on against the silent port; its no-value readings never become extremes.
    rig.serial.calls.clear();
    form.Timer1_Timer();
    const QStringList silentTick = exchange(25, -1) + exchange(25, -1) +
                                   QStringList{"DTR 1", "RTS 1"} + exchange(22, -1) +
                                   exchange(22, -1) + exchange(22, -1);
    QCOMPARE(rig.serial.calls, silentTick);
    QCOMPARE(rig.panel("Ubat"), QStringLiteral("Batteriespannung:  .3 Volt "));
    QCOMPARE(rig.panel("Ubatjn"), QStringLiteral("Laden: ja "));
    QCOMPARE(form.Text1->text(), QStringLiteral("0 °C"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Warmlog 0 °C"));
    QCOMPARE(form.Text2->text(), QStringLiteral("25.1 °C"));
    QCOMPARE(form.Text3->text(), QStringLiteral("25.4 °C"));
    QCOMPARE(form.Text5->text(), clockField(StartTime));
}

void TestForm1::tick_data()
{
    QTest::addColumn<QList<qint16>>("battery");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("voltagePanel");
    QTest::addColumn<QString>("chargingPanel");

    QTest::newRow("3.9") << QList<qint16>{35, 35} << QStringList{"DTR 1", "RTS 1"}
                         << QStringLiteral("Batteriespannung:  3.9 Volt ")
                         << QStringLiteral("Laden: ja ");
    QTest::newRow("4.0 on the first tick")
        << QList<qint16>{36, 36, 36} << QStringList{}
        << QStringLiteral("Batteriespannung:  4 Volt ") << QStringLiteral("Laden: nein ");
    QTest::newRow("4.1") << QList<qint16>{37, 37, 37} << QStringList{"DTR 0", "RTS 0"}
                         << QStringLiteral("Batteriespannung:  4.1 Volt ")
                         << QStringLiteral("Laden: nein ");
    QTest::newRow("panel and decision from separate readings")
        << QList<qint16>{37, 35} << QStringList{"DTR 1", "RTS 1"}
        << QStringLiteral("Batteriespannung:  4.1 Volt ") << QStringLiteral("Laden: ja ");
    QTest::newRow("4.0 then 4.1") << QList<qint16>{36, 36, 37} << QStringList{"DTR 0", "RTS 0"}
                                  << QStringLiteral("Batteriespannung:  4 Volt ")
                                  << QStringLiteral("Laden: nein ");
    QTest::newRow("4.1 then 4.0") << QList<qint16>{37, 37, 36} << QStringList{}
                                  << QStringLiteral("Batteriespannung:  4.1 Volt ")
                                  << QStringLiteral("Laden: nein ");
    QTest::newRow(".4") << QList<qint16>{0, 0} << QStringList{"DTR 1", "RTS 1"}
                        << QStringLiteral("Batteriespannung:  .4 Volt ")
                        << QStringLiteral("Laden: ja ");
    QTest::newRow("25.9") << QList<qint16>{255, 255, 255} << QStringList{"DTR 0", "RTS 0"}
                          << QStringLiteral("Batteriespannung:  25.9 Volt ")
                          << QStringLiteral("Laden: nein ");
    QTest::newRow("silent") << QList<qint16>{-1, -1} << QStringList{"DTR 1", "RTS 1"}
                            << QStringLiteral("Batteriespannung:  .3 Volt ")
                            << QStringLiteral("Laden: ja ");
}

void TestForm1::tick()
{
    QFETCH(QList<qint16>, battery);
    QFETCH(QStringList, lines);
    QFETCH(QString, voltagePanel);
    QFETCH(QString, chargingPanel);
    Rig rig;
    Form1 &form = *rig.form;
    rig.serial.answers = battery + QList<qint16>{128, 129, 130};

    form.Timer1_Timer();

    QStringList calls;
    for (qint16 answer : battery)
        calls << exchange(25, answer);
    calls << lines << exchange(22, 128) << exchange(22, 129) << exchange(22, 130);
    QCOMPARE(rig.serial.calls, calls);
    QCOMPARE(rig.panel("Ubat"), voltagePanel);
    QCOMPARE(rig.panel("Ubatjn"), chargingPanel);
    // Text1, the caption and temperatur each take their own reading, in this order.
    QCOMPARE(form.Text1->text(), QStringLiteral("25.1 °C"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Warmlog 25.4 °C"));
    QCOMPARE(form.Text2->text(), QStringLiteral("25.8 °C"));
}

void TestForm1::chargingAcrossTicks_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("chargingPanel");

    QTest::newRow("3.9, 4.0 keeps charging")
        << 35 << 36 << QStringList{} << QStringLiteral("Laden: ja ");
    QTest::newRow("4.1, 4.0 keeps off")
        << 37 << 36 << QStringList{} << QStringLiteral("Laden: nein ");
    QTest::newRow("3.9, 4.1") << 35 << 37 << QStringList{"DTR 0", "RTS 0"}
                              << QStringLiteral("Laden: nein ");
    QTest::newRow("4.1, 3.9") << 37 << 35 << QStringList{"DTR 1", "RTS 1"}
                              << QStringLiteral("Laden: ja ");
    QTest::newRow("3.9, 3.9") << 35 << 35 << QStringList{"DTR 1", "RTS 1"}
                              << QStringLiteral("Laden: ja ");
}

void TestForm1::chargingAcrossTicks()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(QStringList, lines);
    QFETCH(QString, chargingPanel);
    Rig rig;
    rig.serial.answerFor.insert(22, 128);
    rig.serial.answerFor.insert(25, qint16(first));
    rig.form->Timer1_Timer();

    rig.serial.calls.clear();
    rig.serial.answerFor.insert(25, qint16(second));
    rig.form->Timer1_Timer();

    QStringList lineCalls;
    for (const QString &call : std::as_const(rig.serial.calls)) {
        if (call.startsWith(QLatin1String("DTR")) || call.startsWith(QLatin1String("RTS")))
            lineCalls << call;
    }
    QCOMPARE(lineCalls, lines);
    QCOMPARE(rig.panel("Ubatjn"), chargingPanel);
    QCOMPARE(rig.form->Text1->text(), QStringLiteral("25.1 °C"));
    QCOMPARE(rig.form->windowTitle(), QStringLiteral("Warmlog 25.1 °C"));
}

void TestForm1::temperatur_data()
{
    QTest::addColumn<QString>("minimum");
    QTest::addColumn<QString>("maximum");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("newMinimum");
    QTest::addColumn<QString>("newMaximum");

    const QString min = QStringLiteral("min");
    const QString max = QStringLiteral("max");
    // "min"/"max" in the expected columns: the reading's text, with the clock text as its time.
    QTest::newRow("9.6 below 10.1") << QStringLiteral("10.1 °C") << QStringLiteral("20 °C") << 80
                                    << min << QStringLiteral("20 °C");
    QTest::newRow("10.3 above 9.5") << QStringLiteral("-2 °C") << QStringLiteral("9.5 °C") << 82
                                    << QStringLiteral("-2 °C") << max;
    QTest::newRow("-1.6 below -.3") << QStringLiteral("-.3 °C") << QStringLiteral(".1 °C") << 50
                                    << min << QStringLiteral(".1 °C");
    QTest::newRow("-.3 above -1.6") << QStringLiteral("-57.7 °C") << QStringLiteral("-1.6 °C") << 53
                                    << QStringLiteral("-57.7 °C") << max;
    QTest::newRow("equal to minimum")
        << QStringLiteral("25.1 °C") << QStringLiteral("30.1 °C") << 128
        << QStringLiteral("25.1 °C") << QStringLiteral("30.1 °C");
    QTest::newRow("equal to maximum") << QStringLiteral("20 °C") << QStringLiteral("25.1 °C") << 128
                                      << QStringLiteral("20 °C") << QStringLiteral("25.1 °C");
    QTest::newRow("in between") << QStringLiteral("20 °C") << QStringLiteral("30.1 °C") << 128
                                << QStringLiteral("20 °C") << QStringLiteral("30.1 °C");
    QTest::newRow("new minimum not compared with maximum")
        << QStringLiteral("25.4 °C") << QStringLiteral("24.8 °C") << 128 << min
        << QStringLiteral("24.8 °C");
    QTest::newRow("hyphens: minimum first") << Hyphens << Hyphens << 128 << min << Hyphens;
    QTest::newRow("hyphens in maximum")
        << QStringLiteral("20 °C") << Hyphens << 128 << QStringLiteral("20 °C") << max;
    QTest::newRow("silent, hyphens") << Hyphens << Hyphens << -1 << Hyphens << Hyphens;
    QTest::newRow("silent below minimum")
        << QStringLiteral("20 °C") << QStringLiteral("30.1 °C") << -1 << QStringLiteral("20 °C")
        << QStringLiteral("30.1 °C");
    QTest::newRow("answer 0 below minimum")
        << QStringLiteral("20 °C") << QStringLiteral("30.1 °C") << 0 << QStringLiteral("20 °C")
        << QStringLiteral("30.1 °C");
    QTest::newRow("silent above negative maximum")
        << QStringLiteral("-20.2 °C") << QStringLiteral("-1.6 °C") << -1
        << QStringLiteral("-20.2 °C") << QStringLiteral("-1.6 °C");
}

void TestForm1::temperatur()
{
    QFETCH(QString, minimum);
    QFETCH(QString, maximum);
    QFETCH(int, answer);
    QFETCH(QString, newMinimum);
    QFETCH(QString, newMaximum);
    Rig rig;
    Form1 &form = *rig.form;
    form.Text2->setText(minimum);
    form.Text3->setText(maximum);
    rig.showClock(QTime(15, 30, 45));
    // The times come from the clock field, not from the clock.
    rig.clock.time = QTime(15, 30, 46);
    rig.serial.answers = {qint16(answer)};

    form.temperatur();

    QCOMPARE(rig.serial.calls, exchange(22, answer));
    const QString reading = protocol::temperatureText(protocol::temperatureFromAnswer(answer));
    const QString then = clockField(QTime(15, 30, 45));
    const QString before = clockField(StartTime);
    QCOMPARE(form.Text2->text(), newMinimum == QLatin1String("min") ? reading : newMinimum);
    QCOMPARE(form.Text5->text(), newMinimum == QLatin1String("min") ? then : before);
    QCOMPARE(form.Text3->text(), newMaximum == QLatin1String("max") ? reading : newMaximum);
    QCOMPARE(form.Text6->text(), newMaximum == QLatin1String("max") ? then : before);
}

void TestForm1::resetButton_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("extremes");

    QTest::newRow("25.1") << QStringLiteral("25.1 °C") << QStringLiteral("25.1 °C");
    QTest::newRow("-.3") << QStringLiteral("-.3 °C") << QStringLiteral("-.3 °C");
    QTest::newRow("before the first tick") << Hyphens << Hyphens;
    // A silent reading is no extreme: the fields start empty and the next reading fills them.
    QTest::newRow("silent reading") << QStringLiteral("0 °C") << Hyphens;
}

void TestForm1::resetButton()
{
    QFETCH(QString, current);
    QFETCH(QString, extremes);
    Rig rig;
    Form1 &form = *rig.form;
    form.Text1->setText(current);
    form.Text2->setText(QStringLiteral("-20.2 °C"));
    form.Text3->setText(QStringLiteral("40 °C"));
    rig.showClock(QTime(11, 11, 11));

    form.Command2->click();

    QCOMPARE(form.Text2->text(), extremes);
    QCOMPARE(form.Text3->text(), extremes);
    QCOMPARE(form.Text5->text(), clockField(QTime(11, 11, 11)));
    QCOMPARE(form.Text6->text(), clockField(QTime(11, 11, 11)));
    QCOMPARE(rig.serial.calls, QStringList());
}

void TestForm1::clock_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text");

    QTest::newRow("afternoon") << QTime(14, 5, 9) << QStringLiteral("14:05:09 Uhr");
    QTest::newRow("morning") << QTime(9, 3, 7) << QStringLiteral("09:03:07 Uhr");
    QTest::newRow("midnight") << QTime(0, 0, 0) << QStringLiteral("00:00:00 Uhr");
    QTest::newRow("last second") << QTime(23, 59, 59) << QStringLiteral("23:59:59 Uhr");
}

void TestForm1::clock()
{
    QFETCH(QTime, time);
    QFETCH(QString, text);
    Rig rig;

    rig.showClock(time);

    QCOMPARE(rig.form->Text4->text(), clockField(time));
    // The C and German formats agree on hours, minutes and seconds; others may not.
    const QByteArray timeLocale = std::setlocale(LC_TIME, nullptr);
    if (timeLocale == "C" || timeLocale == "POSIX" || timeLocale.startsWith("de_"))
        QCOMPARE(rig.form->Text4->text(), text);
    QCOMPARE(rig.form->Text5->text(), clockField(StartTime));
    QCOMPARE(rig.form->Text6->text(), clockField(StartTime));
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
