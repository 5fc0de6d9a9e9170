#include "info/blick.h"
#include "info/eventlabel.h"
#include "info/infobox.h"
#include "info/urls.h"
#include "platform/urlopener.h"
#include "support/windowrig.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QString Author =
    QStringLiteral("\t\r\n\t\r\nVon Jonas Feldkamp\t\r\n\t\r\nE-Mail: jonas.feldkamp@example.org");

using Opened = QList<QPair<QWidget *, QString>>;

struct ScriptedUrlOpener final : UrlOpener
{
    int result = 42;
    Opened calls;
    int open(QWidget *owner, const QString &address) override
    {
        calls.append({owner, address});
        return result;
    }
};

} // namespace

class TestInfo : public QObject
{
    Q_OBJECT

    ScriptedMessageBoxes m_boxes;
    ScriptedUrlOpener m_opener;
    FixedClock m_clock;
    Platform m_platform{&m_clock, &m_boxes, nullptr, nullptr, &m_opener};

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
        WindowRig rig;
        rig.form->setVisible(shown);
        named<QAction>(*rig.form, qPrintable(item))->trigger();
        QCOMPARE(rig.boxes.calls.size(), 1);
        const ScriptedMessageBoxes::Call &box = rig.boxes.calls[0];
        QCOMPARE(QStringList({box.prompt, box.title, QString::number(box.style)}),
                 QStringList({"Version: 2. 0. 0. " + Author, "Warmlog",
                              QString::number(msgbox::StyleInformation)}));
        QCOMPARE(rig.form->isVisible(), shown);
    }

    // The real boxes: a question waits for Ja or Nein, the OK box closes on Enter and Esc.
    void realBoxKeys_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("key"); // 0: the title bar's close box
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
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
    void init()
    {
        m_boxes.calls.clear();
        m_opener.calls.clear();
    }

    void cleanup()
    {
        delete URLs::instance();
        delete Blick::instance();
    }

    void openAddress_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("message");
        QTest::newRow("0") << "Label1" << 0 << "https://feldkamp.example.org" << true;
        QTest::newRow("2") << "Label2" << 2 << "https://www.kobold.example.net" << true;
        QTest::newRow("31") << "Label3" << 31 << "https://lindner.example.net" << true;
        QTest::newRow("32") << "Label4" << 32 << "https://renner.example.org" << true;
        QTest::newRow("33") << "Label5" << 33 << "https://duckduckgo.com" << false;
        QTest::newRow("100000") << "Label1" << 100000 << "https://feldkamp.example.org" << false;
    }

    void openAddress()
    {
        QFETCH(QString, label);
        QFETCH(int, result);
        QFETCH(QString, address);
        QFETCH(bool, message);
        URLs *links = URLs::showInstance(m_platform, nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(links));
        m_opener.result = result;
        QTest::mouseClick(links->findChild<QWidget *>(label), Qt::LeftButton);

        QCOMPARE(m_opener.calls, Opened({{links, address}}));
        QCOMPARE(m_boxes.calls.size(), int(message));
        for (const ScriptedMessageBoxes::Call &box : m_boxes.calls)
            QCOMPARE(QStringList({box.prompt, box.title, QString::number(box.style)}),
                     QStringList({"Kein Internetbrowser installiert ?!", "Warmlog", "64"}));
        QVERIFY(URLs::instance() == links && links->isVisible());
    }
};

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
