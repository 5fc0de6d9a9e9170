#include "main/form1.h"
#include "platform/messagebox.h"
#include "support/fixedclock.h"
#include "support/named.h"
#include "support/scriptedmessageboxes.h"
#include "support/scriptedmodule.h"
#include "support/scriptedquitter.h"
#include "support/scriptedtrayicon.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString Question = u"Möchten Sie das Programm wirklich beenden?"_s;

// The real main window over a scripted serial library, notification area, message box and end.
// The serial library's call list is the journal of all of them, so that order shows.
struct Rig
{
    Rig()
    {
        tray.journal = quitter.journal = &serial.calls;
        serial.defaultAnswer = 128; // a device that answers
        form.show();
    }

    ScriptedModule serial;
    FixedClock clock;
    ScriptedMessageBoxes boxes;
    ScriptedTrayIcon tray;
    ScriptedQuitter quitter;
    Platform platform{&clock, &boxes, &tray, &quitter};
    Form1 form{serial, platform};
    int ticks = 0;

    // The user's steps as the desktop delivers them, a measurement tick, the device found on
    // COM1, and the answer Yes to the next question (otherwise No).
    void act(const QString &step)
    {
        const QHash<QString, std::function<void()>> steps = {
            {"minimise", [&] { form.setWindowState(form.windowState() | Qt::WindowMinimized); }},
            {"task bar", [&] { form.setWindowState(form.windowState() & ~Qt::WindowMinimized); }},
            {"left", [&] { tray.click(QSystemTrayIcon::Trigger); }},
            {"double", [&] { tray.click(QSystemTrayIcon::DoubleClick); }},
            {"middle", [&] { tray.click(QSystemTrayIcon::MiddleClick); }},
            {"anzeigen", [&] { fromIconMenu(named<QAction>(form, "mnBarShowWindow")); }},
            {"beenden", [&] { fromIconMenu(named<QAction>(form, "mnBarExit")); }},
            {"close box", [&] { form.close(); }},
            {"ende", [&] { named<QAction>(form, "m_datei_ende")->trigger(); }},
            {"no area", [&] { tray.available = false; }},
            {"area gone",
             [&] {
                 tray.available = false;
                 QTest::qWait(int(2 * TrayIcon::AreaCheck.count()));
             }},
            {"port", [&] { named<QAction>(form, "m_a_com1")->trigger(); }},
            {"yes", [&] { boxes.answers << msgbox::AnswerYes; }},
            {"tick", [&] {
                 serial.defaultAnswer = 128 + ticks++;
                 form.Timer1_Timer();
             }}};
        QVERIFY2(steps.contains(step), qPrintable(step));
        steps.value(step)();
    }

    void fromIconMenu(QAction *item)
    {
        tray.click(QSystemTrayIcon::Context);
        QVERIFY(named<QMenu>(form, "mnbar")->isVisible());
        named<QMenu>(form, "mnbar")->hide();
        item->trigger();
    }

    // 1 start, 2 in the tray, 3 shown minimised, 4 restored with icon, 5 minimised in the task
    // bar without an icon; 0 for anything else.
    int state() const
    {
        const bool visible = form.isVisible();
        const bool minimised = form.isMinimized();
        if (!tray.isShown())
            return !visible ? 0 : minimised ? 5 : 1;
        return !visible ? (minimised ? 2 : 0) : minimised ? 3 : 4;
    }
};

} // namespace

class TestTray : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void steps_data();
    void steps();
    void tipCut_data();
    void tipCut();
    void enterAnswersNo();
};

