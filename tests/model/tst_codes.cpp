#include <QtTest>
class TestCodes : public QObject { Q_OBJECT };
QTEST_GUILESS_MAIN(TestCodes)
#include "tst_codes.moc"
