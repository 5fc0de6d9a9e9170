#include "device/portlist.h"
#include "device/qtserialmodule.h"
#include "main/form1.h"
#include "main/keyedstatusbar.h"
#include "platform/clock.h"
#include "support/fixedclock.h"
#include "support/named.h"
#include "support/scriptedmodule.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOptionMenuItem>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString Hyphens = u"-----------------"_s;
const QString NoDevice = u"Kein Spion !!!"_s;
const QTime StartTime = FixedClock().time;

using Answers = QList<qint16>;
using Texts = QStringList;
using Ports = QList<SerialPortName>;

struct OfferedPorts final : PortList
{
    Ports offered;
    Ports ports() const override { return offered; }
};

// How the menu draws an item's check: a check mark, not a radio bullet.
struct MenuProbe : QMenu
{
    int checkType(const QAction *item) const
    {
        QStyleOptionMenuItem option;
        initStyleOption(&option, item);
        return option.checkType;
    }
};

// The items of a menu or menu bar, "-" for a separator; a menu as it opens.
QStringList menuItems(QWidget *menu)
{
    if (auto *opened = qobject_cast<QMenu *>(menu))
        Q_EMIT opened->aboutToShow();
    QStringList shown;
    for (const QAction *action : menu->actions())
        shown << (action->isSeparator() ? u"-"_s : action->text());
    return shown;
}

QString clockField(const QTime &time)
{
    return clockText(time) + u" Uhr"_s;
}

QStringList exchange(int command, int answer)
{
    return {u"SENDBYTE %1"_s.arg(command), u"READBYTE -> %1"_s.arg(answer)};
}

// "-" for the hyphens, otherwise a temperature without its unit.
QString shown(const QString &field)
{
    return field == u"-"_s ? Hyphens : field + u" °C"_s;
}

// The real main window over a scripted serial library and a clock the test sets.
struct Rig
{
    ScriptedModule serial;
    FixedClock clock;
    OfferedPorts ports;
    Platform platform{&clock, nullptr, nullptr, nullptr, nullptr, &ports};
    Form1 form{serial, platform};

    // What the named places show: controls, status panels by key, "caption".
    QStringList show(const char *names) const
    {
        QStringList texts;
        for (const QString &name : QString::fromLatin1(names).split(QLatin1Char(' '))) {
            const QObject *control = form.findChild<QObject *>(name);
            texts << (name == u"caption"_s ? form.windowTitle()
                      : control            ? control->property("text").toString()
                                : named<KeyedStatusBar>(form, "StatusBar1")->panelText(name));
        }
        return texts;
    }
};

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startTexts_data();
    void startTexts();
    void startState();
    void portSelection_data();
    void portSelection();
    void portList_data();
    void portList();
    void listedPortOnSimulator();
    void tick_data();
    void tick();
    void temperatur_data();
    void temperatur();
    void resetButton_data();
    void resetButton();
};

void TestForm1::startTexts_data()
{
    QTest::addColumn<QStringList>("texts");

    const QString started = clockField(StartTime);
    QTest::newRow("caption Label7 Text1 Text2 Text3")
        << Texts{"Warmlog", NoDevice, Hyphens, Hyphens, Hyphens};
    QTest::newRow("Text4 Text5 Text6") << Texts{started, started, started};
    QTest::newRow("Ubat Ubatjn Command2")
        << Texts{"Batteriespannung: unbekannt ", "Laden: nein ", "&Reset Min/Max Anzeige"};
    // The menus; the notification icon's menu never shows in the bar.
    QTest::newRow("bar") << Texts{"&Datei", "&Anschluss", "&?"};
    QTest::newRow("m_datei") << Texts{"&Log Datei erstellen", "-", "&Ende"};
    QTest::newRow("m_anschluss") << Texts{"Com &1", "Com &2", "Com &3", "Com &4"};
    QTest::newRow("m_fragezeichen") << Texts{"&So sieht der Spion von innen aus", "&Info"};
    QTest::newRow("mnbar") << Texts{"Warmlog anzeigen", "Info", "-", "Beenden"};
}

void TestForm1::startTexts()
{
    QFETCH(QStringList, texts);
    Rig rig;
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    QWidget *menu = name == u"bar"_s ? static_cast<QWidget *>(rig.form.menuBar())
                                     : rig.form.findChild<QMenu *>(name);
    QCOMPARE(menu ? menuItems(menu) : rig.show(QTest::currentDataTag()), texts);
}

