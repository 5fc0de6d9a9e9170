#include "simulator.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace devsim {

namespace {

constexpr int HighestByte = 255;
constexpr long long LongestWaitMs = 24LL * 60 * 60 * 1000;
constexpr long long MostStrayBytes = 1000000;
constexpr size_t LongestControlLine = 4096;
constexpr const char *ProgramName = "warmlog-devsim";

// The signal handler's only way out of the poll() loop: it writes a byte to this pipe.
int signalWriteFd = -1;

void onSignal(int)
{
    const int savedErrno = errno;
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = ::write(signalWriteFd, &byte, 1);
    errno = savedErrno;
}

void report(const std::string &text)
{
    std::fprintf(stderr, "%s: %s\n", ProgramName, text.c_str());
}

std::string errorText(const std::string &what)
{
    return what + ": " + std::strerror(errno);
}

bool setDescriptorFlags(int fd)
{
    return fcntl(fd, F_SETFD, FD_CLOEXEC) == 0 &&
           fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK) == 0;
}

// Whole text, finite; the C locale's point whatever the environment says.
bool parseNumber(const std::string &text, double &value)
{
    const char *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

bool parseInteger(const std::string &text, long long lowest, long long highest, long long &value)
{
    const char *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && value >= lowest && value <= highest;
}

bool parseByte(const std::vector<std::string> &arguments, int &byte)
{
    long long value = 0;
    if (arguments.size() != 1 || !parseInteger(arguments.front(), 0, HighestByte, value))
        return false;
    byte = static_cast<int>(value);
    return true;
}

bool parseMilliseconds(const std::vector<std::string> &arguments, std::chrono::milliseconds &ms)
{
    long long value = 0;
    if (arguments.size() != 1 || !parseInteger(arguments.front(), 0, LongestWaitMs, value))
        return false;
    ms = std::chrono::milliseconds(value);
    return true;
}

std::vector<std::string> splitWords(const std::string &line)
{
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;)
        words.push_back(word);
    return words;
}

// Replaces the link in one step, so that whoever opens it never finds it missing or half made.
std::string pointLink(const std::string &link, const std::string &target)
{
    const std::string temporary = link + ".new" + std::to_string(getpid());
    ::unlink(temporary.c_str());
    if (::symlink(target.c_str(), temporary.c_str()) != 0)
        return errorText(temporary);
    if (::rename(temporary.c_str(), link.c_str()) != 0) {
        const std::string error = errorText(link);
        ::unlink(temporary.c_str());
        return error;
    }
    return {};
}

} // namespace

Simulator::Simulator(Paths paths) : m_paths(std::move(paths)) {}

Simulator::~Simulator()
{
    tearDown();
}

