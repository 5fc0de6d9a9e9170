#include "mainwindow.h"

#include "chart/historywindow.h"
#include "device/portlist.h"
#include "device/portmap.h"
#include "device/seriallink.h"
#include "info/infobox.h"
#include "info/picturewindow.h"
#include "keyedstatusbar.h"
#include "logging/logrecovery.h"
#include "logging/logwindow.h"
#include "platform/clock.h"
#include "platform/messageboxes.h"
#include "platform/quitter.h"
#include "recording/dayfiles.h"
#include "recording/recordseries.h"
#include "ui/branding.h"
#include "ui/contrast.h"
#include "ui/designfont.h"
#include "ui/mainwindowlink.h"
#include "ui/twips.h"
#include "ui/windowplacement.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTime>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <utility>

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
// the values readable (better than 4.5 : 1 on white and on light grey). On a dark field the
// readings take the palette's text colour as far as they need to.
const QColor DisabledText(0x59, 0x59, 0x59);

void makeReadable(QLineEdit *box)
{
    // From the desktop's palette, which a palette change has set before the boxes follow it.
    const QPalette desktop = QApplication::palette(box);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text,
                     readableColour(DisabledText, desktop.color(QPalette::Active, QPalette::Text),
                                    desktop.color(QPalette::Disabled, QPalette::Base)));
    box->setPalette(palette);
}

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

// The Com item whose device the port is, or 0.
int comItemOf(const QString &systemName)
{
    const QString device = realDevice(portmap::systemDevicePath(systemName));
    for (int number = 1; number <= ComItems; ++number) {
        if (realDevice(portmap::devicePath(number)) == device)
            return number;
    }
    return 0;
}

QString helpText()
{
    return QStringLiteral("Warmlog ist von ") + QString::fromUtf8(author::Name) + QLatin1Char(' ');
}

// Only a marked item is checkable: some styles draw an empty box before every checkable item. The
// mark follows the program's state, not Qt's own toggling.
void setMarked(QAction *item, bool marked)
{
    item->setCheckable(marked);
    item->setChecked(marked);
}

QString seriesProblem(RecordFile::Failure failure)
{
    switch (failure) {
    case RecordFile::Failure::None:
        return {};
    case RecordFile::Failure::Full:
        return QStringLiteral("Aufzeichnung: Ordner voll ");
    case RecordFile::Failure::Missing:
        return QStringLiteral("Aufzeichnung: Ordner fehlt ");
    case RecordFile::Failure::NoPermission:
        return QStringLiteral("Aufzeichnung: kein Schreibrecht ");
    case RecordFile::Failure::Other:
        break;
    }
    return QStringLiteral("Aufzeichnung: Schreibfehler ");
}

QLineEdit *addTextBox(QWidget *container, const char *name, const QString &text, const QRect &rect)
{
    auto *box = designControl<QLineEdit>(container, name, rect, text);
    box->setFont(designFont(13.5, DesignFace::Narrow));
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setEnabled(false);
    makeReadable(box);
    // A text too long for the box shows its beginning, not its end.
    QObject::connect(box, &QLineEdit::cursorPositionChanged, box, [box](int, int position) {
        if (position != 0)
            box->setCursorPosition(0);
    });
    box->setCursorPosition(0);
    return box;
}

} // namespace

MainWindow::MainWindow(SerialLink &serial, const Platform &platform, QWidget *parent)
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
            return MainWindowLink::Readings{m_current->text(), m_minimum->text(),
                                            m_maximum->text()};
        },
        this);
    connect(m_link, &MainWindowLink::showRequested, this, [this] { bringForward(this); });

    m_measureTimer = new QTimer(this);
    m_measureTimer->setObjectName(QStringLiteral("Timer1"));
    connect(m_measureTimer, &QTimer::timeout, this, &MainWindow::measure);
    m_clockTimer = new QTimer(this);
    m_clockTimer->setObjectName(QStringLiteral("Timer2"));
    connect(m_clockTimer, &QTimer::timeout, this, &MainWindow::showTime);

    // The size follows from the fixed client area below the menu bar.
    adjustSize();
    setFixedSize(sizeHint());
    centreOnScreen(this);

    showStartState();

    connect(&m_platform.tray, &TrayIcon::clicked, this, &MainWindow::onTrayClicked);
    // With the notification area gone nothing could bring a hidden window back: restored as
    // by "Warmlog anzeigen", and later minimising keeps it in the task bar as in toTray().
    connect(&m_platform.tray, &TrayIcon::areaGone, this, &MainWindow::restoreWindow);
}