void TestTray::steps_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("tip");      // of the icon shown
    QTest::addColumn<QString>("requests"); // to the notification area, the port and the end

    const QString caption = u"Warmlog"_s;
    const QString first = u"Warmlog 25.1 °C"_s;
    const QString second = u"Warmlog 25.4 °C"_s;
    const QString add = u"NIM_ADD "_s;
    const QString quit = u"CLOSECOM|NIM_DELETE|END"_s;
    const QString none;
    QTest::newRow("1 to 2") << "tick,minimise,tick" << 2 << first << add + first;
    QTest::newRow("2 to 3") << "minimise,left" << 3 << caption << add + caption;
    QTest::newRow("2 to 1") << "minimise,anzeigen" << 1 << none << add + caption + "|NIM_DELETE";
    QTest::newRow("2, other clicks") << "minimise,double,middle" << 2 << caption << add + caption;
    QTest::newRow("3 to 4") << "minimise,left,task bar" << 4 << caption << add + caption;
    QTest::newRow("4 stays") << "minimise,left,task bar,left" << 4 << caption << add + caption;
    // The second add is refused: one icon, with the first tool tip.
    QTest::newRow("4 to 2") << "tick,minimise,left,task bar,tick,minimise" << 2 << first
                            << add + first + "|" + add + second;
    QTest::newRow("1 to 2 again") << "tick,minimise,anzeigen,tick,minimise" << 2 << second
                                  << add + first + "|NIM_DELETE|" + add + second;
    // Without a notification area nothing could bring a hidden window back.
    QTest::newRow("no area") << "no area,minimise" << 5 << none << none;
    // A panel gone with the icon gives the window back for good.
    QTest::newRow("2, area gone") << "minimise,area gone,minimise" << 5 << none
                                  << add + caption + "|NIM_DELETE";
    QTest::newRow("3, area gone") << "minimise,left,area gone" << 1 << none
                                  << add + caption + "|NIM_DELETE";
    // The ways out.
    QTest::newRow("close box, No") << "port,close box" << 1 << none << none;
    QTest::newRow("Ende, no port, Yes") << "yes,ende" << 1 << none << quit;
    QTest::newRow("Beenden, No") << "port,minimise,beenden" << 2 << caption << add + caption;
    QTest::newRow("log out, Yes") << "port,minimise,yes,close box" << 0 << none
                                  << add + caption + "|" + quit;
    QTest::newRow("icon removed, Yes")
        << "port,minimise,anzeigen,yes,ende" << 1 << none << add + caption + "|NIM_DELETE|" + quit;
}

void TestTray::steps()
{
    QFETCH(QString, steps);
    QFETCH(int, state);
    QFETCH(QString, tip);
    QFETCH(QString, requests);
    Rig rig;

    const QStringList actions = steps.split(QLatin1Char(','));
    for (const QString &step : actions)
        rig.act(step);

    QCOMPARE(rig.state(), state);
    QCOMPARE(rig.tray.shownTip(), tip);
    const QRegularExpression request(u"^(NIM_|CLOSECOM|END)"_s);
    QCOMPARE(rig.serial.calls.filter(request).join(QLatin1Char('|')), requests);
    // Every way out asks once; a No leaves the measurement running.
    QCOMPARE(rig.boxes.calls.size(), actions.count(u"close box"_s) + actions.count(u"ende"_s) +
                                         actions.count(u"beenden"_s));
    for (const ScriptedMessageBoxes::Call &box : std::as_const(rig.boxes.calls)) {
        QCOMPARE(QStringList({box.prompt, box.title, QString::number(box.style)}),
                 QStringList({Question, "Warmlog", "292"}));
    }
    QVERIFY(named<QTimer>(rig.form, "Timer2")->isActive());
    QCOMPARE(named<QTimer>(rig.form, "Timer1")->isActive(), steps.startsWith(u"port"_s));
}

void TestTray::tipCut_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tip");

    const QString full = u"Warmlog "_s + QString(55, QLatin1Char('x'));
    QTest::newRow("64") << full + QLatin1Char('y') << full;
    QTest::newRow("umlauts count once") << QString(70, QChar(0xFC)) << QString(63, QChar(0xFC));
    QTest::newRow("no half character") << full.left(62) + u"\U0001F321"_s << full.left(62);
}

void TestTray::tipCut()
{
    QFETCH(QString, caption);
    QFETCH(QString, tip);
    Rig rig;
    rig.form.setWindowTitle(caption);
    rig.act(u"minimise"_s);
    QCOMPARE(rig.tray.shownTip(), tip);
}

// The real box: No is the default button, so Enter answers No.
void TestTray::enterAnswersNo()
{
    QStringList seen;
    QTimer pressEnter;
    connect(&pressEnter, &QTimer::timeout, &pressEnter, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        pressEnter.stop();
        seen << box->windowTitle() << box->text();
        for (const QAbstractButton *button : box->buttons())
            seen << button->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    pressEnter.start(10);

    const int answer = QtMessageBoxes().show(Question, 292, u"Warmlog"_s);

    QCOMPARE(answer, msgbox::AnswerNo);
    QCOMPARE(seen, QStringList({"Warmlog", Question, "&Ja", "&Nein"}));
}

QTEST_MAIN(TestTray)
#include "tst_tray.moc"
