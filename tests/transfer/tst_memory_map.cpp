#include "transfer/MemoryMap.h"

#include <QTest>

#include <stdexcept>

using namespace MemoryMap;

Q_DECLARE_METATYPE(RecordKind)

class TestMemoryMap : public QObject {
    Q_OBJECT
private slots:
    void recordAddresses_data()
    {
        QTest::addColumn<RecordKind>("kind");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("address");
        QTest::newRow("lift code 9") << RecordKind::LiftCode << 9 << 27;
        QTest::newRow("lift licence 14") << RecordKind::LiftLicence << 14 << 324;
        QTest::newRow("daylight saving") << RecordKind::DaylightSaving << 0 << 345;
        QTest::newRow("profile 0") << RecordKind::Profile << 0 << 353;
        QTest::newRow("profile 63") << RecordKind::Profile << 63 << 1739;
        QTest::newRow("holiday days 3") << RecordKind::HolidayDays << 3 << 1791;
        QTest::newRow("holiday period 2") << RecordKind::HolidayPeriods << 2 << 1809;
        QTest::newRow("timetable 0") << RecordKind::Timetable << 0 << 1813;
        QTest::newRow("timetable 31") << RecordKind::Timetable << 31 << 2092;
        QTest::newRow("access point 31") << RecordKind::AccessPoint << 31 << 3310;
        QTest::newRow("zone 0") << RecordKind::Zone << 0 << 3349;
        QTest::newRow("zone 31") << RecordKind::Zone << 31 << 4217;
        QTest::newRow("area 31") << RecordKind::Area << 31 << 4865;
        QTest::newRow("sensor 9") << RecordKind::Sensor << 9 << 5083;
        QTest::newRow("message 17") << RecordKind::Message << 17 << 5377;
        QTest::newRow("phone 3") << RecordKind::Phone << 3 << 5537;
        QTest::newRow("relay group 9") << RecordKind::RelayGroup << 9 << 5756;
        QTest::newRow("scheduler 31") << RecordKind::Scheduler << 31 << 6550;
        QTest::newRow("incidence settings") << RecordKind::IncidenceSettings << 0 << 6576;
        QTest::newRow("decoder bus") << RecordKind::DecoderBus << 0 << 6607;
    }
    void recordAddresses()
    {
        QFETCH(RecordKind, kind);
        QFETCH(int, index);
        QFETCH(int, address);
        QCOMPARE(int(recordAddress(kind, index)), address);
    }

    void regionsFillTheConfigurationMemoryWithoutOverlap()
    {
        int previousEnd = 0;
        for (const Region &r : configurationRegions()) {
            QVERIFY2(r.base >= previousEnd, qPrintable(QStringLiteral("region at %1 overlaps").arg(r.base)));
            previousEnd = r.end();
        }
        // The decoder bus settings end at the last address, 6614.
        QCOMPARE(previousEnd, 6615);
        QCOMPARE(int(readAddress(3310)), 0x4CEE);
    }

