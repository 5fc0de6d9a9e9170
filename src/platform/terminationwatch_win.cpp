#include "terminationwatch.h"

// Windows ends a session through the session manager's messages, which Qt passes on as
// commitDataRequest; there is nothing else to watch.
TerminationWatch::TerminationWatch(QObject *parent) : QObject(parent) {}

TerminationWatch::~TerminationWatch() = default;