void TestForm1::startState()
{
    Rig rig;
    Form1 &form = rig.form;

    // The system's time format, with seconds.
    rig.clock.time = QTime(9, 3, 7);
    form.Timer2_Timer();
    QVERIFY2(named<QLineEdit>(form, "Text4")->text().startsWith(u"09:03:07 "_s),
             qPrintable(named<QLineEdit>(form, "Text4")->text()));
    // Any author's name, then one blank.
    static const QRegularExpression credit(u"^Warmlog ist von \\S.*\\S $"_s);
    QVERIFY(credit.match(rig.show("Hilfe").first()).hasMatch());
    QCOMPARE(named<QPushButton>(form, "Command2")->toolTip(),
             u"Setzt die Min/Max Anzeige auf die aktuelle Temperatur."_s);
    QVERIFY(named<QTimer>(form, "Timer2")->isActive());
    QCOMPARE(named<QTimer>(form, "Timer2")->interval(), 1000);
    QVERIFY(!named<QTimer>(form, "Timer1")->isActive());
    for (const QLineEdit *box : {named<QLineEdit>(form, "Text1"), named<QLineEdit>(form, "Text2"),
                                 named<QLineEdit>(form, "Text3"), named<QLineEdit>(form, "Text4"),
                                 named<QLineEdit>(form, "Text5"), named<QLineEdit>(form, "Text6")})
        QVERIFY2(!box->isEnabled(), qPrintable(box->objectName()));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    for (const QAction *item : named<QMenu>(form, "m_anschluss")->actions())
        QVERIFY(!item->isChecked());
    QVERIFY(rig.serial.calls.isEmpty());
}

void TestForm1::portSelection_data()
{
    QTest::addColumn<int>("before"); // a port chosen earlier where the device answered; 0: none
    QTest::addColumn<int>("port");
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QStringList>("extremes"); // Text2, Text3

    QTest::newRow("Com 1") << 0 << 1 << Answers{5, 7, 128, 129} << true << Texts{"25.1", "25.4"};
    QTest::newRow("Com 3 silent") << 0 << 3 << Answers{} << false << Texts{"-", "-"};
    QTest::newRow("Com 4, byte 0") << 0 << 4 << Answers{0, 0, 81, 80} << true << Texts{"10", "9.6"};
    QTest::newRow("test silent") << 0 << 2 << Answers{9, -1} << false << Texts{"-", "-"};
    QTest::newRow("no values") << 0 << 1 << Answers{1, 1, 0, -1} << true << Texts{"-", "-"};
    QTest::newRow("same port again")
        << 2 << 2 << Answers{5, 7, 130, 131} << true << Texts{"25.8", "26.1"};
    QTest::newRow("silent after device") << 1 << 3 << Answers{} << false << Texts{"25.1", "25.4"};
}

void TestForm1::portSelection()
{
    QFETCH(int, before);
    QFETCH(int, port);
    QFETCH(Answers, answers);
    QFETCH(bool, found);
    QFETCH(Texts, extremes);
    Rig rig;
    if (before) {
        rig.serial.answers = {5, 7, 128, 129};
        named<QMenu>(rig.form, "m_anschluss")->actions().at(before - 1)->trigger();
        rig.clock.time = QTime(15, 0, 0);
        rig.form.Timer2_Timer();
        rig.serial.calls.clear();
    }

    rig.serial.answers = answers;
    named<QMenu>(rig.form, "m_anschluss")->actions().at(port - 1)->trigger();

    // Each row's device answers the first ping or none of the three.
    const int pings = answers.isEmpty() ? 3 : 1;
    QStringList calls = {u"OPENCOM COM%1:9600,n,8,1"_s.arg(port), "RTS 0", "DELAY 50", "RTS 1",
                         "DELAY 200"};
    for (int ping = 0; ping < pings; ++ping)
        calls += Texts{"SENDBYTE 1", "DELAY 10"} + exchange(1, answers.value(ping, -1)).mid(1);
    calls += exchange(1, answers.value(pings, -1));
    if (found)
        calls += exchange(22, answers.at(pings + 1)) + exchange(22, answers.at(pings + 2));
    QCOMPARE(rig.serial.calls, calls);
    const QString label = found ? u"Spion an Com %1"_s.arg(port) : NoDevice;
    QCOMPARE(rig.show("Label7 Text2 Text3"),
             Texts({label, shown(extremes.at(0)), shown(extremes.at(1))}));
    for (const QAction *item : named<QMenu>(rig.form, "m_anschluss")->actions())
        QCOMPARE(item->isChecked(), item->objectName().endsWith(QString::number(port)));
    QCOMPARE(named<QTimer>(rig.form, "Timer1")->isActive(), found || before);
    QCOMPARE(named<QTimer>(rig.form, "Timer1")->interval(), found || before ? 1000 : 0);
    // Left to the first tick; the times stay those of start-up.
    const QString started = clockField(StartTime);
    QCOMPARE(rig.show("Text1 caption Text5 Text6"), Texts({Hyphens, "Warmlog", started, started}));
}

