#pragma once

#include <QObject>

// Tells when the system asks the program to end without a question to the user: SIGTERM, SIGHUP
// or SIGINT on Unix (a logout that kills, a closed terminal, Ctrl+C). The signal arrives through
// the event loop, so whatever answers it may use Qt freely. Only one watch may exist.
class TerminationWatch final : public QObject
{
    Q_OBJECT

public:
    explicit TerminationWatch(QObject *parent = nullptr);
    ~TerminationWatch() override;

Q_SIGNALS:
    void terminationRequested();
};