    void recordIndexOutsideTheRegionIsRefused()
    {
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, recordAddress(RecordKind::Timetable, 32));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, recordAddress(RecordKind::Zone, -1));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, recordAddress(RecordKind::Sensor, 10));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 recordWrites(RecordKind::Timetable, 0, QByteArray(8, '\0')));
    }

    void accessPointGoesInTwoPiecesEndingBeforeTheZones()
    {
        QByteArray record(39, '\0');
        for (int i = 0; i < 39; ++i)
            record[i] = char(i);
        const QList<MemoryWrite> writes = recordWrites(RecordKind::AccessPoint, 31, record);
        QCOMPARE(writes.size(), 2);
        QCOMPARE(int(writes[0].address), 3310);
        QCOMPARE(writes[0].bytes, record.left(29));
        QCOMPARE(int(writes[1].address), 3339);
        QCOMPARE(writes[1].bytes, record.mid(29));
        QCOMPARE(int(writes[1].address) + writes[1].bytes.size(), 3349);
        QCOMPARE(int(writes[0].page), 1);
        QCOMPARE(writes[1].recordIndex, 31);
    }

    void phoneRecordGoesInThreeWrites()
    {
        const QList<MemoryWrite> writes = recordWrites(RecordKind::Phone, 1, QByteArray(48, 'x'));
        QCOMPARE(writes.size(), 3);
        QCOMPARE(int(writes[0].address), 5441);
        QCOMPARE(int(writes[1].address), 5457);
        QCOMPARE(int(writes[2].address), 5473);
        for (const MemoryWrite &w : writes)
            QCOMPARE(w.bytes.size(), 16);
    }

    void noWriteCarriesMoreThan32Bytes()
    {
        for (const Region &r : configurationRegions()) {
            const auto writes = recordWrites(r.kind, r.count - 1, QByteArray(r.size, '\0'));
            int total = 0;
            for (const MemoryWrite &w : writes) {
                QVERIFY(w.bytes.size() >= 1 && w.bytes.size() <= 32);
                total += w.bytes.size();
            }
            QCOMPARE(total, r.size);
        }
    }

    void userSlots_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("address");
        QTest::newRow("codes slot 0") << 0 << 2 << 0;
        QTest::newRow("first user") << 1 << 2 << 32;
        QTest::newRow("511, last of page 2") << 511 << 2 << 16352;
        QTest::newRow("512, first of page 3") << 512 << 3 << 0;
        QTest::newRow("1020, last user") << 1020 << 3 << 16256;
        QTest::newRow("display slot 1023") << 1023 << 3 << 16352;
    }
    void userSlots()
    {
        QFETCH(int, slot);
        QFETCH(int, page);
        QFETCH(int, address);
        const SlotAddress at = userSlotWriteAddress(slot);
        QCOMPARE(int(at.page), page);
        QCOMPARE(int(at.address), address);
        QCOMPARE(int(userSlotReadAddress(slot)), slot * 32);
        const MemoryWrite w = userSlotWrite(slot, QByteArray(32, 'u'));
        QCOMPARE(int(w.page), page);
        QCOMPARE(int(w.address), address);
    }

    void userSlotsOutsideTheMemoryAreRefused()
    {
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, userSlotWriteAddress(1024));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, userSlotWriteAddress(-1));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, userSlotWrite(5, QByteArray(31, '\0')));
    }

    void userListFillsSlotsFromOne()
    {
        const QList<int> slots1020 = userListSlots(1020);
        QCOMPARE(slots1020.size(), 1020);
        QCOMPARE(slots1020.first(), 1);
        QCOMPARE(slots1020[510], 511);
        QCOMPARE(slots1020[511], 512);
        QCOMPARE(slots1020.last(), 1020);
        QCOMPARE(memPosFromSlot(512), 511);
        QCOMPARE(slotFromMemPos(0), 1);
        QVERIFY(userListSlots(0).isEmpty());
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, userListSlots(1021));
    }

    void fullConfigurationOrder()
    {
        const QList<RecordKind> expected = {
            RecordKind::Profile,  RecordKind::Area,        RecordKind::Timetable, RecordKind::LiftLicence,
            RecordKind::LiftCode, RecordKind::AccessPoint, RecordKind::Zone,      RecordKind::Phone,
            RecordKind::Message,  RecordKind::Sensor,      RecordKind::RelayGroup, RecordKind::Scheduler,
            RecordKind::HolidayDays, RecordKind::HolidayPeriods};
        QCOMPARE(MemoryMap::fullConfigurationOrder(), expected);
    }

    void headerSlots()
    {
        const QByteArray codes = QByteArray::fromHex("3132333435 0000000000 ff00000000 3939393939");
        const QByteArray slot0 = codesSlotRecord(codes);
        QCOMPARE(slot0, codes + QByteArray(12, '\0'));
        const QList<QByteArray> four = systemCodes(slot0);
        QCOMPARE(four.size(), 4);
        QCOMPARE(four[0], QByteArray("12345"));
        QVERIFY(systemCodePresent(four[0]));
        QVERIFY(!systemCodePresent(four[1]));
        QVERIFY(!systemCodePresent(four[2]));
        QVERIFY(systemCodePresent(four[3]));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, codesSlotRecord(QByteArray(19, '1')));

        QCOMPARE(displaySlotRecord("WELCOME", "A LONG SECOND LINE!"),
                 QByteArray("WELCOME         A LONG SECOND LI"));
    }

    void countsAndHoles()
    {
        const auto counts = decodeUserCounts(QByteArray::fromHex("0005 0008"));
        QVERIFY(counts);
        QCOMPARE(counts->users, 5);
        QCOMPARE(counts->occupiedSlots, 8);
        QCOMPARE(counts->holes(), 3);
        QVERIFY(!counts->full());
        QVERIFY(decodeUserCounts(QByteArray::fromHex("03f0 03fc"))->full());
        QVERIFY(!decodeUserCounts(QByteArray::fromHex("0005 00")));

        const auto found = decodeFoundUser(QByteArray::fromHex("21 01ff"));
        QVERIFY(found);
        QVERIFY(!found->inZone());
        QCOMPARE(found->slot, 511);
        QVERIFY(decodeFoundUser(QByteArray::fromHex("05 0001"))->inZone());
        QVERIFY(!decodeFoundUser(QByteArray::fromHex("05 00")));
    }
};

QTEST_GUILESS_MAIN(TestMemoryMap)
#include "tst_memory_map.moc"
