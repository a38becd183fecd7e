// Installation operations and the shared table operations on real blocks
// built from the generated templates.
#include "frame/Lang.h"
#include "platform/Paths.h"
#include "store/InstallationFile.h"
#include "store/InstallationStore.h"
#include "store/SharedTables.h"
#include "store/UserCodes.h"
#include "store/engine/Table.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QtTest>

#include <memory>

using namespace InstallationStore;

class TestStoreOperations : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolders> m_folders;
    QString m_work;
    const QString N = QStringLiteral("Site");

    QString prefix(const QString &block) const { return N + QLatin1Char('_') + block; }

    void makeBlock(const QString &name, int code, const QStringList &items)
    {
        NewBlock b;
        b.name = name;
        b.code = code;
        b.type = 1;
        for (const QString &item : items)
            b.components[size_t(Components::byItem(item)->orden)] = true;
        QVERIFY(addBlock(m_work, N, b).ok);
    }

    int count(const QString &file) const
    {
        Table t(m_work, file);
        t.open();
        return t.recordCount();
    }

    void appendRow(const QString &file, const QList<QPair<QString, QVariant>> &values)
    {
        Table t(m_work, file);
        t.open();
        t.append();
        for (const auto &[field, value] : values)
            t.setValue(field, value);
        t.post();
    }

    QStringList workFiles() const { return QDir(m_work).entryList(QDir::Files, QDir::Name); }

