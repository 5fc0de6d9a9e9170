#include "info/infobox.h"
#include "main/form1.h"
#include "platform/messagebox.h"
#include "support/fixedclock.h"
#include "support/scriptedmessageboxes.h"
#include "support/scriptedmodule.h"

#include <QAction>
#include <QTest>

namespace {
const QString AfterVersion =
    QStringLiteral("\t\r\n\t\r\nVon Jonas Feldkamp\t\r\n\t\r\nE-Mail: jonas.feldkamp@example.org");
}

class TestInfoBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void text_data();
    void text();
    void menus_data();
    void menus();
};

void TestInfoBox::text_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QByteArray>("versionLine");

    QTest::newRow("2.0.0") << 2 << 0 << 0 << QByteArray("Version: 2. 0. 0. ");
    QTest::newRow("minor of two digits") << 2 << 10 << 3 << QByteArray("Version: 2. 10. 3. ");
    QTest::newRow("revision of two digits") << 2 << 0 << 10 << QByteArray("Version: 2. 0. 10. ");
    QTest::newRow("many digits") << 12 << 345 << 6789 << QByteArray("Version: 12. 345. 6789. ");
}

void TestInfoBox::text()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QByteArray, versionLine);

    QCOMPARE(infoBoxText(major, minor, revision).toUtf8(), versionLine + AfterVersion.toUtf8());
}

void TestInfoBox::menus_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("windowShown");

    QTest::newRow("&Info in the menu &?") << QStringLiteral("m_f_info") << true;
    QTest::newRow("Info in the tray menu, window hidden") << QStringLiteral("mnbarinfo") << false;
}

void TestInfoBox::menus()
{
    QFETCH(QString, item);
    QFETCH(bool, windowShown);

    ScriptedModule serial;
    FixedClock clock;
    ScriptedMessageBoxes boxes;
    Platform platform;
    platform.clock = &clock;
    platform.messageBoxes = &boxes;
    Form1 form(serial, platform);
    form.setVisible(windowShown);

    form.findChild<QAction *>(item)->trigger();

    QCOMPARE(boxes.calls.size(), 1);
    QCOMPARE(boxes.calls[0].prompt, QStringLiteral("Version: 2. 0. 0. ") + AfterVersion);
    QCOMPARE(boxes.calls[0].style, msgbox::StyleInformation);
    QCOMPARE(boxes.calls[0].title, QStringLiteral("Warmlog"));
    QCOMPARE(form.isVisible(), windowShown);
}

QTEST_MAIN(TestInfoBox)
#include "tst_infobox.moc"
