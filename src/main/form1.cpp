#include "form1.h"

#include "device/module1.h"
#include "device/portlist.h"
#include "device/portmap.h"
#include "info/blick.h"
#include "info/infobox.h"
#include "keyedstatusbar.h"
#include "logging/textdatei.h"
#include "platform/clock.h"
#include "platform/messagebox.h"
#include "platform/quitter.h"
#include "ui/branding.h"
#include "ui/designfont.h"
#include "ui/mainwindowlink.h"
#include "ui/twips.h"
#include "ui/windowplacement.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTime>
#include <QTimer>

#include <chrono>

namespace {

constexpr std::chrono::milliseconds Tick{1000};
constexpr double ChargingThresholdVolts = 4.0;
constexpr int ComItems = 4;

const QString Hyphens = QStringLiteral("-----------------");
const QString NoDevice = QStringLiteral("Kein Spion !!!");
const QString ClockSuffix = QStringLiteral(" Uhr");

const QString PanelHelp = QStringLiteral("Hilfe");
const QString PanelBattery = QStringLiteral("Ubat");
const QString PanelCharging = QStringLiteral("Ubatjn");
const QString BatteryUnknown = QStringLiteral("Batteriespannung: unbekannt ");
const QString NoiseTip = QStringLiteral(
    "Am Anschluss kommen Bytes an, nach denen niemand gefragt hat: Solange die Leitung nicht "
    "ruhig ist, wird kein Spion erkannt.");
const QString LoopbackTip = QStringLiteral(
    "Jedes gesendete Byte kommt unverändert zurück: Am Anschluss steckt ein Prüfstecker "
    "(Loopback) oder ein Adapter, der das Gesendete zurückschickt, aber kein Spion.");

// The classic toolkit's grey for disabled text is too faint on a light field; this one keeps
// the values readable (better than 4.5 : 1 on white and on light grey).
const QColor DisabledText(0x59, 0x59, 0x59);

// The readings and their captions use the large design font and start at the top left, as the
// classic controls draw them; the boxes only show.
QLabel *addLabel(QWidget *container, const char *name, const QString &text, const QRect &rect)
{
    auto *label = designControl<QLabel>(container, name, rect, text);
    label->setFont(designFont(13.5, DesignFace::Narrow));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// A device named through a link (WARMLOG_COM1=/dev/serial/by-id/...) is the device it leads to.
QString realDevice(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

bool behindComItem(const QString &systemName)
{
    const QString device = realDevice(portmap::systemDevicePath(systemName));
    for (int number = 1; number <= ComItems; ++number) {
        if (realDevice(portmap::devicePath(number)) == device)
            return true;
    }
    return false;
}

QLineEdit *addTextBox(QWidget *container, const char *name, const QString &text, const QRect &rect)
{
    auto *box = designControl<QLineEdit>(container, name, rect, text);
    box->setFont(designFont(13.5, DesignFace::Narrow));
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setEnabled(false);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, DisabledText);
    box->setPalette(palette);
    // A text too long for the box shows its beginning, not its end.
    QObject::connect(box, &QLineEdit::cursorPositionChanged, box, [box](int, int position) {
        if (position != 0)
            box->setCursorPosition(0);
    });
    box->setCursorPosition(0);
    return box;
}

} // namespace

Form1::Form1(Module1 &serial, const Platform &platform, QWidget *parent)
    : QMainWindow(parent, fixedWindowFlags(MinimiseButton::Yes)), m_serial(serial),
      m_platform(platform)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(programTitle());
    setWindowIcon(programWindowIcon());
    buildControls();
    buildMenus();
    m_link = new MainWindowLink(
        [this] {
            return MainWindowLink::Readings{Text1->text(), Text2->text(), Text3->text()};
        },
        this);
    connect(m_link, &MainWindowLink::showRequested, this, [this] { bringForward(this); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    connect(Timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);

    // The size follows from the fixed client area below the menu bar.
    adjustSize();
    setFixedSize(sizeHint());
    centreOnScreen(this);

    Form_Load();

    if (m_platform.tray) {
        connect(m_platform.tray, &TrayIcon::clicked, this, &Form1::TrayIcon_Click);
        connect(m_platform.tray, &TrayIcon::areaGone, this, &Form1::TrayIcon_AreaGone);
    }
}

void Form1::buildControls()
{
    auto *client = new QWidget(this);
    client->setFixedSize(twips(5820), twips(5205 - 255));
    // The classic toolkit's default font, for the frames and the button.
    client->setFont(designFont(8.25));
    setCentralWidget(client);

    QGroupBox *frame1 = designControl<QGroupBox>(client, "Frame1", twipsRect(105, 105, 5580, 1590),
                                                 QStringLiteral("Laufende Messung:"));
    addLabel(frame1, "Label1", QStringLiteral("Aktuelle Temperatur:"),
             twipsRect(105, 315, 2850, 435));
    Text1 = addTextBox(frame1, "Text1", Hyphens, twipsRect(3570, 315, 1905, 435));
    addLabel(frame1, "Label4", QStringLiteral("Aktuelle Uhrzeit:"), twipsRect(105, 945, 2745, 435));
    Text4 =
        addTextBox(frame1, "Text4", QStringLiteral("16:00 Uhr"), twipsRect(3570, 945, 1905, 435));

    QGroupBox *frame2 = designControl<QGroupBox>(client, "Frame2", twipsRect(105, 1890, 5580, 1800),
                                                 QStringLiteral("Min/Max Anzeige:"));
    addLabel(frame2, "Label2", QStringLiteral("Min:"), twipsRect(105, 420, 750, 435));
    Text2 = addTextBox(frame2, "Text2", Hyphens, twipsRect(840, 420, 1905, 435));
    addLabel(frame2, "Label3", QStringLiteral("Max:"), twipsRect(2835, 420, 645, 435));
    Text3 = addTextBox(frame2, "Text3", Hyphens, twipsRect(3570, 420, 1905, 435));
    addLabel(frame2, "Label5", QStringLiteral("um:"), twipsRect(210, 1050, 540, 435));
    Text5 =
        addTextBox(frame2, "Text5", QStringLiteral("16:00 Uhr"), twipsRect(840, 1050, 1905, 435));
    addLabel(frame2, "Label6", QStringLiteral("um:"), twipsRect(2940, 1050, 540, 435));
    Text6 =
        addTextBox(frame2, "Text6", QStringLiteral("16:00 Uhr"), twipsRect(3570, 1050, 1905, 435));

    QGroupBox *frame3 = designControl<QGroupBox>(client, "Frame3", twipsRect(120, 3840, 5580, 1050),
                                                 QStringLiteral("Einstellungen:"));
    Command2 = designControl<QPushButton>(frame3, "Command2", twipsRect(210, 420, 2010, 435),
                                          QStringLiteral("&Reset Min/Max Anzeige"));
    Command2->setToolTip(QStringLiteral("Setzt die Min/Max Anzeige auf die aktuelle Temperatur."));
    connect(Command2, &QPushButton::clicked, this, &Form1::resetit);
    Label7 = addLabel(frame3, "Label7", QString(), twipsRect(2520, 420, 2850, 435));

    // Holds the icon image for the notification area; never shown.
    Picture1 = designControl<QLabel>(frame3, "Picture1", twipsRect(5160, 240, 255, 255));
    Picture1->setPixmap(windowIcon().pixmap(32, 32));
    Picture1->setVisible(false);

    // The tab order of the design; the disabled boxes and the labels take no focus anyway.
    QWidget::setTabOrder(Command2, Text1);

    StatusBar1 = new KeyedStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    // The three panels share the window's width: the narrow face lets the credit line and the
    // longest battery text fit side by side, and the bar grows beyond the design's height by
    // what the panels' frames need.
    StatusBar1->setFont(designFont(8.25, DesignFace::Narrow));
    StatusBar1->addPanel(PanelHelp, twips(1440), 1);
    StatusBar1->addPanel(PanelBattery, twips(1440));
    StatusBar1->addPanel(PanelCharging, twips(1440));
    // The bar's own space above and below a panel, and the panel's sunken frame.
    constexpr int PanelChrome = 3 + 2 + 2;
    StatusBar1->setFixedHeight(qMax(twips(255), StatusBar1->fontMetrics().height() + PanelChrome));
    setStatusBar(StatusBar1);
}

void Form1::buildMenus()
{
    auto addItem = [this](QMenu *menu, const char *name, const QString &caption,
                          void (Form1::*handler)()) {
        QAction *item = menu->addAction(caption);
        item->setObjectName(QLatin1String(name));
        connect(item, &QAction::triggered, this, handler);
        return item;
    };

    m_datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    m_datei->setObjectName(QStringLiteral("m_datei"));
    m_datei_logd = addItem(m_datei, "m_datei_logd", QStringLiteral("&Log Datei erstellen"),
                           &Form1::m_datei_logd_Click);
    m_datei->addSeparator()->setObjectName(QStringLiteral("t1"));
    m_datei_ende =
        addItem(m_datei, "m_datei_ende", QStringLiteral("&Ende"), &Form1::m_datei_ende_Click);

    m_anschluss = menuBar()->addMenu(QStringLiteral("&Anschluss"));
    m_anschluss->setObjectName(QStringLiteral("m_anschluss"));
    m_a_com1 = addItem(m_anschluss, "m_a_com1", QStringLiteral("Com &1"), &Form1::m_a_com1_Click);
    m_a_com2 = addItem(m_anschluss, "m_a_com2", QStringLiteral("Com &2"), &Form1::m_a_com2_Click);
    m_a_com3 = addItem(m_anschluss, "m_a_com3", QStringLiteral("Com &3"), &Form1::m_a_com3_Click);
    m_a_com4 = addItem(m_anschluss, "m_a_com4", QStringLiteral("Com &4"), &Form1::m_a_com4_Click);
    // The check mark follows the click handlers, not Qt's own toggling; without an exclusive group
    // Qt draws it as a check, not a radio bullet.
    for (QAction *item : {m_a_com1, m_a_com2, m_a_com3, m_a_com4})
        item->setCheckable(true);
    // Adapters come and go while the program runs: the menu shows what was read last and asks
    // for a new reading, which replaces the list when it differs.
    if (m_platform.ports) {
        connect(m_anschluss, &QMenu::aboutToShow, this, [this] {
            listPorts();
            m_platform.ports->refresh();
        });
        connect(m_platform.ports, &PortList::changed, this, &Form1::listPorts);
    }

    m_fragezeichen = menuBar()->addMenu(QStringLiteral("&?"));
    m_fragezeichen->setObjectName(QStringLiteral("m_fragezeichen"));
    m_f_so = addItem(m_fragezeichen, "m_f_so", QStringLiteral("&So sieht der Spion von innen aus"),
                     &Form1::m_f_so_Click);
    m_f_info = addItem(m_fragezeichen, "m_f_info", QStringLiteral("&Info"), &Form1::m_f_info_Click);

    // The notification icon's menu: never part of the menu bar.
    mnbar = new QMenu(this);
    mnbar->setObjectName(QStringLiteral("mnbar"));
    mnBarShowWindow = addItem(mnbar, "mnBarShowWindow", QStringLiteral("Warmlog anzeigen"),
                              &Form1::mnBarShowWindow_Click);
    mnbarinfo = addItem(mnbar, "mnbarinfo", QStringLiteral("Info"), &Form1::mnbarinfo_Click);
    mnbar->addSeparator()->setObjectName(QStringLiteral("mnBarSep1"));
    mnBarExit = addItem(mnbar, "mnBarExit", QStringLiteral("Beenden"), &Form1::mnBarExit_Click);
}

QString Form1::clockNow() const
{
    return clockText(m_platform.clock->currentTime()) + ClockSuffix;
}

void Form1::Form_Load()
{
    Label7->setText(NoDevice);
    Text4->setText(clockNow());
    Text5->setText(clockNow());
    Text6->setText(clockNow());
    Timer2->start(Tick);
    StatusBar1->setPanelText(PanelHelp, QStringLiteral("Warmlog ist von ") +
                                            QString::fromUtf8(author::Name) + QLatin1Char(' '));
    StatusBar1->setPanelText(PanelBattery, BatteryUnknown);
    StatusBar1->setPanelText(PanelCharging, QStringLiteral("Laden: nein "));
}

void Form1::WakeUp()
{
    protocol::WakeUp(m_serial);
}

void Form1::m_a_com1_Click()
{
    selectPort(m_a_com1, QStringLiteral("COM1"), QStringLiteral("Com 1"));
}

void Form1::m_a_com2_Click()
{
    selectPort(m_a_com2, QStringLiteral("COM2"), QStringLiteral("Com 2"));
}

void Form1::m_a_com3_Click()
{
    selectPort(m_a_com3, QStringLiteral("COM3"), QStringLiteral("Com 3"));
}

void Form1::m_a_com4_Click()
{
    selectPort(m_a_com4, QStringLiteral("COM4"), QStringLiteral("Com 4"));
}

void Form1::listPorts()
{
    for (QAction *item : std::as_const(m_listedPorts)) {
        m_anschluss->removeAction(item);
        item->deleteLater();
    }
    m_listedPorts.clear();
    if (!m_platform.ports)
        return;
    for (const SerialPortName &port : m_platform.ports->ports()) {
        if (behindComItem(port.systemName))
            continue;
        if (m_listedPorts.isEmpty())
            m_listedPorts.append(m_anschluss->addSeparator());
        QString caption = port.systemName;
        if (!port.description.isEmpty())
            caption += QStringLiteral(" (%1)").arg(port.description);
        QAction *item =
            m_anschluss->addAction(caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setCheckable(true);
        item->setChecked(port.systemName == m_chosenPort);
        const QString name = port.systemName;
        connect(item, &QAction::triggered, this,
                [this, item, name] { selectPort(item, name, name); });
        m_listedPorts.append(item);
    }
}

void Form1::selectPort(QAction *item, const QString &systemName, const QString &shownName)
{
    for (QAction *other : m_anschluss->actions())
        other->setChecked(other == item);
    m_chosenPort = m_listedPorts.contains(item) ? systemName : QString();
    m_serial.OPENCOM(portmap::openText(systemName));
    // The status text stays as designed; the tool tip says why, for whoever looks.
    Label7->setToolTip(m_serial.openFailure());
    WakeUp();
    const qint16 ping = protocol::ask(m_serial, protocol::CommandPing);
    if (ping == protocol::NoAnswer) {
        Label7->setText(NoDevice);
        if (!m_serial.confirmAnswers())
            Label7->setToolTip(NoiseTip);
        return;
    }
    const qint16 first = protocol::ask(m_serial, protocol::CommandTemperature);
    const qint16 second = protocol::ask(m_serial, protocol::CommandTemperature);
    const bool clean = m_serial.confirmAnswers();
    if (clean &&
        protocol::allEchoed({{protocol::CommandPing, ping},
                             {protocol::CommandTemperature, first},
                             {protocol::CommandTemperature, second}}) &&
        protocol::echoesProbe(m_serial)) {
        Label7->setText(NoDevice);
        Label7->setToolTip(LoopbackTip);
        return;
    }
    Label7->setText(QStringLiteral("Spion an ") + shownName);
    // A reading without a value would plant a false 0 degrees as an extreme: keep the field.
    if (clean && protocol::answersAgree({first, second})) {
        if (const protocol::Temperature minimum = protocol::temperatureFromAnswer(first))
            Text2->setText(protocol::temperatureText(minimum));
        if (const protocol::Temperature maximum = protocol::temperatureFromAnswer(second))
            Text3->setText(protocol::temperatureText(maximum));
    }
    if (!Timer1->isActive())
        Timer1->start(Tick);
}

void Form1::Timer1_Timer()
{
    using protocol::CommandBattery;
    using protocol::CommandTemperature;
    // The tick asks as it always did, but shows nothing before every answer has been judged:
    // noise on the line, answers that disagree or a line that echoes hold the readings back.
    const qint16 batteryShown = protocol::ask(m_serial, CommandBattery);
    const qint16 batteryLow = protocol::ask(m_serial, CommandBattery);
    const bool charge = protocol::voltageFromAnswer(batteryLow) < ChargingThresholdVolts;
    const qint16 batteryHigh =
        charge ? protocol::NoAnswer : protocol::ask(m_serial, CommandBattery);
    const qint16 shown = protocol::ask(m_serial, CommandTemperature);
    const qint16 captioned = protocol::ask(m_serial, CommandTemperature);
    const qint16 compared = protocol::ask(m_serial, CommandTemperature);
    // A line that echoes answers each command with itself. So does a device at -16.9 °C (22) or
    // 2.9 V (25); only then is it asked for a byte that no device sends back.
    const bool echoed = protocol::allEchoed({{CommandBattery, batteryShown},
                                             {CommandBattery, batteryLow},
                                             {CommandBattery, batteryHigh}}) ||
                        protocol::allEchoed({{CommandTemperature, shown},
                                             {CommandTemperature, captioned},
                                             {CommandTemperature, compared}});
    const bool trusted = m_serial.confirmAnswers() && !(echoed && protocol::echoesProbe(m_serial));

    if (trusted && protocol::answersAgree({batteryShown, batteryLow, batteryHigh})) {
        StatusBar1->setPanelText(
            PanelBattery, QStringLiteral("Batteriespannung: ") +
                              protocol::numberText(protocol::voltageFromAnswer(batteryShown)) +
                              QStringLiteral(" Volt "));
        if (charge) {
            StatusBar1->setPanelText(PanelCharging, QStringLiteral("Laden: ja "));
            m_serial.DTR(1);
            m_serial.RTS(1);
        } else if (protocol::voltageFromAnswer(batteryHigh) > ChargingThresholdVolts) {
            StatusBar1->setPanelText(PanelCharging, QStringLiteral("Laden: nein "));
            m_serial.DTR(0);
            m_serial.RTS(0);
        }
    } else {
        // Unknown rather than a voltage the device did not send; charging stays as it is.
        StatusBar1->setPanelText(PanelBattery, BatteryUnknown);
    }
    const bool temperatureTrusted = trusted && protocol::answersAgree({shown, captioned, compared});
    const auto reading = [temperatureTrusted](qint16 answer) {
        return temperatureTrusted ? protocol::temperatureFromAnswer(answer)
                                  : protocol::Temperature();
    };
    Text1->setText(protocol::temperatureText(reading(shown)));
    setWindowTitle(programTitle() + QLatin1Char(' ') +
                   protocol::temperatureText(reading(captioned)));
    temperatur(reading(compared));
}

void Form1::temperatur(protocol::Temperature current)
{
    if (!current)
        return;
    const protocol::Temperature minimum = protocol::temperatureFromText(Text2->text());
    const protocol::Temperature maximum = protocol::temperatureFromText(Text3->text());
    // An empty field (the start-up hyphens) takes any reading.
    if (!minimum || *current < *minimum) {
        Text2->setText(protocol::temperatureText(current));
        Text5->setText(Text4->text());
    } else if (!maximum || *current > *maximum) {
        Text3->setText(protocol::temperatureText(current));
        Text6->setText(Text4->text());
    }
}

void Form1::resetit()
{
    // Without a reading in Text1 the extremes start empty, so the next reading takes their place.
    const QString current = protocol::temperatureFromText(Text1->text()) ? Text1->text() : Hyphens;
    Text2->setText(current);
    Text3->setText(current);
    Text5->setText(Text4->text());
    Text6->setText(Text4->text());
}

void Form1::Timer2_Timer()
{
    Text4->setText(clockNow());
}

// The secondary windows are program-wide instances, made on first use.
void Form1::m_datei_logd_Click()
{
    bringForward(textdatei::programWide(m_platform, m_link));
}

void Form1::m_f_so_Click()
{
    Blick::showInstance(m_platform, m_link);
}

void Form1::m_f_info_Click()
{
    ShowInfoBox(*m_platform.messageBoxes);
}

void Form1::mnbarinfo_Click()
{
    ShowInfoBox(*m_platform.messageBoxes);
}

void Form1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void Form1::Form_Resize()
{
    if (isMinimized())
        ToTray();
}

void Form1::ToTray()
{
    TrayIcon *tray = m_platform.tray;
    // Without a notification area nothing could bring a hidden window back: it stays minimised in
    // the task bar instead.
    if (!tray || !tray->isAvailable())
        return;
    hide();
    tray->IconData.uID = 1;
    tray->IconData.uFlags = TrayIcon::NIF_MESSAGE | TrayIcon::NIF_ICON | TrayIcon::NIF_TIP;
    tray->IconData.hIcon = QIcon(Picture1->pixmap());
    tray->IconData.szTip = TrayIcon::tipText(windowTitle());
    tray->Shell_NotifyIcon(TrayIcon::NIM_ADD, tray->IconData);
}

void Form1::TrayIcon_Click(TrayIcon::Click click)
{
    switch (click) {
    case TrayIcon::Click::Left:
        // Visible again, but a minimised window stays minimised: it only regains its task-bar
        // entry, and the icon stays.
        show();
        break;
    case TrayIcon::Click::Right:
        mnbar->popup(QCursor::pos());
        break;
    }
}

// With the notification area gone nothing could bring a hidden window back: restored as by
// "Warmlog anzeigen", and later minimising keeps it in the task bar as in ToTray.
void Form1::TrayIcon_AreaGone()
{
    mnBarShowWindow_Click();
}

void Form1::mnBarShowWindow_Click()
{
    setWindowState(Qt::WindowNoState);
    show();
    if (m_platform.tray)
        m_platform.tray->Shell_NotifyIcon(TrayIcon::NIM_DELETE, m_platform.tray->IconData);
}

void Form1::mnBarExit_Click()
{
    ende();
}

void Form1::m_datei_ende_Click()
{
    ende();
}

void Form1::closeEvent(QCloseEvent *event)
{
    bool cancel = false;
    Form_Unload(cancel);
    event->setAccepted(!cancel);
}

// Closing never ends the program by itself; ende decides.
void Form1::Form_Unload(bool &cancel)
{
    cancel = true;
    ende();
}

void Form1::ende()
{
    const QString question = QStringLiteral("Möchten Sie das Programm wirklich beenden?");
    constexpr int style = msgbox::StyleYesNo | msgbox::StyleQuestion | msgbox::StyleDefaultSecond;
    if (m_platform.messageBoxes->show(question, style, programTitle()) == msgbox::AnswerNo)
        return;
    // Neither result is looked at: the program ends regardless.
    m_serial.CLOSECOM();
    if (m_platform.tray)
        m_platform.tray->Shell_NotifyIcon(TrayIcon::NIM_DELETE, m_platform.tray->IconData);
    m_platform.quitter->End();
}
