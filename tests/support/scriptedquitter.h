#pragma once

#include "platform/quitter.h"

#include <QStringList>

// For tests: counts the ends and writes "END" to a journal when given one, so that a test sees
// what happened before.
class ScriptedQuitter final : public Quitter
{
public:
    int ends = 0;
    QStringList *journal = nullptr;

    void End() override
    {
        ++ends;
        if (journal)
            journal->append(QStringLiteral("END"));
    }
};
