#pragma once

#include <string>

namespace devsim {

// A pseudo-terminal in raw mode. The simulator talks on the master side; the program under test
// opens the slave device by its path.
class PseudoTerminal
{
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    // Returns an empty text on success, otherwise what went wrong.
    std::string open();
    // The program still holding the slave side sees a hang-up.
    void close();

    bool isOpen() const { return m_master >= 0; }
    // Non-blocking.
    int masterFd() const { return m_master; }
    const std::string &slavePath() const { return m_slavePath; }

private:
    int m_master = -1;
    // Held open so that the program closing the port never leaves the master without a slave,
    // which would make reading the master fail until the port is opened again.
    int m_slave = -1;
    std::string m_slavePath;
};

} // namespace devsim
