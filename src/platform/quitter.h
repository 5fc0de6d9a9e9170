#pragma once

// Ends the program at once: no window's close handler runs, no timer ticks again, nothing is
// saved or asked.
class Quitter
{
public:
    virtual ~Quitter() = default;
    virtual void quit() = 0;
};

class ProcessQuitter final : public Quitter
{
public:
    [[noreturn]] void quit() override;
};