private slots:
    void initTestCase()
    {
        m_folders = std::make_unique<TestFolders>();
        QVERIFY2(m_folders->isValid(), qPrintable(m_folders->error()));
        Lang::open(m_folders->configDir() + QStringLiteral("VELTRONA_LANG.ini"), QStringLiteral("ENGLISH"));
    }

    // Each case works in a fresh work folder of its own.
    void init()
    {
        static int round = 0;
        m_work = m_folders->root() + QStringLiteral("work%1/").arg(++round);
        QVERIFY(QDir().mkpath(m_work));
        QVERIFY(createInstallation(m_work, N, Connection::Local, QString(), QStringLiteral("COM3")).ok);
    }

    void newBlockTables()
    {
        makeBlock(QStringLiteral("North"), 5, {QStringLiteral("ACC"), QStringLiteral("ACT")});
        const QString p = prefix(QStringLiteral("North"));
        // Zones: 32 rows, none defined, each with the default picture.
        Table zones(m_work, p + QStringLiteral("_Zones.db"));
        zones.open();
        QCOMPARE(zones.recordCount(), 32);
        for (zones.first(); !zones.eof(); zones.next()) {
            QVERIFY(zones.isNull(QStringLiteral("DESCRIPCION")));
            QCOMPARE(zones.text(QStringLiteral("SENDA_FOTO")), Paths::systemDir() + QStringLiteral("Zona.bmp"));
        }
        // Zone membership at rest: two rows of sixteen icons.
        Table aux(m_work, p + QStringLiteral("_Zones_aux.db"));
        aux.open();
        QCOMPARE(aux.recordCount(), 1024);
        QVERIFY(aux.locate({QStringLiteral("N_ZONA"), QStringLiteral("ACCESO")}, {5, 17}));
        QCOMPARE(aux.integer(QStringLiteral("T")), 66);
        QCOMPARE(aux.integer(QStringLiteral("L")), 47);
        QVERIFY(aux.locate({QStringLiteral("N_ZONA"), QStringLiteral("ACCESO")}, {5, 15}));
        QCOMPARE(aux.integer(QStringLiteral("T")), 2);
        QCOMPARE(aux.integer(QStringLiteral("L")), 481);
        QCOMPARE(aux.text(QStringLiteral("E_S_D")), QStringLiteral("X"));
        // System profiles relabelled in the current language.
        Table profiles(m_work, p + QStringLiteral("_Profiles.db"));
        profiles.open();
        QVERIFY(profiles.locate({QStringLiteral("NUMERO_PERFIL")}, {126}));
        QCOMPARE(profiles.text(QStringLiteral("DESCRIPCION")), Lang::text(QStringLiteral("PRF_SYS_126")));
        // Components and the record.
        const Components::Flags flags = SharedTables::readComponents(m_work, p);
        QCOMPARE(flags, (Components::Flags{true, false, true, false, false, false, false, false}));
        const auto record = InstallationFile(m_work, N).blockRecord(QStringLiteral("North"));
        QVERIFY(record);
        QCOMPARE(record->code(), 5);
        QCOMPARE(record->text(BlockRecord::TypeText), Lang::text(QStringLiteral("TIPO_INS1")));
        QCOMPARE(record->text(BlockRecord::WorkFolder), m_work);
    }

    void refusedBlocksTouchNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("same name in other case") << "NORTH" << 2 << "NORTH exists. Change block name.";
        QTest::newRow("parent path") << "../x" << 2 << "";
        QTest::newRow("padding byte") << "a@b" << 2 << "";
        QTest::newRow("single quote") << "a'b" << 2 << "";
        QTest::newRow("code beyond 63") << "East" << 64 << "";
    }
    void refusedBlocksTouchNothing()
    {
        QFETCH(QString, name);
        QFETCH(int, code);
        QFETCH(QString, message);
        makeBlock(QStringLiteral("North"), 1, {QStringLiteral("ACC")});
        const QStringList before = workFiles();
        const QStringList outside = QDir(m_folders->root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        NewBlock b;
        b.name = name;
        b.code = code;
        const StoreOutcome outcome = addBlock(m_work, N, b);
        QVERIFY(!outcome.ok);
        QVERIFY(!outcome.message.isEmpty());
        if (!message.isEmpty())
            QCOMPARE(outcome.message, message);
        QCOMPARE(workFiles(), before);
        QCOMPARE(QDir(m_folders->root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), outside);
        QCOMPARE(InstallationFile(m_work, N).countBlocks(), QStringLiteral("1"));
    }

    void lowestFreeNumber_data()
    {
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty") << QList<int>{} << 0;
        QTest::newRow("0 1 3") << QList<int>{0, 1, 3} << 2;
        QTest::newRow("1 2") << QList<int>{1, 2} << 0;
        QList<int> all;
        for (int i = 0; i <= 31; ++i)
            all << i;
        QTest::newRow("0 to 31, limit 31") << all << 31;
        all.removeLast();
        QTest::newRow("0 to 30") << all << 31;
    }
    void lowestFreeNumber()
    {
        QFETCH(QList<int>, numbers);
        QFETCH(int, expected);
        makeBlock(QStringLiteral("North"), 1, {QStringLiteral("ACT")});
        const QString file = prefix(QStringLiteral("North")) + QStringLiteral("_Timetables.db");
        for (const int n : numbers)
            appendRow(file, {{QStringLiteral("NUMERO"), n}, {QStringLiteral("NOMBRE"), QStringLiteral("T%1").arg(n)}});
        QCOMPARE(SharedTables::lowestFreeNumber(m_work, file, QStringLiteral("NUMERO"), 31), expected);
    }

    void recordUsage_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::newRow("F") << "F" << 10 << "000" << "009";
        QTest::newRow("1F") << "1F" << 10 << "010" << "019";
        QTest::newRow("F12") << "F12" << 1000 << "000" << "999";
        QTest::newRow("2F5") << "2F5" << 100 << "200" << "299";
        QTest::newRow("7") << "7" << 1 << "007" << "007";
    }
    void recordUsage()
    {
        QFETCH(QString, device);
        QFETCH(int, rows);
        QFETCH(QString, first);
        QFETCH(QString, last);
        makeBlock(QStringLiteral("North"), 1, {QStringLiteral("ACC")});
        const QString p = prefix(QStringLiteral("North"));
        QCOMPARE(SharedTables::recordDeviceUsage(m_work, p, QStringLiteral("B"), device, QStringLiteral("3"), QStringLiteral("4")), rows);
        Table t(m_work, p + QStringLiteral("_Who_Item.db"));
        t.open();
        QCOMPARE(t.recordCount(), rows);
        QStringList devices;
        for (t.first(); !t.eof(); t.next()) {
            QCOMPARE(t.text(QStringLiteral("WHO")), QStringLiteral("4"));
            QCOMPARE(t.text(QStringLiteral("ITEM")), QStringLiteral("3"));
            devices << t.text(QStringLiteral("DEVICE"));
        }
        devices.sort();
        QCOMPARE(devices.first(), first);
        QCOMPARE(devices.last(), last);
        QCOMPARE(count(p + QStringLiteral("_Who_ItemS.db")), 0); // side "B" is the relays' table only
    }

    void releaseAndUsedElsewhere()
    {
        makeBlock(QStringLiteral("North"), 1, {QStringLiteral("ACC")});
        const QString p = prefix(QStringLiteral("North"));
        const QString B = QStringLiteral("B");
        SharedTables::recordDeviceUsage(m_work, p, B, QStringLiteral("12"), QStringLiteral("1"), QStringLiteral("3"));
        SharedTables::recordDeviceUsage(m_work, p, B, QStringLiteral("20"), QStringLiteral("1"), QStringLiteral("5"));
        SharedTables::recordDeviceUsage(m_work, p, B, QStringLiteral("21"), QStringLiteral("2"), QStringLiteral("5"));
        SharedTables::recordDeviceUsage(m_work, p, B, QStringLiteral("22"), QStringLiteral("1"), QStringLiteral("6"));

        QVERIFY(SharedTables::deviceUsedElsewhere(m_work, p, QStringLiteral("12"), QStringLiteral("3"), QStringLiteral("2")));
        QVERIFY(!SharedTables::deviceUsedElsewhere(m_work, p, QStringLiteral("12"), QStringLiteral("3"), QStringLiteral("1")));
        QVERIFY(SharedTables::deviceUsedElsewhere(m_work, p, QStringLiteral("012"), QStringLiteral("4"), QStringLiteral("1")));
        QVERIFY(!SharedTables::deviceUsedElsewhere(m_work, p, QStringLiteral("99"), QStringLiteral("4"), QStringLiteral("1")));

        SharedTables::releaseDeviceUsage(m_work, p, B, QStringLiteral("5"), QStringLiteral("1"));
        Table t(m_work, p + QStringLiteral("_Who_Item.db"));
        t.open();
        QStringList left;
        for (t.first(); !t.eof(); t.next())
            left << t.text(QStringLiteral("WHO")) + QLatin1Char('/') + t.text(QStringLiteral("ITEM")) + QLatin1Char('/')
                    + t.text(QStringLiteral("DEVICE"));
        left.sort();
        QCOMPARE(left, (QStringList{QStringLiteral("3/1/012"), QStringLiteral("5/2/021"), QStringLiteral("6/1/022")}));
    }

    void groupLookup_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("found");
        QTest::newRow("F05") << "F05" << false;
        QTest::newRow("905 without group 9") << "905" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("105") << "105" << true;
        QTest::newRow("5 is group 0") << "5" << true;
    }
    void groupLookup()
    {
        QFETCH(QString, device);
        QFETCH(bool, found);
        makeBlock(QStringLiteral("North"), 1, {QStringLiteral("ACC")});
        const QString p = prefix(QStringLiteral("North"));
        for (int g = 0; g <= 2; ++g)
            appendRow(p + QStringLiteral("_Rele.db"),
                      {{QStringLiteral("GRUPO"), g}, {QStringLiteral("DESCRIPCION"), QStringLiteral("Group %1").arg(g)},
                       {QStringLiteral("ESTADO"), g == 1 ? QStringLiteral("On") : QStringLiteral("Off")},
                       {QStringLiteral("VALIDO"), true}});
        const SharedTables::RelayGroup group = SharedTables::relayGroupLookup(m_work, p, device);
        QCOMPARE(group.found, found);
        if (found && device == QLatin1String("105")) {
            QCOMPARE(group.description, QStringLiteral("Group 1"));
            QVERIFY(group.on);
            QVERIFY(group.valid);
            QCOMPARE(group.time, QStringLiteral("0"));
        }
    }

    void holidayLimits()
    {
        makeBlock(QStringLiteral("North"), 1, {QStringLiteral("ACT")});
        const QString p = prefix(QStringLiteral("North"));
        for (int i = 0; i < 20; ++i) {
            QVERIFY(SharedTables::canAddHolidayDay(m_work, p));
            appendRow(p + QStringLiteral("_Hday.db"), {{QStringLiteral("DIA"), QStringLiteral("%1").arg(101 + i, 4, 10, QLatin1Char('0'))}});
        }
        QVERIFY(!SharedTables::canAddHolidayDay(m_work, p)); // the 21st is refused
        for (int i = 0; i < 2; ++i) {
            QVERIFY(SharedTables::canAddHolidayPeriod(m_work, p));
            appendRow(p + QStringLiteral("_Hper.db"), {{QStringLiteral("START"), QStringLiteral("0101")}, {QStringLiteral("END"), QStringLiteral("0201")}});
        }
        QVERIFY(!SharedTables::canAddHolidayPeriod(m_work, p));
    }

    void componentRemoval_data()
    {
        QTest::addColumn<QStringList>("components");
        QTest::addColumn<QString>("remove");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("holidaysKept");
        QTest::addColumn<int>("usersLeft");
        QTest::newRow("ACC with an access point") << QStringList{"ACC", "ACT", "SCH", "APT"} << "ACC" << false << true << 2;
        QTest::newRow("ACT with SCH keeps holidays") << QStringList{"ACC", "ACT", "SCH"} << "ACT" << true << true << 0;
        QTest::newRow("ACT without SCH resets holidays") << QStringList{"ACC", "ACT"} << "ACT" << true << false << 0;
        QTest::newRow("ACT with APT keeps users") << QStringList{"ACC", "ACT", "APT"} << "ACT" << true << false << 2;
        QTest::newRow("SCH with ACT keeps holidays") << QStringList{"ACC", "ACT", "SCH"} << "SCH" << true << true << 2;
        QTest::newRow("SCH without ACT resets holidays") << QStringList{"ACC", "SCH", "APT"} << "SCH" << true << false << 2;
        QTest::newRow("APT with ACT keeps users") << QStringList{"ACT", "APT"} << "APT" << true << true << 2;
        QTest::newRow("APT without ACT empties users") << QStringList{"APT"} << "APT" << true << true << 0;
        QTest::newRow("absent component") << QStringList{"ACC"} << "GUD" << false << true << 2;
    }
    void componentRemoval()
    {
        QFETCH(QStringList, components);
        QFETCH(QString, remove);
        QFETCH(bool, ok);
        QFETCH(bool, holidaysKept);
        QFETCH(int, usersLeft);
        makeBlock(QStringLiteral("North"), 1, components);
        const QString p = prefix(QStringLiteral("North"));
        appendRow(p + QStringLiteral("_Access.db"), {{QStringLiteral("NUMERO"), 3}, {QStringLiteral("HORARIO"), 1}});
        appendRow(p + QStringLiteral("_Hday.db"), {{QStringLiteral("DIA"), QStringLiteral("2512")}});
        for (int i = 1; i <= 2; ++i)
            appendRow(p + QStringLiteral("_Users.db"), {{QStringLiteral("N_USUARIO"), QStringLiteral("0000%1").arg(i)},
                                                        {QStringLiteral("PERFIL"), 3},
                                                        {QStringLiteral("CODIGO"), QStringLiteral("123456")},
                                                        {QStringLiteral("ES_USR"), true}});
        const QByteArray treeBefore = [&] {
            QFile f(m_work + N + QStringLiteral("_TREE_VOC"));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();

        const StoreOutcome outcome = removeComponent(m_work, N, QStringLiteral("North"), remove);
        QCOMPARE(outcome.ok, ok);
        QCOMPARE(SharedTables::hasComponent(m_work, p, remove), ok ? false : components.contains(remove));
        QCOMPARE(count(p + QStringLiteral("_Hday.db")), holidaysKept ? 1 : 0);
        QCOMPARE(count(p + QStringLiteral("_Users.db")), usersLeft);
        QCOMPARE(count(p + QStringLiteral("_Access.db")), 1);
        QFile tree(m_work + N + QStringLiteral("_TREE_VOC"));
        QVERIFY(tree.open(QIODevice::ReadOnly));
        const QByteArray treeAfter = tree.readAll();
        const QByteArray node = "\t\t" + QByteArray(Components::byItem(remove)->word) + "\r\n";
        QCOMPARE(treeAfter.contains(node), !ok && components.contains(remove));
        if (!ok) {
            QCOMPARE(treeAfter, treeBefore);
            const QString refusal = Lang::text(QStringLiteral("F_Princ_MENSA03"));
            QCOMPARE(outcome.message, remove == QLatin1String("ACC")
                                          ? refusal + QLatin1Char('\r') + Lang::text(QStringLiteral("ACC"))
                                          : refusal);
        }
        if (ok && remove == QLatin1String("ACT") && usersLeft > 0) {
            Table users(m_work, p + QStringLiteral("_Users.db"));
            users.open();
            users.first();
            QCOMPARE(users.integer(QStringLiteral("PERFIL")), 127);
            QVERIFY(users.boolean(QStringLiteral("ES_USR")));
            QVERIFY(users.isNull(QStringLiteral("CODIGO")));
        }
        if (ok && remove == QLatin1String("APT") && usersLeft > 0) {
            Table users(m_work, p + QStringLiteral("_Users.db"));
            users.open();
            for (users.first(); !users.eof(); users.next())
                QVERIFY(!users.boolean(QStringLiteral("ES_USR")));
        }
        if (ok && remove == QLatin1String("ACT")) {
            Table access(m_work, p + QStringLiteral("_Access.db"));
            access.open();
            access.first();
            QVERIFY(access.isNull(QStringLiteral("HORARIO")));
        }
    }

    void addComponentTwice()
    {
        makeBlock(QStringLiteral("North"), 1, {QStringLiteral("ACC")});
        QVERIFY(addComponent(m_work, N, QStringLiteral("North"), QStringLiteral("lct")).ok);
        const StoreOutcome again = addComponent(m_work, N, QStringLiteral("North"), QStringLiteral("LCT"));
        QVERIFY(!again.ok);
        QCOMPARE(again.message, Lang::text(QStringLiteral("F_Princ_MENSA00")));
        const InstallationTree tree = InstallationTree::read(m_work, N);
        const TreeNode *lift = ::findChild(*tree.block(QStringLiteral("North")), QStringLiteral("LFT"));
        QVERIFY(lift);
        QCOMPARE(lift->children.size(), 3);
    }

    void loadedRecordKeepsSourceFields()
    {
        makeBlock(QStringLiteral("North"), 1, {QStringLiteral("ACC"), QStringLiteral("APT")});
        BlockRecord current = *InstallationFile(m_work, N).blockRecord(QStringLiteral("North"));
        BlockRecord edited = current;
        edited.setText(BlockRecord::Display1, QStringLiteral("Welcome"));
        QVERIFY(saveBlockValues(m_work, N, current, edited).ok);
        QVERIFY(createInstallation(m_work, QStringLiteral("Other"), Connection::Local, QString(), QString()).ok);
        QStringList loaded;
        QVERIFY(loadBlocks(m_work, QStringLiteral("Other"), m_work + N + QStringLiteral(".axo"),
                           {{QStringLiteral("North"), QStringLiteral("Far"), 9}}, &loaded).ok);
        QCOMPARE(loaded, QStringList{QStringLiteral("Far")});
        const BlockRecord copy = *InstallationFile(m_work, QStringLiteral("Other")).blockRecord(QStringLiteral("Far"));
        QCOMPARE(copy.bytes().mid(0, 50), QByteArray("Far") + QByteArray(47, '@'));
        QCOMPARE(copy.code(), 9);
        QCOMPARE(copy.bytes().mid(56), edited.bytes().mid(56));
        const QList<BlockSummaryRow> rows = blockSummary(m_work, QStringLiteral("Other"));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].components, (Components::Flags{true, true, false, false, false, false, false, false}));
        // A source block that is missing stops the load.
        QVERIFY(!loadBlocks(m_work, QStringLiteral("Other"), m_work + N + QStringLiteral(".axo"),
                            {{QStringLiteral("Nowhere"), QStringLiteral("X"), 2}}).ok);
        QCOMPARE(InstallationFile(m_work, QStringLiteral("Other")).countBlocks(), QStringLiteral("1"));
    }

    void userCodes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("kind");
        QTest::newRow("empty") << "" << "" << int(UserCodes::CodeKind::None);
        QTest::newRow("four digits") << "1234" << "123400" << int(UserCodes::CodeKind::Keypad);
        QTest::newRow("six") << "123456" << "123456" << int(UserCodes::CodeKind::Keypad);
        QTest::newRow("seven") << "ABCDEF1" << "ABCDEF1000" << int(UserCodes::CodeKind::Card);
        QTest::newRow("ten") << "0A1B2C3D4E" << "0A1B2C3D4E" << int(UserCodes::CodeKind::Card);
        QTest::newRow("eleven") << "0A1B2C3D4E5" << "0A1B2C3D4E5" << int(UserCodes::CodeKind::Invalid);
    }
    void userCodes()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(int, kind);
        QCOMPARE(UserCodes::complete(typed), stored);
        QCOMPARE(int(UserCodes::kindOf(stored)), kind);
        QCOMPARE(UserCodes::codeForUnit(stored), stored.isEmpty() ? QStringLiteral("FFFFFF") : stored);
        QCOMPARE(UserCodes::kindText(stored).isEmpty(), kind == int(UserCodes::CodeKind::None) || kind == int(UserCodes::CodeKind::Invalid));
    }

    void memoryPosition()
    {
        QVERIFY(!MemoryPosition::inUnit(QVariant()));
        QCOMPARE(MemoryPosition::fromField(QVariant()), MemoryPosition::kNone);
        QVERIFY(MemoryPosition::inUnit(0));
        QCOMPARE(MemoryPosition::slot(0), 1);
        QVERIFY(MemoryPosition::toField(MemoryPosition::kNone).isNull());
        QCOMPARE(MemoryPosition::toField(41).toInt(), 41);
    }
};

QTEST_GUILESS_MAIN(TestStoreOperations)
#include "tst_store_operations.moc"