std::string Simulator::apply(const std::vector<std::string> &words)
{
    if (words.empty())
        return "nothing to do";
    const std::string &name = words.front();
    const std::vector<std::string> arguments(words.begin() + 1, words.end());
    double number = 0;
    int byte = 0;

    if (name == "temp") {
        if (arguments.size() != 1 || !parseNumber(arguments.front(), number))
            return "temp needs degrees Celsius";
        m_device.setTemperature(number);
    } else if (name == "temp-byte") {
        if (!parseByte(arguments, byte))
            return "temp-byte needs a byte 0..255";
        m_device.setTemperatureByte(byte);
    } else if (name == "battery") {
        if (arguments.size() != 1 || !parseNumber(arguments.front(), number))
            return "battery needs volts";
        m_device.setBatteryByte(batteryByteFor(number));
    } else if (name == "battery-byte") {
        if (!parseByte(arguments, byte))
            return "battery-byte needs a byte 0..255";
        m_device.setBatteryByte(byte);
    } else if (name == "ping-byte") {
        if (!parseByte(arguments, byte))
            return "ping-byte needs a byte 0..255";
        m_device.setPingByte(byte);
    } else if (name == "drift") {
        double low = 0;
        double high = 0;
        double period = 0;
        if (arguments.size() == 1 && arguments.front() == "off") {
            m_device.stopDrift();
        } else if (arguments.size() == 3 && parseNumber(arguments[0], low) &&
                   parseNumber(arguments[1], high) && parseNumber(arguments[2], period) &&
                   period > 0) {
            m_device.startDrift(low, high, period, Clock::now());
        } else {
            return "drift needs LOW HIGH PERIOD_S (period above 0) or off";
        }
    } else if (name == "silent") {
        if (arguments.size() != 1 || (arguments.front() != "on" && arguments.front() != "off"))
            return "silent needs on or off";
        m_device.setSilent(arguments.front() == "on");
    } else if (name == "flood") {
        if (arguments.size() != 1 || (arguments.front() != "on" && arguments.front() != "off"))
            return "flood needs on or off";
        m_flooding = arguments.front() == "on";
    } else if (name == "echo") {
        if (arguments.size() != 1 || (arguments.front() != "on" && arguments.front() != "off"))
            return "echo needs on or off";
        m_echo = arguments.front() == "on";
    } else if (name == "double") {
        if (!parseMilliseconds(arguments, m_double))
            return "double needs milliseconds";
    } else if (name == "delay") {
        if (!parseMilliseconds(arguments, m_delay))
            return "delay needs milliseconds";
    } else if (name == "stray-every") {
        if (!parseMilliseconds(arguments, m_strayInterval))
            return "stray-every needs milliseconds";
        m_nextStray.reset();
        if (m_strayInterval.count() > 0)
            scheduleStray(Clock::now());
    } else if (name == "seed") {
        long long seed = 0;
        if (arguments.size() != 1 || !parseInteger(arguments.front(), 0, UINT32_MAX, seed))
            return "seed needs a number 0..4294967295";
        m_random.seed(static_cast<std::mt19937::result_type>(seed));
    } else {
        return "unknown setting " + name;
    }
    return {};
}

int Simulator::run()
{
    const std::string error = setUp();
    if (!error.empty()) {
        report(error);
        tearDown();
        return 1;
    }
    std::printf("ready %s\n", m_paths.link.c_str());
    std::fflush(stdout);

    int status = 0;
    while (!m_quit) {
        pollfd fds[] = {{m_signalPipe[0], POLLIN, 0},
                        {m_controlFd, POLLIN, 0},
                        {m_terminal.masterFd(), short(POLLIN | (m_flooding ? POLLOUT : 0)), 0}};
        const nfds_t count = m_terminal.isOpen() ? 3 : 2;
        if (::poll(fds, count, pollTimeout(Clock::now())) < 0 && errno != EINTR) {
            report(errorText("poll"));
            status = 1;
            break;
        }
        if (fds[0].revents != 0) {
            handleSignal();
            break;
        }
        if (count == 3 && (fds[2].revents & ~POLLOUT) != 0)
            readTerminal();
        if (count == 3 && (fds[2].revents & POLLOUT) != 0 && m_flooding)
            flood();
        if (fds[1].revents != 0)
            readControl();
        runTimers(Clock::now());
    }
    tearDown();
    return status;
}