MainWindow::~MainWindow()
{
    // It draws from m_history.
    delete m_historyWindow;
}

void MainWindow::buildControls()
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
    m_current = addTextBox(frame1, "Text1", Hyphens, twipsRect(3570, 315, 1905, 435));
    addLabel(frame1, "Label4", QStringLiteral("Aktuelle Uhrzeit:"), twipsRect(105, 945, 2745, 435));
    m_clock =
        addTextBox(frame1, "Text4", QStringLiteral("16:00 Uhr"), twipsRect(3570, 945, 1905, 435));

    QGroupBox *frame2 = designControl<QGroupBox>(client, "Frame2", twipsRect(105, 1890, 5580, 1800),
                                                 QStringLiteral("Min/Max Anzeige:"));
    addLabel(frame2, "Label2", QStringLiteral("Min:"), twipsRect(105, 420, 750, 435));
    m_minimum = addTextBox(frame2, "Text2", Hyphens, twipsRect(840, 420, 1905, 435));
    addLabel(frame2, "Label3", QStringLiteral("Max:"), twipsRect(2835, 420, 645, 435));
    m_maximum = addTextBox(frame2, "Text3", Hyphens, twipsRect(3570, 420, 1905, 435));
    addLabel(frame2, "Label5", QStringLiteral("um:"), twipsRect(210, 1050, 540, 435));
    m_minimumTime =
        addTextBox(frame2, "Text5", QStringLiteral("16:00 Uhr"), twipsRect(840, 1050, 1905, 435));
    addLabel(frame2, "Label6", QStringLiteral("um:"), twipsRect(2940, 1050, 540, 435));
    m_maximumTime =
        addTextBox(frame2, "Text6", QStringLiteral("16:00 Uhr"), twipsRect(3570, 1050, 1905, 435));

    QGroupBox *frame3 = designControl<QGroupBox>(client, "Frame3", twipsRect(120, 3840, 5580, 1050),
                                                 QStringLiteral("Einstellungen:"));
    m_resetButton = designControl<QPushButton>(frame3, "Command2", twipsRect(210, 420, 2010, 435),
                                               QStringLiteral("&Reset Min/Max Anzeige"));
    m_resetButton->setToolTip(
        QStringLiteral("Setzt die Min/Max Anzeige auf die aktuelle Temperatur."));
    connect(m_resetButton, &QPushButton::clicked, this, &MainWindow::resetExtremes);
    m_deviceStatus = addLabel(frame3, "Label7", QString(), twipsRect(2520, 420, 2850, 435));

    // Holds the icon image for the notification area; never shown.
    m_trayImage = designControl<QLabel>(frame3, "Picture1", twipsRect(5160, 240, 255, 255));
    m_trayImage->setPixmap(windowIcon().pixmap(32, 32));
    m_trayImage->setVisible(false);

    // The reset button comes first; the disabled boxes and the labels take no focus anyway.
    QWidget::setTabOrder(m_resetButton, m_current);

    m_statusBar = new KeyedStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    // The three panels share the window's width: the narrow face lets the credit line and the
    // longest battery text fit side by side, and the bar grows beyond its nominal height by
    // what the panels' frames need.
    m_statusBar->setFont(designFont(8.25, DesignFace::Narrow));
    m_statusBar->addPanel(PanelHelp, twips(1440), 1);
    m_statusBar->addPanel(PanelBattery, twips(1440));
    m_statusBar->addPanel(PanelCharging, twips(1440));
    // The bar's own space above and below a panel, and the panel's sunken frame.
    constexpr int PanelChrome = 3 + 2 + 2;
    m_statusBar->setFixedHeight(
        qMax(twips(255), m_statusBar->fontMetrics().height() + PanelChrome));
    setStatusBar(m_statusBar);
}

