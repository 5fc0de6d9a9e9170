#include "info/infobox.h"
#include "main/form1.h"
#include "support/fixedclock.h"
#include "support/scriptedmessageboxes.h"
#include "support/scriptedmodule.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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

    // The real boxes: a question waits for Ja or Nein, the OK box closes on Enter and Esc.
    void realBoxKeys_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("key"); // 0: the title bar's close box
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("question, Esc") << 36 << int(Qt::Key_Escape) << msgbox::AnswerYes << false;
        QTest::newRow("question, close box") << 36 << 0 << msgbox::AnswerYes << false;
        QTest::newRow("No first, Esc") << 292 << int(Qt::Key_Escape) << msgbox::AnswerYes << false;
        QTest::newRow("No first, Enter") << 292 << int(Qt::Key_Return) << msgbox::AnswerNo << true;
        QTest::newRow("OK, Esc") << 64 << int(Qt::Key_Escape) << msgbox::AnswerOk << true;
        QTest::newRow("OK, Enter") << 64 << int(Qt::Key_Return) << msgbox::AnswerOk << true;
    }

    void realBoxKeys()
    {
        QFETCH(int, style);
        QFETCH(int, key);
        bool stayed = false;
        QTimer::singleShot(0, this, [key, &stayed] {
            QWidget *box = QApplication::activeModalWidget();
            if (key)
                QTest::keyClick(box, Qt::Key(key));
            else
                box->close();
            stayed = box->isVisible();
            if (stayed) {
                for (QPushButton *button : box->findChildren<QPushButton *>())
                    if (button->text() == QLatin1String("&Ja") || button->text() == "OK")
                        button->click();
            }
        });
        QtMessageBoxes boxes;
        QTEST(boxes.show(QStringLiteral("Frage?"), style, QStringLiteral("Warmlog")), "answer");
        QTEST(!stayed, "closes");
    }
};

QTEST_MAIN(TestInfoBox)
#include "tst_infobox.moc"
