#include "info/blick.h"
#include "info/eventlabel.h"
#include "info/urls.h"
#include "main/form1.h"
#include "platform/messagebox.h"
#include "platform/urlopener.h"
#include "support/fixedclock.h"
#include "support/scriptedmessageboxes.h"
#include "support/scriptedmodule.h"

#include <QFile>
#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QtEndian>

#include <memory>

namespace {

// Answers every address with the same shell result and records what it was given.
class ScriptedUrlOpener final : public UrlOpener
{
public:
    int result = 42;
    QList<QPair<QWidget *, QString>> calls;

    int open(QWidget *owner, const QString &address) override
    {
        calls.append({owner, address});
        return result;
    }
};

const QString NoBrowser = QStringLiteral("Kein Internetbrowser installiert ?!");

// 'd' design look (no colours of its own), 'n' normal (black), 'p' pointed at (dark blue,
// underlined), '?' anything else.
QChar look(const QWidget *label)
{
    const bool underlined = label->font().underline();
    if (!label->testAttribute(Qt::WA_SetPalette))
        return underlined ? u'?' : u'd';
    const QColor colour = label->palette().color(QPalette::WindowText);
    if (colour == QColor(0, 0, 0) && !underlined)
        return u'n';
    if (colour == QColor(0, 0, 192) && underlined)
        return u'p';
    return u'?';
}

QString looks(const URLs *window)
{
    QString text;
    for (const QWidget *label :
         {window->Label1, window->Label2, window->Label3, window->Label4, window->Label5})
        text += look(label);
    return text;
}

// The pointer's moves and clicks go through the window, which hands them to the control under
// the pointer, as on the desktop.
QPoint centreIn(const QWidget *control)
{
    return control->mapTo(control->window(), control->rect().center());
}

void moveTo(QWidget *window, const QPoint &position)
{
    // Qt drops a move to where the pointer already is, so every other move lands one pixel to
    // the right.
    static int nudge = 0;
    nudge = 1 - nudge;
    QTest::mouseMove(window->windowHandle(), position + QPoint(nudge, 0));
    QCoreApplication::processEvents();
}

void clickAt(QWidget *window, const QPoint &position)
{
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, position);
    QCoreApplication::processEvents();
}

void closeAndDelete(QWidget *window)
{
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestInfoWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void pictureWindowLifecycle();
    void linksWindowLifecycle();
    void okOpensClosedPictureWindow();
    void hotSpot_data();
    void hotSpot();
    void linkLooks_data();
    void linkLooks();
    void openAddress_data();
    void openAddress();
    void images_data();
    void images();
    void pictureFile();

private:
    ScriptedModule m_serial;
    FixedClock m_clock;
    ScriptedMessageBoxes m_boxes;
    ScriptedUrlOpener m_opener;
    Platform m_platform;
    std::unique_ptr<Form1> m_form1;
};

void TestInfoWindows::init()
{
    m_boxes.calls.clear();
    m_opener.calls.clear();
    m_platform.clock = &m_clock;
    m_platform.messageBoxes = &m_boxes;
    m_platform.urlOpener = &m_opener;
    m_form1 = std::make_unique<Form1>(m_serial, m_platform);
}

void TestInfoWindows::cleanup()
{
    delete URLs::instance();
    delete Blick::instance();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_form1.reset();
}

