#include "support/TestPaths.h"
#include "support/TransferFixture.h"
#include "transfer/Compile.h"

#include "frame/Lang.h"

#include <QFile>
#include <QTest>

// The compile rebuilds image tables as scratch files; a spoiled one is
// replaced from its template rather than stopping every later send.
class TestCompile : public QObject {
    Q_OBJECT

    using Values = TransferFixture::Values;

    // The image row of NR `nr` (or, for the users image, the row of user
    // number `nr`) after compiling `kind`.
    static QVariantMap imageRow(const QString &work, const QString &suffix, const QString &field, const QVariant &value)
    {
        Table t(work, TransferFixture::file(suffix));
        t.open();
        if (!t.locate({field}, {value}))
            return {};
        QVariantMap row;
        for (const QString &name : t.fieldNames())
            row.insert(name, t.value(name));
        return row;
    }

private slots:
    // Each case fills one source row, compiles its kind and reads one image field.
    void fieldRules_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("sourceSuffix");
        QTest::addColumn<Values>("source");
        QTest::addColumn<QString>("imageSuffix");
        QTest::addColumn<QString>("locateField");
        QTest::addColumn<QVariant>("locateValue");
        QTest::addColumn<QVariantMap>("expected");

        const QVariant null;
        QTest::newRow("profile slot without a row")
            << int(Compile::Kind::Profiles) << QString() << Values{} << QStringLiteral("_AXOPRO")
            << QStringLiteral("NR") << QVariant(7)
            << QVariantMap{{"DESC", null}, {"A1", null}, {"T1", null}, {"A3", null}, {"T3", null}};
        QTest::newRow("profile first subprofile area 3 timetable 12")
            << int(Compile::Kind::Profiles) << QStringLiteral("_Profiles")
            << Values{{"NUMERO_PERFIL", 7}, {"DESCRIPCION", QStringLiteral("Cleaners")}, {"P1GZ", 3}, {"P1H", 12}}
            << QStringLiteral("_AXOPRO") << QStringLiteral("NR") << QVariant(7)
            << QVariantMap{{"DESC", QStringLiteral("Cleaners")}, {"A1", QStringLiteral("03")}, {"T1", QStringLiteral("12")}};
        QTest::newRow("access point without lift group")
            << int(Compile::Kind::AccessPoints) << QStringLiteral("_Access")
            << Values{{"NUMERO", 4}, {"DESCRIPCION", QStringLiteral("Gate")}, {"LIFT_GRUPO", null},
                      {"LIFT_USR", true}, {"LIFT_VISIT", true}}
            << QStringLiteral("_AXOACC") << QStringLiteral("NR") << QVariant(4)
            << QVariantMap{{"LIFT_USER", false}, {"LIFT_VISIT", false}};
        QTest::newRow("access point with lift group")
            << int(Compile::Kind::AccessPoints) << QStringLiteral("_Access")
            << Values{{"NUMERO", 4}, {"DESCRIPCION", QStringLiteral("Gate")}, {"LIFT_GRUPO", QStringLiteral("200")},
                      {"LIFT_USR", true}, {"LIFT_VISIT", false}}
            << QStringLiteral("_AXOACC") << QStringLiteral("NR") << QVariant(4)
            << QVariantMap{{"LIFT_USER", true}, {"LIFT_VISIT", false}};
        QTest::newRow("user with profile 127 and number 00000")
            << int(Compile::Kind::Users) << QStringLiteral("_Users")
            << Values{{"N_USUARIO", QStringLiteral("00000")}, {"NOMBRE", QStringLiteral("CARETAKER")},
                      {"CODIGO", QStringLiteral("123456")}, {"PERFIL", 127}}
            << QStringLiteral("_AXOUSR") << QStringLiteral("NAME") << QVariant(QStringLiteral("CARETAKER"))
            << QVariantMap{{"LEVEL", null}, {"USER", null}, {"CODE", QStringLiteral("123456")}};
        QTest::newRow("user without code")
            << int(Compile::Kind::Users) << QStringLiteral("_Users")
            << Values{{"N_USUARIO", QStringLiteral("00012")}, {"NOMBRE", QStringLiteral("VISITOR")}, {"PERFIL", 5}}
            << QStringLiteral("_AXOUSR") << QStringLiteral("NAME") << QVariant(QStringLiteral("VISITOR"))
            << QVariantMap{{"LEVEL", QStringLiteral("005")}, {"USER", QStringLiteral("00012")}, {"CODE", QStringLiteral("FFFFFF")}};
        QTest::newRow("scheduler on relay 012")
            << int(Compile::Kind::Scheduler) << QStringLiteral("_Scheduler")
            << Values{{"NUMERO", 2}, {"DESCRIPCION", QStringLiteral("Lights")}, {"TIPO_DISPOSITIVO", QStringLiteral("@REL")},
                      {"DISPOSITIVO", QStringLiteral("012")}}
            << QStringLiteral("_AXOSCH") << QStringLiteral("NR") << QVariant(2)
            << QVariantMap{{"DEVICE", QStringLiteral("B012")}};
        QTest::newRow("scheduler on sensor 012")
            << int(Compile::Kind::Scheduler) << QStringLiteral("_Scheduler")
            << Values{{"NUMERO", 2}, {"DESCRIPCION", QStringLiteral("Alarm")}, {"TIPO_DISPOSITIVO", QStringLiteral("@SEN")},
                      {"DISPOSITIVO", QStringLiteral("012")}}
            << QStringLiteral("_AXOSCH") << QStringLiteral("NR") << QVariant(2)
            << QVariantMap{{"DEVICE", QStringLiteral("A012")}};
    }

    void fieldRules()
    {
        QFETCH(int, kind);
        QFETCH(QString, sourceSuffix);
        QFETCH(Values, source);
        QFETCH(QString, imageSuffix);
        QFETCH(QString, locateField);
        QFETCH(QVariant, locateValue);
        QFETCH(QVariantMap, expected);

        TestFolders folders;
        QVERIFY2(folders.isValid(), qPrintable(folders.error()));
        TransferFixture::createBlock(folders.workDir());
        // Device kinds are stored as the language's words: "@KEY" stands for the word of KEY.
        for (auto &[field, value] : source) {
            if (value.typeId() == QMetaType::QString && value.toString().startsWith(QLatin1Char('@')))
                value = Lang::word(value.toString().mid(1));
        }
        if (!sourceSuffix.isEmpty())
            TransferFixture::appendRows(folders.workDir(), sourceSuffix, 1, [&](int) { return source; });

        const Compile::Outcome outcome = Compile::run(Compile::Kind(kind), folders.workDir(), TransferFixture::prefix(), {});
        QVERIFY2(outcome.ok, qPrintable(outcome.error));
        const QVariantMap row = imageRow(folders.workDir(), imageSuffix, locateField, locateValue);
        QVERIFY2(!row.isEmpty(), "the image row was not found");
        for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
            const QVariant actual = row.value(it.key());
            if (!it.value().isValid()) {
                QVERIFY2(actual.isNull() || actual.toString().isEmpty(), qPrintable(it.key() + QStringLiteral(" = ") + actual.toString()));
            } else if (it.value().typeId() == QMetaType::Bool) {
                QCOMPARE(actual.toBool(), it.value().toBool());
            } else {
                QCOMPARE(actual.toString(), it.value().toString());
            }
        }
    }

    void spoiledImageTableIsRebuilt()
    {
        TestFolders folders;
        QVERIFY2(folders.isValid(), qPrintable(folders.error()));
        TransferFixture::createBlock(folders.workDir());

        const QString image = folders.workDir() + TransferFixture::file(QStringLiteral("_AXOTIM"));
        QFile spoiled(image);
        QVERIFY(spoiled.open(QIODevice::WriteOnly | QIODevice::Truncate));
        spoiled.write(QByteArray(4096, char(0x5A)));
        spoiled.close();

        const Compile::Outcome outcome =
            Compile::run(Compile::Kind::Timetables, folders.workDir(), TransferFixture::prefix(), {});
        QVERIFY2(outcome.ok, qPrintable(outcome.error));
        QCOMPARE(outcome.rows, 32);

        Table t(folders.workDir(), TransferFixture::file(QStringLiteral("_AXOTIM")));
        t.open();
        QCOMPARE(t.recordCount(), 32);
    }
};

QTEST_GUILESS_MAIN(TestCompile)
#include "tst_compile.moc"
