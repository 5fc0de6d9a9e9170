#include "info/infobox.h"
#include "main/form1.h"
#include "support/fixedclock.h"
#include "support/scriptedmessageboxes.h"
#include "support/scriptedmodule.h"

#include <QAction>
#include <QTest>

namespace {
const QString Author =
    QStringLiteral("\t\r\n\t\r\nVon Jonas Feldkamp\t\r\n\t\r\nE-Mail: jonas.feldkamp@example.org");
}

class TestInfoBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void text()
    {
        QCOMPARE(infoBoxText(2, 10, 11), QStringLiteral("Version: 2. 10. 11. ") + Author);
    }

    void menus_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("shown");
        QTest::newRow("&Info") << "m_f_info" << true;
        QTest::newRow("tray Info, hidden") << "mnbarinfo" << false;
    }

    void menus()
    {
        QFETCH(QString, item);
        QFETCH(bool, shown);
        ScriptedModule serial;
        FixedClock clock;
        ScriptedMessageBoxes boxes;
        Platform platform{&clock, &boxes};
        Form1 form(serial, platform);
        form.setVisible(shown);

        form.findChild<QAction *>(item)->trigger();
        QCOMPARE(boxes.calls.size(), 1);
        QCOMPARE(boxes.calls[0].prompt, QStringLiteral("Version: 2. 0. 0. ") + Author);
        QCOMPARE(boxes.calls[0].style, msgbox::StyleInformation);
        QCOMPARE(boxes.calls[0].title, QStringLiteral("Warmlog"));
        QCOMPARE(form.isVisible(), shown);
    }
};

QTEST_MAIN(TestInfoBox)
#include "tst_infobox.moc"
