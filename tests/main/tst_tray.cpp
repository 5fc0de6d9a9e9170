#include "main/form1.h"
#include "platform/messagebox.h"
#include "platform/quitter.h"
#include "platform/trayicon.h"
#include "support/fixedclock.h"
#include "support/scriptedmessageboxes.h"
#include "support/scriptedmodule.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString Question = QStringLiteral("Möchten Sie das Programm wirklich beenden?");
constexpr int QuestionStyle = 292;

// The real main window over a scripted serial library, notification area, message box and end.
// The serial library's call list is the journal of all of them, so that order shows.
struct Rig
{
    ScriptedModule serial;
    FixedClock clock;
    ScriptedMessageBoxes boxes;
    ScriptedTrayIcon tray;
    ScriptedQuitter quitter;
    Platform platform;
    std::unique_ptr<Form1> form;

    explicit Rig(MessageBoxes *otherBoxes = nullptr)
    {
        platform.clock = &clock;
        platform.messageBoxes = otherBoxes ? otherBoxes : &boxes;
        platform.tray = &tray;
        platform.quitter = &quitter;
        tray.journal = &serial.calls;
        quitter.journal = &serial.calls;
        form = std::make_unique<Form1>(serial, platform);
        form->show();
    }

    void choosePort()
    {
        serial.defaultAnswer = 128;
        form->m_a_com1->trigger();
        serial.calls.clear();
    }

    // The user's steps, as the desktop delivers them.
    void act(const QString &step)
    {
        if (step == QLatin1String("minimise"))
            form->setWindowState(form->windowState() | Qt::WindowMinimized);
        else if (step == QLatin1String("task bar"))
            form->setWindowState(form->windowState() & ~Qt::WindowMinimized);
        else if (step == QLatin1String("left"))
            tray.click(QSystemTrayIcon::Trigger);
        else if (step == QLatin1String("double"))
            tray.click(QSystemTrayIcon::DoubleClick);
        else if (step == QLatin1String("middle"))
            tray.click(QSystemTrayIcon::MiddleClick);
        else if (step == QLatin1String("anzeigen"))
            chooseFromIcon(form->mnBarShowWindow);
        else if (step == QLatin1String("beenden"))
            chooseFromIcon(form->mnBarExit);
        else if (step == QLatin1String("close box"))
            form->close();
        else if (step == QLatin1String("ende"))
            form->m_datei_ende->trigger();
        else
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }

    void chooseFromIcon(QAction *item)
    {
        tray.click(QSystemTrayIcon::Context);
        QVERIFY(form->mnbar->isVisible());
        form->mnbar->hide();
        item->trigger();
    }

    // 1 start, 2 in the tray, 3 shown minimised, 4 restored with icon; 0 for anything else.
    int state() const
    {
        const bool visible = form->isVisible();
        const bool minimised = form->isMinimized();
        if (!tray.isShown())
            return visible && !minimised ? 1 : 0;
        if (!visible)
            return minimised ? 2 : 0;
        return minimised ? 3 : 4;
    }
};

QStringList steps(const char *text)
{
    return QString::fromLatin1(text).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

} // namespace

class TestTray : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void states_data();
    void states();
    void tipOfTheFirstAdd();
    void tipCut_data();
    void tipCut();
    void waysOut_data();
    void waysOut();
    void enterAnswersNo();
    void withoutNotificationArea();
};

void TestTray::states_data()
{
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("adds");

    QTest::newRow("1") << steps("") << 1 << 0;
    QTest::newRow("1 to 2") << steps("minimise") << 2 << 1;
    QTest::newRow("2 to 3") << steps("minimise,left") << 3 << 1;
    QTest::newRow("2 to 1") << steps("minimise,anzeigen") << 1 << 1;
    QTest::newRow("2 ignores other clicks") << steps("minimise,double,middle") << 2 << 1;
    QTest::newRow("3 stays") << steps("minimise,left,left") << 3 << 1;
    QTest::newRow("3 to 1") << steps("minimise,left,anzeigen") << 1 << 1;
    QTest::newRow("3 to 4") << steps("minimise,left,task bar") << 4 << 1;
    QTest::newRow("4 stays") << steps("minimise,left,task bar,left") << 4 << 1;
    QTest::newRow("4 to 1") << steps("minimise,left,task bar,anzeigen") << 1 << 1;
    QTest::newRow("4 to 2") << steps("minimise,left,task bar,minimise") << 2 << 2;
    QTest::newRow("1 to 2 again") << steps("minimise,anzeigen,minimise") << 2 << 2;
}

void TestTray::states()
{
    QFETCH(QStringList, actions);
    QFETCH(int, state);
    QFETCH(int, adds);

    Rig rig;
    for (const QString &step : actions)
        rig.act(step);
    QCOMPARE(rig.state(), state);
    QCOMPARE(rig.serial.callsStartingWith(QStringLiteral("NIM_ADD")).size(), adds);
    QCOMPARE(rig.boxes.calls.size(), 0);
    QVERIFY(!rig.form->mnbar->isVisible());
}

void TestTray::tipOfTheFirstAdd()
{
    Rig rig;
    rig.choosePort();
    rig.form->Timer1_Timer();
    const QString first = rig.form->windowTitle();
    QVERIFY(first.startsWith(QStringLiteral("Warmlog ")));

    rig.act(QStringLiteral("minimise"));
    rig.serial.defaultAnswer = 100;
    rig.form->Timer1_Timer();
    const QString later = rig.form->windowTitle();
    QVERIFY(later != first);
    QCOMPARE(rig.tray.shownTip(), first);

    // Back from the task bar and down again: the shell refuses the second add.
    for (const char *step : {"left", "task bar", "minimise"})
        rig.act(QLatin1String(step));
    QCOMPARE(rig.state(), 2);
    QCOMPARE(rig.tray.IconData.szTip, later);
    QCOMPARE(rig.tray.shownTip(), first);

    rig.act(QStringLiteral("anzeigen"));
    QVERIFY(!rig.tray.isShown());
}

