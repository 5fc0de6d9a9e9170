#include "platform/messageboxes.h"
#include "platform/trayicon.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;

// The real parts behind the seams, as far as they work offscreen.
class TestPlatform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A question waits for Ja or Nein, the OK box closes on Enter and Esc. The box: a question's
    // default answer, or OK for a message; the key, or the title bar's close box.
    void realBoxKeys_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Yes, close box") << "Yes" << false;
        QTest::newRow("No, Esc") << "No" << false;
        QTest::newRow("No, Return") << "No" << true;
        QTest::newRow("OK, Esc") << "OK" << true;
        QTest::newRow("OK, Return") << "OK" << true;
    }
    void realBoxKeys()
    {
        const QStringList tag = QString::fromLatin1(QTest::currentDataTag()).split(u", "_s);
        const QString &box = tag[0], &key = tag[1];
        bool stayed = false;
        QTimer::singleShot(0, this, [key, &stayed] {
            QWidget *box = QApplication::activeModalWidget();
            key == u"close box"_s ? void(box->close()) : QTest::keySequence(box, QKeySequence(key));
            if ((stayed = box->isVisible()))
                QTest::keyClick(box, Qt::Key_Return); // its default button
        });
        QtMessageBoxes boxes;
        using Answer = MessageBoxes::Answer;
        QString answer = box;
        if (box == u"OK"_s)
            boxes.inform(u"Meldung"_s, MessageBoxes::Icon::Information, u"Warmlog"_s);
        else
            answer = boxes.ask(u"Frage?"_s, box == u"Yes"_s ? Answer::Yes : Answer::No,
                               u"Warmlog"_s) == Answer::Yes
                         ? u"Yes"_s
                         : u"No"_s;
        QTEST(answer, "answer");
        QTEST(!stayed, "closes");
    }

    // The real icon shows with its tool tip; a second show is refused and a hide takes it away.
    void trayIcon()
    {
        QtTrayIcon tray;
        auto *icon = tray.findChild<QSystemTrayIcon *>();
        QPixmap image(16, 16);
        image.fill(Qt::red);
        QVERIFY(icon && !icon->isVisible());
        QVERIFY(tray.show(QIcon(image), u"Warmlog 25.1 °C"_s) && icon->isVisible());
        QVERIFY(!tray.show(QIcon(image), u"Warmlog"_s));
        QCOMPARE(icon->toolTip(), u"Warmlog 25.1 °C"_s);
        QVERIFY(tray.hide() && !icon->isVisible() && !tray.hide());
    }

    // The icon's tool tip keeps what fits of the caption, never half a character.
    void tipCut()
    {
        QCOMPARE(TrayIcon::tipText(QString(70, u'ü')), QString(63, u'ü'));
        QCOMPARE(TrayIcon::tipText(QString(62, u'x') + u"\U0001F321"_s), QString(62, u'x'));
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