void MainWindow::buildMenus()
{
    auto addItem = [this](QMenu *menu, const char *name, const QString &caption,
                          void (MainWindow::*handler)()) {
        QAction *item = menu->addAction(caption);
        item->setObjectName(QLatin1String(name));
        connect(item, &QAction::triggered, this, handler);
        return item;
    };

    m_fileMenu = menuBar()->addMenu(QStringLiteral("&Datei"));
    m_fileMenu->setObjectName(QStringLiteral("m_datei"));
    m_logItem = addItem(m_fileMenu, "m_datei_logd", QStringLiteral("&Log Datei erstellen"),
                        &MainWindow::showLogWindow);
    m_seriesItem = addItem(m_fileMenu, "m_datei_messreihe",
                           QStringLiteral("&Messreihe aufzeichnen …"), &MainWindow::toggleSeries);
    m_historyItem = addItem(m_fileMenu, "m_datei_verlauf", QStringLiteral("&Verlauf anzeigen"),
                            &MainWindow::showHistoryWindow);
    m_fileMenu->addSeparator()->setObjectName(QStringLiteral("t1"));
    m_quitItem =
        addItem(m_fileMenu, "m_datei_ende", QStringLiteral("&Ende"), &MainWindow::confirmQuit);

    m_portMenu = menuBar()->addMenu(QStringLiteral("&Anschluss"));
    m_portMenu->setObjectName(QStringLiteral("m_anschluss"));
    for (int number = 1; number <= ComItems; ++number) {
        QAction *item = m_portMenu->addAction(QStringLiteral("Com &%1").arg(number));
        item->setObjectName(QStringLiteral("m_a_com%1").arg(number));
        connect(item, &QAction::triggered, this, [this, number] { choosePort(number); });
        m_comItems[number - 1] = item;
    }
    // Only the chosen item is checkable (setMarked()).
    // Adapters come and go while the program runs: the menu shows what was read last and asks
    // for a new reading, which replaces the list when it differs.
    connect(m_portMenu, &QMenu::aboutToShow, this, [this] {
        listPorts();
        m_platform.ports.refresh();
    });
    connect(&m_platform.ports, &PortList::changed, this, &MainWindow::listPorts);

    m_helpMenu = menuBar()->addMenu(QStringLiteral("&?"));
    m_helpMenu->setObjectName(QStringLiteral("m_fragezeichen"));
    m_pictureItem =
        addItem(m_helpMenu, "m_f_so", QStringLiteral("&So sieht der Spion von innen aus"),
                &MainWindow::showPictureWindow);
    m_infoItem = addItem(m_helpMenu, "m_f_info", QStringLiteral("&Info"), &MainWindow::showInfo);

    // The notification icon's menu: never part of the menu bar.
    m_trayMenu = new QMenu(this);
    m_trayMenu->setObjectName(QStringLiteral("mnbar"));
    m_trayShowItem = addItem(m_trayMenu, "mnBarShowWindow", QStringLiteral("Warmlog anzeigen"),
                             &MainWindow::restoreWindow);
    m_trayInfoItem =
        addItem(m_trayMenu, "mnbarinfo", QStringLiteral("Info"), &MainWindow::showInfo);
    m_trayMenu->addSeparator()->setObjectName(QStringLiteral("mnBarSep1"));
    m_trayQuitItem =
        addItem(m_trayMenu, "mnBarExit", QStringLiteral("Beenden"), &MainWindow::confirmQuit);
}

QString MainWindow::clockNow() const
{
    return clockText(m_platform.clock.currentTime()) + ClockSuffix;
}

