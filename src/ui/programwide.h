#pragma once

#include "ui/windowplacement.h"

struct Platform;
class MainWindowLink;

// The one program-wide instance of a secondary window class. showInstance() makes it on first use
// and brings it forward; a window that closes gives up its place at once (it is deleted shortly
// after), so that the next showInstance() makes a new one. A window class declares
// ProgramWide<Window> a friend, so that only this makes it.
template <typename Window> class ProgramWide
{
public:
    // The program-wide instance, or null while there is none.
    static Window *instance() { return s_instance; }

    static Window *showInstance(const Platform &platform, MainWindowLink *mainWindow)
    {
        Window *window = s_instance ? s_instance : new Window(platform, mainWindow);
        bringForward(window);
        return window;
    }

protected:
    explicit ProgramWide(Window *self) : m_self(self)
    {
        if (!s_instance)
            s_instance = self;
    }
    ~ProgramWide() { releaseInstance(); }

    // For a window that is closing.
    void releaseInstance()
    {
        if (s_instance == m_self)
            s_instance = nullptr;
    }

private:
    inline static Window *s_instance = nullptr;
    Window *const m_self;
};
