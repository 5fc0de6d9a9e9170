#pragma once

#include "device/protocol.h"
#include "platform/platform.h"
#include "platform/trayicon.h"

#include <QMainWindow>

class KeyedStatusBar;
class MainWindowLink;
class Module1;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;

// The main window: the program's one permanent window. Its controls are the measurement state:
// the current reading, the minimum and maximum with their times and the battery panels live in
// them and nowhere else.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    Form1(Module1 &serial, const Platform &platform, QWidget *parent = nullptr);

    void ende();
    // A reading that lies below the minimum or above the maximum takes its place, with the clock
    // field's time; no value changes nothing.
    void temperatur(protocol::Temperature current);
    void resetit();
    void WakeUp();

public Q_SLOTS:
    void m_a_com1_Click();
    void m_a_com2_Click();
    void m_a_com3_Click();
    void m_a_com4_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void m_datei_logd_Click();
    void m_datei_ende_Click();
    void m_f_so_Click();
    void m_f_info_Click();
    void mnBarShowWindow_Click();
    void mnbarinfo_Click();
    void mnBarExit_Click();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The controls, named as the design names them; tests find them by these names.
    QLineEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text3 = nullptr;
    QLineEdit *Text4 = nullptr;
    QLineEdit *Text5 = nullptr;
    QLineEdit *Text6 = nullptr;
    QLabel *Label7 = nullptr;
    KeyedStatusBar *StatusBar1 = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;
    QPushButton *Command2 = nullptr;
    QLabel *Picture1 = nullptr;

    QMenu *m_datei = nullptr;
    QAction *m_datei_logd = nullptr;
    QAction *m_datei_ende = nullptr;
    QMenu *m_anschluss = nullptr;
    QAction *m_a_com1 = nullptr;
    QAction *m_a_com2 = nullptr;
    QAction *m_a_com3 = nullptr;
    QAction *m_a_com4 = nullptr;
    QMenu *m_fragezeichen = nullptr;
    QAction *m_f_so = nullptr;
    QAction *m_f_info = nullptr;
    QMenu *mnbar = nullptr;
    QAction *mnBarShowWindow = nullptr;
    QAction *mnbarinfo = nullptr;
    QAction *mnBarExit = nullptr;

    void Form_Resize();
    void Form_Unload(bool &cancel);
    void ToTray();
    // A left or right click on the notification icon.
    void TrayIcon_Click(TrayIcon::Click click);
    void TrayIcon_AreaGone();
    void Form_Load();
    void buildControls();
    void buildMenus();
    // The machine's other serial ports, below Com 1 to Com 4.
    void listPorts();
    void selectPort(QAction *item, const QString &systemName, const QString &shownName);
    QString clockNow() const;

    Module1 &m_serial;
    Platform m_platform;
    // What the windows opened from here read and ask of this one.
    MainWindowLink *m_link = nullptr;
    QList<QAction *> m_listedPorts; // with their separator
    // The listed port chosen last, checked again when the list is read anew; empty for Com n.
    QString m_chosenPort;
};
