#include "info/blick.h"
#include "info/eventlabel.h"
#include "info/urls.h"
#include "main/form1.h"
#include "platform/urlopener.h"
#include "support/fixedclock.h"
#include "support/named.h"
#include "support/scriptedmessageboxes.h"
#include "support/scriptedmodule.h"

#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

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

// Per link: 'd' design look (no colours of its own), 'n' black, 'b' dark blue, '?' other; upper
// case when underlined. Pointed at is 'B'.
QString looks(const URLs *window)
{
    QString text;
    for (const QWidget *label : window->findChildren<EventLabel *>()) {
        const QColor colour = label->palette().color(QPalette::WindowText);
        const QChar look = !label->testAttribute(Qt::WA_SetPalette) ? u'd'
                           : colour == QColor(0, 0, 0)              ? u'n'
                           : colour == QColor(0, 0, 192)            ? u'b'
                                                                    : u'?';
        text += label->font().underline() ? look.toUpper() : look;
    }
    return text;
}

// Moves the pointer to a control, or to the window's own background, or clicks there. The
// window hands it to the control under it, as on the desktop.
void point(QWidget *window, const QString &control, bool click = false)
{
    const auto *child = window->findChild<QWidget *>(control);
    const QPoint at = child ? child->mapTo(window, child->rect().center()) : QPoint(3, 3);
    // Qt drops a move to where the pointer already is.
    static int nudge = 0;
    nudge = 1 - nudge;
    if (click)
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
    else
        QTest::mouseMove(window->windowHandle(), at + QPoint(nudge, 0));
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

    ScriptedMessageBoxes m_boxes;
    ScriptedUrlOpener m_opener;
    FixedClock m_clock;
    Platform m_platform{&m_clock, &m_boxes, nullptr, nullptr, &m_opener};

private Q_SLOTS:
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

    void pictureWindow()
    {
        ScriptedModule serial;
        Form1 form(serial, m_platform);
        named<QAction>(form, "m_f_so")->trigger();
        QPointer<Blick> first = Blick::instance();
        QVERIFY(first && first->isVisible() && !first->windowIcon().isNull());
        QCOMPARE(first->size(), QSize(322, 210));
        QVERIFY(!(first->windowFlags() &
                  (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        named<QAction>(form, "m_f_so")->trigger();
        QCOMPARE(Blick::instance(), first.data());

        // The close box brings back the main window, also from the notification area.
        form.hide();
        closeAndDelete(first);
        QVERIFY(!first && form.isVisible());
        named<QAction>(form, "m_f_so")->trigger();
        QVERIFY(Blick::instance() && Blick::instance()->isVisible());
        QCOMPARE(Blick::instance()->windowTitle(), QStringLiteral("Warmlog"));

        // "&O.K." makes a closed picture window anew.
        Blick::instance()->Label1_Click();
        QPointer<URLs> links = URLs::instance();
        closeAndDelete(Blick::instance());
        QVERIFY(!Blick::instance() && links->isVisible());
        links->Command1->click();
        QVERIFY(Blick::instance() && Blick::instance()->isVisible() && links &&
                !links->isVisible());
        QCOMPARE(Blick::instance()->windowTitle(), QStringLiteral("Warmlog"));
    }

    void hotSpot_data()
    {
        // Pixels of the picture; its push-button lies at 240 to 256 across, 48 to 64 down.
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<bool>("opensLinks");
        QTest::newRow("top left") << QPoint(240, 48) << true;
        QTest::newRow("bottom right") << QPoint(256, 64) << true;
        QTest::newRow("left of it") << QPoint(239, 56) << false;
        QTest::newRow("below it") << QPoint(248, 65) << false;
    }

    void hotSpot()
    {
        QFETCH(QPoint, pixel);
        Blick *picture = Blick::showInstance(m_platform, nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(picture));
        // The picture counts from the inside of the box's border.
        const QPoint at = picture->Label1->parentWidget()->mapTo(picture, pixel);
        QTest::mouseClick(picture->windowHandle(), Qt::LeftButton, {}, at);
        QTEST(URLs::instance() != nullptr, "opensLinks");
        QVERIFY(picture->isVisible());
    }

    void linkLooks_data()
    {
        QTest::addColumn<QString>("moves");
        QTest::addColumn<QString>("expected");
        QTest::newRow("before any move") << QString() << "ddddd";
        QTest::newRow("a link first") << QStringLiteral("Label2") << "dBddd";
        QTest::newRow("link to link") << QStringLiteral("background Label1 Label5") << "BnnnB";
        QTest::newRow("then background")
            << QStringLiteral("background Label1 Label5 background") << "nnnnn";
        QTest::newRow("button no background")
            << QStringLiteral("background Label3 Command1") << "nnBnn";
    }

    void linkLooks()
    {
        QFETCH(QString, moves);
        URLs *links = URLs::showInstance(m_platform, nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(links));
        for (const QString &move : moves.split(u' ', Qt::SkipEmptyParts))
            point(links, move);
        QTEST(looks(links), "expected");
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
        point(links, label, true);

        QCOMPARE(m_opener.calls, Opened({{links, address}}));
        QCOMPARE(m_boxes.calls.size(), int(message));
        for (const ScriptedMessageBoxes::Call &box : m_boxes.calls)
            QVERIFY(box.prompt == QStringLiteral("Kein Internetbrowser installiert ?!") &&
                    box.style == msgbox::StyleInformation &&
                    box.title == QStringLiteral("Warmlog"));
        QVERIFY(URLs::instance() == links && links->isVisible());
    }
};

QTEST_MAIN(TestInfoWindows)
#include "tst_infowindows.moc"
