#pragma once

class Clock;
class MessageBoxes;
class PortList;
class Quitter;
class TrayIcon;
class UrlOpener;

// What the windows need from the machine that a test must be able to replace. The program's
// main() fills it with the real implementations; each member outlives the windows.
struct Platform
{
    Clock *clock = nullptr;
    MessageBoxes *messageBoxes = nullptr;
    TrayIcon *tray = nullptr;
    Quitter *quitter = nullptr;
    UrlOpener *urlOpener = nullptr;
    // The serial ports offered besides Com 1 to Com 4; none without it.
    PortList *ports = nullptr;
};
