#include "platform/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The file as Python's standard INI parser reads it: {section: {key: value}}.
QJsonObject readWithConfigParser(const QString &path, QString *error)
{
    const QString script = QStringLiteral(
        "import configparser, json, sys\n"
        "c = configparser.ConfigParser(interpolation=None, strict=True)\n"
        "c.optionxform = str\n"
        "c.read(sys.argv[1], encoding='utf-8')\n"
        "print(json.dumps({s: dict(c[s]) for s in c.sections()}))\n");
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), script, path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        *error = QString::fromUtf8(python.readAllStandardError());
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

} // namespace

class TestProfileFile : public QObject {
    Q_OBJECT
private slots:
    void lookupIgnoresCase_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("as written") << "General" << "Senda" << "/data/";
        QTest::newRow("section upper") << "GENERAL" << "Senda" << "/data/";
        QTest::newRow("key lower") << "general" << "senda" << "/data/";
        QTest::newRow("value blanks trimmed") << "ports" << "com1" << "Include";
        QTest::newRow("empty value") << "Ports" << "COM2" << "";
        QTest::newRow("first of a repeated key") << "Ports" << "COM3" << "first";
        QTest::newRow("repeated section continues") << "general" << "Idioma" << "SPANISH";
        QTest::newRow("missing key") << "General" << "Nope" << "fallback";
        QTest::newRow("missing section") << "Nope" << "Senda" << "fallback";
    }
    void lookupIgnoresCase()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        ProfileFile p;
        p.parse("[General]\r\nSenda=/data/\r\n[Ports]\r\n  COM1 =  Include  \r\nCOM2=\r\nCOM3=first\r\ncom3=second\r\n"
                "[general]\r\nIdioma=SPANISH\r\n");
        QCOMPARE(p.readString(section, key, QStringLiteral("fallback")), expected);
    }

    void writeChangesInPlaceWithoutDuplicating()
    {
        ProfileFile p;
        p.parse("; settings\n[General]\nSenda=/a/\n\n[Other]\nx=1\n");
        QVERIFY(p.writeString(QStringLiteral("GENERAL"), QStringLiteral("SENDA"), QStringLiteral("/b/")));
        QVERIFY(p.writeString(QStringLiteral("general"), QStringLiteral("New"), QStringLiteral("v")));
        QVERIFY(p.writeString(QStringLiteral("Third"), QStringLiteral("k"), QStringLiteral("50% ; #not a comment")));
        QVERIFY(p.eraseKey(QStringLiteral("other"), QStringLiteral("X")));
        QVERIFY(!p.eraseKey(QStringLiteral("other"), QStringLiteral("X")));
        QCOMPARE(QString::fromUtf8(p.serialize()),
                 QStringLiteral("; settings\n[General]\nSenda=/b/\nNew=v\n\n[Other]\n[Third]\nk=50% ; #not a comment\n"));
        QCOMPARE(p.sections(), (QStringList{"General", "Other", "Third"}));
        QCOMPARE(p.keys(QStringLiteral("GENERAL")), (QStringList{"Senda", "New"}));
    }

    void refusesWhatWouldBreakTheFile_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("line break in value") << "S" << "k" << "a\nb";
        QTest::newRow("carriage return in value") << "S" << "k" << "a\rb";
        QTest::newRow("'=' in key") << "S" << "a=b" << "v";
        QTest::newRow("comment key") << "S" << ";k" << "v";
        QTest::newRow("']' in section") << "S]" << "k" << "v";
        QTest::newRow("empty key") << "S" << "" << "v";
        QTest::newRow("empty section") << "" << "k" << "v";
    }
    void refusesWhatWouldBreakTheFile()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        ProfileFile p;
        p.parse("[S]\nk=old\n");
        QVERIFY(!p.writeString(section, key, value));
        QCOMPARE(p.serialize(), QByteArray("[S]\nk=old\n"));
    }

    void brokenLinesAreReportedAndKept()
    {
        ProfileFile p;
        p.parse("orphan=1\n[General]\nSenda=/a/\njust text\n[Unclosed\nIdioma=ENGLISH\n");
        QCOMPARE(p.problems().size(), 3);
        QCOMPARE(p.problems()[0].line, 1);
        QCOMPARE(p.problems()[1].line, 4);
        QCOMPARE(p.problems()[1].text, QStringLiteral("just text"));
        QCOMPARE(p.problems()[2].line, 5);
        // The rest of the file is read; the unterminated header does not open a section.
        QCOMPARE(p.readString(QStringLiteral("General"), QStringLiteral("Senda")), QStringLiteral("/a/"));
        QCOMPARE(p.readString(QStringLiteral("General"), QStringLiteral("Idioma")), QStringLiteral("ENGLISH"));
        // Written back, the broken lines survive as comments.
        const QByteArray out = p.serialize();
        QVERIFY(out.contains("; just text\n"));
        QVERIFY(out.contains("; [Unclosed\n"));
        QVERIFY(out.contains("; orphan=1\n"));
    }

    void readsWindows1252WhenNotUtf8()
    {
        ProfileFile p;
        p.parse("[SPANISH]\nACCESS_T1=Audio + Llave bot\xf3n\nEURO=\x80\n");
        QVERIFY(p.readAsWindows1252());
        QCOMPARE(p.readString(QStringLiteral("spanish"), QStringLiteral("ACCESS_T1")), QStringLiteral("Audio + Llave bot\u00f3n"));
        QCOMPARE(p.readString(QStringLiteral("spanish"), QStringLiteral("EURO")), QStringLiteral("\u20ac"));

        ProfileFile utf8;
        utf8.parse("\xEF\xBB\xBF[SPANISH]\nACCESS_T1=Audio + Llave bot\xc3\xb3n\n");
        QVERIFY(!utf8.readAsWindows1252());
        QCOMPARE(utf8.sections(), QStringList{QStringLiteral("SPANISH")});
        QCOMPARE(utf8.readString(QStringLiteral("SPANISH"), QStringLiteral("ACCESS_T1")), QStringLiteral("Audio + Llave bot\u00f3n"));
    }

    void savedFileReadsBackInAStandardParser()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("VELTRONA.INI"));
        // A damaged file as a person might leave it.
        QVERIFY(writeFile(path, "[General]\r\nSenda=/old/\r\ngarbage line\r\n[Ports]\r\nCOM1=Include\r\n"));
        ProfileFile p(path);
        QCOMPARE(p.problems().size(), 1);
        QVERIFY(p.writeString(QStringLiteral("general"), QStringLiteral("Senda"), QStringLiteral("/home/op/KORVAN/Veltrona/")));
        QVERIFY(p.writeString(QStringLiteral("General"), QStringLiteral("AT_BaudRate"), QStringLiteral("AT &N6")));
        QVERIFY(p.writeString(QStringLiteral("General"), QStringLiteral("Percent"), QStringLiteral("100% sure")));
        QVERIFY(p.writeString(QStringLiteral("Ports_Desc"), QStringLiteral("COM1"), QStringLiteral("Caf\u00e9 door; main")));
        QVERIFY(p.writeString(QStringLiteral("Ports"), QStringLiteral("COM2"), QString()));
        QVERIFY(p.save());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("VELTRONA.INI")});

        QString error;
        const QJsonObject ini = readWithConfigParser(path, &error);
        QVERIFY2(!ini.isEmpty(), qPrintable(error));
        QCOMPARE(ini.value("General").toObject().value("Senda").toString(), QStringLiteral("/home/op/KORVAN/Veltrona/"));
        QCOMPARE(ini.value("General").toObject().value("AT_BaudRate").toString(), QStringLiteral("AT &N6"));
        QCOMPARE(ini.value("General").toObject().value("Percent").toString(), QStringLiteral("100% sure"));
        QCOMPARE(ini.value("Ports").toObject().value("COM1").toString(), QStringLiteral("Include"));
        QCOMPARE(ini.value("Ports").toObject().value("COM2").toString(), QString());
        QCOMPARE(ini.value("Ports_Desc").toObject().value("COM1").toString(), QStringLiteral("Caf\u00e9 door; main"));

        // Read back by ourselves: the same values.
        ProfileFile again(path);
        QVERIFY(again.problems().isEmpty());
        QCOMPARE(again.readString(QStringLiteral("ports_desc"), QStringLiteral("com1")), QStringLiteral("Caf\u00e9 door; main"));
    }
};

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profile_file.moc"
