#include "file/pnl_codec.h"
#include "file/windows1252.h"
#include "sample_record.h"

#include <QtTest>

using namespace panel;
using panel::test::kLobbyFields;

Q_DECLARE_METATYPE(panel::PanelFileRecord)

namespace {

QByteArray lobbyWith(const QByteArray &from, const QByteArray &to)
{
    return QByteArray(kLobbyFields).replace(from, to);
}

} // namespace

class TestPnlCodec : public QObject
{
    Q_OBJECT

private slots:
    void writesExampleByteForByte()
    {
        const auto bytes = encodePanelFile(test::lobbyRecord());
        QVERIFY(bytes);
        QCOMPARE(bytes->size(), 148);
        QCOMPARE(*bytes, kLobbyFields + "\r\n");
    }

    void roundTrip_data()
    {
        QTest::addColumn<PanelFileRecord>("record");
        QTest::addColumn<QByteArray>("written"); // must appear in the line as is

        const PanelFileRecord lobby = test::lobbyRecord();
        QTest::addRow("example") << lobby << QByteArray(",\"DESIGNATION \",160,");

        PanelFileRecord r = lobby;
        r.panel = QStringLiteral("  NORTH  WING  ");
        QTest::addRow("blanks kept") << r << QByteArray(",\"  NORTH  WING  \",");

        r = PanelFileRecord{};
        QTest::addRow("empty texts and zeros") << r << QByteArray("\"\",\"\",\"\",0,");

        r = lobby;
        r.panel = QStringLiteral("ÉTAGE 2°");
        QTest::addRow("accents") << r << QByteArray(",\"\xC9TAGE 2\xB0\",");

        r = lobby;
        r.desig[0] = QStringLiteral("€ “x” – Ÿ");
        QTest::addRow("1252 specials") << r << QByteArray("\"\x80 \x93x\x94 \x96 \x9F\"");

        r = lobby;
        r.desig[1] = QString::fromUtf16(u"\u0081\u008D\u008F\u0090\u009D");
        QTest::addRow("undefined bytes") << r << QByteArray("\"\x81\x8D\x8F\x90\x9D\"");

        r = lobby;
        r.code = {-1, -32768, 32767, 0, -160, 1};
        r.blpercent = -3;
        QTest::addRow("negatives and extremes") << r << QByteArray(",-1,\"HALL\",-32768,");

        r = lobby;
        r.panel = QString(kMaxFieldBytes, QLatin1Char('x'));
        QTest::addRow("longest text") << r << QByteArray(kMaxFieldBytes, 'x');
    }

    void roundTrip()
    {
        QFETCH(PanelFileRecord, record);
        QFETCH(QByteArray, written);
        const auto bytes = encodePanelFile(record);
        QVERIFY(bytes);
        QVERIFY2(bytes->contains(written), bytes->constData());
        const PanelFileParse parsed = parsePanelFile(*bytes);
        QVERIFY2(parsed.record, qPrintable(parsed.reason));
        QVERIFY(*parsed.record == record);
    }

    void refusesToEncode_data()
    {
        QTest::addColumn<PanelFileRecord>("record");
        PanelFileRecord r = test::lobbyRecord();
        r.panel = QStringLiteral("say \"hi\"");
        QTest::addRow("double quote") << r;
        r = test::lobbyRecord();
        r.desig[5] = QStringLiteral("A\r\nB");
        QTest::addRow("line end") << r;
        r = test::lobbyRecord();
        r.blp = QStringLiteral("Ω");
        QTest::addRow("not in 1252") << r;
        r = test::lobbyRecord();
        r.model = QString(kMaxFieldBytes + 1, QLatin1Char('x'));
        QTest::addRow("too long") << r;
    }

    void refusesToEncode()
    {
        QFETCH(PanelFileRecord, record);
        QVERIFY(!encodePanelFile(record));
    }

