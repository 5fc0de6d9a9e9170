#include "device/qtserialmodule.h"
#include "info/infobox.h"
#include "info/urls.h"
#include "platform/urlopener.h"
#include "support/windowrig.h"

using namespace Qt::StringLiterals;

const QString Hyphens = u"-----------------"_s;
const QString NoDevice = u"Kein Spion !!!"_s;
const QString Started = clockText(FixedClock().time) + u" Uhr"_s;
const QString Author =
    u"\t\r\n\t\r\nVon Jonas Feldkamp\t\r\n\t\r\nE-Mail: jonas.feldkamp@example.org"_s;

using Answers = QList<qint16>;
using Texts = QStringList;
using Steps = QList<void (*)(WindowRig &)>;

class TestForm1 : public QObject, UrlOpener
{
    Q_OBJECT

    QList<int> shellResults; // the scripted shell's, oldest first
    QStringList opened;      // window and address it was asked to open: "URLs https://..."
    int open(QWidget *owner, const QString &address) override
    {
        opened << owner->objectName() + u' ' + address;
        return shellResults.takeFirst();
    }

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
    static void fromIconMenu(WindowRig &rig, const char *item)
    {
        rig.tray.click(QSystemTrayIcon::Context);
        QVERIFY(named<QMenu>(*rig.form, "mnbar")->isVisible());
        named<QMenu>(*rig.form, "mnbar")->hide();
        named<QAction>(*rig.form, item)->trigger();
    }
    static QString where(const WindowRig &rig) // by icon shown, window visible, minimised
    {
        const int at = 4 * rig.tray.isShown() + 2 * rig.form->isVisible() + rig.form->isMinimized();
        return u"gone,gone,start,task bar,gone,tray,restored+icon,minimised+icon"_s.split(u',')[at];
    }

    // The user's steps, a measurement tick, the device found on Com 1, a Yes to the next question.
    static void minimise(WindowRig &rig) { rig.form->setWindowState(Qt::WindowMinimized); }
    static void taskBar(WindowRig &rig) { rig.form->setWindowState(Qt::WindowNoState); }
    static void left(WindowRig &rig) { rig.tray.click(QSystemTrayIcon::Trigger); }
    static void doubleClick(WindowRig &rig) { rig.tray.click(QSystemTrayIcon::DoubleClick); }
    static void middle(WindowRig &rig) { rig.tray.click(QSystemTrayIcon::MiddleClick); }
    static void anzeigen(WindowRig &rig) { fromIconMenu(rig, "mnBarShowWindow"); }
    static void beenden(WindowRig &rig) { fromIconMenu(rig, "mnBarExit"); }
    static void closeBox(WindowRig &rig) { rig.form->close(); }
    static void ende(WindowRig &rig) { named<QAction>(*rig.form, "m_datei_ende")->trigger(); }
    static void port(WindowRig &rig) { named<QAction>(*rig.form, "m_a_com1")->trigger(); }
    static void yes(WindowRig &rig) { rig.boxes.answers << msgbox::AnswerYes; }
    static void areaGone(WindowRig &rig)
    {
        rig.tray.available = false;
        QTest::qWait(int(2 * TrayIcon::AreaCheck.count()));
    }
    static void tick(WindowRig &rig) { rig.form->Timer1_Timer(); }

private Q_SLOTS:

    // The fixed texts and the state after start-up; portSelection() checks the other fields.
    void start()
    {
        WindowRig rig;
        Form1 &form = *rig.form;
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
                               "&Datei: &Log Datei erstellen, -, &Ende",
                               "&Anschluss: Com &1, Com &2, Com &3, Com &4",
                               "&?: &So sieht der Spion von innen aus, &Info"}));
        for (const char *box : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"})
            QVERIFY2(!named<QWidget>(form, box)->isEnabled(), box);
        // Both Info items show the same box; a hidden window stays hidden.
        QCOMPARE(infoBoxText(2, 10, 11), u"Version: 2. 10. 11. "_s + Author);
        named<QAction>(form, "m_f_info")->trigger();
        named<QAction>(form, "mnbarinfo")->trigger();
        QCOMPARE(rig.serial.calls, Texts(2, "Warmlog: Version: 2. 0. 0. " + Author + " (64)"));
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

        QTest::newRow("Com 1") << 1 << Answers{5, 7, 128, 129} << true << Texts{"25.1", "25.4"};
        QTest::newRow("Com 2 silent") << 2 << Answers{9, -1} << false << Texts{"20", "30"};
        QTest::newRow("Com 3 silent") << 3 << Answers{} << false << Texts{"20", "30"};
        QTest::newRow("Com 4, byte 0") << 4 << Answers{0, 0, 81, 80} << true << Texts{"10", "9.6"};
        QTest::newRow("no values") << 1 << Answers{1, 1, 0, -1} << true << Texts{"20", "30"};
    }

    void portSelection()
    {
        QFETCH(int, port);
        QFETCH(Answers, answers);
        QFETCH(bool, found);
        QFETCH(Texts, extremes);
        WindowRig rig;
        // What an earlier choice left, with the clock moved on.
        rig.put("Label7 Text2 Text3 Text4", {"Spion an Com 4", "20 °C", "30 °C", "15:00:00 Uhr"});
        rig.serial.answers = answers;
        named<QMenu>(*rig.form, "m_anschluss")->actions().at(port - 1)->trigger();

        QCOMPARE(rig.serial.calls.first(), u"OPENCOM COM%1:9600,n,8,1"_s.arg(port));
        // The wake-up's pings, one if answered, else three (see the protocol's test), and the ping.
        QCOMPARE(rig.serial.calls.count(u"SENDBYTE 1"_s), answers.isEmpty() ? 4 : 2);
        // Text1 is left to the first tick; the extremes' times stay.
        QCOMPARE(rig.show("Label7 Text2 Text3 Text1 caption Text5 Text6"),
                 Texts({found ? u"Spion an Com %1"_s.arg(port) : NoDevice, shown(extremes.at(0)),
                        shown(extremes.at(1)), Hyphens, "Warmlog", Started, Started}));
        for (const QAction *item : named<QMenu>(*rig.form, "m_anschluss")->actions())
            QCOMPARE(item->isChecked(), item->objectName().endsWith(QString::number(port)));
        QCOMPARE(named<QTimer>(*rig.form, "Timer1")->isActive(), found);
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
        QtSerialModule serial;
        WindowRig rig;
        rig.form = std::make_unique<Form1>(serial, rig.platform);
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
        simulator.terminate();
        simulator.waitForFinished();
#endif
    }

    void measurementTick_data()
    {
        QTest::addColumn<Answers>("battery");
        QTest::addColumn<QString>("volts");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("charging"); // the panel after, "before" as it was

        QTest::newRow("4.1, then 3.9")
            << Answers{37, 35} << " 4.1" << Texts{"DTR 1", "RTS 1"} << "Laden: ja ";
        QTest::newRow("4.0") << Answers{36, 36, 36} << " 4" << Texts{} << "before";
        QTest::newRow("4.0, then 4.1")
            << Answers{36, 36, 37} << " 4" << Texts{"DTR 0", "RTS 0"} << "Laden: nein ";
        QTest::newRow("4.1, then 4.0") << Answers{37, 37, 36} << " 4.1" << Texts{} << "before";
    }

    void measurementTick()
    {
        QFETCH(Answers, battery);
        QFETCH(QString, volts);
        QFETCH(QString, charging);
        WindowRig rig;
        rig.put("Ubatjn", {"before"});
        rig.serial.answers = battery + Answers{128, 129, 130};

        rig.form->Timer1_Timer();

        QTEST(rig.serial.calls.filter(QRegularExpression(u"^(DTR|RTS) "_s)), "lines");
        // Text1, the caption and temperatur each take their own reading, in this order.
        QCOMPARE(rig.show("Ubat Ubatjn Text1 caption Text2 Text3"),
                 Texts({"Batteriespannung: " + volts + " Volt ", charging, "25.1 °C",
                        "Warmlog 25.4 °C", "25.8 °C", Hyphens}));
    }

    void temperatur_data()
    {
        QTest::addColumn<QStringList>("before"); // minimum, maximum
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("reset"); // Text1 when Command2 is clicked; empty: a reading

        QTest::newRow("10.3 above 9.5") << Texts{"-2", "9.5"} << 82 << Texts{"-2", "10.3"} << "";
        QTest::newRow("= minimum") << Texts{"25.1", "30"} << 128 << Texts{"25.1", "30"} << "";
        QTest::newRow("= maximum") << Texts{"20", "25.1"} << 128 << Texts{"20", "25.1"} << "";
        QTest::newRow("min only") << Texts{"25.4", "24.8"} << 128 << Texts{"25.1", "24.8"} << "";
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
        // The times come from the clock field, not from the clock.
        rig.put("Text1 Text2 Text3 Text4",
                {reset, shown(before.at(0)), shown(before.at(1)), "15:30:45 Uhr"});
        rig.serial.answers = {qint16(answer)};

        reset.isEmpty() ? rig.form->temperatur()
                        : named<QPushButton>(*rig.form, "Command2")->click();

        QCOMPARE(rig.serial.calls.size(), reset.isEmpty() ? 2 : 0); // one reading, or none
        QCOMPARE(rig.show("Text2 Text3 Text5 Text6"),
                 Texts({shown(after.at(0)), shown(after.at(1)),
                        after.at(0) == before.at(0) ? Started : u"15:30:45 Uhr"_s,
                        after.at(1) == before.at(1) ? Started : u"15:30:45 Uhr"_s}));
    }

    void steps_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("tip");       // of the icon shown
        QTest::addColumn<QStringList>("calls"); // to the area, the port and the end; questions

        const QString none, plain = u"Warmlog"_s, ticked = u"Warmlog 25.1 °C"_s;
        const QString add = u"NIM_ADD "_s, remove = u"NIM_DELETE"_s;
        const Texts added{add + plain}, removed{add + plain, remove};
        const QString quit = u"Warmlog: Möchten Sie das Programm wirklich beenden? (292)"_s;
        QTest::newRow("left click") << Steps{minimise, left} << "minimised+icon" << plain << added;
        QTest::newRow("anzeigen") << Steps{minimise, anzeigen} << "start" << none << removed;
        QTest::newRow("other clicks")
            << Steps{minimise, doubleClick, middle} << "tray" << plain << added;
        // The second add is refused: one icon, with the first tool tip.
        QTest::newRow("restored to tray") << Steps{minimise, left, taskBar, tick, minimise}
                                          << "tray" << plain << Texts{add + plain, add + ticked};
        QTest::newRow("tray again") << Steps{minimise, anzeigen, tick, minimise} << "tray" << ticked
                                    << Texts{add + plain, remove, add + ticked};
        // A panel gone with the icon gives the window back for good.
        QTest::newRow("area gone")
            << Steps{minimise, areaGone, minimise} << "task bar" << none << removed;
        // The ways out; a No leaves the measurement running.
        QTest::newRow("close box and Beenden, No")
            << Steps{port, closeBox, minimise, beenden} << "tray" << plain
            << Texts{quit, add + plain, quit};
        QTest::newRow("Ende, Yes")
            << Steps{yes, ende} << "start" << none << Texts{quit, "CLOSECOM", remove, "END"};
    }

    void steps()
    {
        QFETCH(Steps, steps);
        WindowRig rig;
        rig.serial.defaultAnswer = 128; // 25.1 °C
        rig.form->show();
        for (const auto step : steps)
            step(rig);

        QTEST(where(rig), "state");
        QTEST(rig.tray.shownTip(), "tip");
        QTEST(rig.serial.calls.filter(QRegularExpression("^(NIM|CLOSECOM|END|Warmlog)")), "calls");
        QCOMPARE(named<QTimer>(*rig.form, "Timer1")->isActive(), steps.contains(port));
    }

    // The real boxes: a question waits for Ja or Nein, the OK box closes on Enter and Esc.
    void realBoxKeys_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("key"); // or the title bar's close box
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Yes first, close box") << 36 << "close box" << msgbox::AnswerYes << false;
        QTest::newRow("No first, Esc") << 292 << "Esc" << msgbox::AnswerNo << false;
        QTest::newRow("No first, Enter") << 292 << "Return" << msgbox::AnswerNo << true;
        QTest::newRow("OK, Esc") << 64 << "Esc" << msgbox::AnswerOk << true;
        QTest::newRow("OK, Enter") << 64 << "Return" << msgbox::AnswerOk << true;
    }

    void realBoxKeys()
    {
        QFETCH(int, style);
        QFETCH(QString, key);
        bool stayed = false;
        QTimer::singleShot(0, this, [key, &stayed] {
            QWidget *box = QApplication::activeModalWidget();
            key == u"close box"_s ? void(box->close()) : QTest::keySequence(box, QKeySequence(key));
            if ((stayed = box->isVisible()))
                QTest::keyClick(box, Qt::Key_Return); // its default button
        });
        QTEST(QtMessageBoxes().show(u"Frage?"_s, style, u"Warmlog"_s), "answer");
        QTEST(!stayed, "closes");
    }

    // Each link opens its address; a box reports the shell's failures, 32 and below.
    void openAddress()
    {
        WindowRig rig;
        shellResults = {0, 2, 31, 32, 33};
        rig.platform.urlOpener = this;
        URLs *links = URLs::showInstance(rig.platform, nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(links));
        for (int i = 1; i <= 5; ++i)
            QTest::mouseClick(links->findChild<QWidget *>(u"Label%1"_s.arg(i)), Qt::LeftButton);
        QCOMPARE(opened,
                 Texts({"URLs https://feldkamp.example.org", "URLs https://www.kobold.example.net",
                        "URLs https://lindner.example.net", "URLs https://renner.example.org",
                        "URLs https://duckduckgo.com"}));
        QCOMPARE(rig.serial.calls, Texts(4, "Warmlog: Kein Internetbrowser installiert ?! (64)"));
        QVERIFY(URLs::instance() == links && links->isVisible());
        delete links;
    }

    // The icon's tool tip keeps what fits of the caption, never half a character.
    void tipCut()
    {
        QCOMPARE(TrayIcon::tipText(QString(70, u'ü')), QString(63, u'ü'));
        QCOMPARE(TrayIcon::tipText(QString(62, u'x') + u"\U0001F321"_s), QString(62, u'x'));
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