void TestTray::tipCut_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tip");

    const QString sixtyThree = QStringLiteral("Warmlog ") + QString(55, QLatin1Char('x'));
    QTest::newRow("62") << sixtyThree.left(62) << sixtyThree.left(62);
    QTest::newRow("63") << sixtyThree << sixtyThree;
    QTest::newRow("64") << sixtyThree + QLatin1Char('y') << sixtyThree;
    QTest::newRow("100") << sixtyThree + QString(37, QLatin1Char('y')) << sixtyThree;
    QTest::newRow("umlauts count once") << QString(70, QChar(0x00FC)) << QString(63, QChar(0x00FC));
    QTest::newRow("no half character")
        << sixtyThree.left(62) + QStringLiteral("\U0001F321") << sixtyThree.left(62);
}

void TestTray::tipCut()
{
    QFETCH(QString, caption);
    QFETCH(QString, tip);

    Rig rig;
    rig.form->setWindowTitle(caption);
    rig.act(QStringLiteral("minimise"));
    QCOMPARE(rig.tray.shownTip(), tip);
}

void TestTray::waysOut_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("port");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("stateAfterNo");

    for (const int answer : {msgbox::AnswerNo, msgbox::AnswerYes}) {
        const char *suffix = answer == msgbox::AnswerYes ? "yes" : "no";
        auto row = [&](const char *name) {
            return &QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(name, suffix)));
        };
        *row("close box") << QStringList() << "close box" << true << answer << 1;
        *row("Ende") << QStringList() << "ende" << true << answer << 1;
        *row("Ende, no port") << QStringList() << "ende" << false << answer << 1;
        *row("Beenden in the tray") << steps("minimise") << "beenden" << true << answer << 2;
        *row("Beenden shown minimised")
            << steps("minimise,left") << "beenden" << false << answer << 3;
        // A log-out while the window is hidden takes this way.
        *row("close box in the tray") << steps("minimise") << "close box" << true << answer << 2;
        *row("close box after anzeigen")
            << steps("minimise,left,task bar,anzeigen") << "close box" << true << answer << 1;
    }
}

void TestTray::waysOut()
{
    QFETCH(QStringList, before);
    QFETCH(QString, way);
    QFETCH(bool, port);
    QFETCH(int, answer);
    QFETCH(int, stateAfterNo);

    Rig rig;
    if (port)
        rig.choosePort();
    for (const QString &step : before)
        rig.act(step);
    const QStringList callsBefore = rig.serial.calls;
    rig.boxes.answers = {answer};

    rig.act(way);

    QCOMPARE(rig.boxes.calls.size(), 1);
    QCOMPARE(rig.boxes.calls.first().prompt, Question);
    QCOMPARE(rig.boxes.calls.first().style, QuestionStyle);
    QCOMPARE(rig.boxes.calls.first().title, QStringLiteral("Warmlog"));
    // The window refuses to close either way.
    QCOMPARE(rig.form->isVisible(), stateAfterNo != 2);

    if (answer == msgbox::AnswerNo) {
        QCOMPARE(rig.serial.calls, callsBefore);
        QCOMPARE(rig.state(), stateAfterNo);
        QCOMPARE(rig.quitter.ends, 0);
        QVERIFY(rig.form->Timer2->isActive());
        QCOMPARE(rig.form->Timer1->isActive(), port);
        return;
    }
    // Yes: the port goes, the delete request follows even with no icon, then the end.
    const QStringList expected = {QStringLiteral("CLOSECOM"), QStringLiteral("NIM_DELETE"),
                                  QStringLiteral("END")};
    QCOMPARE(rig.serial.calls, callsBefore + expected);
    QVERIFY(!rig.tray.isShown());
    QCOMPARE(rig.quitter.ends, 1);
}

void TestTray::enterAnswersNo()
{
    QtMessageBoxes realBoxes;
    Rig rig(&realBoxes);

    QStringList buttons;
    QString text;
    QTimer pressEnter;
    connect(&pressEnter, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        pressEnter.stop();
        text = box->windowTitle() + QLatin1Char('|') + box->text();
        for (const QAbstractButton *button : box->buttons())
            buttons << button->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    pressEnter.start(10);

    rig.act(QStringLiteral("ende"));
    QCOMPARE(text, QStringLiteral("Warmlog|") + Question);
    buttons.sort();
    QCOMPARE(buttons, QStringList({QStringLiteral("&Ja"), QStringLiteral("&Nein")}));
    QVERIFY(rig.serial.callsStartingWith(QStringLiteral("CLOSECOM")).isEmpty());
    QCOMPARE(rig.quitter.ends, 0);
    QCOMPARE(rig.state(), 1);
}

void TestTray::withoutNotificationArea()
{
    Rig rig;
    rig.tray.available = false;
    rig.act(QStringLiteral("minimise"));
    QVERIFY(rig.form->isVisible());
    QVERIFY(rig.form->isMinimized());
    QVERIFY(rig.tray.requests.isEmpty());

    rig.act(QStringLiteral("task bar"));
    QCOMPARE(rig.state(), 1);
}

QTEST_MAIN(TestTray)
#include "tst_tray.moc"
