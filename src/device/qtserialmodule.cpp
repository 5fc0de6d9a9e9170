#include "qtserialmodule.h"

#include <QSerialPort>

// Placeholder until the real port handling lands.
QtSerialModule::QtSerialModule() = default;
QtSerialModule::~QtSerialModule() = default;
void QtSerialModule::OPENCOM(const QByteArray &) {}
void QtSerialModule::CLOSECOM() {}
void QtSerialModule::SENDBYTE(int) {}
qint16 QtSerialModule::READBYTE() { return -1; }
void QtSerialModule::RTS(int) {}
void QtSerialModule::DTR(int) {}
void QtSerialModule::DELAY(int) {}