void TestInfoWindows::pictureWindowLifecycle()
{
    m_form1->m_f_so->trigger();
    QPointer<Blick> first = Blick::instance();
    QVERIFY(first && first->isVisible());
    QCOMPARE(first->windowTitle(), QStringLiteral("Warmlog"));
    QCOMPARE(first->size(), QSize(322, 210));
    QVERIFY(
        !(first->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(!first->windowIcon().isNull());
    QCOMPARE(first->Picture1->toolTip(), QStringLiteral("So sieht der Spion von innen aus ..."));

    m_form1->m_f_so->trigger();
    QCOMPARE(Blick::instance(), first.data());

    // The close box shows the main window, also when it was hidden in the notification area.
    m_form1->hide();
    closeAndDelete(first);
    QVERIFY(!first);
    QVERIFY(m_form1->isVisible());

    m_form1->m_f_so->trigger();
    QVERIFY(Blick::instance() && Blick::instance()->isVisible());
    QCOMPARE(Blick::instance()->windowTitle(), QStringLiteral("Warmlog"));
}

void TestInfoWindows::linksWindowLifecycle()
{
    Blick *picture = Blick::showInstance(m_platform);
    picture->Label1_Click();
    QPointer<URLs> links = URLs::instance();
    QVERIFY(links && links->isVisible());
    QCOMPARE(links->windowTitle(), QStringLiteral("Meine Internet Tipps:"));
    QCOMPARE(links->size(), QSize(256, 187));
    QVERIFY(links->windowIcon().pixmap(32).toImage() != picture->windowIcon().pixmap(32).toImage());

    picture->Label1_Click();
    QCOMPARE(URLs::instance(), links.data());
    // The labels size themselves to their captions; none may run out of the window.
    for (const QWidget *label : links->findChildren<EventLabel *>())
        QVERIFY2(links->rect().contains(label->geometry()), qPrintable(label->objectName()));

    // "&O.K." hides the links window; shown again, it keeps the looks it had.
    moveTo(links, QPoint(3, 3));
    moveTo(links, centreIn(links->Label3));
    QCOMPARE(looks(links), QStringLiteral("nnpnn"));
    links->Command1->click();
    QVERIFY(links && !links->isVisible());
    QVERIFY(picture->isVisible());
    picture->Label1_Click();
    QCOMPARE(URLs::instance(), links.data());
    QVERIFY(links->isVisible());
    QCOMPARE(looks(links), QStringLiteral("nnpnn"));

    // Closed, it comes back as designed.
    closeAndDelete(links);
    QVERIFY(!links);
    picture->Label1_Click();
    QVERIFY(URLs::instance() && URLs::instance()->isVisible());
    QCOMPARE(looks(URLs::instance()), QStringLiteral("ddddd"));
    QVERIFY(picture->isVisible());
}

void TestInfoWindows::okOpensClosedPictureWindow()
{
    Blick::showInstance(m_platform)->Label1_Click();
    URLs *links = URLs::instance();
    QPointer<Blick> oldPicture = Blick::instance();
    closeAndDelete(oldPicture);
    QVERIFY(!oldPicture);
    QVERIFY(links->isVisible());

    links->Command1->click();
    QVERIFY(Blick::instance() && Blick::instance()->isVisible());
    QCOMPARE(Blick::instance()->windowTitle(), QStringLiteral("Warmlog"));
    QVERIFY(!links->isVisible());
}

void TestInfoWindows::hotSpot_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<bool>("opensLinks");

    QTest::newRow("middle of the push-button") << QPoint(248, 56) << true;
    QTest::newRow("top left of the push-button") << QPoint(240, 48) << true;
    QTest::newRow("bottom right of the push-button") << QPoint(256, 64) << true;
    QTest::newRow("left of the push-button") << QPoint(238, 56) << false;
    QTest::newRow("below the push-button") << QPoint(248, 66) << false;
    QTest::newRow("the device's name") << QPoint(40, 12) << false;
    QTest::newRow("the battery") << QPoint(116, 126) << false;
}

void TestInfoWindows::hotSpot()
{
    QFETCH(QPoint, pixel);
    QFETCH(bool, opensLinks);

    Blick *picture = Blick::showInstance(m_platform);
    QVERIFY(QTest::qWaitForWindowExposed(picture));
    // Pixels of the picture count from the inside of the box's border.
    const QWidget *inside = picture->Label1->parentWidget();
    clickAt(picture, inside->mapTo(picture, pixel));

    QCOMPARE(URLs::instance() != nullptr, opensLinks);
    QVERIFY(picture->isVisible());
}

void TestInfoWindows::linkLooks_data()
{
    QTest::addColumn<QStringList>("moves");
    QTest::addColumn<QString>("expected");

    const QString bg = QStringLiteral("background");
    QTest::newRow("before any move") << QStringList() << QStringLiteral("ddddd");
    QTest::newRow("background") << QStringList{bg} << QStringLiteral("nnnnn");
    QTest::newRow("a link first") << QStringList{QStringLiteral("Label2")}
                                  << QStringLiteral("dpddd");
    QTest::newRow("link, then background")
        << QStringList{bg, QStringLiteral("Label4"), bg} << QStringLiteral("nnnnn");
    QTest::newRow("jump from link to link")
        << QStringList{bg, QStringLiteral("Label1"), QStringLiteral("Label5")}
        << QStringLiteral("pnnnp");
    QTest::newRow("jump, then background")
        << QStringList{bg, QStringLiteral("Label1"), QStringLiteral("Label5"), bg}
        << QStringLiteral("nnnnn");
    QTest::newRow("the button is no background")
        << QStringList{bg, QStringLiteral("Label3"), QStringLiteral("Command1")}
        << QStringLiteral("nnpnn");
}

void TestInfoWindows::linkLooks()
{
    QFETCH(QStringList, moves);
    QFETCH(QString, expected);

    URLs *links = URLs::showInstance(m_platform);
    QVERIFY(QTest::qWaitForWindowExposed(links));
    for (const QString &move : moves) {
        if (move == QLatin1String("background"))
            moveTo(links, QPoint(3, 3));
        else
            moveTo(links, centreIn(links->findChild<QWidget *>(move)));
    }
    QCOMPARE(looks(links), expected);
}

void TestInfoWindows::openAddress_data()
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
    QTest::newRow("42") << "Label1" << 42 << "https://feldkamp.example.org" << false;
    QTest::newRow("100000") << "Label2" << 100000 << "https://www.kobold.example.net" << false;
}

