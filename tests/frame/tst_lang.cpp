#include "frame/Lang.h"
#include "platform/ProfileFile.h"
#include "store/StoreTexts.h"
#include "support/TestPaths.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QString shippedFile()
{
    return TestPaths::sourceDir() + QStringLiteral("/lang/VELTRONA_LANG.ini");
}

// ACC word "Accesses", TIM "Timetables": a small installation tree.
TextTree vocabularyTree()
{
    return TextTree(QStringLiteral("ACC"), // an installation may be called anything, even a key
                    {TextTree(QStringLiteral("PRO"),  // a block named like a key stays
                              {TextTree(QStringLiteral("ACC")),
                               TextTree(QStringLiteral("ACT"), {TextTree(QStringLiteral("TIM")), TextTree(QStringLiteral("USR"))}),
                               TextTree(QStringLiteral("ALARMS")), TextTree(QStringLiteral("acc")), TextTree(QStringLiteral("DEC"))})});
}

} // namespace

class TestLang : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Lang::close(); }

    void lookup_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("fallback"); // null: no default given
        QTest::addColumn<QString>("expected");
        QTest::newRow("present") << "ENGLISH" << "STAN_EXIT" << QString() << "Quit";
        QTest::newRow("key case ignored") << "ENGLISH" << "stan_exit" << QString() << "Quit";
        QTest::newRow("section case ignored") << "english" << "STAN_EXIT" << QString() << "Quit";
        QTest::newRow("other language") << "SPANISH" << "STAN_EXIT" << QString() << "Salir";
        QTest::newRow("empty text is a text") << "ENGLISH" << "EMPTY" << "default" << "";
        QTest::newRow("missing key") << "ENGLISH" << "NOPE" << QString() << "\u00BF?";
        QTest::newRow("missing key with default") << "ENGLISH" << "NOPE" << "Reset now?" << "Reset now?";
        QTest::newRow("missing section") << "FRENCH" << "STAN_EXIT" << QString() << "\u00BF?";
        QTest::newRow("key only in the other section") << "SPANISH" << "ONLY_EN" << QString() << "\u00BF?";
    }
    void lookup()
    {
        QFETCH(QString, language);
        QFETCH(QString, key);
        QFETCH(QString, fallback);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("VELTRONA_LANG.ini"));
        QVERIFY(writeFile(path, "[ENGLISH]\nSTAN_EXIT=Quit\nEMPTY=\nONLY_EN=x\n[SPANISH]\nSTAN_EXIT=Salir\n"));
        QVERIFY(Lang::open(path, language));
        QCOMPARE(fallback.isNull() ? Lang::text(key) : Lang::text(key, fallback), expected);
        QCOMPARE(Lang::languages(), (QStringList{"ENGLISH", "SPANISH"}));
    }

    void withoutFileOnlyBuiltInDefaults()
    {
        QTemporaryDir dir;
        QVERIFY(Lang::open(dir.filePath(QStringLiteral("missing.ini")), QStringLiteral("ENGLISH")));
        QVERIFY(Lang::languages().isEmpty());
        QCOMPARE(Lang::text(QStringLiteral("MainForm_Caption")), QStringLiteral("\u00BF?"));
        QCOMPARE(Lang::message(QStringLiteral("STAN_EXIT")), QStringLiteral("\u00BF?"));
        QCOMPARE(Lang::message(QStringLiteral("F_Asist01_M1")), QStringLiteral("Reset now?"));
        QCOMPARE(Lang::message(QStringLiteral("ACCESS_T13")), QStringLiteral("Teclado + Llave bot\u00f3n"));
        QCOMPARE(Lang::message(QStringLiteral("PRF_SYS_127")), QStringLiteral("No restrictions"));
    }

    void messageTableIsFixedForTheRun()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("l.ini"));
        QVERIFY(writeFile(path, "[ENGLISH]\nUSR=Users\nX=one\n[SPANISH]\nUSR=Usuarios\nX=uno\n"));
        QVERIFY(Lang::open(path, QStringLiteral("ENGLISH")));
        Lang::setLanguage(QStringLiteral("SPANISH"));
        // Texts read from now on follow the new language; the shared table does not.
        QCOMPARE(Lang::text(QStringLiteral("X")), QStringLiteral("uno"));
        QCOMPARE(Lang::message(QStringLiteral("USR")), QStringLiteral("Users"));
        QCOMPARE(Lang::lines(QStringLiteral("X"), 1, 2), QStringLiteral("\u00BF?\r\u00BF?"));
    }

    void messageTableHasItsKeys()
    {
        const QList<Lang::MessageKey> &keys = Lang::messageKeys();
        QCOMPARE(keys.size(), 136);
        QSet<QString> unique;
        for (const Lang::MessageKey &k : keys)
            unique.insert(QString::fromLatin1(k.key));
        QCOMPARE(unique.size(), 136);
        QCOMPARE(QString::fromLatin1(keys.first().key), QStringLiteral("F_Accesos_MDelete1"));
        QCOMPARE(QString::fromLatin1(keys.last().key), QStringLiteral("L_MEN_DECISION01"));
    }

    void shippedFileIsCompleteInBothLanguages()
    {
        ProfileFile file(shippedFile());
        QVERIFY(file.exists());
        QVERIFY(file.problems().isEmpty());
        QVERIFY(!file.readAsWindows1252());
        QVERIFY(file.hasSection(QStringLiteral("ENGLISH")));
        QVERIFY(file.hasSection(QStringLiteral("SPANISH")));
        QStringList english = file.keys(QStringLiteral("ENGLISH"));
        QStringList spanish = file.keys(QStringLiteral("SPANISH"));
        for (const Lang::MessageKey &k : Lang::messageKeys())
            QVERIFY2(english.contains(QString::fromLatin1(k.key)), k.key);
        english.sort();
        spanish.sort();
        QCOMPARE(english, spanish);
        for (const QString &key : english) {
            QVERIFY2(!file.readString(QStringLiteral("ENGLISH"), key).isEmpty(), qPrintable(key));
            QVERIFY2(!file.readString(QStringLiteral("SPANISH"), key).isEmpty(), qPrintable(key));
        }
        QCOMPARE(file.readString(QStringLiteral("ENGLISH"), QStringLiteral("ACCESS_T1")), QStringLiteral("Audio + Button Key"));
    }

    // Every key the program's sources look up by name has a text in both
    // languages, so no window shows the missing-text mark after a key is
    // added in code but not in the file.
    void keysNamedInTheSourcesExistInBothLanguages()
    {
        ProfileFile file(shippedFile());
        QVERIFY(file.exists());
        // T("KEY"), M("KEY"), Lang::text(QStringLiteral("KEY"), ...), Lang::message(...), Lang::word(...),
        // StoreTexts::text("KEY", ...); keys built from a pattern are not literal and are left out.
        const QRegularExpression call(QStringLiteral(
            R"re((?<![.>:\w])(?:T|M|Lang::text|Lang::message|Lang::word|StoreTexts::text)\(\s*(?:QStringLiteral\(|QLatin1String\()?"([A-Za-z][A-Za-z0-9_]*)")re"));
        QVERIFY(call.isValid());
        QDirIterator it(TestPaths::sourceDir() + QStringLiteral("/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                        QDir::Files, QDirIterator::Subdirectories);
        QSet<QString> keys;
        while (it.hasNext()) {
            QFile source(it.next());
            QVERIFY(source.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(source.readAll());
            for (auto m = call.globalMatch(text); m.hasNext();)
                keys.insert(m.next().captured(1));
        }
        QVERIFY(keys.size() > 200);
        QVERIFY(keys.contains(QStringLiteral("F_Princ_caption")));
        for (const QString &key : std::as_const(keys))
            for (const QString &language : {QStringLiteral("ENGLISH"), QStringLiteral("SPANISH")})
                QVERIFY2(!file.readString(language, key).trimmed().isEmpty(), qPrintable(language + QLatin1Char(' ') + key));
    }

    // A block record keeps the type text of the language it was saved in;
    // under another language the block keeps its type (the block page and
    // the editors would otherwise take every English block for type 3 or 0).
    void blockTypeOfTextSavedInAnotherLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("type");
        QTest::newRow("english text, spanish run") << "SPANISH" << "Audio + D.Controller" << 1;
        QTest::newRow("english type 2, spanish run") << "SPANISH" << "Only D.Controller (NO Audio)" << 2;
        QTest::newRow("spanish type 3, english run") << "ENGLISH" << "Solo audio (SIN control de puertas)" << 3;
        QTest::newRow("current language") << "SPANISH" << "Solo control de puertas (SIN audio)" << 2;
        QTest::newRow("no language's text") << "ENGLISH" << "Audio" << 0;
    }
    void blockTypeOfTextSavedInAnotherLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, stored);
        QFETCH(int, type);
        QVERIFY(Lang::open(shippedFile(), language));
        QCOMPARE(StoreTexts::blockTypeOf(stored), type);
    }

    void wordsOfOneLanguageDiffer_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("ENGLISH") << "ENGLISH";
        QTest::newRow("SPANISH") << "SPANISH";
    }
    void wordsOfOneLanguageDiffer()
    {
        QFETCH(QString, language);
        QVERIFY(Lang::open(shippedFile(), language));
        // Node kinds are told apart by their words, and send kinds by their
        // words in upper case: every such word must be unique.
        QStringList keys = Lang::vocabularyKeys();
        keys << QStringLiteral("DEC") << QStringLiteral("CONFIGUR") << QStringLiteral("CONF_USR") << QStringLiteral("ACC_ZON")
             << QStringLiteral("STAN_PIS") << QStringLiteral("STAN_PHO") << QStringLiteral("STAN_MES");
        QHash<QString, QString> seen;
        for (const QString &key : keys) {
            const QString word = Lang::message(key).toUpper();
            QVERIFY2(word != Lang::missing(), qPrintable(key));
            QVERIFY2(!seen.contains(word), qPrintable(key + " and " + seen.value(word) + " share " + word));
            seen.insert(word, key);
        }
    }

    void treeTranslatesBothWays()
    {
        QVERIFY(Lang::open(shippedFile(), QStringLiteral("ENGLISH")));
        const TextTree stored = vocabularyTree();
        const TextTree shown = Lang::translateTree(stored);
        const TextTree expected(QStringLiteral("ACC"),
                                {TextTree(QStringLiteral("PRO"),
                                          {TextTree(QStringLiteral("Accesses")),
                                           TextTree(QStringLiteral("Access control"),
                                                    {TextTree(QStringLiteral("Timetables")), TextTree(QStringLiteral("Users"))}),
                                           TextTree(QStringLiteral("ALARMS")), TextTree(QStringLiteral("acc")),
                                           TextTree(QStringLiteral("DEC"))})});
        QCOMPARE(shown, expected);
        QCOMPARE(Lang::buildVocabularyTree(shown), stored);

        // Saved under English, shown under Spanish.
        QVERIFY(Lang::open(shippedFile(), QStringLiteral("SPANISH")));
        const TextTree spanish = Lang::translateTree(stored);
        QCOMPARE(spanish.children[0].children[1].caption, QStringLiteral("Control de accesos"));
        // A caption that is no word of the current language keeps its text.
        TextTree edited = spanish;
        edited.children[0].children[0].caption = QStringLiteral("Accesses");
        const TextTree back = Lang::buildVocabularyTree(edited);
        QCOMPARE(back.children[0].children[0].caption, QStringLiteral("Accesses"));
        QCOMPARE(back.children[0].children[1].children[0].caption, QStringLiteral("TIM"));
    }

    void legacyEncodedFileReads()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("l.ini"));
        QVERIFY(writeFile(path, "[SPANISH]\nREL=Rel\xe9s\n"));
        QVERIFY(Lang::open(path, QStringLiteral("SPANISH")));
        QCOMPARE(Lang::message(QStringLiteral("REL")), QStringLiteral("Rel\u00e9s"));
    }

    void configFolderGetsTheShippedFile()
    {
        TestFolders folders;
        QVERIFY2(folders.isValid(), qPrintable(folders.error()));
        QCOMPARE(Lang::filePath(), folders.configDir() + QStringLiteral("VELTRONA_LANG.ini"));
        QVERIFY(Lang::open(Lang::filePath(), QStringLiteral("SPANISH")));
        QCOMPARE(Lang::text(QStringLiteral("F_Login_Label2_Caption")), QStringLiteral("Contrase\u00f1a :"));
    }
};

QTEST_GUILESS_MAIN(TestLang)
#include "tst_lang.moc"
