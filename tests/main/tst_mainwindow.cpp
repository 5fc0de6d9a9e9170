#include "device/qtseriallink.h"
#include "info/infobox.h"
#include "support/windowrig.h"

#include <functional>

using namespace Qt::StringLiterals;

const QString Hyphens = u"-----------------"_s;
const QString NoDevice = u"Kein Spion !!!"_s;
const QString Started = clockText(FixedClock().time) + u" Uhr"_s;
const QString Author =
    u"\t\r\n\t\r\nVon Jonas Feldkamp\t\r\n\t\r\nE-Mail: jonas.feldkamp@example.org"_s;

using Answers = QList<qint16>;
using Texts = QStringList;

class TestMainWindow : public QObject
{
    Q_OBJECT

    // The items of a menu as it opens, "-" for a separator.
    static QStringList menuItems(QMenu *menu)
    {
        Q_EMIT menu->aboutToShow();
        QStringList shown;
        for (const QAction *action : menu->actions())
            shown << (action->isSeparator() ? u"-"_s : action->text());
        return shown;
    }
    // "-" for the hyphens, otherwise a temperature without its unit.
    static QString shown(const QString &t) { return t == u"-"_s ? Hyphens : t + u" °C"_s; }

    // A user's step, or: a measurement tick, a Yes to the next question, the area gone.
    static void act(WindowRig &rig, const QString &step)
    {
        const auto fromIconMenu = [&rig](const char *item) {
            rig.tray.click(QSystemTrayIcon::Context);
            QVERIFY(named<QMenu>(*rig.form, "mnbar")->isVisible());
            named<QMenu>(*rig.form, "mnbar")->hide();
            named<QAction>(*rig.form, item)->trigger();
        };
        const QHash<QString, std::function<void()>> steps = {
            {"minimise", [&] { rig.form->setWindowState(Qt::WindowMinimized); }},
            {"task bar", [&] { rig.form->setWindowState(Qt::WindowNoState); }},
            {"left click", [&] { rig.tray.click(QSystemTrayIcon::Trigger); }},
            {"double click", [&] { rig.tray.click(QSystemTrayIcon::DoubleClick); }},
            {"middle click", [&] { rig.tray.click(QSystemTrayIcon::MiddleClick); }},
            {"Warmlog anzeigen", [&] { fromIconMenu("mnBarShowWindow"); }},
            {"Beenden", [&] { fromIconMenu("mnBarExit"); }},
            {"close box", [&] { rig.form->close(); }},
            {"Ende", [&] { named<QAction>(*rig.form, "m_datei_ende")->trigger(); }},
            {"Com 1", [&] { named<QAction>(*rig.form, "m_a_com1")->trigger(); }},
            {"tick", [&] { rig.form->measure(); }},
            {"Yes next", [&] { rig.boxes.answers << MessageBoxes::Answer::Yes; }},
            {"area gone", [&] {
                 rig.tray.available = false; // the icon goes at the next check
                 QTRY_VERIFY_WITH_TIMEOUT(!rig.tray.shown, 10 * int(TrayIcon::AreaCheck.count()));
             }}};
        QVERIFY2(steps.contains(step), qPrintable(step));
        steps[step]();
    }

private Q_SLOTS:

    // The fixed texts and the state after start-up; portSelection() checks the other fields.
    void start()
    {
        WindowRig rig;
        MainWindow &form = *rig.form;
        QCOMPARE(
            rig.show("Label7 Text2 Text3 Text4 Hilfe Ubat Ubatjn Command2 Frame1 Label1 Label4 "
                     "Frame2 Label2 Label3 Label5 Label6 Frame3"),
            Texts({NoDevice, Hyphens, Hyphens, Started, "Warmlog ist von Jonas Feldkamp ",
                   "Batteriespannung: unbekannt ", "Laden: nein ", "&Reset Min/Max Anzeige",
                   "Laufende Messung:", "Aktuelle Temperatur:", "Aktuelle Uhrzeit:",
                   "Min/Max Anzeige:", "Min:", "Max:", "um:", "um:", "Einstellungen:"}));
        QCOMPARE(named<QWidget>(form, "Command2")->toolTip(),
                 u"Setzt die Min/Max Anzeige auf die aktuelle Temperatur."_s);
        // The notification icon's menu, never in the bar, and the bar's menus.
        Texts menus = {menuItems(named<QMenu>(form, "mnbar")).join(u", "_s)};
        for (const QAction *item : form.menuBar()->actions())
            menus << item->text() + u": "_s + menuItems(item->menu()).join(u", "_s);
        QCOMPARE(menus, Texts({"Warmlog anzeigen, Info, -, Beenden",
                               "&Datei: &Log Datei erstellen, &Messreihe aufzeichnen …, -, &Ende",
                               "&Anschluss: Com &1, Com &2, Com &3, Com &4",
                               "&?: &So sieht der Spion von innen aus, &Info"}));
        for (const char *box : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"})
            QVERIFY2(!named<QWidget>(form, box)->isEnabled(), box);
        // Both Info items show the same box; a hidden window stays hidden.
        QCOMPARE(infoBoxText(2, 10, 11), u"Version: 2. 10. 11. "_s + Author);
        named<QAction>(form, "m_f_info")->trigger();
        named<QAction>(form, "mnbarinfo")->trigger();
        QCOMPARE(rig.serial.calls,
                 Texts(2, "Warmlog: Version: 2. 0. 0. " + Author + " (Information)"));
        QVERIFY(!form.isVisible());
        QVERIFY(form.centralWidget() && form.minimumSize() == form.maximumSize());
        QCOMPARE(form.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint),
                 Qt::WindowMinimizeButtonHint);
        QCOMPARE(named<QTimer>(form, "Timer2")->interval(), 1000); // the clock's own
        rig.clock.time = QTime(9, 3, 7); // shown in the system's time format, with seconds
        QTRY_COMPARE(rig.show("Text4"), Texts{usClock() ? u"9:03:07 AM Uhr"_s : u"09:03:07 Uhr"_s});
    }

    void portSelection_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QStringList>("extremes"); // Text2, Text3; 20 and 30 before
        QTest::addColumn<bool>("quiet");

