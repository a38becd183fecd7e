#include "common/Bcd.h"
#include "common/BigEndian.h"
#include "common/HexPair.h"
#include "common/TextPad.h"

#include <QTest>

class TestHexPair : public QObject {
    Q_OBJECT
private slots:
    void toBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("time 08:30 as BCD") << "0830" << true << QByteArray::fromHex("0830");
        QTest::newRow("sensor device") << "A012" << true << QByteArray::fromHex("a012");
        QTest::newRow("lower case") << "b0ff" << true << QByteArray::fromHex("b0ff");
        QTest::newRow("empty") << "" << true << QByteArray();
        QTest::newRow("odd length") << "083" << false << QByteArray();
        QTest::newRow("letter beyond F") << "0G" << false << QByteArray();
        QTest::newRow("colon") << "08:3" << false << QByteArray();
        QTest::newRow("space") << "1 " << false << QByteArray();
    }
    void toBytes()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QByteArray, bytes);
        const auto out = HexPair::toBytes(text);
        QCOMPARE(out.has_value(), valid);
        if (valid) {
            QCOMPARE(*out, bytes);
            QCOMPARE(HexPair::fromBytes(*out), text.toUpper());
        }
    }

    void padding()
    {
        QCOMPARE(TextPad::right(QStringLiteral("Hall"), 6), QStringLiteral("Hall  "));
        QCOMPARE(TextPad::right(QStringLiteral("Maintenance"), 4), QStringLiteral("Main"));
        QCOMPARE(TextPad::left(QStringLiteral("12"), 4), QStringLiteral("0012"));
        QCOMPARE(TextPad::left(QStringLiteral("12345"), 4), QStringLiteral("12345"));
    }

    void bcdAndByteOrder()
    {
        QCOMPARE(*Bcd::fromNumber(59), quint8(0x59));
        QVERIFY(!Bcd::fromNumber(100));
        QCOMPARE(*Bcd::toNumber(0x26), 26);
        QVERIFY(!Bcd::toNumber(0x3A));
        QCOMPARE(BigEndian::bytes16(0x0196), QByteArray::fromHex("0196"));
        QCOMPARE(BigEndian::get16(QByteArray::fromHex("ff01"), 0), quint16(0xFF01));
    }
};

QTEST_GUILESS_MAIN(TestHexPair)
#include "tst_hex_pair.moc"
