// The conversions between list positions and the panel's switch and intensity codes.
#include "model/codes.h"

#include <QtTest>

using namespace panel;

namespace {

constexpr qint16 kUntouched = 999; // a gathered code left over from an earlier gather

using Ints = QList<int>;

// A table's rows as "text=datum", in order.
template<typename Rows>
QStringList rowsOf(const Rows &rows)
{
    QStringList shown;
    for (const ListRow &row : rows)
        shown << QStringLiteral("%1=%2").arg(QLatin1String(row.text)).arg(row.datum);
    return shown;
}

} // namespace

class TestCodes : public QObject
{
    Q_OBJECT

private slots:
    // The rows of the window's lists, in order, with their item data.
    void listTables()
    {
        QStringList modules{"N/A=160"};
        for (int i = 0; i < 16; ++i)
            modules << QStringLiteral("%1=%2").arg(QChar('A' + i)).arg(10 * i);
        QCOMPARE(rowsOf(moduleRows()), modules << "BL/MR=159");
        QCOMPARE(rowsOf(channelRows()).join(' '), "1=0 2=1 3=2 4=3 5=4 6=5 7=6 8=7 9=8 10=9");
        QCOMPARE(rowsOf(intensityRows()).join(' '), "100=10 90=7 80=6 70=5 60=4 50=3 40=2 30=1");
    }

    void gatherSwitchCodes_data()
    {
        QTest::addColumn<Ints>("modules");  // positions, SW1..SW6
        QTest::addColumn<Ints>("channels"); // positions, SW1..SW6
        QTest::addColumn<Ints>("codes");    // w, SW1..SW6
        QTest::addColumn<int>("errorFlag");

        const int u = kUntouched;
        QTest::addRow("all N/A") << Ints{0, 0, 0, 0, 0, 0} << Ints{-1, -1, -1, -1, -1, -1}
                                 << Ints{160, 160, 160, 160, 160, 160} << 0;
        QTest::addRow("letter without channel on SW6") << Ints{2, 16, 17, 1, 0, 3} << Ints{3, 9, 4, 0, 2, -1}
                                        << Ints{13, 159, 159, 0, 160, u} << 1;
        QTest::addRow("every kind") << Ints{2, 16, 17, 1, 0, 3} << Ints{3, 9, -1, 0, 7, 5}
                                    << Ints{13, 159, 159, 0, 160, 25} << 0;
        QTest::addRow("letter without channel on SW3") << Ints{1, 0, 3, 17, 2, 2} << Ints{1, -1, -1, 0, 0, 0}
                                                       << Ints{1, 160, u, u, u, u} << 1;
        QTest::addRow("no module on SW1") << Ints{-1, 0, 0, 0, 0, 0} << Ints{4, -1, -1, -1, -1, -1}
                                          << Ints{u, u, u, u, u, u} << 1;
        QTest::addRow("no module on SW6") << Ints{0, 0, 0, 0, 0, -1} << Ints{-1, -1, -1, -1, -1, 2}
                                          << Ints{160, 160, 160, 160, 160, u} << 1;
        QTest::addRow("highest letter and channel") << Ints{16, 16, 16, 16, 16, 16} << Ints{9, 8, 0, 1, 2, 3}
                                                    << Ints{159, 158, 150, 151, 152, 153} << 0;
    }

    void gatherSwitchCodes()
    {
        QFETCH(Ints, modules);
        QFETCH(Ints, channels);
        QFETCH(Ints, codes);
        QFETCH(int, errorFlag);

        Selections selections;
        std::array<ButtonCodes, kButtons> button;
        for (int k = 0; k < kButtons; ++k) {
            selections[k] = {modules[k], channels[k]};
            button[k].w = kUntouched;
        }
        qint16 error_flag = 0;
        gather_switch_codes(selections, button, error_flag);

        Ints gathered;
        for (const ButtonCodes &b : button)
            gathered << b.w;
        QCOMPARE(gathered, codes);
        QCOMPARE(int(error_flag), errorFlag);
    }

    void decodeSwitchCode_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("module");
        QTest::addColumn<int>("channel");

        const int kept = 7; // the channel position the previous decode left
        QTest::addRow("0 is A 1") << 0 << 1 << 0;
        QTest::addRow("9 is A 10") << 9 << 1 << 9;
        QTest::addRow("10 is B 1") << 10 << 2 << 0;
        QTest::addRow("13 is B 4") << 13 << 2 << 3;
        QTest::addRow("150 is P 1") << 150 << 16 << 0;
        QTest::addRow("158 is P 9") << 158 << 16 << 8;
        QTest::addRow("159 is BL/MR") << 159 << 17 << kept;
        QTest::addRow("160 is N/A") << 160 << 0 << kept;
        QTest::addRow("200 is N/A") << 200 << 0 << kept;
    }

    void decodeSwitchCode()
    {
        QFETCH(int, code);
        QFETCH(int, module);
        QFETCH(int, channel);

        const SwitchPositions decoded = decode_switch_code(qint16(code), 7);
        QCOMPARE(decoded.h_index, module);
        QCOMPARE(decoded.l_index, channel);
    }

    void intensityPosition_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("shownCode");

        for (int code = 1; code <= 7; ++code)
            QTest::addRow("%d", code) << code << 8 - code << code;
        for (int code : {0, 8, 9, 10, 11, -1, 32767})
            QTest::addRow("%d shown as 100", code) << code << 0 << 10;
    }

    void intensityPosition()
    {
        QFETCH(int, code);
        QFETCH(int, position);
        QFETCH(int, shownCode);

        qint16 c = qint16(code);
        QCOMPARE(intensity_position(c), position);
        QCOMPARE(int(c), shownCode);
        // The position shows the row whose datum is the (possibly replaced) code.
        QCOMPARE(int(intensityRows()[position].datum), shownCode);
    }
};

QTEST_GUILESS_MAIN(TestCodes)
#include "tst_codes.moc"
