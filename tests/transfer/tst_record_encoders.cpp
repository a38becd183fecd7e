#include "transfer/EncodeError.h"
#include "transfer/RecordDecoders.h"
#include "transfer/RecordEncoders.h"
#include "transfer/UserRecord.h"

#include <QTest>

Q_DECLARE_METATYPE(RecordKind)
Q_DECLARE_METATYPE(ImageRow)
Q_DECLARE_METATYPE(EncodeError::Problem)

namespace {

// Expected bytes are written out by hand: hexadecimal with spaces, and texts
// padded with spaces to their width.
QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QByteArray txt(const char *text, int width)
{
    return QByteArray(text).leftJustified(width, ' ');
}

} // namespace

class TestRecordEncoders : public QObject {
    Q_OBJECT
private slots:
    void records_data()
    {
        QTest::addColumn<RecordKind>("kind");
        QTest::addColumn<ImageRow>("row");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("timetable with an empty second interval")
            << RecordKind::Timetable
            << ImageRow{{"NR", "00"}, {"DESC", "Office"}, {"MO", true}, {"WE", true}, {"FR", true},
                        {"HOUR_A_START", "0830"}, {"HOUR_A_END", "1730"},
                        {"HOUR_B_START", QVariant()}, {"HOUR_B_END", ""}}
            << hex("2a 0830 1730 ffff ffff");
        QTest::newRow("timetable weekend, both intervals")
            << RecordKind::Timetable
            << ImageRow{{"SA", true}, {"SU", 1}, {"MO", false}, {"HOUR_A_START", "0000"},
                        {"HOUR_A_END", "1200"}, {"HOUR_B_START", "1300"}, {"HOUR_B_END", "2359"}}
            << hex("c0 0000 1200 1300 2359");
        QTest::newRow("timetable every day")
            << RecordKind::Timetable
            << ImageRow{{"MO", "T"}, {"TU", "True"}, {"WE", true}, {"TH", true}, {"FR", true},
                        {"SA", true}, {"SU", true}}
            << hex("fe ffff ffff ffff ffff");

        QTest::newRow("zone with D at access point 3")
            << RecordKind::Zone
            << ImageRow{{"NR", "04"}, {"DESC", "Hall"}, {"A00", "I"}, {"A03", "D"}, {"A09", "O"},
                        {"A31", "I"}, {"A12", QVariant()}, {"MAX", "00150"}, {"R_MAX", "012"}}
            << txt("Hall", 16) + hex("09000080 08020000 0096 0012");
        QTest::newRow("zone without capacity")
            << RecordKind::Zone << ImageRow{{"NR", "05"}}
            << txt("", 16) + hex("00000000 00000000 ffff 0fff");

        QTest::newRow("access point, full row")
            << RecordKind::AccessPoint
            << ImageRow{{"ENABLED", true},       {"DESC", "Main door"},   {"DOOR_RELAY", "012"},
                        {"DOOR_TIME", "005"},    {"DOOR_INV", false},     {"OUT_BUTTON", true},
                        {"OPEN_APART", true},    {"SUP_TIME", "030"},     {"SUP_ALARM", QVariant()},
                        {"TRADE_START", "0800"}, {"TRADE_END", "1000"},   {"PIN_START", ""},
                        {"PIN_END", QVariant()}, {"REL_ENABLE", false},   {"LIFT_USER", true},
                        {"LIFT_VISIT", true},    {"LIFT_OFFSET", "105"},  {"TIMETABLE", "02"}}
            << hex("3c") + txt("Main door", 16)
                   + hex("0012 05 00 3c 01 1e 0fff 0800 1000 ffff ffff 00 03 0105 02");
        QTest::newRow("access point, empty slot")
            << RecordKind::AccessPoint << ImageRow{{"NR", "07"}}
            << hex("00") + txt("", 16) + hex("0fff ff 00 00 00 ff 0fff ffff ffff ffff ffff 00 00 0fff ff");

        QTest::newRow("profile: area 3, timetable 12")
            << RecordKind::Profile << ImageRow{{"DESC", "Staff"}, {"A1", "03"}, {"T1", "12"}}
            << txt("Staff", 16) + hex("03 0c ff ff ff ff");
        QTest::newRow("profile slot without a profile")
            << RecordKind::Profile << ImageRow{{"NR", "20"}} << txt("", 16) + hex("ffffffffffff");
        QTest::newRow("profile description cut to 16")
            << RecordKind::Profile
            << ImageRow{{"DESC", "Maintenance staff night"}, {"A3", 31}, {"T3", 0}}
            << txt("Maintenance staf", 16) + hex("ff ff ff ff 1f 00");

        QTest::newRow("lift code") << RecordKind::LiftCode << ImageRow{{"FLOOR", "3"}, {"RELAY", "07"}}
                                   << hex("33 20 07");
        QTest::newRow("lift code, empty") << RecordKind::LiftCode << ImageRow{} << hex("20 20 ff");
        QTest::newRow("lift licence")
            << RecordKind::LiftLicence << ImageRow{{"DESC", "Lift A"}, {"REL1", "01"}, {"REL3", "12"}}
            << txt("Lift A", 16) + hex("01 ff 12 ff ff");
        QTest::newRow("holiday days, three of five")
            << RecordKind::HolidayDays
            << ImageRow{{"DATE1", "0101"}, {"DATE2", "0601"}, {"DATE3", "2512"}}
            << hex("0101 0601 2512 ffff ffff");
        QTest::newRow("holiday period")
            << RecordKind::HolidayPeriods << ImageRow{{"START", "0108"}, {"END", "3108"}}
            << hex("0108 3108");
        QTest::newRow("area: zones 0, 9 and 31")
            << RecordKind::Area
            << ImageRow{{"DESC", "Floors"}, {"Z0", true}, {"Z9", true}, {"Z31", true}, {"Z1", false}}
            << txt("Floors", 16) + hex("01 02 00 80");
        QTest::newRow("sensor in minutes, N1 as A")
            << RecordKind::Sensor
            << ImageRow{{"TYPE", "2"}, {"DESC", "Smoke"}, {"N1", "A"}, {"N2", "105"}, {"N3", "03"},
                        {"N4", "010"}, {"UNIT", true}}
            << hex("02") + txt("Smoke", 16) + hex("0a 0105 03 8a");
        QTest::newRow("sensor, empty")
            << RecordKind::Sensor << ImageRow{{"UNIT", false}}
            << hex("ff") + txt("", 16) + hex("ff 0fff ff 00");
        QTest::newRow("relay group")
            << RecordKind::RelayGroup
            << ImageRow{{"VALID", true}, {"DESC", "Lights"}, {"TIME", "010"}, {"INIT", "1"}}
            << hex("3c") + txt("Lights", 16) + hex("0a 01");
        QTest::newRow("relay group, empty")
            << RecordKind::RelayGroup << ImageRow{{"INIT", "0"}} << hex("00") + txt("", 16) + hex("ff 00");
        QTest::newRow("scheduler on relay 012, also on holidays")
            << RecordKind::Scheduler
            << ImageRow{{"DESC", "Night"}, {"START", "2200"}, {"END", "0600"}, {"MO", true},
                        {"TU", true}, {"WE", true}, {"TH", true}, {"FR", true}, {"DEVICE", "B012"},
                        {"HOLIDAY", true}, {"SINCRO", true}}
            << txt("Night", 16) + hex("2200 0600 3e b012 00 3c");
        QTest::newRow("scheduler, empty (holiday flag false inverts)")
            << RecordKind::Scheduler << ImageRow{{"HOLIDAY", false}, {"SINCRO", false}}
            << txt("", 16) + hex("ffff ffff 00 ffff 3c 00");
        QTest::newRow("message") << RecordKind::Message << ImageRow{{"MESSAGE", "Welcome"}}
                                 << txt("Welcome", 16);
        QTest::newRow("phone numbers")
            << RecordKind::Phone << ImageRow{{"PHONE1", "555123"}, {"PHONE3", "0034911"}}
            << txt("555123", 16) + txt("", 16) + txt("0034911", 16);
    }
    void records()
    {
        QFETCH(RecordKind, kind);
        QFETCH(ImageRow, row);
        QFETCH(QByteArray, expected);
        QCOMPARE(RecordEncoders::encode(kind, row).toHex(' '), expected.toHex(' '));
        // Read back and written again, the record is the same.
        QCOMPARE(RecordEncoders::encode(kind, RecordDecoders::decode(kind, expected)).toHex(' '),
                 expected.toHex(' '));
    }

