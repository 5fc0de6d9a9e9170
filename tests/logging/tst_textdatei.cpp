#include "info/urls.h"
#include "logging/logrecord.h"
#include "main/keyedstatusbar.h"
#include "rig.h"
#include "support/named.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOption>
#include <QTest>
#include <QTimer>

#include <clocale>

namespace {

const QString Idle = QStringLiteral("Logdatei");
const QString Recording = QStringLiteral("Logdatei --> Messung läuft <--");
const QString Stopped = QStringLiteral("Logdatei --> Messung beendet <--");

// Plays clicks ("start", "stop", "clear", or a control's name) and timer ticks ("tick") on the
// log window. Clicks on disabled buttons do nothing, as for a user.
void play(textdatei *log, const QString &script)
{
    static const QHash<QString, QString> buttons = {
        {"start", "Command3"}, {"stop", "Command6"}, {"clear", "Command4"}};
    for (const QString &step : script.split(u' ', Qt::SkipEmptyParts)) {
        if (step == QLatin1String("tick"))
            log->Timer1_Timer();
        else
            log->findChild<QAbstractButton *>(buttons.value(step, step))->click();
    }
}

// WCAG's relative luminance.
double luminance(const QColor &colour)
{
    auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

// Every control of the window whose text its control cuts, or a display field whose text shows
// from its end or reads faintly.
QStringList cutTexts(QWidget *window)
{
    QStringList cut;
    for (QWidget *control : window->findChildren<QWidget *>()) {
        QString text;
        QRect room;
        QStyle *style = control->style();
        if (auto *label = qobject_cast<QLabel *>(control)) {
            text = label->text();
            room = label->contentsRect();
        } else if (auto *box = qobject_cast<QLineEdit *>(control)) {
            QStyleOptionFrame option;
            option.initFrom(box);
            option.lineWidth =
                box->hasFrame() ? style->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
            text = box->text();
            constexpr int LineEditMargin = 2;
            room = style->subElementRect(QStyle::SE_LineEditContents, &option, box)
                       .adjusted(LineEditMargin, 0, -LineEditMargin, 0);
            const QPalette &palette = box->palette();
            const double light = luminance(palette.color(QPalette::Disabled, QPalette::Base));
            const double dark = luminance(palette.color(QPalette::Disabled, QPalette::Text));
            if (!box->isEnabled() &&
                (std::max(light, dark) + 0.05) / (std::min(light, dark) + 0.05) < 4.5)
                cut << box->objectName() + QStringLiteral(" faint");
            if (!box->isEnabled() && box->cursorPosition() != 0)
                cut << box->objectName() + QStringLiteral(" shows its end");
        } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
            QStyleOptionButton option;
            option.initFrom(button);
            text = button->text();
            room = style->subElementRect(qobject_cast<QRadioButton *>(button)
                                             ? QStyle::SE_RadioButtonContents
                                             : QStyle::SE_PushButtonContents,
                                         &option, button);
        } else if (auto *frame = qobject_cast<QGroupBox *>(control)) {
            text = frame->title();
            room = frame->rect().adjusted(8, 0, -8, 0);
        }
        const QFontMetrics metrics = control->fontMetrics();
        const QSize needed(metrics.size(Qt::TextShowMnemonic, text).width(), metrics.height());
        if (!text.isEmpty() && control->isVisibleTo(window) &&
            (needed.width() > room.width() || needed.height() > room.height()))
            cut << control->objectName() + QLatin1String(": ") + text +
                       QString(" %1x%2 in %3x%4")
                           .arg(needed.width())
                           .arg(needed.height())
                           .arg(room.width())
                           .arg(room.height());
    }
    return cut;
}

} // namespace

