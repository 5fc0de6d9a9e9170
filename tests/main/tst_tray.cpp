#include <QTest>

class TestTray : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestTray)
#include "tst_tray.moc"
