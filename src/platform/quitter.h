#pragma once

#include <QtContainerFwd>

// Ends the program at once: no window's close handler runs, no timer ticks again, nothing is
// saved or asked.
class Quitter
{
public:
    virtual ~Quitter() = default;
    virtual void End() = 0;
};

class ProcessQuitter final : public Quitter
{
public:
    [[noreturn]] void End() override;
};

// For tests: counts the ends and writes "END" to a journal when given one, so that a test sees
// what happened before.
class ScriptedQuitter final : public Quitter
{
public:
    int ends = 0;
    QStringList *journal = nullptr;

    void End() override;
};
