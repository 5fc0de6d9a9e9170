#pragma once

// The one program-wide instance of a window class: the first window made registers itself, and
// the slot empties when it goes, so that the next use makes a new one.
template <typename Window> class ProgramWide
{
public:
    // The program-wide instance, or null while there is none.
    static Window *instance() { return s_instance; }

protected:
    explicit ProgramWide(Window *self) : m_self(self)
    {
        if (!s_instance)
            s_instance = self;
    }
    ~ProgramWide() { releaseInstance(); }

    // For a window that is about to go, so that a show request in between makes a new one.
    void releaseInstance()
    {
        if (s_instance == m_self)
            s_instance = nullptr;
    }

private:
    inline static Window *s_instance = nullptr;
    Window *const m_self;
};
