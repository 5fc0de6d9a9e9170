#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Brackets the construction of the QApplication. Before it, chooses the window system when the
// user did not; while it runs, holds back Qt's messages, so that a display that cannot be opened
// ends the program with one line and status 1 instead of Qt's abort; after it, hands the held
// messages on and gives the environment back as it was, for the programs that this one starts.
class DisplayStart
{
public:
    DisplayStart(int argc, const char *const *argv);

    // Call once the QApplication exists.
    void started();

    // The line printed when no display could be opened, from the environment as the program
    // found it.
    static QString failureLine();

private:
    Q_DISABLE_COPY(DisplayStart)

    // Sets QT_QPA_PLATFORM where the user chose no window system, and tells whether a display
    // can fail to open, so that Qt's messages are to be held back (displaystart_posix.cpp,
    // displaystart_win.cpp).
    static bool chooseWindowSystem(int argc, const char *const *argv);

    bool m_platformSet = false;
    QByteArray m_platform;
};
