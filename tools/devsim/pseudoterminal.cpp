#include "pseudoterminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace devsim {

namespace {

std::string errorText(const std::string &what)
{
    return what + ": " + std::strerror(errno);
}

} // namespace

PseudoTerminal::~PseudoTerminal()
{
    close();
}

std::string PseudoTerminal::open()
{
    close();
    const auto fail = [this](const std::string &what) {
        const std::string error = errorText(what);
        close();
        return error;
    };
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return fail("posix_openpt");
    if (fcntl(m_master, F_SETFD, FD_CLOEXEC) != 0 ||
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK) != 0)
        return fail("fcntl");
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0)
        return fail("grantpt/unlockpt");
    const char *name = ptsname(m_master);
    if (!name)
        return fail("ptsname");
    m_slavePath = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0)
        return fail(name);
    // No echo, no line editing, no translation: the bytes pass as they are in both directions.
    termios settings{};
    if (tcgetattr(m_slave, &settings) != 0)
        return fail("tcgetattr");
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    if (tcsetattr(m_slave, TCSANOW, &settings) != 0)
        return fail("tcsetattr");
    return {};
}

void PseudoTerminal::close()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = -1;
    m_master = -1;
    m_slavePath.clear();
}

} // namespace devsim