void TestForm1::portList_data()
{
    QTest::addColumn<QByteArray>("com1"); // WARMLOG_COM1
    QTest::addColumn<Ports>("ports");
    QTest::addColumn<QStringList>("listed"); // below Com 1 to Com 4

    QTest::newRow("none") << QByteArray() << Ports{} << Texts{};
    QTest::newRow("two") << QByteArray() << Ports{{"ttyUSB0", "FT232R USB UART"}, {"ttyACM0", ""}}
                         << Texts{"-", "ttyUSB0 (FT232R USB UART)", "ttyACM0"};
    QTest::newRow("Com 1 to 4") << QByteArray() << Ports{{"ttyS0", "x"}, {"ttyS3", ""}} << Texts{};
    QTest::newRow("Com 1 by link")
        << QByteArray("link") << Ports{{"null", ""}, {"ttyS0", ""}} << Texts{"-", "ttyS0"};
    QTest::newRow("ampersand") << QByteArray() << Ports{{"ttyS9", "A&B"}}
                               << Texts{"-", "ttyS9 (A&&B)"};
}

void TestForm1::portList()
{
    QFETCH(QByteArray, com1);
    QFETCH(Ports, ports);
    QFETCH(QStringList, listed);
    QTemporaryDir dir;
    const QString link = dir.filePath(u"com1"_s);
    QVERIFY(com1.isEmpty() || QFile::link(u"/dev/null"_s, link));
    qputenv("WARMLOG_COM1", com1.isEmpty() ? QByteArray() : QFile::encodeName(link));
    Rig rig;
    // What the menu listed when it opened before is gone.
    rig.ports.offered = {{"ttyUSB7", "gone"}};
    menuItems(named<QMenu>(rig.form, "m_anschluss"));
    rig.ports.offered = ports;

    QCOMPARE(menuItems(named<QMenu>(rig.form, "m_anschluss")),
             Texts({"Com &1", "Com &2", "Com &3", "Com &4"}) + listed);
    const MenuProbe probe;
    for (const QAction *item : named<QMenu>(rig.form, "m_anschluss")->actions()) {
        if (!item->isSeparator())
            QCOMPARE(probe.checkType(item), int(QStyleOptionMenuItem::NonExclusive));
    }
}

// The real library on a port only the list names; the check mark stays on it when the list is
// read anew.
void TestForm1::listedPortOnSimulator()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(u"spion"_s);
    QProcess simulator;
    simulator.start(QStringLiteral(WARMLOG_DEVSIM), {u"--link"_s, link, u"--temp-byte"_s, "128"});
    QTRY_VERIFY(simulator.canReadLine());
    const QString name = QFileInfo(link).canonicalFilePath().mid(5); // "pts/N"
    QtSerialModule serial;
    FixedClock clock;
    OfferedPorts ports;
    ports.offered = {{"ttyUSB9", ""}, {name, "Spion"}};
    Form1 form(serial, Platform{&clock, nullptr, nullptr, nullptr, nullptr, &ports});
    named<QLabel>(form, "Label7")->setToolTip(u"stale"_s);
    menuItems(named<QMenu>(form, "m_anschluss"));
    named<QMenu>(form, "m_anschluss")->actions().constLast()->trigger();

    QCOMPARE(named<QLabel>(form, "Label7")->text(), u"Spion an "_s + name);
    QCOMPARE(named<QLabel>(form, "Label7")->toolTip(), QString());
    QCOMPARE(named<QLineEdit>(form, "Text2")->text(), u"25.1 °C"_s);
    menuItems(named<QMenu>(form, "m_anschluss"));
    for (const QAction *item : named<QMenu>(form, "m_anschluss")->actions())
        QCOMPARE(item->isChecked(),
                 item == named<QMenu>(form, "m_anschluss")->actions().constLast());
    simulator.terminate();
    simulator.waitForFinished();
}

void TestForm1::tick_data()
{
    QTest::addColumn<Answers>("battery");
    QTest::addColumn<bool>("charging"); // what the panel shows before
    QTest::addColumn<int>("switched");  // 1 on, 0 off, -1 left as it was
    QTest::addColumn<QString>("volts");

    QTest::newRow("3.9") << Answers{35, 35} << false << 1 << " 3.9";
    QTest::newRow("4.0, first tick") << Answers{36, 36, 36} << false << -1 << " 4";
    QTest::newRow("4.0, charging") << Answers{36, 36, 36} << true << -1 << " 4";
    QTest::newRow("4.1") << Answers{37, 37, 37} << true << 0 << " 4.1";
    QTest::newRow("panel apart") << Answers{37, 35} << false << 1 << " 4.1";
    QTest::newRow("4.0, then 4.1") << Answers{36, 36, 37} << true << 0 << " 4";
    QTest::newRow("4.1, then 4.0") << Answers{37, 37, 36} << true << -1 << " 4.1";
    QTest::newRow("silent") << Answers{-1, -1} << false << 1 << " .3";
}