void TestInfoWindows::openAddress()
{
    QFETCH(QString, label);
    QFETCH(int, result);
    QFETCH(QString, address);
    QFETCH(bool, message);

    URLs *links = URLs::showInstance(m_platform);
    QVERIFY(QTest::qWaitForWindowExposed(links));
    m_opener.result = result;
    clickAt(links, centreIn(links->findChild<QWidget *>(label)));

    QCOMPARE(m_opener.calls.size(), 1);
    QCOMPARE(m_opener.calls[0].first, links);
    QCOMPARE(m_opener.calls[0].second, address);
    QCOMPARE(m_boxes.calls.size(), message ? 1 : 0);
    if (message) {
        QCOMPARE(m_boxes.calls[0].prompt, NoBrowser);
        QCOMPARE(m_boxes.calls[0].style, msgbox::StyleInformation);
        QCOMPARE(m_boxes.calls[0].title, QStringLiteral("Warmlog"));
    }
    QCOMPARE(URLs::instance(), links);
    QVERIFY(links->isVisible());
}

void TestInfoWindows::images_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");

    QTest::newRow("program icon") << ":/icons/warmlog.png" << QSize(32, 32);
    QTest::newRow("program icon, largest")
        << ":/icons/hicolor/256x256/apps/warmlog.png" << QSize(256, 256);
    QTest::newRow("links icon") << ":/icons/links.png" << QSize(32, 32);
    QTest::newRow("hand cursor") << ":/cursors/hand.png" << QSize(32, 32);
    QTest::newRow("picture") << ":/pictures/spion.bmp" << QSize(318, 204);
}

void TestInfoWindows::images()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);

    QCOMPARE(QImage(path).size(), size);
}

void TestInfoWindows::pictureFile()
{
    QFile file(QStringLiteral(":/pictures/spion.bmp"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bmp = file.readAll();
    const char *data = bmp.constData();

    QCOMPARE(bmp.size(), 195078);
    QCOMPARE(bmp.left(2), QByteArray("BM"));
    QCOMPARE(qFromLittleEndian<quint32>(data + 2), 195078u);
    QCOMPARE(qFromLittleEndian<quint32>(data + 10), 54u);
    QCOMPARE(qFromLittleEndian<quint32>(data + 14), 40u);
    QCOMPARE(qFromLittleEndian<qint32>(data + 18), 318);
    QCOMPARE(qFromLittleEndian<qint32>(data + 22), 204);
    QCOMPARE(qFromLittleEndian<quint16>(data + 26), quint16(1));
    QCOMPARE(qFromLittleEndian<quint16>(data + 28), quint16(24));
    QCOMPARE(qFromLittleEndian<quint32>(data + 30), 0u);
}

QTEST_MAIN(TestInfoWindows)
#include "tst_infowindows.moc"