    void windows1252_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("unicode");
        const QList<QPair<int, int>> pairs = {
            {0x80, 0x20AC}, {0x81, 0x81}, {0x8A, 0x0160}, {0x8E, 0x017D}, {0x90, 0x90},
            {0x99, 0x2122}, {0x9F, 0x0178}, {0xA0, 0xA0}, {0xB0, 0xB0}, {0xC9, 0xC9},
        };
        for (const auto &[byte, unicode] : pairs)
            QTest::addRow("0x%02X", byte) << byte << unicode;
    }

    void windows1252()
    {
        QFETCH(int, byte);
        QFETCH(int, unicode);
        const QByteArray bytes(1, char(byte));
        QCOMPARE(fromWindows1252(bytes), QString(QChar(unicode)));
        QCOMPARE(toWindows1252(QString(QChar(unicode))), std::optional<QByteArray>(bytes));
    }

    void everyByteReadsBack()
    {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QString text = fromWindows1252(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(toWindows1252(text), std::optional<QByteArray>(all));
    }

    void storableText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("storable");
        QTest::addRow("empty") << QString() << true;
        QTest::addRow("tab and blanks") << QStringLiteral(" A\tB ") << true;
        QTest::addRow("latin and euro") << QStringLiteral("ÉÿŒ€™") << true;
        QTest::addRow("double quote") << QStringLiteral("a\"b") << false;
        QTest::addRow("CR") << QStringLiteral("a\rb") << false;
        QTest::addRow("LF") << QStringLiteral("a\nb") << false;
        QTest::addRow("NUL") << QString(QChar(0)) << false;
        QTest::addRow("greek") << QStringLiteral("Ω") << false;
        QTest::addRow("C1 not in 1252") << QString(QChar(0x80)) << false;
        QTest::addRow("emoji") << QStringLiteral("😀") << false;
    }

    void storableText()
    {
        QFETCH(QString, text);
        QFETCH(bool, storable);
        QCOMPARE(isStorableText(text), storable);
    }

    void tolerates_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("readAs"); // the fields as the writer would put them

        const QByteArray same = kLobbyFields;
        QTest::addRow("final CR LF") << same + "\r\n" << same;
        QTest::addRow("no final line end") << same << same;
        QTest::addRow("one field per line") << lobbyWith(",", "\r\n") << same;
        QTest::addRow("LF only") << lobbyWith(",", "\n") << same;
        QTest::addRow("CR only") << lobbyWith(",", "\r") << same;
        QTest::addRow("break after comma") << lobbyWith(",", ",\r\n") << same;
        QTest::addRow("blank lines") << lobbyWith(",", "\r\n\r\n") << same;
        QTest::addRow("blanks before fields") << " \t" + lobbyWith(",", ", \t ") << same;
        QTest::addRow("extra fields and lines")
            << same + ",\"more\",7\r\nnext line\r\n" + QByteArray("\0\xFF", 2) << same;
        QTest::addRow("junk after last number") << same + "x,\r\n" << same;
        QTest::addRow("unquoted texts")
            << QByteArray("00-04412-MDL,LOBBY \t,ENTRY,0,HALL,12,STAIRS,159,DESIGNATION ,160,DESIGNATION,160,"
                          "DESIGNATION\t,160,159,feature,1,ind%,10,bl%,3")
            << lobbyWith("\"DESIGNATION \"", "\"DESIGNATION\"");
        QTest::addRow("comma inside quotes") << lobbyWith("\"LOBBY\"", "\"LOBBY, EAST\"")
                                             << lobbyWith("\"LOBBY\"", "\"LOBBY, EAST\"");
        QTest::addRow("commas closing a designation") << lobbyWith("\"ENTRY\"", "\"ENTRY,,\"")
                                                     << lobbyWith("\"ENTRY\"", "\"ENTRY,,\"");
        QTest::addRow("text after closing quote") << lobbyWith("\"LOBBY\"", "\"LOBBY\" x\"y") << same;
        QTest::addRow("empty texts") << lobbyWith("\"LOBBY\",\"ENTRY\"", "\"\",") << lobbyWith("\"LOBBY\",\"ENTRY\"", "\"\",\"\"");
        QTest::addRow("word as number") << lobbyWith(",12,", ",twelve,") << lobbyWith(",12,", ",0,");
        QTest::addRow("empty number") << lobbyWith(",12,", ",,") << lobbyWith(",12,", ",0,");
        QTest::addRow("leading number") << lobbyWith(",12,", ",7.9 lux,") << lobbyWith(",12,", ",7,");
        QTest::addRow("quoted number") << lobbyWith(",12,", ",\" 12\",") << same;
        QTest::addRow("plus and zeros") << lobbyWith(",12,", ",+0012,") << same;
    }

    void tolerates()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, readAs);
        const PanelFileParse parsed = parsePanelFile(input);
        QVERIFY2(parsed.record, qPrintable(parsed.reason));
        QCOMPARE(encodePanelFile(*parsed.record), std::optional<QByteArray>(readAs + "\r\n"));
    }

    void refuses_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<bool>("truncated");
        QTest::addColumn<QString>("reason"); // a word the reason must hold

        const QByteArray twenty = lobbyWith(",\"bl%\",3", ",\"bl%\"") + "\r\n";
        const QByteArray big(kMaxFieldBytes + 1, 'A');
        QTest::addRow("empty") << QByteArray() << false << "empty";
        QTest::addRow("only blanks") << QByteArray(" \r\n\t\r\n") << false << "empty";
        QTest::addRow("20 fields") << twenty << false << "field 21";
        QTest::addRow("comma then end") << lobbyWith(",3", ",") << false << "field 21";
        QTest::addRow("open quote") << lobbyWith(",3", ",\"3") << false << "field 21";
        QTest::addRow("32768") << lobbyWith(",12,", ",32768,") << false << "16-bit";
        QTest::addRow("-32769") << lobbyWith(",12,", ",-32769,") << false << "16-bit";
        QTest::addRow("huge") << lobbyWith(",3", ",99999999999999999999") << false << "16-bit";
        QTest::addRow("long quoted") << lobbyWith("LOBBY", big) << false << "4096";
        QTest::addRow("long unquoted") << lobbyWith("\"LOBBY\"", big) << false << "4096";
        QTest::addRow("long after quote") << lobbyWith("\"LOBBY\"", "\"LOBBY\"" + big) << false << "4096";
        QTest::addRow("NUL in text") << lobbyWith("LOBBY", QByteArray("LO\0BY", 5)) << false << "binary";
        QTest::addRow("NUL in last field") << kLobbyFields.chopped(1) + QByteArray("\0", 1) << false << "binary";
        const QString text = QString::fromLatin1(kLobbyFields);
        QTest::addRow("UTF-16")
            << QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2) << false << "binary";
        QTest::addRow("cut before field 21") << twenty << true << "too long";
        QTest::addRow("cut in field 21") << kLobbyFields << true << "too long";
    }

    void refuses()
    {
        QFETCH(QByteArray, input);
        QFETCH(bool, truncated);
        QFETCH(QString, reason);
        const PanelFileParse parsed = parsePanelFile(input, truncated);
        QVERIFY(!parsed.record);
        QVERIFY2(parsed.reason.contains(reason), qPrintable(parsed.reason));
    }

    void cutAfterALineIsFine()
    {
        const PanelFileParse parsed = parsePanelFile(kLobbyFields + "\r\ngarb", true);
        QVERIFY2(parsed.record, qPrintable(parsed.reason));
        QVERIFY(*parsed.record == test::lobbyRecord());
    }
};

QTEST_GUILESS_MAIN(TestPnlCodec)
#include "tst_pnl_codec.moc"
