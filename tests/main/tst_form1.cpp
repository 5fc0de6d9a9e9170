#include "device/qtserialmodule.h"
#include "platform/clock.h"
#include "support/windowrig.h"

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
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString Hyphens = u"-----------------"_s;
const QString NoDevice = u"Kein Spion !!!"_s;
const QTime StartTime = FixedClock().time;

using Answers = QList<qint16>;
using Texts = QStringList;
using Ports = QList<SerialPortName>;

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

// The user's steps as the desktop delivers them, a measurement tick, the device found on COM1,
// and the answer Yes to the next question (otherwise No).
void act(WindowRig &rig, const QString &step)
{
    Form1 &form = *rig.form;
    auto fromIconMenu = [&](const char *item) {
        rig.tray.click(QSystemTrayIcon::Context);
        QVERIFY(named<QMenu>(form, "mnbar")->isVisible());
        named<QMenu>(form, "mnbar")->hide();
        named<QAction>(form, item)->trigger();
    };
    const QHash<QString, std::function<void()>> steps = {
        {"minimise", [&] { form.setWindowState(form.windowState() | Qt::WindowMinimized); }},
        {"task bar", [&] { form.setWindowState(form.windowState() & ~Qt::WindowMinimized); }},
        {"left", [&] { rig.tray.click(QSystemTrayIcon::Trigger); }},
        {"double", [&] { rig.tray.click(QSystemTrayIcon::DoubleClick); }},
        {"middle", [&] { rig.tray.click(QSystemTrayIcon::MiddleClick); }},
        {"anzeigen", [&] { fromIconMenu("mnBarShowWindow"); }},
        {"beenden", [&] { fromIconMenu("mnBarExit"); }},
        {"close box", [&] { form.close(); }},
        {"ende", [&] { named<QAction>(form, "m_datei_ende")->trigger(); }},
        {"no area", [&] { rig.tray.available = false; }},
        {"area gone",
         [&] {
             rig.tray.available = false;
             QTest::qWait(int(2 * TrayIcon::AreaCheck.count()));
         }},
        {"port", [&] { named<QAction>(form, "m_a_com1")->trigger(); }},
        {"yes", [&] { rig.boxes.answers << msgbox::AnswerYes; }},
        {"tick", [&] {
             rig.serial.defaultAnswer = *rig.serial.defaultAnswer + 1;
             form.Timer1_Timer();
         }}};
    QVERIFY2(steps.contains(step), qPrintable(step));
    steps.value(step)();
}

