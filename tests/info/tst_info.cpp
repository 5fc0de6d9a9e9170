#include "info/infobox.h"
#include "info/urls.h"
#include "platform/urlopener.h"
#include "support/windowrig.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString Author =
    u"\t\r\n\t\r\nVon Jonas Feldkamp\t\r\n\t\r\nE-Mail: jonas.feldkamp@example.org"_s;

// Records the window and address it was asked to open, as "URLs https://...".
struct ScriptedUrlOpener final : UrlOpener
{
    QList<int> results; // from the shell, oldest first
    QStringList calls;
    int open(QWidget *owner, const QString &address) override
    {
        calls << owner->objectName() + u' ' + address;
        return results.takeFirst();
    }
};

} // namespace

class TestInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The menu bar's item and the icon's show the same box; a hidden window stays hidden.
    void infoBox()
    {
        QCOMPARE(infoBoxText(2, 10, 11), u"Version: 2. 10. 11. "_s + Author);
        WindowRig rig;
        named<QAction>(*rig.form, "m_f_info")->trigger();
        named<QAction>(*rig.form, "mnbarinfo")->trigger();
        QCOMPARE(rig.serial.calls,
                 QStringList(2, "Warmlog: Version: 2. 0. 0. " + Author + " (64)"));
        QVERIFY(!rig.form->isVisible());
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
        // A box that stays is answered with Enter, its default button.
        QTimer::singleShot(0, this, [key, &stayed] {
            QWidget *box = QApplication::activeModalWidget();
            if (key == u"close box"_s)
                box->close();
            else
                QTest::keySequence(box, QKeySequence(key));
            stayed = box->isVisible();
            if (stayed)
                QTest::keyClick(box, Qt::Key_Return);
        });
        QTEST(QtMessageBoxes().show(u"Frage?"_s, style, u"Warmlog"_s), "answer");
        QTEST(!stayed, "closes");
    }

    // Each link opens its address; a box reports the shell's failures, 32 and below.
    void openAddress()
    {
        WindowRig rig;
        ScriptedUrlOpener opener;
        opener.results = {0, 2, 31, 32, 33};
        rig.platform.urlOpener = &opener;
        URLs *links = URLs::showInstance(rig.platform, nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(links));
        for (int i = 1; i <= 5; ++i)
            QTest::mouseClick(links->findChild<QWidget *>(u"Label%1"_s.arg(i)), Qt::LeftButton);
        QCOMPARE(
            opener.calls,
            QStringList({"URLs https://feldkamp.example.org", "URLs https://www.kobold.example.net",
                         "URLs https://lindner.example.net", "URLs https://renner.example.org",
                         "URLs https://duckduckgo.com"}));
        QCOMPARE(rig.serial.calls,
                 QStringList(4, u"Warmlog: Kein Internetbrowser installiert ?! (64)"_s));
        QVERIFY(URLs::instance() == links && links->isVisible());
        delete links;
    }
};

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
