#pragma once

#include "devicemodel.h"
#include "pseudoterminal.h"

#include <chrono>
#include <deque>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace devsim {

// Answers like the device on a pseudo-terminal reached through a fixed symbolic link, and takes
// changes of its behaviour as text lines from a FIFO while it runs. Single-threaded: one poll()
// loop serves the terminal, the FIFO and the timers.
class Simulator
{
public:
    struct Paths
    {
        std::string link;
        std::string control;
        std::string log; // empty: no log
    };

    explicit Simulator(Paths paths);
    ~Simulator();
    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;

    // One setting as a control line's words, such as {"temp", "25.1"}. Returns an empty text on
    // success, otherwise what is wrong with it.
    std::string apply(const std::vector<std::string> &words);

    // Plugs in, prints "ready LINK" and serves until quit or SIGTERM/SIGINT/SIGHUP; returns the
    // exit status.
    int run();

private:
    struct Answer
    {
        Clock::time_point due;
        int byte;
        bool first; // not a doubled copy
    };

    std::string setUp();
    void tearDown();
    void handleSignal();
    void readTerminal();
    void readControl();
    void handleControlLine(const std::string &line);
    void runTimers(Clock::time_point now);
    int pollTimeout(Clock::time_point now) const;
    // Logged as "WHAT BYTE" ("tx" for an answer), or "drop BYTE" when the terminal is full.
    void send(int byte, const char *what = "tx");
    void queue(Clock::time_point due, int byte, bool first);
    void flood();
    void scheduleStray(Clock::time_point from);
    void plug();
    void unplug();
    void log(const std::string &line) const;

    Paths m_paths;
    DeviceModel m_device;
    PseudoTerminal m_terminal;
    int m_controlFd = -1;
    int m_logFd = -1;
    int m_signalPipe[2] = {-1, -1};
    std::string m_controlBuffer;
    // The rest of an over-long line, up to its end, is no line of its own.
    bool m_skippingLongLine = false;
    bool m_quit = false;

    std::chrono::milliseconds m_delay{0};
    // Each answer again this long after the first; 0: once.
    std::chrono::milliseconds m_double{0};
    // Every received byte straight back, before any answer.
    bool m_echo = false;
    // Unasked bytes as fast as the terminal takes them, unlogged.
    bool m_flooding = false;
    // Due times never decreasing.
    std::deque<Answer> m_answers;
    std::chrono::milliseconds m_strayInterval{0};
    std::optional<Clock::time_point> m_nextStray;
    std::optional<Clock::time_point> m_replugAt;
    std::mt19937 m_random{std::random_device{}()};
};

} // namespace devsim