    void recordDecodeDetails()
    {
        const ImageRow tim = RecordDecoders::decode(RecordKind::Timetable, hex("2a 0830 1730 ffff ffff"));
        QCOMPARE(tim.value("MO"), QVariant(true));
        QCOMPARE(tim.value("TU"), QVariant(false));
        QCOMPARE(tim.value("HOUR_A_START"), QVariant(QStringLiteral("0830")));
        QVERIFY(tim.isEmpty("HOUR_B_START"));

        const ImageRow zon = RecordDecoders::decode(RecordKind::Zone,
                                                    txt("Hall", 16) + hex("09000000 08000000 0096 0012"));
        QCOMPARE(zon.text("DESC"), QStringLiteral("Hall"));
        QCOMPARE(zon.text("A00"), QStringLiteral("I"));
        QCOMPARE(zon.text("A03"), QStringLiteral("D"));
        QVERIFY(zon.isEmpty("A01"));
        QCOMPARE(zon.text("MAX"), QStringLiteral("00150"));
        QCOMPARE(zon.text("R_MAX"), QStringLiteral("012"));

        const ImageRow rel = RecordDecoders::decode(RecordKind::RelayGroup, hex("3c") + txt("Lights", 16) + hex("ff 01"));
        QCOMPARE(rel.value("VALID"), QVariant(true));
        QVERIFY(rel.isEmpty("TIME"));
        QCOMPARE(rel.text("INIT"), QStringLiteral("1"));

        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, RecordDecoders::decode(RecordKind::Zone, QByteArray(27, '\0')));
    }

    void users_data()
    {
        QTest::addColumn<ImageRow>("row");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("user without code")
            << ImageRow{{"NAME", "Ana"}, {"CODE", "FFFFFF"}, {"LEVEL", QVariant()}, {"UNLOCK", false}}
            << txt("ANA", 16) + hex("2020 0000") + QByteArray("FFFFFF") + hex("7f ff ffff ffff");
        QTest::newRow("empty code is no code")
            << ImageRow{{"NAME", "Ana"}}
            << txt("ANA", 16) + hex("2020 0000") + QByteArray("FFFFFF") + hex("7f ff ffff ffff");
        QTest::newRow("ten-digit card")
            << ImageRow{{"NAME", "Bo"}, {"CODE", "00a1b2c3d4"}, {"USER", "00007"}}
            << txt("BO", 16) + hex("2020 0000 00 00a1b2c3d4 7f ff ffff 0007");
        QTest::newRow("profile 5, trades, lift 2, no time")
            << ImageRow{{"NAME", "Ñoño"}, {"FLOOR", "3a"}, {"DOOR", "12"}, {"CODE", "1234"},
                        {"LEVEL", "005"}, {"UNLOCK", true}, {"LIFT", "02"}, {"TIME", QVariant()},
                        {"SENSOR", "b012"}, {"USER", "00012"}}
            << hex("ee4fee4f") + txt("", 12) + QByteArray("3A") + hex("0012") + QByteArray("1234  ")
                   + hex("85 f2 b012 000c");
        QTest::newRow("deleted-name marker and the character map")
            << ImageRow{{"NAME", "[dåæçø"}, {"CODE", "654321"}, {"LEVEL", "126"}, {"SENSOR", "0304"}}
            << hex("00 44 07 05 ec 06") + txt("", 10) + hex("2020 0000") + QByteArray("654321")
                   + hex("7e ff 0304 ffff");
    }
    void users()
    {
        QFETCH(ImageRow, row);
        QFETCH(QByteArray, expected);
        QCOMPARE(UserRecord::encode(row).toHex(' '), expected.toHex(' '));
    }

    void outOfRangeValuesAreRefused_data()
    {
        QTest::addColumn<RecordKind>("kind");
        QTest::addColumn<ImageRow>("row");
        QTest::addColumn<QString>("field");
        QTest::addColumn<EncodeError::Problem>("problem");
        using P = EncodeError::Problem;

        QTest::newRow("door time 300") << RecordKind::AccessPoint << ImageRow{{"NR", "02"}, {"DOOR_TIME", "300"}}
                                       << "DOOR_TIME" << P::OutOfRange;
        QTest::newRow("door alarm time 256") << RecordKind::AccessPoint << ImageRow{{"SUP_TIME", 256}}
                                             << "SUP_TIME" << P::OutOfRange;
        QTest::newRow("door relay with a letter") << RecordKind::AccessPoint << ImageRow{{"DOOR_RELAY", "0G2"}}
                                                  << "DOOR_RELAY" << P::NotHex;
        QTest::newRow("relay group time 999") << RecordKind::RelayGroup << ImageRow{{"TIME", "999"}}
                                              << "TIME" << P::OutOfRange;
        QTest::newRow("sensor time 200 (bit 7 is the unit)") << RecordKind::Sensor << ImageRow{{"N4", "200"}}
                                                             << "N4" << P::OutOfRange;
        QTest::newRow("sensor value not a number") << RecordKind::Sensor << ImageRow{{"N3", "abc"}}
                                                   << "N3" << P::NotANumber;
        QTest::newRow("profile area -1") << RecordKind::Profile << ImageRow{{"A1", "-1"}} << "A1" << P::OutOfRange;
        QTest::newRow("time with a colon") << RecordKind::Timetable << ImageRow{{"HOUR_A_START", "08:3"}}
                                           << "HOUR_A_START" << P::BadLength;
        QTest::newRow("time with a letter") << RecordKind::Timetable << ImageRow{{"HOUR_B_END", "0A30"}}
                                            << "HOUR_B_END" << P::BadLength;
        QTest::newRow("weekday flag not a flag") << RecordKind::Timetable << ImageRow{{"MO", "maybe"}}
                                                 << "MO" << P::BadValue;
        QTest::newRow("zone capacity 70000") << RecordKind::Zone << ImageRow{{"MAX", "70000"}}
                                             << "MAX" << P::OutOfRange;
        QTest::newRow("zone direction E") << RecordKind::Zone << ImageRow{{"A05", "E"}} << "A05" << P::BadValue;
        QTest::newRow("scheduler device of three") << RecordKind::Scheduler << ImageRow{{"DEVICE", "A12"}}
                                                   << "DEVICE" << P::BadLength;
        QTest::newRow("description beyond one byte") << RecordKind::Message << ImageRow{{"MESSAGE", "Price €"}}
                                                     << "MESSAGE" << P::BadCharacter;
        QTest::newRow("user number 70000") << RecordKind::User << ImageRow{{"USER", "70000"}}
                                           << "USER" << P::OutOfRange;
        QTest::newRow("user number 65535") << RecordKind::User << ImageRow{{"USER", 65535}}
                                           << "USER" << P::OutOfRange;
        QTest::newRow("card with a letter beyond F") << RecordKind::User << ImageRow{{"CODE", "12345678XZ"}}
                                                     << "CODE" << P::NotHex;
        QTest::newRow("code of eleven") << RecordKind::User << ImageRow{{"CODE", "12345678901"}}
                                        << "CODE" << P::BadLength;
        QTest::newRow("keypad code read back as a card") << RecordKind::User << ImageRow{{"CODE", " 1234"}}
                                                         << "CODE" << P::BadValue;
        QTest::newRow("profile 128") << RecordKind::User << ImageRow{{"LEVEL", "128"}} << "LEVEL" << P::OutOfRange;
        QTest::newRow("lift group 16") << RecordKind::User << ImageRow{{"LIFT", "16"}} << "LIFT" << P::OutOfRange;
        QTest::newRow("door of five") << RecordKind::User << ImageRow{{"DOOR", "12345"}} << "DOOR" << P::BadLength;
        QTest::newRow("name beyond one byte") << RecordKind::User << ImageRow{{"NAME", "Łukasz"}}
                                              << "NAME" << P::BadCharacter;
    }
    void outOfRangeValuesAreRefused()
    {
        QFETCH(RecordKind, kind);
        QFETCH(ImageRow, row);
        QFETCH(QString, field);
        QFETCH(EncodeError::Problem, problem);
        try {
            RecordEncoders::encode(kind, row, 2);
            QFAIL("the row was encoded");
        } catch (const EncodeError &e) {
            QCOMPARE(e.field(), field);
            QCOMPARE(e.problem(), problem);
            QCOMPARE(e.kind(), kind);
            QCOMPARE(e.recordIndex(), 2);
            QVERIFY2(e.text().contains(field) && e.text().contains(QStringLiteral("record 2")),
                     qPrintable(e.text()));
        }
    }

    void liftTimes_data()
    {
        QTest::addColumn<ImageRow>("row");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("empty: 2 minutes, 20 seconds") << ImageRow{} << hex("78 14");
        QTest::newRow("4 minutes, 255 seconds") << ImageRow{{"T_VISITOR", 4}, {"T_USER", "255"}} << hex("f0 ff");
        QTest::newRow("1 minute, 30 seconds") << ImageRow{{"T_VISITOR", "1"}, {"T_USER", 30}} << hex("3c 1e");
    }
    void liftTimes()
    {
        QFETCH(ImageRow, row);
        QFETCH(QByteArray, expected);
        QCOMPARE(RecordEncoders::liftTimes(row).toHex(' '), expected.toHex(' '));
    }

    void liftTimesAboveOneByteAreRefused()
    {
        QVERIFY_THROWS_EXCEPTION(EncodeError, RecordEncoders::liftTimes(ImageRow{{"T_VISITOR", 5}}));
        QVERIFY_THROWS_EXCEPTION(EncodeError, RecordEncoders::liftTimes(ImageRow{{"T_USER", "256"}}));
    }

    void accessPointRecord31Writes()
    {
        QList<ImageRow> rows(32);
        rows[31] = ImageRow{{"ENABLED", true}, {"DESC", "Gate"}, {"TRADE_END", "1000"}, {"TIMETABLE", "02"}};
        const auto writes = RecordEncoders::configurationWrites(RecordKind::AccessPoint, rows);
        QCOMPARE(writes.size(), 64);
        QCOMPARE(int(writes[62].address), 3310);
        QCOMPARE(writes[62].bytes.toHex(' '),
                 (hex("3c") + txt("Gate", 16) + hex("0fff ff 00 00 00 ff 0fff ffff 10")).toHex(' '));
        QCOMPARE(int(writes[63].address), 3339);
        QCOMPARE(writes[63].bytes.toHex(' '), hex("00 ffff ffff 00 00 0fff 02").toHex(' '));
    }

    void holidaysKeepTwentyDaysAndThreePeriods()
    {
        QStringList days;
        for (int d = 1; d <= 22; ++d)
            days << QStringLiteral("%1").arg(d, 2, 10, QLatin1Char('0')) + QStringLiteral("01");
        const QList<ImageRow> dayRows = RecordEncoders::holidayDayRows(days);
        QCOMPARE(dayRows.size(), 4);
        QCOMPARE(RecordEncoders::holidayDays(dayRows[3]).toHex(' '), hex("1601 1701 1801 1901 2001").toHex(' '));

        QList<ImageRow> moreRows = dayRows;
        moreRows << ImageRow{{"DATE1", "2101"}};
        const auto dayWrites = RecordEncoders::configurationWrites(RecordKind::HolidayDays, moreRows);
        QCOMPARE(dayWrites.size(), 4);
        QCOMPARE(int(dayWrites.last().address), 1791);

        const QList<ImageRow> periods = {ImageRow{{"START", "0108"}, {"END", "3108"}}, ImageRow{}, ImageRow{},
                                         ImageRow{{"START", "0112"}, {"END", "3112"}}};
        const auto periodWrites = RecordEncoders::configurationWrites(RecordKind::HolidayPeriods, periods);
        QCOMPARE(periodWrites.size(), 3);
        QCOMPARE(int(periodWrites.last().address), 1809);
        QCOMPARE(periodWrites.first().bytes, hex("0108 3108"));
    }

    void moreRowsThanRoomAreRefusedForOtherKinds()
    {
        const QList<ImageRow> rows(33);
        try {
            RecordEncoders::configurationWrites(RecordKind::Timetable, rows);
            QFAIL("33 timetables were encoded");
        } catch (const EncodeError &e) {
            QCOMPARE(e.problem(), EncodeError::Problem::TooManyRecords);
        }
    }

    void userRoundTrip_data()
    {
        QTest::addColumn<ImageRow>("row");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("codeKind");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("userNumber");
        QTest::newRow("keypad, profile, lift, device")
            << ImageRow{{"NAME", "Ñoño Ørsted"}, {"FLOOR", "3A"}, {"DOOR", "0102"}, {"CODE", "123456"},
                        {"LEVEL", "005"}, {"UNLOCK", true}, {"LIFT", "02"}, {"SENSOR", "A012"},
                        {"USER", "00012"}}
            << "ÑOÑO ØRSTED" << "123456" << int(UserRecord::CodeKind::Keypad) << 5 << 12;
        QTest::newRow("card, no profile")
            << ImageRow{{"NAME", "Bo"}, {"CODE", "00A1B2C3D4"}, {"USER", "65534"}}
            << "BO" << "00A1B2C3D4" << int(UserRecord::CodeKind::Card) << 127 << 65534;
        QTest::newRow("no code, no number")
            << ImageRow{{"NAME", "Visitor"}, {"CODE", "FFFFFF"}, {"LEVEL", "000"}}
            << "VISITOR" << "" << int(UserRecord::CodeKind::None) << 0 << -1;
    }
    void userRoundTrip()
    {
        QFETCH(ImageRow, row);
        QFETCH(QString, name);
        QFETCH(QString, code);
        QFETCH(int, codeKind);
        QFETCH(int, level);
        QFETCH(int, userNumber);
        const QByteArray record = UserRecord::encode(row);
        const auto decoded = UserRecord::decode(record);
        QVERIFY(decoded);
        QCOMPARE(decoded->name, name);
        QCOMPARE(decoded->code, code);
        QCOMPARE(int(decoded->codeKind), codeKind);
        QCOMPARE(decoded->level, level);
        QCOMPARE(decoded->userNumber, userNumber);
        QCOMPARE(UserRecord::encode(decoded->toImageRow()).toHex(' '), record.toHex(' '));
    }

    void userListCrossesThePageBoundary()
    {
        QList<ImageRow> rows;
        for (int i = 0; i < 513; ++i)
            rows << ImageRow{{"NAME", "U"}, {"USER", i + 1}};
        const auto writes = UserRecord::listWrites(rows);
        QCOMPARE(writes.size(), 513);
        QCOMPARE(writes[0].recordIndex, 1);
        QCOMPARE(int(writes[0].address), 32);
        QCOMPARE(int(writes[510].page), 2);
        QCOMPARE(int(writes[510].address), 16352);
        QCOMPARE(int(writes[511].page), 3);
        QCOMPARE(int(writes[511].address), 0);
        QCOMPARE(writes[511].bytes.mid(30).toHex(), QByteArray("0200"));

        rows[7].set("LEVEL", "200");
        try {
            UserRecord::listWrites(rows);
            QFAIL("a bad user was encoded");
        } catch (const EncodeError &e) {
            QCOMPARE(e.recordIndex(), 7);
            QCOMPARE(e.field(), QStringLiteral("LEVEL"));
            QVERIFY(e.text().contains(QStringLiteral("user 8")));
        }
        QVERIFY_THROWS_EXCEPTION(EncodeError, UserRecord::listWrites(QList<ImageRow>(1021)));
    }

    void userDecodeDetails()
    {
        // A slot read from the unit: keypad byte 0x40 means no code; door 0000
        // is no door; lift 2 and time 3 in one byte.
        const QByteArray slot = txt("JOE", 16) + hex("3120 0000 40 4040404040 83 32 b012 0001");
        const auto u = UserRecord::decode(slot);
        QVERIFY(u);
        QCOMPARE(u->floor, QStringLiteral("1"));
        QVERIFY(u->door.isEmpty());
        QCOMPARE(u->codeKind, UserRecord::CodeKind::None);
        QCOMPARE(u->level, 3);
        QVERIFY(u->unlock);
        QCOMPARE(u->lift, 2);
        QCOMPARE(u->time, 3);
        QCOMPARE(u->device, QStringLiteral("B012"));
        QCOMPARE(u->userNumber, 1);

        QVERIFY(!UserRecord::decode(hex("ff") + QByteArray(31, 'x')));
        QVERIFY(!UserRecord::decode(hex("00") + QByteArray(31, 'x')));
        QVERIFY(!UserRecord::decode(QByteArray(31, 'x')));
    }
};

QTEST_GUILESS_MAIN(TestRecordEncoders)
#include "tst_record_encoders.moc"