std::string Simulator::setUp()
{
    if (::pipe(m_signalPipe) != 0 || !setDescriptorFlags(m_signalPipe[0]) ||
        !setDescriptorFlags(m_signalPipe[1]))
        return errorText("pipe");
    signalWriteFd = m_signalPipe[1];
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
    // A reader of stdout or of the terminal going away must not end the simulator.
    std::signal(SIGPIPE, SIG_IGN);

    if (!m_paths.log.empty()) {
        m_logFd = ::open(m_paths.log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (m_logFd < 0)
            return errorText(m_paths.log);
    }

    // Open for reading and writing, the FIFO always has a reader and a writer: writers never
    // block or fail, and the simulator never reads an end of file.
    ::unlink(m_paths.control.c_str());
    if (::mkfifo(m_paths.control.c_str(), 0600) != 0)
        return errorText(m_paths.control);
    m_controlFd = ::open(m_paths.control.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (m_controlFd < 0)
        return errorText(m_paths.control);

    plug();
    if (!m_terminal.isOpen())
        return "no terminal";
    return {};
}

void Simulator::tearDown()
{
    if (m_signalPipe[1] >= 0) {
        // Ending anyway; a second signal must not cut the clean-up short.
        for (const int signal : {SIGTERM, SIGINT, SIGHUP})
            std::signal(signal, SIG_IGN);
    }
    if (m_terminal.isOpen())
        ::unlink(m_paths.link.c_str());
    m_terminal.close();
    if (m_controlFd >= 0) {
        ::close(m_controlFd);
        ::unlink(m_paths.control.c_str());
    }
    m_controlFd = -1;
    if (m_logFd >= 0)
        ::close(m_logFd);
    m_logFd = -1;
    for (int &fd : m_signalPipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void Simulator::handleSignal()
{
    char bytes[16];
    while (::read(m_signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    m_quit = true;
}

void Simulator::readTerminal()
{
    unsigned char bytes[256];
    const ssize_t count = ::read(m_terminal.masterFd(), bytes, sizeof bytes);
    if (count <= 0) {
        if (count < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        // Not expected while the own slave descriptor is open; unplug rather than spin.
        report(count < 0 ? errorText("terminal") : "terminal: end of file");
        unplug();
        return;
    }
    const Clock::time_point now = Clock::now();
    for (ssize_t i = 0; i < count; ++i) {
        log("rx " + std::to_string(bytes[i]));
        if (m_echo)
            send(bytes[i], "echo");
        const std::optional<int> answer = m_device.answer(bytes[i], now);
        if (!answer)
            continue;
        Clock::time_point due = now + m_delay;
        // Answers leave in the order their commands came.
        for (const Answer &queued : m_answers) {
            if (queued.first)
                due = std::max(due, queued.due);
        }
        if (due <= now && m_answers.empty())
            send(*answer);
        else
            queue(due, *answer, true);
        if (m_double.count() > 0)
            queue(due + m_double, *answer, false);
    }
}

void Simulator::queue(Clock::time_point due, int byte, bool first)
{
    // Sorted by due time; a copy may fall behind later answers.
    auto at = std::upper_bound(
        m_answers.begin(), m_answers.end(), due,
        [](Clock::time_point time, const Answer &answer) { return time < answer.due; });
    m_answers.insert(at, {due, byte, first});
}

void Simulator::readControl()
{
    char bytes[1024];
    const ssize_t count = ::read(m_controlFd, bytes, sizeof bytes);
    if (count <= 0)
        return;
    m_controlBuffer.append(bytes, static_cast<size_t>(count));
    size_t end;
    while (!m_quit && (end = m_controlBuffer.find('\n')) != std::string::npos) {
        const std::string line = m_controlBuffer.substr(0, end);
        m_controlBuffer.erase(0, end + 1);
        if (m_skippingLongLine)
            m_skippingLongLine = false;
        else
            handleControlLine(line);
    }
    if (m_controlBuffer.size() > LongestControlLine) {
        if (!m_skippingLongLine)
            report("control line too long, ignored");
        m_controlBuffer.clear();
        m_skippingLongLine = true;
    }
}

void Simulator::handleControlLine(const std::string &line)
{
    const std::vector<std::string> words = splitWords(line);
    if (words.empty())
        return;
    std::string text = words.front();
    for (size_t i = 1; i < words.size(); ++i)
        text += ' ' + words[i];
    log("ctl " + text);

    const std::string &name = words.front();
    std::string error;
    if (name == "stray") {
        long long count = 0;
        if (words.size() == 2 && parseInteger(words[1], 0, MostStrayBytes, count)) {
            for (long long i = 0; i < count; ++i)
                send(StrayByte);
        } else {
            error = "stray needs a count";
        }
    } else if (name == "unplug" && words.size() == 1) {
        m_replugAt.reset();
        unplug();
    } else if (name == "plug" && words.size() == 1) {
        m_replugAt.reset();
        plug();
    } else if (name == "replug") {
        std::chrono::milliseconds wait{0};
        if (parseMilliseconds({words.begin() + 1, words.end()}, wait)) {
            if (m_terminal.isOpen())
                unplug();
            m_replugAt = Clock::now() + wait;
        } else {
            error = "replug needs milliseconds";
        }
    } else if (name == "quit" && words.size() == 1) {
        m_quit = true;
    } else {
        error = apply(words);
    }
    if (!error.empty())
        report("control line \"" + text + "\" ignored: " + error);
}

void Simulator::runTimers(Clock::time_point now)
{
    while (!m_answers.empty() && m_answers.front().due <= now) {
        send(m_answers.front().byte, m_answers.front().first ? "tx" : "again");
        m_answers.pop_front();
    }
    if (m_nextStray && *m_nextStray <= now) {
        send(StrayByte);
        scheduleStray(now);
    }
    if (m_replugAt && *m_replugAt <= now) {
        m_replugAt.reset();
        plug();
    }
}

int Simulator::pollTimeout(Clock::time_point now) const
{
    std::optional<Clock::time_point> next;
    const auto consider = [&next](std::optional<Clock::time_point> time) {
        if (time && (!next || *time < *next))
            next = time;
    };
    consider(m_nextStray);
    consider(m_replugAt);
    if (!m_answers.empty())
        consider(m_answers.front().due);
    if (!next)
        return -1;
    // Rounded up: waking a little early would only turn into a busy loop until the time comes.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - now).count();
    return static_cast<int>(std::clamp<long long>(wait, 0, INT_MAX));
}

void Simulator::send(int byte, const char *what)
{
    if (!m_terminal.isOpen())
        return;
    const unsigned char value = static_cast<unsigned char>(byte);
    ssize_t written;
    do {
        written = ::write(m_terminal.masterFd(), &value, 1);
    } while (written < 0 && errno == EINTR);
    // A full terminal means nobody reads: the byte is lost, as on a real line.
    const std::string kind = what == std::string("tx") ? "" : std::string(" ") + what;
    log((written == 1 ? std::string(what) : "drop" + kind) + ' ' + std::to_string(byte));
}

void Simulator::flood()
{
    const std::string bytes(4096, static_cast<char>(StrayByte));
    // A full terminal takes nothing more; poll() says when it has room again.
    [[maybe_unused]] const ssize_t written =
        ::write(m_terminal.masterFd(), bytes.data(), bytes.size());
}

void Simulator::scheduleStray(Clock::time_point from)
{
    // Exponential gaps: the stray bytes come at independent random moments.
    std::exponential_distribution<double> gapMs(1.0 / static_cast<double>(m_strayInterval.count()));
    const std::chrono::duration<double, std::milli> gap(gapMs(m_random));
    m_nextStray = from + std::chrono::duration_cast<Clock::duration>(gap);
}

void Simulator::plug()
{
    if (m_terminal.isOpen()) {
        report("plug: already plugged in");
        return;
    }
    std::string error = m_terminal.open();
    if (error.empty())
        error = pointLink(m_paths.link, m_terminal.slavePath());
    if (!error.empty()) {
        report("plug: " + error);
        m_terminal.close();
        return;
    }
    log("plug " + m_terminal.slavePath());
}

void Simulator::unplug()
{
    if (!m_terminal.isOpen()) {
        report("unplug: not plugged in");
        return;
    }
    // The link goes first: whoever sees the hang-up must not find the link still there.
    ::unlink(m_paths.link.c_str());
    m_terminal.close();
    m_answers.clear();
    log("unplug");
}

void Simulator::log(const std::string &line) const
{
    if (m_logFd < 0)
        return;
    const std::string text = line + '\n';
    [[maybe_unused]] const ssize_t written = ::write(m_logFd, text.data(), text.size());
}

} // namespace devsim
