#include "trayareawatch.h"

TrayAreaWatch::TrayAreaWatch(QObject *parent) : QObject(parent) {}

TrayAreaWatch::~TrayAreaWatch() = default;

void TrayAreaWatch::start() {}

void TrayAreaWatch::stop() {}

bool TrayAreaWatch::nativeEventFilter(const QByteArray &, void *, qintptr *)
{
    return false;
}
