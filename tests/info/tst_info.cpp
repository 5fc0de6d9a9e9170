#include "info/linkswindow.h"
#include "info/picturewindow.h"
#include "support/windowrig.h"

using namespace Qt::StringLiterals;

class TestInfo : public QObject
{
    Q_OBJECT

    static QWidget *shown(QWidget *window)
    {
        const bool exposed = window && QTest::qWaitForWindowExposed(window);
        return exposed ? window : nullptr;
    }
    static QPoint screenCentre()
    {
        return QGuiApplication::primaryScreen()->availableGeometry().center();
    }

private Q_SLOTS:
    // The help menu's picture, centred; its hot spot leads to the links, centred too. Each link
    // opens its address, a box says when no browser took it; their O.K. leads back, and closing
    // the picture brings the main window.
    void pictureWindow()
    {
        WindowRig rig;
        named<QAction>(*rig.form, "m_f_so")->trigger();
        QWidget *picture = shown(PictureWindow::instance());
        QVERIFY(picture);
        QCOMPARE(picture->frameGeometry().center(), screenCentre());
        QTest::mouseClick(named<QWidget>(*picture, "Label1"), Qt::LeftButton);
        const std::unique_ptr<QWidget> links(shown(LinksWindow::instance()));
        QVERIFY(links);
        QCOMPARE(links->frameGeometry().center(), screenCentre());
        for (int label = 1; label <= 5; ++label) {
            rig.urls.opens = label < 5;
            QTest::mouseClick(named<QWidget>(*links, qPrintable(u"Label%1"_s.arg(label))),
                              Qt::LeftButton);
        }
        QCOMPARE(
            rig.serial.calls,
            QStringList({"open https://feldkamp.example.org", "open https://www.kobold.example.net",
                         "open https://lindner.example.net", "open https://renner.example.org",
                         "open https://duckduckgo.com",
                         "Warmlog: Kein Internetbrowser installiert ?! (Information)"}));
        QVERIFY(LinksWindow::instance() == links.get() && links->isVisible());
        named<QPushButton>(*links, "Command1")->click();
        QVERIFY(!links->isVisible() && picture->isVisible() && !rig.form->isVisible());
        QVERIFY(picture->close() && rig.form->isVisible());
    }

    // A link under the pointer lights up until the pointer moves over the window's background.
    void hoverLook_data()
    {
        QTest::addColumn<QStringList>("moves"); // over these labels or the window's background
        QTest::addColumn<QList<int>>("lit");
        QTest::newRow("over one") << QStringList{"Label2"} << QList<int>{2};
        QTest::newRow("then away") << QStringList{"Label2", "background"} << QList<int>{};
        QTest::newRow("away, then over another")
            << QStringList{"Label1", "background", "Label5"} << QList<int>{5};
    }
    void hoverLook()
    {
        QFETCH(QStringList, moves);
        QFETCH(QList<int>, lit);
        WindowRig rig;
        const std::unique_ptr<QWidget> links(
            shown(LinksWindow::showInstance(rig.platform, nullptr)));
        QVERIFY(links);
        for (const QString &over : moves)
            over == u"background"_s ? QTest::mouseMove(links.get(), QPoint(4, 4))
                                    : QTest::mouseMove(named<QWidget>(*links, qPrintable(over)));
        for (int label = 1; label <= 5; ++label) {
            const auto *link = named<QLabel>(*links, qPrintable(u"Label%1"_s.arg(label)));
            QCOMPARE(link->palette().color(QPalette::WindowText),
                     QColor(lit.contains(label) ? u"#0000C0"_s : u"#000000"_s));
            QCOMPARE(link->font().underline(), lit.contains(label));
        }
    }
};

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
