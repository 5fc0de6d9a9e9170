#include <QTest>

class TestProtocol : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestProtocol)
#include "tst_protocol.moc"