        const Answers echo{1, 1, 22, 22};
        QTest::newRow("Com 1") << 1 << Answers{5, 7, 128, 129} << true << Texts{"25.1", "25.4"}
                               << true;
        QTest::newRow("Com 2 silent") << 2 << Answers{9, -1} << false << Texts{"20", "30"} << true;
        QTest::newRow("Com 3 silent") << 3 << Answers{} << false << Texts{"20", "30"} << true;
        QTest::newRow("Com 4, byte 0")
            << 4 << Answers{0, 0, 81, 80} << true << Texts{"10", "9.6"} << true;
        QTest::newRow("no values")
            << 1 << Answers{1, 1, 0, -1} << true << Texts{"20", "30"} << true;
        QTest::newRow("apart") << 1 << Answers{1, 1, 128, 130} << true << Texts{"20", "30"} << true;
        QTest::newRow("noisy") << 1 << Answers{1, 1, 128, 128} << true << Texts{"20", "30"}
                               << false;
        QTest::newRow("noise only") << 2 << Answers{} << false << Texts{"20", "30"} << false;
        // Only a line that also returns the probe unchanged is a loopback.
        QTest::newRow("loopback") << 1 << echo + Answers{0xA5} << false << Texts{"20", "30"}
                                  << true;
        QTest::newRow("at -16.9") << 1 << echo << true << Texts{"-16.9", "-16.9"} << true;
    }

    void portSelection()
    {
        QFETCH(int, port);
        QFETCH(Answers, answers);
        QFETCH(bool, found);
        QFETCH(Texts, extremes);
        QFETCH(bool, quiet);
        WindowRig rig;
        // What an earlier choice left, with the clock moved on.
        rig.put("Label7 Text2 Text3 Text4", {"Spion an Com 4", "20 °C", "30 °C", "15:00:00 Uhr"});
        rig.serial.answers = answers;
        rig.serial.quiet = quiet;
        named<QMenu>(*rig.form, "m_anschluss")->actions().at(port - 1)->trigger();

        QCOMPARE(rig.serial.calls.first(), u"open COM%1:9600,n,8,1"_s.arg(port));
        // The wake-up's pings, one if answered, else three (see the protocol's test), and the ping.
        QCOMPARE(rig.serial.calls.count(u"sendByte 1"_s), answers.isEmpty() ? 4 : 2);
        // Text1 is left to the first tick; the extremes' times stay.
        QCOMPARE(rig.show("Label7 Text2 Text3 Text1 caption Text5 Text6"),
                 Texts({found ? u"Spion an Com %1"_s.arg(port) : NoDevice, shown(extremes.at(0)),
                        shown(extremes.at(1)), Hyphens, "Warmlog", Started, Started}));
        for (const QAction *item : named<QMenu>(*rig.form, "m_anschluss")->actions())
            QCOMPARE(item->isChecked(), item->objectName().endsWith(QString::number(port)));
        QCOMPARE(named<QTimer>(*rig.form, "Timer1")->isActive(), found);
        // The probe goes only where every answer was the command itself.
        QCOMPARE(rig.serial.calls.contains(u"sendByte 165"_s),
                 (answers.mid(0, 4) == Answers{1, 1, 22, 22}));
        const QString tip = named<QWidget>(*rig.form, "Label7")->toolTip();
        QCOMPARE(tip.contains(u"Loopback"_s), answers.size() > 4);
        QCOMPARE(tip.contains(u"nach denen niemand gefragt hat"_s), !quiet && !found);
    }

    // Other ports below Com 1 to Com 4, read anew as the menu opens, one chosen with the real
    // library against the simulator. Com 1 is a link to /dev/null here, so ttyS0 is another port.
    void listedPorts()
    {
#ifndef WARMLOG_DEVSIM
        QSKIP("the simulator needs POSIX pseudo-terminals");
#else
        QTemporaryDir dir;
        const QString com1 = dir.filePath(u"com1"_s), link = dir.filePath(u"spion"_s);
        QVERIFY(QFile::link(u"/dev/null"_s, com1));
        qputenv("WARMLOG_COM1", QFile::encodeName(com1));
        const auto unset = qScopeGuard([] { qunsetenv("WARMLOG_COM1"); });
        QProcess simulator;
        simulator.start(QStringLiteral(WARMLOG_DEVSIM), {"--link", link, "--temp-byte", "128"});
        QTRY_VERIFY(simulator.canReadLine());
        const QString name = QFileInfo(link).canonicalFilePath().mid(5); // "pts/N"
        QtSerialLink serial;
        WindowRig rig;
        rig.form = std::make_unique<MainWindow>(serial, rig.platform);
        auto *menu = named<QMenu>(*rig.form, "m_anschluss");
        rig.ports.offered = {{"ttyUSB0", "A&B"}, {"ttyS0", ""}, {"ttyS4", ""}, {name, ""}};
        QCOMPARE(menuItems(menu).mid(4), Texts({"-", "ttyUSB0 (A&&B)", "ttyS0", "ttyS4", name}));
        auto *label = named<QWidget>(*rig.form, "Label7");
        label->setToolTip(u"stale"_s);
        menu->actions().constLast()->trigger();
        QCOMPARE(rig.show("Label7") << label->toolTip(), Texts({"Spion an " + name, ""}));
        QTRY_COMPARE(rig.show("caption"), Texts{u"Warmlog 25.1 °C"_s}); // the measurement's timer
        // Its check mark stays when the list is read anew; what the list showed before goes.
        menuItems(menu);
        for (const QAction *item : menu->actions())
            QCOMPARE(item->isChecked(), item == menu->actions().constLast());
        rig.ports.offered = {{"null", ""}, {"ttyS1", "x"}, {"ttyS3", ""}};
        QCOMPARE(menuItems(menu).mid(4), Texts());
        // A reading that comes in later replaces the list, also while the menu is open.
        rig.ports.offered = {{"ttyACM0", ""}};
        Q_EMIT rig.ports.changed();
        QCOMPARE(menu->actions().constLast()->text(), u"ttyACM0"_s);
        simulator.terminate();
        simulator.waitForFinished();
#endif
    }

    void noisyLine_data()
    {
        QTest::addColumn<QByteArray>("on"); // the simulator's control lines, ";" between them
        QTest::addColumn<QByteArray>("off");
        // Doubled answers come 2 ms late, as at 9600 baud, so that a copy overtakes the next one.
        const char *const rows[][3] = {
            {"bursts every 2 ms", "stray-every 2", "stray-every 0"},
            {"bursts every 40 ms", "stray-every 40", "stray-every 0"},
            {"flood", "flood on", "flood off"},
            {"doubled 1 ms apart", "delay 2;double 1", "double 0;delay 0"},
            {"doubled 5 ms apart", "delay 2;double 5", "double 0;delay 0"},
            {"echo", "echo on;silent on", "echo off;silent off"}};
        for (const auto &[name, on, off] : rows)
            QTest::newRow(name) << QByteArray(on) << QByteArray(off);
    }
    // The real library against the simulator at 25.1 °C: while the line misbehaves no field
    // shows another temperature, and within 2 s of a quiet line the readings are back.
    void noisyLine()
    {
#ifndef WARMLOG_DEVSIM
        QSKIP("the simulator needs POSIX pseudo-terminals");
#else
        QFETCH(QByteArray, on);
        QFETCH(QByteArray, off);
        QTemporaryDir dir;
        const QString link = dir.filePath(u"com1"_s);
        qputenv("WARMLOG_COM1", QFile::encodeName(link));
        const auto unset = qScopeGuard([] { qunsetenv("WARMLOG_COM1"); });
        QProcess simulator;
        simulator.start(QStringLiteral(WARMLOG_DEVSIM),
                        {"--link", link, "--temp-byte", "128", "--battery-byte", "37"});
        QTRY_VERIFY(simulator.canReadLine());
        const auto control = [&link](const QByteArray &lines) {
            QFile fifo(link + u".ctl"_s);
            QVERIFY(fifo.open(QIODevice::WriteOnly) &&
                    fifo.write(lines.split(';').join('\n') + '\n'));
        };
        QtSerialLink serial;
        WindowRig rig;
        rig.form = std::make_unique<MainWindow>(serial, rig.platform);
        act(rig, u"Com 1"_s);
        QCOMPARE(rig.show("Label7 Text2 Text3"), Texts({"Spion an Com 1", "25.1 °C", "25.1 °C"}));
        static const QRegularExpression right(
            u"^(25.1|0) °C\\|25.1 °C\\|25.1 °C\\|Batteriespannung: ( 4.1 Volt |unbekannt )$"_s);
        const auto ticks = [&rig](int count) {
            for (int i = 0; i < count; ++i, QTest::qWait(100)) {
                rig.form->measure();
                const QString now = rig.show("Text1 Text2 Text3 Ubat").join(u'|');
                QVERIFY2(right.match(now).hasMatch(), qPrintable(now));
            }
        };
        control(on);
        ticks(15);
        control(off);
        // Each try is a tick of its own.
        QTRY_COMPARE_WITH_TIMEOUT((rig.form->measure(), rig.show("Text1")), Texts{u"25.1 °C"_s},
                                  2000);
        ticks(3);
        simulator.terminate();
        simulator.waitForFinished();
#endif
    }

    void measurementTick_data()
    {
        QTest::addColumn<Answers>("battery");
        QTest::addColumn<Answers>("temperatures");
        QTest::addColumn<bool>("quiet");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("shown"); // Ubat, Ubatjn ("before": as it was), Text1, Text2

        const Answers room{128, 128, 129};
        const Texts unknown{"Batteriespannung: unbekannt ", "before", "0 °C", Hyphens};
        QTest::newRow("4.0, then 3.9")
            << Answers{36, 35} << room << true << Texts{"setDtr 1", "setRts 1"}
            << Texts{" 4", "Laden: ja ", "25.1 °C", "25.4 °C"};
        QTest::newRow("4.0") << Answers{36, 36, 36} << room << true << Texts{}
                             << Texts{" 4", "before", "25.1 °C", "25.4 °C"};
        QTest::newRow("4.0, then 4.1")
            << Answers{36, 36, 37} << room << true << Texts{"setDtr 0", "setRts 0"}
            << Texts{" 4", "Laden: nein ", "25.1 °C", "25.4 °C"};
        QTest::newRow("4.1, then 4.0") << Answers{37, 37, 36} << room << true << Texts{}
                                       << Texts{" 4.1", "before", "25.1 °C", "25.4 °C"};
        // A silent device: 0.3 V, charging on, no temperature.
        QTest::newRow("silent") << Answers{-1, -1} << Answers{-1, -1, -1} << true
                                << Texts{"setDtr 1", "setRts 1"}
                                << Texts{" .3", "Laden: ja ", "0 °C", Hyphens};
        // Held back: what disagrees, or all of it on a noisy or echoing line.
        QTest::newRow("battery apart") << Answers{37, 39, 37} << room << true << Texts{}
                                       << Texts{unknown.mid(0, 2) + Texts{"25.1 °C", "25.4 °C"}};
        QTest::newRow("temperatures apart")
            << Answers{37, 37, 37} << Answers{37, 128, 128} << true << Texts{"setDtr 0", "setRts 0"}
            << Texts{" 4.1", "Laden: nein ", "0 °C", Hyphens};
        QTest::newRow("noisy") << Answers{37, 37, 37} << room << false << Texts{} << unknown;
        QTest::newRow("echo") << Answers{37, 37, 37} << Answers{22, 22, 22, 0xA5} << true << Texts{}
                              << unknown;
        QTest::newRow("at -16.9") << Answers{37, 37, 37} << Answers{22, 22, 22} << true
                                  << Texts{"setDtr 0", "setRts 0"}
                                  << Texts{" 4.1", "Laden: nein ", "-16.9 °C", "-16.9 °C"};
    }

    void measurementTick()
    {
        QFETCH(Answers, battery);
        QFETCH(Answers, temperatures);
        QFETCH(bool, quiet);
        QFETCH(QStringList, shown);
        WindowRig rig;
        rig.put("Ubatjn", {"before"});
        rig.serial.answers = battery + temperatures;
        rig.serial.quiet = quiet;

        rig.form->measure();

        QTEST(rig.serial.calls.filter(QRegularExpression(u"^(setDtr|setRts) "_s)), "lines");
        // The bytes asked are those of every tick, and a probe where every temperature answer
        // was the command itself.
        QCOMPARE(rig.serial.calls.filter(u"sendByte"_s).join(u' ').remove(u"sendByte "_s),
                 (battery.size() == 2 ? u"25 25 22 22 22"_s : u"25 25 25 22 22 22"_s) +
                     (temperatures.startsWith(22) ? u" 165"_s : u""_s));
        // Text1, the caption and the extremes each take their own reading, in this order.
        QCOMPARE(rig.show("Ubat Ubatjn Text1 caption Text2 Text3"),
                 Texts({shown[0].startsWith(u' ') ? "Batteriespannung: " + shown[0] + " Volt "
                                                  : shown[0],
                        shown[1], shown[2], "Warmlog " + shown[2], shown[3], Hyphens}));
    }

    // A reading moves an extreme beyond it, with the clock field's time, not the clock's.
    void updateExtremes_data()
    {
        QTest::addColumn<QStringList>("before"); // minimum, maximum
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("10.3 above 9.5") << Texts{"-2", "9.5"} << 82 << Texts{"-2", "10.3"};
        QTest::newRow("= minimum") << Texts{"25.1", "30"} << 128 << Texts{"25.1", "30"};
        QTest::newRow("= maximum") << Texts{"20", "25.1"} << 128 << Texts{"20", "25.1"};
        QTest::newRow("min only") << Texts{"25.4", "24.8"} << 128 << Texts{"25.1", "24.8"};
        QTest::newRow("hyphens in max") << Texts{"20", "-"} << 128 << Texts{"20", "25.1"};
        QTest::newRow("silent, hyphens") << Texts{"-", "-"} << -1 << Texts{"-", "-"};
    }
    void updateExtremes()
    {
        QFETCH(QStringList, before);
        QFETCH(int, answer);
        QFETCH(QStringList, after);
        WindowRig rig;
        rig.put("Text2 Text3 Text4", {shown(before[0]), shown(before[1]), "15:30:45 Uhr"});
        rig.form->updateExtremes(protocol::temperatureFromAnswer(answer));
        QCOMPARE(rig.show("Text2 Text3 Text5 Text6"),
                 Texts({shown(after[0]), shown(after[1]),
                        after[0] == before[0] ? Started : u"15:30:45 Uhr"_s,
                        after[1] == before[1] ? Started : u"15:30:45 Uhr"_s}));
    }

    // Command2 starts both extremes at Text1's reading; without one they start empty.
    void resetExtremes_data()
    {
        QTest::addColumn<QString>("current"); // Text1
        QTest::addColumn<QString>("extremes");
        QTest::newRow("reading") << "-.3 °C"
                                 << "-.3 °C";
        QTest::newRow("silent") << "0 °C" << Hyphens;
    }
    void resetExtremes()
    {
        QFETCH(QString, current);
        WindowRig rig;
        rig.put("Text1 Text2 Text3 Text4", {current, "-20.2 °C", "20 °C", "15:30:45 Uhr"});
        named<QPushButton>(*rig.form, "Command2")->click();
        QFETCH(QString, extremes);
        QCOMPARE(rig.show("Text2 Text3 Text5 Text6"),
                 Texts({extremes, extremes, "15:30:45 Uhr", "15:30:45 Uhr"}));
    }

    // The window's frame in the middle of the screen's work area.
    void centred()
    {
        WindowRig rig;
        rig.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(rig.form.get()));
        QCOMPARE(rig.form->frameGeometry().center(),
                 QGuiApplication::primaryScreen()->availableGeometry().center());
    }

    void steps_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("iconShown");
        QTest::addColumn<bool>("windowVisible");
        QTest::addColumn<bool>("minimised");
        QTest::addColumn<QString>("tip");       // of the icon shown
        QTest::addColumn<QStringList>("calls"); // to the area, the port and the end; questions

        const bool icon = true, visible = true, minimised = true;
        const QString none, plain = u"Warmlog"_s, ticked = u"Warmlog 25.1 °C"_s;
        const QString add = u"tray shows "_s, remove = u"tray hidden"_s;
        const Texts added{add + plain}, removed{add + plain, remove};
        const QString quit = u"Warmlog: Möchten Sie das Programm wirklich beenden? (No first)"_s;
        QTest::newRow("left click")
            << Texts{"minimise", "left click"} << icon << visible << minimised << plain << added;
        QTest::newRow("anzeigen") << Texts{"minimise", "Warmlog anzeigen"} << !icon << visible
                                  << !minimised << none << removed;
        QTest::newRow("other clicks") << Texts{"minimise", "double click", "middle click"} << icon
                                      << !visible << minimised << plain << added;
        // The second add is refused: one icon, with the first tool tip.
        QTest::newRow("restored to tray")
            << Texts{"minimise", "left click", "task bar", "tick", "minimise"} << icon << !visible
            << minimised << plain << added;
        QTest::newRow("tray again")
            << Texts{"minimise", "Warmlog anzeigen", "tick", "minimise"} << icon << !visible
            << minimised << ticked << Texts{add + plain, remove, add + ticked};
        // A panel gone with the icon gives the window back for good.
        QTest::newRow("area gone") << Texts{"minimise", "area gone", "minimise"} << !icon << visible
                                   << minimised << none << removed;
        // The ways out; a No leaves the measurement running.
        QTest::newRow("close box and Beenden, No")
            << Texts{"Com 1", "close box", "minimise", "Beenden"} << icon << !visible << minimised
            << plain << Texts{quit, add + plain, quit};
        QTest::newRow("Ende, Yes") << Texts{"Yes next", "Ende"} << !icon << visible << !minimised
                                   << none << Texts{quit, "close", "END"};
    }

    void steps()
    {
        QFETCH(QStringList, steps);
        WindowRig rig;
        rig.serial.defaultAnswer = 128; // 25.1 °C
        rig.form->show();
        for (const QString &step : steps)
            act(rig, step);

        QTEST(rig.tray.shown, "iconShown");
        QTEST(rig.form->isVisible(), "windowVisible");
        QTEST(rig.form->isMinimized(), "minimised");
        QTEST(rig.tray.shownTip, "tip");
        QTEST(rig.serial.calls.filter(QRegularExpression("^(tray|close|END|Warmlog)")), "calls");
        QCOMPARE(named<QTimer>(*rig.form, "Timer1")->isActive(), steps.contains(u"Com 1"_s));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