void MainWindow::showStartState()
{
    m_deviceStatus->setText(NoDevice);
    m_clock->setText(clockNow());
    m_minimumTime->setText(clockNow());
    m_maximumTime->setText(clockNow());
    m_clockTimer->start(Tick);
    m_statusBar->setPanelText(PanelHelp, helpText());
    m_statusBar->setPanelText(PanelBattery, BatteryUnknown);
    m_statusBar->setPanelText(PanelCharging, QStringLiteral("Laden: nein "));
}

void MainWindow::wakeUp()
{
    protocol::wakeUp(m_serial);
}

void MainWindow::choosePort(int comNumber)
{
    Q_ASSERT(comNumber >= 1 && comNumber <= ComItems);
    openPort(m_comItems[comNumber - 1], QStringLiteral("COM%1").arg(comNumber),
             QStringLiteral("Com %1").arg(comNumber));
}

bool MainWindow::chooseNamedPort(const QString &systemName)
{
    for (int number = 1; number <= ComItems; ++number) {
        if (systemName.compare(QStringLiteral("COM%1").arg(number), Qt::CaseInsensitive) == 0) {
            choosePort(number);
            return true;
        }
    }
    m_platform.ports.waitForReading();
    listPorts();
    if (const int number = comItemOf(systemName)) {
        const QList<SerialPortName> known = m_platform.ports.ports();
        const bool listed = std::any_of(known.begin(), known.end(), [&](const auto &port) {
            return port.systemName == systemName;
        });
        if (listed)
            choosePort(number);
        return listed;
    }
    for (QAction *item : std::as_const(m_listedPorts)) {
        if (item->data().toString() == systemName) {
            openPort(item, systemName, systemName);
            return true;
        }
    }
    return false;
}