// Where the window is, by the names the tests use.
QString where(const WindowRig &rig)
{
    const bool visible = rig.form->isVisible();
    const bool minimised = rig.form->isMinimized();
    if (!rig.tray.isShown())
        return !visible ? u"gone"_s : minimised ? u"task bar"_s : u"start"_s;
    return !visible    ? (minimised ? u"tray"_s : u"gone"_s)
           : minimised ? u"shown minimised"_s
                       : u"restored with icon"_s;
}

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void startTexts_data()
    {
        QTest::addColumn<QStringList>("texts");

        const QString started = clockField(StartTime);
        QTest::newRow("caption Label7 Text1 Text2 Text3")
            << Texts{"Warmlog", NoDevice, Hyphens, Hyphens, Hyphens};
        QTest::newRow("Text4 Text5 Text6") << Texts{started, started, started};
        QTest::newRow("Hilfe Ubat Ubatjn Command2")
            << Texts{"Warmlog ist von Jonas Feldkamp ", "Batteriespannung: unbekannt ",
                     "Laden: nein ", "&Reset Min/Max Anzeige"};
        QTest::newRow("Frame1 Label1 Label4 Frame3") << Texts{
            "Laufende Messung:", "Aktuelle Temperatur:", "Aktuelle Uhrzeit:", "Einstellungen:"};
        QTest::newRow("Frame2 Label2 Label3 Label5 Label6")
            << Texts{"Min/Max Anzeige:", "Min:", "Max:", "um:", "um:"};
        // The menus; the notification icon's menu never shows in the bar.
        QTest::newRow("bar") << Texts{"&Datei", "&Anschluss", "&?"};
        QTest::newRow("m_datei") << Texts{"&Log Datei erstellen", "-", "&Ende"};
        QTest::newRow("m_anschluss") << Texts{"Com &1", "Com &2", "Com &3", "Com &4"};
        QTest::newRow("m_fragezeichen") << Texts{"&So sieht der Spion von innen aus", "&Info"};
        QTest::newRow("mnbar") << Texts{"Warmlog anzeigen", "Info", "-", "Beenden"};
    }

    void startTexts()
    {
        QFETCH(QStringList, texts);
        WindowRig rig;
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        QWidget *menu = name == u"bar"_s ? static_cast<QWidget *>(rig.form->menuBar())
                                         : rig.form->findChild<QMenu *>(name);
        QCOMPARE(menu ? menuItems(menu) : rig.show(QTest::currentDataTag()), texts);
    }

    void startState()
    {
        WindowRig rig;
        Form1 &form = *rig.form;

        // The system's time format, with seconds.
        rig.clock.time = QTime(9, 3, 7);
        QTRY_VERIFY(named<QLineEdit>(form, "Text4")->text().startsWith(u"09:03:07 "_s));
        QCOMPARE(named<QPushButton>(form, "Command2")->toolTip(),
                 u"Setzt die Min/Max Anzeige auf die aktuelle Temperatur."_s);
        QCOMPARE(named<QTimer>(form, "Timer2")->interval(), 1000);
        for (const char *box : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"})
            QVERIFY2(!named<QLineEdit>(form, box)->isEnabled(), box);
        QVERIFY(form.centralWidget());
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
        for (const QAction *item : named<QMenu>(form, "m_anschluss")->actions())
            QVERIFY(!item->isChecked());
    }

    void portSelection_data()
    {
        QTest::addColumn<int>("before"); // a port chosen earlier where the device answered; 0: none
        QTest::addColumn<int>("port");
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QStringList>("extremes"); // Text2, Text3

        QTest::newRow("Com 1") << 0 << 1 << Answers{5, 7, 128, 129} << true
                               << Texts{"25.1", "25.4"};
        QTest::newRow("Com 3 silent") << 0 << 3 << Answers{} << false << Texts{"-", "-"};
        QTest::newRow("Com 4, byte 0")
            << 0 << 4 << Answers{0, 0, 81, 80} << true << Texts{"10", "9.6"};
        QTest::newRow("test silent") << 0 << 2 << Answers{9, -1} << false << Texts{"-", "-"};
        QTest::newRow("no values") << 0 << 1 << Answers{1, 1, 0, -1} << true << Texts{"-", "-"};
        QTest::newRow("same port again")
            << 2 << 2 << Answers{5, 7, 130, 131} << true << Texts{"25.8", "26.1"};
        QTest::newRow("silent after device")
            << 1 << 3 << Answers{} << false << Texts{"25.1", "25.4"};
    }

    void portSelection()
    {
        QFETCH(int, before);
        QFETCH(int, port);
        QFETCH(Answers, answers);
        QFETCH(bool, found);
        QFETCH(Texts, extremes);
        WindowRig rig;
        if (before) {
            rig.serial.answers = {5, 7, 128, 129};
            named<QMenu>(*rig.form, "m_anschluss")->actions().at(before - 1)->trigger();
            rig.clock.time = QTime(15, 0, 0);
            rig.form->Timer2_Timer();
            rig.serial.calls.clear();
        }

        rig.serial.answers = answers;
        named<QMenu>(*rig.form, "m_anschluss")->actions().at(port - 1)->trigger();

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
        for (const QAction *item : named<QMenu>(*rig.form, "m_anschluss")->actions())
            QCOMPARE(item->isChecked(), item->objectName().endsWith(QString::number(port)));
        QCOMPARE(named<QTimer>(*rig.form, "Timer1")->isActive(), found || before);
        QCOMPARE(named<QTimer>(*rig.form, "Timer1")->interval(), found || before ? 1000 : 0);
        // Left to the first tick; the times stay those of start-up.
        const QString started = clockField(StartTime);
        QCOMPARE(rig.show("Text1 caption Text5 Text6"),
                 Texts({Hyphens, "Warmlog", started, started}));
    }

    void portList_data()
    {
        QTest::addColumn<QByteArray>("com1"); // WARMLOG_COM1
        QTest::addColumn<Ports>("ports");
        QTest::addColumn<QStringList>("listed"); // below Com 1 to Com 4

        QTest::newRow("none") << QByteArray() << Ports{} << Texts{};
        QTest::newRow("two") << QByteArray()
                             << Ports{{"ttyUSB0", "FT232R USB UART"}, {"ttyACM0", ""}}
                             << Texts{"-", "ttyUSB0 (FT232R USB UART)", "ttyACM0"};
        QTest::newRow("Com 1 to 4")
            << QByteArray() << Ports{{"ttyS0", "x"}, {"ttyS3", ""}} << Texts{};
        QTest::newRow("Com 1 by link")
            << QByteArray("link") << Ports{{"null", ""}, {"ttyS0", ""}} << Texts{"-", "ttyS0"};
        QTest::newRow("ampersand")
            << QByteArray() << Ports{{"ttyS9", "A&B"}} << Texts{"-", "ttyS9 (A&&B)"};
    }

    void portList()
    {
        QFETCH(QByteArray, com1);
        QFETCH(Ports, ports);
        QFETCH(QStringList, listed);
        QTemporaryDir dir;
        const QString link = dir.filePath(u"com1"_s);
        QVERIFY(com1.isEmpty() || QFile::link(u"/dev/null"_s, link));
        qputenv("WARMLOG_COM1", com1.isEmpty() ? QByteArray() : QFile::encodeName(link));
        WindowRig rig;
        // What the menu listed when it opened before is gone.
        rig.ports.offered = {{"ttyUSB7", "gone"}};
        menuItems(named<QMenu>(*rig.form, "m_anschluss"));
        rig.ports.offered = ports;

        auto *menu = named<QMenu>(*rig.form, "m_anschluss");
        QCOMPARE(menuItems(menu), Texts({"Com &1", "Com &2", "Com &3", "Com &4"}) + listed);
        if (listed.isEmpty())
            return;
        // The last one chosen; its check mark stays when the list is read anew.
        named<QLabel>(*rig.form, "Label7")->setToolTip(u"stale"_s);
        rig.serial.defaultAnswer = 128;
        menu->actions().constLast()->trigger();
        QCOMPARE(rig.show("Label7"), Texts{u"Spion an "_s + ports.constLast().systemName});
        QCOMPARE(named<QLabel>(*rig.form, "Label7")->toolTip(), QString());
        menuItems(menu);
        for (const QAction *item : menu->actions())
            QCOMPARE(item->isChecked(), item == menu->actions().constLast());
    }

    // The real library on a port only the list names, against the simulator.
    void listedPortOnSimulator()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath(u"spion"_s);
        QProcess simulator;
        simulator.start(QStringLiteral(WARMLOG_DEVSIM),
                        {u"--link"_s, link, u"--temp-byte"_s, "128"});
        QTRY_VERIFY(simulator.canReadLine());
        const QString name = QFileInfo(link).canonicalFilePath().mid(5); // "pts/N"
        QtSerialModule serial;
        FixedClock clock;
        OfferedPorts ports;
        ports.offered = {{name, "Spion"}};
        Form1 form(serial, Platform{&clock, nullptr, nullptr, nullptr, nullptr, &ports});
        auto *menu = named<QMenu>(form, "m_anschluss");
        menuItems(menu);
        menu->actions().constLast()->trigger();
        QCOMPARE(named<QLabel>(form, "Label7")->text(), u"Spion an "_s + name);
        QCOMPARE(named<QLineEdit>(form, "Text2")->text(), u"25.1 °C"_s);
        QTRY_COMPARE(form.windowTitle(), u"Warmlog 25.1 °C"_s); // the measurement's own timer
        QVERIFY(menu->actions().constLast()->isChecked());
        simulator.terminate();
        simulator.waitForFinished();
    }

    void tick_data()
    {
        QTest::addColumn<Answers>("battery");
        QTest::addColumn<bool>("charging"); // what the panel shows before
        QTest::addColumn<int>("switched");  // 1 on, 0 off, -1 left as it was
        QTest::addColumn<QString>("volts");

        QTest::newRow("3.9") << Answers{35, 35} << false << 1 << " 3.9";
        QTest::newRow("4.0, first tick") << Answers{36, 36, 36} << false << -1 << " 4";
        QTest::newRow("4.1") << Answers{37, 37, 37} << true << 0 << " 4.1";
        QTest::newRow("panel apart") << Answers{37, 35} << false << 1 << " 4.1";
        QTest::newRow("4.0, then 4.1") << Answers{36, 36, 37} << true << 0 << " 4";
        QTest::newRow("4.1, then 4.0") << Answers{37, 37, 36} << true << -1 << " 4.1";
        QTest::newRow("silent") << Answers{-1, -1} << false << 1 << " .3";
    }

    void tick()
    {
        QFETCH(Answers, battery);
        QFETCH(bool, charging);
        QFETCH(int, switched);
        QFETCH(QString, volts);
        WindowRig rig;
        const QString yes = u"Laden: ja "_s;
        const QString no = u"Laden: nein "_s;
        named<KeyedStatusBar>(*rig.form, "StatusBar1")
            ->setPanelText(u"Ubatjn"_s, charging ? yes : no);
        rig.serial.answers = battery + Answers{128, 129, 130};

        rig.form->Timer1_Timer();

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

    void temperatur_data()
    {
        QTest::addColumn<QStringList>("before"); // minimum, maximum
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("reset"); // Text1 when Command2 is clicked; empty: a reading

        QTest::newRow("9.6 below 10.1") << Texts{"10.1", "20"} << 80 << Texts{"9.6", "20"} << "";
        QTest::newRow("10.3 above 9.5") << Texts{"-2", "9.5"} << 82 << Texts{"-2", "10.3"} << "";
        QTest::newRow("= minimum") << Texts{"25.1", "30"} << 128 << Texts{"25.1", "30"} << "";
        QTest::newRow("= maximum") << Texts{"20", "25.1"} << 128 << Texts{"20", "25.1"} << "";
        QTest::newRow("min only") << Texts{"25.4", "24.8"} << 128 << Texts{"25.1", "24.8"} << "";
        QTest::newRow("hyphens") << Texts{"-", "-"} << 128 << Texts{"25.1", "-"} << "";
        QTest::newRow("hyphens in max") << Texts{"20", "-"} << 128 << Texts{"20", "25.1"} << "";
        QTest::newRow("silent, hyphens") << Texts{"-", "-"} << -1 << Texts{"-", "-"} << "";
        // Without a reading in Text1 the extremes start empty.
        QTest::newRow("reset") << Texts{"-20.2", "20"} << 0 << Texts{"-.3", "-.3"} << "-.3 °C";
        QTest::newRow("reset, silent") << Texts{"-20.2", "20"} << 0 << Texts{"-", "-"} << "0 °C";
    }

    void temperatur()
    {
        QFETCH(QStringList, before);
        QFETCH(int, answer);
        QFETCH(QStringList, after);
        QFETCH(QString, reset);
        WindowRig rig;
        named<QLineEdit>(*rig.form, "Text1")->setText(reset);
        named<QLineEdit>(*rig.form, "Text2")->setText(shown(before.at(0)));
        named<QLineEdit>(*rig.form, "Text3")->setText(shown(before.at(1)));
        rig.clock.time = QTime(15, 30, 45);
        rig.form->Timer2_Timer();
        // The times come from the clock field, not from the clock.
        rig.clock.time = QTime(15, 30, 46);
        rig.serial.answers = {qint16(answer)};

        if (reset.isEmpty())
            rig.form->temperatur();
        else
            named<QPushButton>(*rig.form, "Command2")->click();

        QCOMPARE(rig.serial.calls, reset.isEmpty() ? exchange(22, answer) : Texts{});
        const QString then = clockField(QTime(15, 30, 45));
        const QString start = clockField(StartTime);
        QCOMPARE(rig.show("Text2 Text3 Text5 Text6"),
                 QStringList({shown(after.at(0)), shown(after.at(1)),
                              after.at(0) == before.at(0) ? start : then,
                              after.at(1) == before.at(1) ? start : then}));
    }

    void steps_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("tip");      // of the icon shown
        QTest::addColumn<QString>("requests"); // to the notification area, the port and the end

        const QString caption = u"Warmlog"_s;
        const QString first = u"Warmlog 25.1 °C"_s;
        const QString second = u"Warmlog 25.4 °C"_s;
        const QString add = u"NIM_ADD "_s;
        const QString quit = u"CLOSECOM|NIM_DELETE|END"_s;
        const QString none;
        QTest::newRow("start to tray") << "tick,minimise,tick"
                                       << "tray" << first << add + first;
        QTest::newRow("tray to shown") << "minimise,left"
                                       << "shown minimised" << caption << add + caption;
        QTest::newRow("tray to start") << "minimise,anzeigen"
                                       << "start" << none << add + caption + "|NIM_DELETE";
        QTest::newRow("tray, other clicks") << "minimise,double,middle"
                                            << "tray" << caption << add + caption;
        QTest::newRow("shown to restored") << "minimise,left,task bar"
                                           << "restored with icon" << caption << add + caption;
        QTest::newRow("restored stays") << "minimise,left,task bar,left"
                                        << "restored with icon" << caption << add + caption;
        // The second add is refused: one icon, with the first tool tip.
        QTest::newRow("restored to tray") << "tick,minimise,left,task bar,tick,minimise"
                                          << "tray" << first << add + first + "|" + add + second;
        QTest::newRow("start to tray again")
            << "tick,minimise,anzeigen,tick,minimise"
            << "tray" << second << add + first + "|NIM_DELETE|" + add + second;
        // Without a notification area nothing could bring a hidden window back.
        QTest::newRow("no area") << "no area,minimise"
                                 << "task bar" << none << none;
        // A panel gone with the icon gives the window back for good.
        QTest::newRow("tray, area gone") << "minimise,area gone,minimise"
                                         << "task bar" << none << add + caption + "|NIM_DELETE";
        QTest::newRow("shown, area gone") << "minimise,left,area gone"
                                          << "start" << none << add + caption + "|NIM_DELETE";
        // The ways out.
        QTest::newRow("close box, No") << "port,close box"
                                       << "start" << none << none;
        QTest::newRow("Ende, no port, Yes") << "yes,ende"
                                            << "start" << none << quit;
        QTest::newRow("Beenden, No") << "port,minimise,beenden"
                                     << "tray" << caption << add + caption;
        QTest::newRow("log out, Yes") << "port,minimise,yes,close box"
                                      << "gone" << none << add + caption + "|" + quit;
        QTest::newRow("icon removed, Yes")
            << "port,minimise,anzeigen,yes,ende"
            << "start" << none << add + caption + "|NIM_DELETE|" + quit;
    }

    void steps()
    {
        QFETCH(QString, steps);
        WindowRig rig;
        rig.serial.defaultAnswer = 127; // a device that answers, 25.1 °C on the first tick
        rig.form->show();

        const QStringList actions = steps.split(QLatin1Char(','));
        for (const QString &step : actions)
            act(rig, step);

        QTEST(where(rig), "state");
        QTEST(rig.tray.shownTip(), "tip");
        const QRegularExpression request(u"^(NIM_|CLOSECOM|END)"_s);
        QTEST(rig.serial.calls.filter(request).join(QLatin1Char('|')), "requests");
        // Every way out asks once; a No leaves the measurement running.
        QCOMPARE(rig.boxes.calls.size(), actions.count(u"close box"_s) + actions.count(u"ende"_s) +
                                             actions.count(u"beenden"_s));
        for (const ScriptedMessageBoxes::Call &box : std::as_const(rig.boxes.calls))
            QCOMPARE(QStringList({box.prompt, box.title, QString::number(box.style)}),
                     QStringList({"Möchten Sie das Programm wirklich beenden?", "Warmlog", "292"}));
        QVERIFY(named<QTimer>(*rig.form, "Timer2")->isActive());
        QCOMPARE(named<QTimer>(*rig.form, "Timer1")->isActive(), steps.startsWith(u"port"_s));
    }

    void tipCut_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tip");

        const QString full = u"Warmlog "_s + QString(55, QLatin1Char('x'));
        QTest::newRow("64") << full + QLatin1Char('y') << full;
        QTest::newRow("umlauts count once") << QString(70, QChar(0xFC)) << QString(63, QChar(0xFC));
        QTest::newRow("no half character") << full.left(62) + u"\U0001F321"_s << full.left(62);
    }

    void tipCut()
    {
        QFETCH(QString, caption);
        WindowRig rig;
        rig.form->show();
        rig.form->setWindowTitle(caption);
        act(rig, u"minimise"_s);
        QTEST(rig.tray.shownTip(), "tip");
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
