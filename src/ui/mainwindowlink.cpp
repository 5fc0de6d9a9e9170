#include "mainwindowlink.h"

#include <utility>

MainWindowLink::MainWindowLink(std::function<Readings()> readings, QObject *parent)
    : QObject(parent), m_readings(std::move(readings))
{
}