void TestForm1::tick()
{
    QFETCH(Answers, battery);
    QFETCH(bool, charging);
    QFETCH(int, switched);
    QFETCH(QString, volts);
    Rig rig;
    const QString yes = u"Laden: ja "_s;
    const QString no = u"Laden: nein "_s;
    named<KeyedStatusBar>(rig.form, "StatusBar1")->setPanelText(u"Ubatjn"_s, charging ? yes : no);
    rig.serial.answers = battery + Answers{128, 129, 130};

    rig.form.Timer1_Timer();

    QStringList calls;
    for (qint16 answer : battery)
        calls += exchange(25, answer);
    if (switched >= 0)
        calls << u"DTR %1"_s.arg(switched) << u"RTS %1"_s.arg(switched);
    calls += exchange(22, 128) + exchange(22, 129) + exchange(22, 130);
    QCOMPARE(rig.serial.calls, calls);
    const bool after = switched < 0 ? charging : switched == 1;
    QCOMPARE(rig.show("Ubat Ubatjn"),
             QStringList({"Batteriespannung: " + volts + " Volt ", after ? yes : no}));
    // Text1, the caption and temperatur each take their own reading, in this order.
    QCOMPARE(rig.show("Text1 caption Text2 Text3"),
             QStringList({"25.1 °C", "Warmlog 25.4 °C", "25.8 °C", Hyphens}));
}

void TestForm1::temperatur_data()
{
    QTest::addColumn<QStringList>("before"); // minimum, maximum
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("9.6 below 10.1") << Texts{"10.1", "20"} << 80 << Texts{"9.6", "20"};
    QTest::newRow("10.3 above 9.5") << Texts{"-2", "9.5"} << 82 << Texts{"-2", "10.3"};
    QTest::newRow("= minimum") << Texts{"25.1", "30"} << 128 << Texts{"25.1", "30"};
    QTest::newRow("= maximum") << Texts{"20", "25.1"} << 128 << Texts{"20", "25.1"};
    QTest::newRow("min only") << Texts{"25.4", "24.8"} << 128 << Texts{"25.1", "24.8"};
    QTest::newRow("hyphens") << Texts{"-", "-"} << 128 << Texts{"25.1", "-"};
    QTest::newRow("hyphens in max") << Texts{"20", "-"} << 128 << Texts{"20", "25.1"};
    QTest::newRow("silent, hyphens") << Texts{"-", "-"} << -1 << Texts{"-", "-"};
    QTest::newRow("silent below") << Texts{"20", "30"} << -1 << Texts{"20", "30"};
    QTest::newRow("silent above") << Texts{"-9", "-1.6"} << -1 << Texts{"-9", "-1.6"};
}

void TestForm1::temperatur()
{
    QFETCH(QStringList, before);
    QFETCH(int, answer);
    QFETCH(QStringList, after);
    Rig rig;
    named<QLineEdit>(rig.form, "Text2")->setText(shown(before.at(0)));
    named<QLineEdit>(rig.form, "Text3")->setText(shown(before.at(1)));
    rig.clock.time = QTime(15, 30, 45);
    rig.form.Timer2_Timer();
    // The times come from the clock field, not from the clock.
    rig.clock.time = QTime(15, 30, 46);
    rig.serial.answers = {qint16(answer)};

    rig.form.temperatur();

    QCOMPARE(rig.serial.calls, exchange(22, answer));
    const QString then = clockField(QTime(15, 30, 45));
    const QString start = clockField(StartTime);
    QCOMPARE(rig.show("Text2 Text3 Text5 Text6"),
             QStringList({shown(after.at(0)), shown(after.at(1)),
                          after.at(0) == before.at(0) ? start : then,
                          after.at(1) == before.at(1) ? start : then}));
}

void TestForm1::resetButton_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<bool>("taken"); // or the extremes start empty

    QTest::newRow("reading") << "-.3 °C" << true;
    QTest::newRow("silent") << "0 °C" << false;
}

void TestForm1::resetButton()
{
    QFETCH(QString, current);
    QFETCH(bool, taken);
    Rig rig;
    named<QLineEdit>(rig.form, "Text1")->setText(current);
    named<QLineEdit>(rig.form, "Text2")->setText(u"-20.2 °C"_s);
    rig.clock.time = QTime(11, 11, 11);
    rig.form.Timer2_Timer();

    named<QPushButton>(rig.form, "Command2")->click();

    const QString extreme = taken ? current : Hyphens;
    const QString now = clockField(QTime(11, 11, 11));
    QCOMPARE(rig.show("Text2 Text3 Text5 Text6"), QStringList({extreme, extreme, now, now}));
    QVERIFY(rig.serial.calls.isEmpty());
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
