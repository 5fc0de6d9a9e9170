#pragma once

class Clock;
class MessageBoxes;
class PortList;
class Quitter;
class TrayIcon;
class UrlOpener;

// What the windows need from the machine that a test must be able to replace. The program's
// main() makes the real implementations; each outlives the windows. A desktop without a
// notification area still has a TrayIcon: it says so through isAvailable().
struct Platform
{
    Clock &clock;
    MessageBoxes &messageBoxes;
    TrayIcon &tray;
    Quitter &quitter;
    UrlOpener &urlOpener;
    // The serial ports offered besides Com 1 to Com 4.
    PortList &ports;
};