void MainWindow::listPorts()
{
    for (QAction *item : std::as_const(m_listedPorts)) {
        m_portMenu->removeAction(item);
        item->deleteLater();
    }
    m_listedPorts.clear();
    for (const SerialPortName &port : m_platform.ports.ports()) {
        if (comItemOf(port.systemName) != 0)
            continue;
        if (m_listedPorts.isEmpty())
            m_listedPorts.append(m_portMenu->addSeparator());
        QString caption = port.systemName;
        if (!port.description.isEmpty())
            caption += QStringLiteral(" (%1)").arg(port.description);
        QAction *item =
            m_portMenu->addAction(caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
        setMarked(item, port.systemName == m_chosenPort);
        item->setData(port.systemName);
        const QString name = port.systemName;
        connect(item, &QAction::triggered, this,
                [this, item, name] { openPort(item, name, name); });
        m_listedPorts.append(item);
    }
}

void MainWindow::openPort(QAction *item, const QString &systemName, const QString &shownName)
{
    // Without an exclusive group Qt draws the mark as a check, not a radio bullet.
    for (QAction *other : m_portMenu->actions())
        setMarked(other, other == item);
    m_chosenPort = m_listedPorts.contains(item) ? systemName : QString();
    m_serial.open(portmap::openText(systemName));
    // The status text stays short; the tool tip says why, for whoever looks.
    m_deviceStatus->setToolTip(m_serial.openFailure());
    wakeUp();
    const qint16 ping = protocol::ask(m_serial, protocol::CommandPing);
    if (ping == protocol::NoAnswer) {
        m_deviceStatus->setText(NoDevice);
        if (!m_serial.confirmAnswers())
            m_deviceStatus->setToolTip(NoiseTip);
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
        m_deviceStatus->setText(NoDevice);
        m_deviceStatus->setToolTip(LoopbackTip);
        return;
    }
    m_deviceStatus->setText(QStringLiteral("Spion an ") + shownName);
    // A reading without a value would plant a false 0 degrees as an extreme: keep the field.
    if (clean && protocol::answersAgree({first, second})) {
        if (const protocol::Temperature minimum = protocol::temperatureFromAnswer(first))
            m_minimum->setText(protocol::temperatureText(minimum));
        if (const protocol::Temperature maximum = protocol::temperatureFromAnswer(second))
            m_maximum->setText(protocol::temperatureText(maximum));
    }
    if (!m_measureTimer->isActive())
        m_measureTimer->start(Tick);
}

void MainWindow::measure()
{
    using protocol::CommandBattery;
    using protocol::CommandTemperature;
    // The tick asks as it always did, but shows nothing before every answer has been judged:
    // noise on the line, answers that disagree or a line that echoes hold the readings back.
    // Battery and temperature are asked once for each use, on purpose: each shown value keeps
    // its own reading, as it always had, and the repeated answers can be compared.
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
    const bool batteryTrusted =
        trusted && protocol::answersAgree({batteryShown, batteryLow, batteryHigh});

    if (batteryTrusted) {
        m_statusBar->setPanelText(
            PanelBattery, QStringLiteral("Batteriespannung: ") +
                              protocol::numberText(protocol::voltageFromAnswer(batteryShown)) +
                              QStringLiteral(" Volt "));
        if (charge) {
            m_charging = true;
            m_statusBar->setPanelText(PanelCharging, QStringLiteral("Laden: ja "));
            m_serial.setDtr(1);
            m_serial.setRts(1);
        } else if (protocol::voltageFromAnswer(batteryHigh) > ChargingThresholdVolts) {
            m_charging = false;
            m_statusBar->setPanelText(PanelCharging, QStringLiteral("Laden: nein "));
            m_serial.setDtr(0);
            m_serial.setRts(0);
        }
    } else {
        // Unknown rather than a voltage the device did not send; charging stays as it is.
        m_statusBar->setPanelText(PanelBattery, BatteryUnknown);
    }
    const bool temperatureTrusted = trusted && protocol::answersAgree({shown, captioned, compared});
    const auto reading = [temperatureTrusted](qint16 answer) {
        return temperatureTrusted ? protocol::temperatureFromAnswer(answer)
                                  : protocol::Temperature();
    };
    m_current->setText(protocol::temperatureText(reading(shown)));
    setWindowTitle(programTitle() + QLatin1Char(' ') +
                   protocol::temperatureText(reading(captioned)));
    updateExtremes(reading(compared));
    // One clock reading for the course and the series, so both hold the tick at the same time.
    const QDateTime now = m_platform.clock.currentDateTime();
    m_history.append(now.toSecsSinceEpoch(), reading(shown));
    if (m_historyWindow)
        m_historyWindow->refresh();
    if (m_series) {
        recordTick(now, reading(shown),
                   batteryTrusted ? std::optional<double>(protocol::voltageFromAnswer(batteryShown))
                                  : std::nullopt);
    }
}

void MainWindow::recordTick(const QDateTime &time, protocol::Temperature temperature,
                            std::optional<double> volts)
{
    m_series->append(time, temperature, volts, m_charging);
    const QString problem = seriesProblem(m_series->failure());
    if (problem == m_seriesProblem)
        return;
    m_seriesProblem = problem;
    m_statusBar->setPanelText(PanelHelp, problem.isEmpty() ? helpText() : problem);
}

void MainWindow::startSeries(const QString &folder)
{
    endSeries();
    m_series = std::make_unique<RecordSeries>(folder);
    setMarked(m_seriesItem, true);
    if (m_historyWindow)
        readSeriesHistory();
}

void MainWindow::endSeries()
{
    if (!m_series)
        return;
    m_series.reset();
    setMarked(m_seriesItem, false);
    if (!std::exchange(m_seriesProblem, QString()).isEmpty())
        m_statusBar->setPanelText(PanelHelp, helpText());
}

void MainWindow::toggleSeries()
{
    if (m_series) {
        endSeries();
        return;
    }
    const QString folder =
        QFileDialog::getExistingDirectory(this, QStringLiteral("Ordner für die Messreihe wählen"));
    if (!folder.isEmpty())
        startSeries(folder);
}

void MainWindow::updateExtremes(protocol::Temperature current)
{
    if (!current)
        return;
    const protocol::Temperature minimum = protocol::temperatureFromText(m_minimum->text());
    const protocol::Temperature maximum = protocol::temperatureFromText(m_maximum->text());
    // An empty field (the start-up hyphens) takes any reading.
    if (!minimum || *current < *minimum) {
        m_minimum->setText(protocol::temperatureText(current));
        m_minimumTime->setText(m_clock->text());
    } else if (!maximum || *current > *maximum) {
        m_maximum->setText(protocol::temperatureText(current));
        m_maximumTime->setText(m_clock->text());
    }
}

void MainWindow::resetExtremes()
{
    // Without a reading in m_current the extremes start empty, so the next reading takes their
    // place.
    const QString current =
        protocol::temperatureFromText(m_current->text()) ? m_current->text() : Hyphens;
    m_minimum->setText(current);
    m_maximum->setText(current);
    m_minimumTime->setText(m_clock->text());
    m_maximumTime->setText(m_clock->text());
}

void MainWindow::showTime()
{
    m_clock->setText(clockNow());
}

// The secondary windows are program-wide instances, made on first use.
void MainWindow::showLogWindow()
{
    LogWindow::showInstance(m_platform, m_link);
}

void MainWindow::showHistoryWindow()
{
    readSeriesHistory();
    if (!m_historyWindow)
        m_historyWindow = new HistoryWindow(m_history, m_platform);
    bringForward(m_historyWindow);
}

void MainWindow::readSeriesHistory()
{
    if (!m_series || m_series->folder() == m_historyFolder)
        return;
    m_historyFolder = m_series->folder();
    constexpr int Days = 7;
    m_history.prepend(
        dayfiles::read(m_historyFolder, m_platform.clock.currentDateTime().date(), Days));
    if (m_historyWindow)
        m_historyWindow->refresh();
}

void MainWindow::showPictureWindow()
{
    PictureWindow::showInstance(m_platform, m_link);
}

void MainWindow::showInfo()
{
    showInfoBox(m_platform.messageBoxes);
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // A desktop that switches to a dark palette or back.
    if (event->type() == QEvent::PaletteChange) {
        for (QLineEdit *box :
             {m_current, m_minimum, m_maximum, m_clock, m_minimumTime, m_maximumTime})
            makeReadable(box);
    }
    if (event->type() == QEvent::WindowStateChange)
        if (isMinimized())
            toTray();
}

void MainWindow::toTray()
{
    TrayIcon &tray = m_platform.tray;
    // Without a notification area nothing could bring a hidden window back: it stays minimised in
    // the task bar instead.
    if (!tray.isAvailable())
        return;
    hide();
    tray.show(QIcon(m_trayImage->pixmap()), windowTitle());
}

void MainWindow::onTrayClicked(TrayIcon::Click click)
{
    switch (click) {
    case TrayIcon::Click::Left:
        // Visible again, but a minimised window stays minimised: it only regains its task-bar
        // entry, and the icon stays.
        show();
        break;
    case TrayIcon::Click::Right:
        m_trayMenu->popup(QCursor::pos());
        break;
    }
}

void MainWindow::restoreWindow()
{
    setWindowState(Qt::WindowNoState);
    show();
    m_platform.tray.hide();
}

// Closing never ends the program by itself; confirmQuit() decides.
void MainWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    confirmQuit();
}

QString MainWindow::keepUnsavedLog()
{
    const LogWindow *log = LogWindow::instance();
    return log && log->hasUnsavedText() ? logrecovery::save(log->logText()) : QString();
}

void MainWindow::endWithoutAsking()
{
    keepUnsavedLog();
    endSeries();
    m_serial.close();
    m_platform.tray.hide();
    m_platform.quitter.quit();
}

void MainWindow::confirmQuit()
{
    const QString question = QStringLiteral("Möchten Sie das Programm wirklich beenden?");
    if (m_platform.messageBoxes.ask(question, MessageBoxes::Answer::No, programTitle()) ==
        MessageBoxes::Answer::No)
        return;
    // Neither result is looked at: the program ends regardless.
    endSeries();
    m_serial.close();
    m_platform.tray.hide();
    m_platform.quitter.quit();
}
