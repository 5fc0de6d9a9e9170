#include "chart/historychart.h"
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

namespace {

// The port chosen, the answers, whether a device is found, the extremes after (20 and 30 before),
// and whether the line is quiet.
const std::tuple<const char *, int, Answers, bool, const char *, const char *, bool> Ports[] = {
    {"Com 1", 1, {5, 7, 128, 129}, true, "25.1", "25.4", true},
    {"Com 2 silent", 2, {9, -1}, false, "20", "30", true},
    {"Com 3 silent", 3, {}, false, "20", "30", true},
    {"Com 4, byte 0", 4, {0, 0, 81, 80}, true, "10", "9.6", true},
    {"no values", 1, {1, 1, 0, -1}, true, "20", "30", true},
    {"apart", 1, {1, 1, 128, 130}, true, "20", "30", true},
    {"noisy", 1, {1, 1, 128, 128}, true, "20", "30", false},
    {"noise only", 2, {}, false, "20", "30", false},
    // Only a line that also returns the probe unchanged is a loopback.
    {"loopback", 1, {1, 1, 22, 22, 0xA5}, false, "20", "30", true},
    {"at -16.9", 1, {1, 1, 22, 22}, true, "-16.9", "-16.9", true}};

// Charging: -1 left as it was, else the level of both lines. The volts are empty where unknown;
// then Text1, and Text2, "-" for the hyphens.
const Answers Room{128, 128, 129};
const std::tuple<const char *, Answers, Answers, bool, int, const char *, const char *,
                 const char *>
    Ticks[] = {{"4.0, then 3.9", {36, 35}, Room, true, 1, " 4", "25.1", "25.4"},
               {"4.0", {36, 36, 36}, Room, true, -1, " 4", "25.1", "25.4"},
               {"4.0, then 4.1", {36, 36, 37}, Room, true, 0, " 4", "25.1", "25.4"},
               {"4.1, then 4.0", {37, 37, 36}, Room, true, -1, " 4.1", "25.1", "25.4"},
               {"silent", {-1, -1}, {-1, -1, -1}, true, 1, " .3", "0", "-"},
               // Held back: what disagrees, or all of it on a noisy or echoing line.
               {"battery apart", {37, 39, 37}, Room, true, -1, "", "25.1", "25.4"},
               {"temperatures apart", {37, 37, 37}, {37, 128, 128}, true, 0, " 4.1", "0", "-"},
               {"noisy", {37, 37, 37}, Room, false, -1, "", "0", "-"},
               {"echo", {37, 37, 37}, {22, 22, 22, 0xA5}, true, -1, "", "0", "-"},
               {"at -16.9", {37, 37, 37}, {22, 22, 22}, true, 0, " 4.1", "-16.9", "-16.9"}};

// The minimum and maximum before, the answer read, and both after.
const std::tuple<const char *, const char *, const char *, int, const char *, const char *>
    Extremes[] = {{"10.3 above 9.5", "-2", "9.5", 82, "-2", "10.3"},
                  {"= minimum", "25.1", "30", 128, "25.1", "30"},
                  {"= maximum", "20", "25.1", 128, "20", "25.1"},
                  {"min only", "25.4", "24.8", 128, "25.1", "24.8"},
                  {"hyphens in max", "20", "-", 128, "20", "25.1"},
                  {"silent, hyphens", "-", "-", -1, "-", "-"}};

// The steps, the state after them, the icon's tip, and the calls to the area, the port and the
// end, and the questions.
enum State { Icon = 1, Visible = 2, Minimised = 4 };
const QString Plain = u"Warmlog"_s, Add = u"tray shows "_s, Ticked = u"Warmlog 25.1 °C"_s;
const QString Quit = u"Warmlog: Möchten Sie das Programm wirklich beenden? (No first)"_s;
const Texts Added{Add + Plain}, Removed{Add + Plain, u"tray hidden"_s},
    NoTwice{Quit, Add + Plain, Quit};
const std::tuple<const char *, const char *, int, QString, Texts> Steps[] = {
    {"left click", "minimise, left click", Icon | Visible | Minimised, Plain, Added},
    {"anzeigen", "minimise, Warmlog anzeigen", Visible, {}, Removed},
    {"other clicks", "minimise, double click, middle click", Icon | Minimised, Plain, Added},
    // The second add is refused: one icon, with the first tool tip.
    {"restored to tray", "minimise, left click, task bar, tick, minimise", Icon | Minimised, Plain,
     Added},
    {"tray again", "minimise, Warmlog anzeigen, tick, minimise", Icon | Minimised, Ticked,
     Removed + Texts{Add + Ticked}},
    // A panel gone with the icon gives the window back for good.
    {"area gone", "minimise, area gone, minimise", Visible | Minimised, {}, Removed},
    // The ways out; a No leaves the measurement running.
    {"close box and Beenden, No", "Com 1, close box, minimise, Beenden", Icon | Minimised, Plain,
     NoTwice},
    {"Ende, Yes", "Yes next, Ende", Visible, {}, {Quit, "close", "END"}}};

} // namespace

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
            auto *menu = named<QMenu>(*rig.form, "mnbar");
            QVERIFY(menu->isVisible() && (menu->hide(), true));
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
                 QTRY_VERIFY_WITH_TIMEOUT(rig.tray.shownTip.isEmpty(),
                                          10 * int(TrayIcon::AreaCheck.count()));
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
                               "&Datei: &Log Datei erstellen, &Messreihe aufzeichnen …, &Verlauf "
                               "anzeigen, -, &Ende",
                               "&Anschluss: Com &1, Com &2, Com &3, Com &4",
                               "&?: &So sieht der Spion von innen aus, &Info"}));
        // No style draws empty check boxes before ports not chosen.
        for (const QAction *item : named<QMenu>(form, "m_anschluss")->actions())
            QVERIFY2(!item->isCheckable(), qPrintable(item->text()));
        for (const char *box : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"})
            QVERIFY2(!named<QWidget>(form, box)->isEnabled(), box);
        // Both Info items show the same box; a hidden window stays hidden.
        QCOMPARE(infoBoxText(2, 10, 11), u"Version: 2. 10. 11. "_s + Author);
        named<QAction>(form, "m_f_info")->trigger();
        named<QAction>(form, "mnbarinfo")->trigger();
        QCOMPARE(rig.serial.calls,
                 Texts(2, "Warmlog: Version: 2. 0. 0. " + Author + " (Information)"));
        QVERIFY(!form.isVisible() && form.minimumSize() == form.maximumSize());
        QCOMPARE(form.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint),
                 Qt::WindowMinimizeButtonHint);
        rig.clock.time = QTime(9, 3, 7); // shown in the system's time format, with seconds
        QTRY_COMPARE(rig.show("Text4"), Texts{usClock() ? u"9:03:07 AM Uhr"_s : u"09:03:07 Uhr"_s});
    }

    void portSelection_data() { addRows(Ports); }
    void portSelection()
    {
        const auto &[tag, port, answers, found, minimum, maximum, quiet] = fetchRow(Ports);
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
                 Texts({found ? u"Spion an Com %1"_s.arg(port) : NoDevice, shown(minimum),
                        shown(maximum), Hyphens, "Warmlog", Started, Started}));
        // Only the chosen item is checkable, and checked.
        for (const QAction *item : named<QMenu>(*rig.form, "m_anschluss")->actions()) {
            const bool chosen = item->objectName().endsWith(QString::number(port));
            QCOMPARE(QList<bool>({item->isCheckable(), item->isChecked()}),
                     QList({chosen, chosen}));
        }
        QCOMPARE(named<QTimer>(*rig.form, "Timer1")->isActive(), found);
        // The probe goes only where every answer was the command itself.
        QCOMPARE(rig.serial.calls.contains(u"sendByte 165"_s),
                 (answers.mid(0, 4) == Answers{1, 1, 22, 22}));
        const QString tip = named<QWidget>(*rig.form, "Label7")->toolTip();
        QCOMPARE(tip.contains(u"Loopback"_s), answers.size() > 4);
        QCOMPARE(tip.contains(u"nach denen niemand gefragt hat"_s), !quiet && !found);
    }

    // Other ports below the Com items, read anew as the menu opens; Com 1 is /dev/null here.
    void listedPorts()
    {
        QTemporaryDir dir;
        if (!Windows && QFile::link(u"/dev/null"_s, dir.filePath(u"com1"_s)))
            qputenv("WARMLOG_COM1", QFile::encodeName(dir.filePath(u"com1"_s)));
        WindowRig rig;
        rig.serial.defaultAnswer = 128; // 25.1 °C
        auto *menu = named<QMenu>(*rig.form, "m_anschluss");
        rig.ports.offered = {{"ttyUSB0", "A&B"}, {"ttyS0", ""}, {"ttyS4", ""}, {"pts/3", ""}};
        QCOMPARE(menuItems(menu).mid(4), Texts({"-", "ttyUSB0 (A&&B)", "ttyS0", "ttyS4", "pts/3"}));
        auto *label = named<QWidget>(*rig.form, "Label7");
        label->setToolTip(u"stale"_s);
        menu->actions().constLast()->trigger();
        QVERIFY(rig.serial.calls.first().startsWith(u"open pts/3:"_s));
        QCOMPARE(rig.show("Label7") << label->toolTip(), Texts({"Spion an pts/3", ""}));
        QTRY_COMPARE(rig.show("caption"), Texts{u"Warmlog 25.1 °C"_s}); // the measurement's timer
        // Its check mark stays when the list is read anew; what the list showed before goes.
        menuItems(menu);
        for (const QAction *item : menu->actions())
            QCOMPARE(item->isChecked(), item == menu->actions().constLast());
        rig.ports.offered = Windows ? QList<SerialPortName>{{"COM1", ""}, {"COM4", "x"}}
                                    : QList<SerialPortName>{{"null", ""}, {"ttyS1", "x"}};
        QCOMPARE(menuItems(menu).mid(4), Texts());
        // A reading that comes in later replaces the list, also while the menu is open.
        rig.ports.offered = {{"ttyACM0", ""}};
        Q_EMIT rig.ports.changed();
        QCOMPARE(menu->actions().constLast()->text(), u"ttyACM0"_s);
        qunsetenv("WARMLOG_COM1");
    }

    void measurementTick_data() { addRows(Ticks); }
    void measurementTick()
    {
        const auto &[tag, battery, temperatures, quiet, charging, volts, current, minimum] =
            fetchRow(Ticks);
        WindowRig rig;
        rig.put("Ubatjn", {"before"});
        rig.serial.answers = battery + temperatures;
        rig.serial.quiet = quiet;

        rig.form->measure();

        const QString level = QString::number(charging);
        QCOMPARE(rig.serial.calls.filter(QRegularExpression(u"^(setDtr|setRts) "_s)),
                 charging < 0 ? Texts() : Texts({"setDtr " + level, "setRts " + level}));
        // The bytes asked are those of every tick, and a probe where every temperature answer
        // was the command itself.
        QCOMPARE(rig.serial.calls.filter(u"sendByte"_s).join(u' ').remove(u"sendByte "_s),
                 (battery.size() == 2 ? u"25 25 22 22 22"_s : u"25 25 25 22 22 22"_s) +
                     (temperatures.startsWith(22) ? u" 165"_s : u""_s));
        // Text1, the caption and the extremes each take their own reading, in this order.
        QCOMPARE(rig.show("Ubat Ubatjn Text1 caption Text2 Text3"),
                 Texts({*volts ? "Batteriespannung: " + QString(volts) + " Volt "
                               : u"Batteriespannung: unbekannt "_s,
                        charging < 0 ? "before"
                        : charging   ? "Laden: ja "
                                     : "Laden: nein ",
                        shown(current), "Warmlog " + shown(current), shown(minimum), Hyphens}));
        // The course window holds the tick, with its value or as a gap.
        const HistoryWindow *history = rig.openHistory();
        QVERIFY(history);
        QCOMPARE(history->chart()->timeRange().second,
                 rig.clock.currentDateTime().toSecsSinceEpoch());
    }

    // A reading moves an extreme beyond it, with the clock field's time, not the clock's.
    void updateExtremes_data() { addRows(Extremes); }
    void updateExtremes()
    {
        const auto &[tag, minimum, maximum, answer, newMinimum, newMaximum] = fetchRow(Extremes);
        WindowRig rig;
        rig.put("Text2 Text3 Text4", {shown(minimum), shown(maximum), "15:30:45 Uhr"});
        rig.form->updateExtremes(protocol::temperatureFromAnswer(answer));
        QCOMPARE(rig.show("Text2 Text3 Text5 Text6"),
                 Texts({shown(newMinimum), shown(newMaximum),
                        qstrcmp(minimum, newMinimum) ? u"15:30:45 Uhr"_s : Started,
                        qstrcmp(maximum, newMaximum) ? u"15:30:45 Uhr"_s : Started}));
    }

    // Command2 starts both extremes at Text1's reading; without one they start empty.
    void resetExtremes()
    {
        for (const auto &[current, extremes] :
             {std::pair{u"-.3 °C"_s, u"-.3 °C"_s}, std::pair{u"0 °C"_s, Hyphens}}) {
            WindowRig rig;
            rig.put("Text1 Text2 Text3 Text4", {current, "-20.2 °C", "20 °C", "15:30:45 Uhr"});
            named<QPushButton>(*rig.form, "Command2")->click();
            QCOMPARE(rig.show("Text2 Text3 Text5 Text6"),
                     Texts({extremes, extremes, "15:30:45 Uhr", "15:30:45 Uhr"}));
        }
    }

    void steps_data() { addRows(Steps); }
    void steps()
    {
        const auto &[tag, steps, state, tip, calls] = fetchRow(Steps);
        WindowRig rig;
        rig.serial.defaultAnswer = 128; // 25.1 °C
        rig.form->show();
        for (const QString &step : QString::fromUtf8(steps).split(u", "_s))
            act(rig, step);

        QCOMPARE((rig.tray.shownTip.isEmpty() ? 0 : Icon) | (rig.form->isVisible() ? Visible : 0) |
                     (rig.form->isMinimized() ? Minimised : 0),
                 state);
        QCOMPARE(rig.tray.shownTip, tip);
        QCOMPARE(rig.serial.calls.filter(QRegularExpression("^(tray|close|END|Warmlog)")), calls);
        QCOMPARE(named<QTimer>(*rig.form, "Timer1")->isActive(), qstrncmp(steps, "Com 1", 5) == 0);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