class TestTextdatei : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void states_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("records");
        QTest::newRow("idle") << QString() << Idle << 0 << 0;
        QTest::newRow("idle, start") << "Option2 start" << Recording << 30000 << 0;
        QTest::newRow("idle, stop") << "stop" << Stopped << 0 << 0;
        QTest::newRow("idle, clear") << "clear" << Idle << 0 << 0;
        QTest::newRow("recording, clear") << "start tick clear" << Recording << 1000 << 1;
        QTest::newRow("recording, option") << "start Option2" << Recording << 1000 << 0;
        QTest::newRow("recording, start")
            << "start tick Option4 start" << Recording << 3600000 << 1;
        QTest::newRow("recording, stop") << "start tick stop" << Stopped << 0 << 1;
        QTest::newRow("stopped, start") << "start stop Option3 start" << Recording << 60000 << 0;
        QTest::newRow("stopped, stop") << "start tick stop stop" << Stopped << 0 << 1;
        QTest::newRow("stopped, clear") << "start tick stop clear" << Idle << 0 << 0;
    }

    void states()
    {
        QFETCH(QString, script);
        QFETCH(int, interval);
        LogRig rig;
        textdatei *log = rig.openLog();
        play(log, script);

        QTEST(log->windowTitle(), "caption");
        QCOMPARE(named<QTimer>(*log, "Timer1")->interval(), interval);
        QCOMPARE(named<QTimer>(*log, "Timer1")->isActive(), interval != 0);
        for (QPushButton *button :
             {named<QPushButton>(*log, "Command1"), named<QPushButton>(*log, "Command2"),
              named<QPushButton>(*log, "Command4"), named<QPushButton>(*log, "Command5")})
            QCOMPARE(button->isEnabled(), interval == 0);
        QTEST(int(log->logText().count(u'\n')), "records");
    }

    void record_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("record");
        QTest::newRow("main window's start")
            << QTime(16, 0, 0)
            << "16:00:00\t-----------------\t-----------------\t-----------------\r\n";
        QTest::newRow("temperatures") << QTime(7, 5, 9) << "07:05:09\t21.5 °C\t-.5 °C\t22.3 °C\r\n";
    }

    void record()
    {
        QFETCH(QTime, time);
        QFETCH(QString, record);
        // The main window's texts as shown.
        const QStringList shown = record.chopped(2).split(u'\t');
        QCOMPARE(logRecord(clockText(time), shown[1], shown[2], shown[3]), record);

        LogRig rig;
        textdatei *log = rig.openLog();
        rig.clock.time = time;
        named<QLineEdit>(*rig.form, "Text1")->setText(shown[1]);
        named<QLineEdit>(*rig.form, "Text2")->setText(shown[2]);
        named<QLineEdit>(*rig.form, "Text3")->setText(shown[3]);
        play(log, QStringLiteral("start tick tick stop"));
        QCOMPARE(log->logText(),
                 QString(record + record).replace(QLatin1String("\r\n"), QLatin1String("\n")));
        // "Log &kopieren" hands over the whole text with the file's line ends.
        named<QPushButton>(*log, "Command5")->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), record + record);
    }

    void typedTextAndViewStay()
    {
        LogRig rig;
        textdatei *log = rig.openLog();
        QVERIFY(QTest::qWaitForWindowExposed(log));
        // A note typed on an unfinished line keeps its line, and the caret stays in it.
        QTest::keyClicks(named<QPlainTextEdit>(*log, "Text1"), QStringLiteral("Notiz"));
        play(log, QStringLiteral("start tick"));
        QTest::keyClicks(named<QPlainTextEdit>(*log, "Text1"), QStringLiteral(" 1"));
        QVERIFY(log->logText().startsWith(QStringLiteral("Notiz 1\n16:00:00\t")));
        QCOMPARE(log->logText().count(u'\n'), 2);

        // A view scrolled away from the caret at the end stays where the user left it.
        play(log, QStringLiteral("tick ").repeated(200));
        named<QPlainTextEdit>(*log, "Text1")->moveCursor(QTextCursor::End);
        QScrollBar *bar = named<QPlainTextEdit>(*log, "Text1")->verticalScrollBar();
        QVERIFY(bar->maximum() > 100);
        bar->setValue(bar->maximum() / 2);
        const int top = bar->value();
        const int caret = named<QPlainTextEdit>(*log, "Text1")->textCursor().position();
        play(log, QStringLiteral("tick tick"));
        QCOMPARE(bar->value(), top);
        QCOMPARE(named<QPlainTextEdit>(*log, "Text1")->textCursor().position(), caret);
        QVERIFY(log->logText().size() > caret);
    }

    void showAgain_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Schließen keeps it") << QStringLiteral("Option3 start tick stop") << false;
        QTest::newRow("close box ends it") << QStringLiteral("Option4 start tick") << true;
    }

    void showAgain()
    {
        QFETCH(QString, script);
        QFETCH(bool, closeBox);
        LogRig rig;
        QPointer<textdatei> first = rig.openLog();
        named<QPushButton>(*first, "Command2")->click();
        const QPointer<datei> dialog = datei::instance();
        play(first, script);
        const QString text = first->logText();
        if (closeBox) {
            QVERIFY(first->close());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(first.isNull() && !textdatei::instance());
            // Its file dialog goes with it, so it cannot save a log that no longer exists.
            QVERIFY(dialog.isNull());
        } else {
            named<QPushButton>(*first, "Command1")->click();
            QVERIFY(!first->isVisible() && rig.form->isVisible() && dialog->isVisible());
        }

        textdatei *log = rig.openLog();
        QVERIFY(log->isVisible() && !named<QTimer>(*log, "Timer1")->isActive());
        QCOMPARE(log == first, !closeBox);
        QCOMPARE(log->windowTitle(), closeBox ? Idle : Stopped);
        QCOMPARE(log->logText(), closeBox ? QString() : text);
        QCOMPARE(named<QRadioButton>(*log, "Option1")->isChecked(), closeBox);
    }

    // Every text shows whole, the clock texts of 12- and 24-hour locales included.
    void textsFit_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QByteArray>("locale");
        for (const char *locale : {"C", "en_US.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"})
            QTest::addRow("main window, %s", locale) << "Form1" << QByteArray(locale);
        for (const char *window : {"textdatei", "datei", "URLs"})
            QTest::newRow(window) << window << QByteArray("C");
    }

    void textsFit()
    {
        QFETCH(QString, window);
        QFETCH(QByteArray, locale);
        const QByteArray former = std::setlocale(LC_TIME, nullptr);
        if (!std::setlocale(LC_TIME, locale.constData()))
            QSKIP("locale not generated");
        LogRig rig;
        rig.clock.time = QTime(22, 5, 11);
        rig.form->Timer2_Timer();
        rig.form->resetit();
        std::setlocale(LC_TIME, former.constData());
        named<QLabel>(*rig.form, "Label7")->setText(QStringLiteral("Spion an Com 4"));
        named<KeyedStatusBar>(*rig.form, "StatusBar1")
            ->setPanelText(QStringLiteral("Ubat"), QStringLiteral("Batteriespannung: 4.25 Volt "));
        named<QPushButton>(*rig.openLog(), "Command2")->click();
        URLs::showInstance(rig.platform, nullptr);
        rig.form->show();
        for (QWidget *shown : QApplication::topLevelWidgets()) {
            if (shown->objectName() == window) {
                QVERIFY(QTest::qWaitForWindowExposed(shown));
                const QStringList cut = cutTexts(shown);
                QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String(" | "))));
            }
        }
        delete URLs::instance();
    }

    // A window shown again comes to the front even when it was shown already.
    void bringsForward_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("window");
        QTest::newRow("&Log Datei erstellen") << "Form1.m_datei_logd"
                                              << "textdatei";
        QTest::newRow("Sc&hließen") << "textdatei.Command1"
                                    << "Form1";
        QTest::newRow("&Speichern") << "textdatei.Command2"
                                    << "datei";
        QTest::newRow("&Zurück") << "datei.Command2"
                                 << "Form1";
    }

    void bringsForward()
    {
        QFETCH(QString, control);
        QFETCH(QString, window);
        LogRig rig;
        textdatei *log = rig.openLog();
        rig.form->show();
        named<QPushButton>(*log, "Command2")->click();
        QWidget other;
        other.show();
        other.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &other);
        const QStringList path = control.split(u'.');
        for (QWidget *shown : QApplication::topLevelWidgets()) {
            if (shown->objectName() == path[0]) {
                if (auto *action = shown->findChild<QAction *>(path[1]))
                    action->trigger();
                else
                    shown->findChild<QAbstractButton *>(path[1])->click();
            }
        }
        QTRY_COMPARE(QApplication::activeWindow() ? QApplication::activeWindow()->objectName() : "",
                     window);
    }
};

QTEST_MAIN(TestTextdatei)
#include "tst_textdatei.moc"
