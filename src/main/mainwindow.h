#pragma once

#include "device/protocol.h"
#include "platform/platform.h"
#include "platform/trayicon.h"
#include "recording/readinghistory.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class HistoryWindow;
class KeyedStatusBar;
class MainWindowLink;
class RecordSeries;
class SerialLink;
class QAction;
class QDateTime;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;

// The main window: the program's one permanent window. Its controls are the measurement state:
// the current reading, the minimum and maximum with their times and the battery panels live in
// them and nowhere else.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    MainWindow(SerialLink &serial, const Platform &platform, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Chooses Com 1 to Com 4, as their menu items do.
    void choosePort(int comNumber);
    // Chooses a port by its system name as the menu would: "COM1" to "COM4" are the Com items,
    // another name a listed port. False for a name the system does not know.
    bool chooseNamedPort(const QString &systemName);
    // Starts a measurement series in the folder: from the next tick on, every tick's record goes
    // to its day file there. The item "Messreihe aufzeichnen" is checked while it runs.
    void startSeries(const QString &folder);
    // Syncs and ends the series, if one runs.
    void endSeries();
    // One measurement tick: asks the device and shows what it answered.
    void measure();
    // A reading that lies below the minimum or above the maximum takes its place, with the clock
    // field's time; no value changes nothing.
    void updateExtremes(protocol::Temperature current);
    void resetExtremes();
    // Asks whether to end the program and ends it on yes.
    void confirmQuit();
    // The system ends the program and nobody can be asked: unsaved log text is kept in a
    // recovery file, the port is released (and its lock with it), and the program ends.
    void endWithoutAsking();
    // Keeps unsaved log text in a recovery file, for a session that is ending; returns its path,
    // empty when there was nothing to keep.
    QString keepUnsavedLog();
    // Shows the time in the clock field, as its timer does every second.
    void showTime();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The controls; their object names are the short ones the tests find them by.
    QLineEdit *m_current = nullptr;
    QLineEdit *m_minimum = nullptr;
    QLineEdit *m_maximum = nullptr;
    QLineEdit *m_clock = nullptr;
    QLineEdit *m_minimumTime = nullptr;
    QLineEdit *m_maximumTime = nullptr;
    QLabel *m_deviceStatus = nullptr;
    KeyedStatusBar *m_statusBar = nullptr;
    QTimer *m_measureTimer = nullptr;
    QTimer *m_clockTimer = nullptr;
    QPushButton *m_resetButton = nullptr;
    QLabel *m_trayImage = nullptr;

    QMenu *m_fileMenu = nullptr;
    QAction *m_logItem = nullptr;
    QAction *m_seriesItem = nullptr;
    QAction *m_historyItem = nullptr;
    QAction *m_quitItem = nullptr;
    QMenu *m_portMenu = nullptr;
    QAction *m_comItems[4] = {};
    QMenu *m_helpMenu = nullptr;
    QAction *m_pictureItem = nullptr;
    QAction *m_infoItem = nullptr;
    QMenu *m_trayMenu = nullptr;
    QAction *m_trayShowItem = nullptr;
    QAction *m_trayInfoItem = nullptr;
    QAction *m_trayQuitItem = nullptr;

    void buildControls();
    void buildMenus();
    void showStartState();
    void wakeUp();
    // The machine's other serial ports, below Com 1 to Com 4.
    void listPorts();
    void openPort(QAction *item, const QString &systemName, const QString &shownName);
    void showLogWindow();
    // The menu item: a folder choice when no series runs, its end when one does.
    void toggleSeries();
    void recordTick(const QDateTime &time, protocol::Temperature temperature,
                    std::optional<double> volts);
    void showHistoryWindow();
    // The day files of the last week in the series folder, once per folder.
    void readSeriesHistory();
    void showPictureWindow();
    void showInfo();
    void toTray();
    // A left or right click on the notification icon.
    void onTrayClicked(TrayIcon::Click click);
    void restoreWindow();
    QString clockNow() const;

    SerialLink &m_serial;
    Platform m_platform;
    // What the windows opened from here read and ask of this one.
    MainWindowLink *m_link = nullptr;
    QList<QAction *> m_listedPorts; // with their separator
    // The listed port chosen last, checked again when the list is read anew; empty for Com n.
    QString m_chosenPort;
    // What the charging panel says.
    bool m_charging = false;
    std::unique_ptr<RecordSeries> m_series;
    // The status text of a failing series folder, shown in the help panel; empty while it works.
    QString m_seriesProblem;
    // Every reading since a port was chosen, and the series folder's last week once read.
    ReadingHistory m_history;
    QString m_historyFolder;
    QPointer<HistoryWindow> m_historyWindow;
};
