// The main window's start-up, first showing and shutdown, driven through its
// real windows with scripted answers.
#include "app/F_Lang.h"
#include "app/F_Login.h"
#include "app/F_Sel_Ini.h"
#include "app/F_Valores_Generales.h"
#include "app/Main.h"
#include "frame/Lang.h"
#include "frame/Operators.h"
#include "frame/ProgramState.h"
#include "frame/SessionLog.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "support/ModalScript.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPaths.h"

#include <QAction>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include <memory>

class TstFrame : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolders> m_folders;
    std::unique_ptr<ScriptedDialogs> m_dialogs;

    void addOperators()
    {
        const QString file = Operators::filePath(Paths::systemDir());
        QString error;
        QCOMPARE(Operators::addOperator(file, QStringLiteral("Chief"), QStringLiteral("pw0"), 0, &error), Operators::AddResult::Ok);
        QCOMPARE(Operators::addOperator(file, QStringLiteral("oper"), QStringLiteral("pw1"), 1, &error), Operators::AddResult::Ok);
        QCOMPARE(Operators::addOperator(file, QStringLiteral("users"), QStringLiteral("pw2"), 2, &error), Operators::AddResult::Ok);
    }
    void writeSettings(const QString &section, const QString &key, const QString &value)
    {
        ProfileFile profile(Paths::configDir() + QStringLiteral("VELTRONA.INI"));
        QVERIFY(profile.writeString(section, key, value));
        QVERIFY(profile.save());
    }
    QString readSettings(const QString &key)
    {
        ProfileFile profile(Paths::configDir() + QStringLiteral("VELTRONA.INI"));
        return profile.readString(QStringLiteral("General"), key);
    }
    static void login(ModalScript &script, const QString &name, const QString &password)
    {
        script.expect(QStringLiteral("F_Login"), [name, password](QDialog *d) {
            ModalScript::type(d, QStringLiteral("E_LOGIN"), name);
            ModalScript::type(d, QStringLiteral("E_PASSWORD"), password);
            ModalScript::click(d, QStringLiteral("B_OK"));
        });
    }

private slots:
    void init()
    {
        m_folders = std::make_unique<TestFolders>();
        QVERIFY2(m_folders->isValid(), qPrintable(m_folders->error()));
        m_dialogs = std::make_unique<ScriptedDialogs>();
        addOperators();
    }
    void cleanup()
    {
        m_dialogs.reset();
        m_folders.reset();
    }

    // The first showing for each level, with and without a last installation.
    void firstShowing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("hasLast");
        QTest::addColumn<QString>("checked");   // the preselected choice, empty: refused entry
        QTest::addColumn<bool>("newEnabled");
        QTest::addColumn<bool>("lastEnabled");
        QTest::addColumn<bool>("frameHidden");  // menu and toolbar hidden

        // A name typed in upper case is taken in lower case.
        QTest::newRow("level 0, first run") << "CHIEF" << "PW0" << false << "R3" << true << false << false;
        QTest::newRow("level 0, last installation") << "chief" << "pw0" << true << "R2" << true << true << false;
        QTest::newRow("level 1, last installation") << "oper" << "pw1" << true << "R2" << false << true << false;
        QTest::newRow("level 1, first run") << "oper" << "pw1" << false << "R1" << false << false << false;
        QTest::newRow("level 2, last installation") << "users" << "pw2" << true << "R2" << false << true << true;
        QTest::newRow("level 2, first run") << "users" << "pw2" << false << "" << false << false << true;
    }
    void firstShowing()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(bool, hasLast);
        QFETCH(QString, checked);
        QFETCH(bool, newEnabled);
        QFETCH(bool, lastEnabled);
        QFETCH(bool, frameHidden);

        if (hasLast)
            writeSettings(QStringLiteral("General"), QStringLiteral("Ultima_inst"), m_folders->workDir() + QStringLiteral("Tower.axo"));

        ProgramState state;
        TMainForm form(state);
        if (!hasLast) // a first run: no settings file, the defaults
            QCOMPARE(state.workFolder, Paths::defaultWorkFolder());

        ModalScript script;
        login(script, name, password);
        QMap<QString, bool> seenChecked, seenEnabled;
        if (!checked.isEmpty()) {
            script.expect(QStringLiteral("F_Sel_Ini"), [&](QDialog *d) {
                for (const char *r : {"R1", "R2", "R3"}) {
                    auto *b = d->findChild<QRadioButton *>(QLatin1String(r));
                    seenChecked[QLatin1String(r)] = b->isChecked();
                    seenEnabled[QLatin1String(r)] = b->isEnabled();
                }
                ModalScript::click(d, QStringLiteral("B_CANCEL"));
            });
        }
        const QString refusal = Lang::text(QStringLiteral("MainForm_MENSA00"));
        const bool goesOn = form.firstShowing();
        QCOMPARE(script.unexpected(), QStringList());
        QCOMPARE(script.remaining(), 0);
        QCOMPARE(state.operatorName, name.toLower());
        QVERIFY(state.sessionId > 0);

        if (checked.isEmpty()) {
            QVERIFY(!goesOn);
            QVERIFY(form.shutDown());
            QCOMPARE(m_dialogs->kinds(), QStringList{QStringLiteral("information")});
            QCOMPARE(m_dialogs->calls().at(0).text, refusal);
            return;
        }
        QVERIFY(goesOn);
        QVERIFY(!form.shutDown());
        QCOMPARE(m_dialogs->calls().size(), 0);
        QCOMPARE(form.windowTitle(), QStringLiteral("[(") + Lang::text(QStringLiteral("MainForm_Caption"))
                                         + QStringLiteral(")\\login : ") + name.toLower() + QLatin1Char(']'));
        for (const char *r : {"R1", "R2", "R3"})
            QCOMPARE(seenChecked.value(QLatin1String(r)), checked == QLatin1String(r));
        QCOMPARE(seenEnabled.value(QStringLiteral("R3")), newEnabled);
        QCOMPARE(seenEnabled.value(QStringLiteral("R2")), lastEnabled);
        QCOMPARE(form.openingChoiceWindow()->choice(), QStringLiteral("NOTHING"));
        QCOMPARE(form.menuBar()->isHidden() || form.menuBar()->actions().isEmpty(), frameHidden);
        QCOMPARE(form.mainToolBar()->isHidden(), frameHidden);
    }

    // Wrong passwords: the third failure of the run ends the program.
    void loginAttempts_data()
    {
        QTest::addColumn<QStringList>("passwords");
        QTest::addColumn<bool>("loggedIn");
        QTest::newRow("right at once") << QStringList{"pw0"} << true;
        QTest::newRow("two wrong, then right") << QStringList{"x", "y", "pw0"} << true;
        QTest::newRow("three wrong") << QStringList{"x", "y", "z"} << false;
    }
    void loginAttempts()
    {
        QFETCH(QStringList, passwords);
        QFETCH(bool, loggedIn);
        ProgramState state;
        TMainForm form(state);
        ModalScript script;
        script.expect(QStringLiteral("F_Login"), [&passwords](QDialog *d) {
            for (const QString &pw : passwords) {
                ModalScript::type(d, QStringLiteral("E_LOGIN"), QStringLiteral("chief"));
                ModalScript::type(d, QStringLiteral("E_PASSWORD"), pw);
                ModalScript::click(d, QStringLiteral("B_OK"));
            }
        });
        if (loggedIn)
            script.expect(QStringLiteral("F_Sel_Ini"), [](QDialog *d) { ModalScript::click(d, QStringLiteral("B_CANCEL")); });
        QCOMPARE(form.firstShowing(), loggedIn);
        QCOMPARE(script.unexpected(), QStringList());
        QCOMPARE(form.shutDown(), !loggedIn);
        QCOMPARE(state.loggedIn(), loggedIn);
        QCOMPARE(form.loginWindow()->failures(), int(passwords.size()) - (loggedIn ? 1 : 0));
    }

    // Closing while registering is refused, and an active modem call is
    // hung up all the same.
    void closeRefusedWhileRegistering()
    {
        ProgramState state;
        TMainForm form(state);
        int hangUps = 0, cuEnds = 0;
        form.setHangUpModem([&] { ++hangUps; });
        form.setEndCuSession([&] { ++cuEnds; });
        state.registeringActive = true;
        state.modemCallActive = true;
        state.cuSessionOpen = true;
        QFile::remove(Paths::configDir() + QStringLiteral("VELTRONA.INI"));

        QVERIFY(!form.close());
        QVERIFY(!form.shutDown());
        QCOMPARE(hangUps, 1);
        QCOMPARE(cuEnds, 1);
        QVERIFY(!state.modemCallActive);
        QCOMPARE(m_dialogs->kinds(), QStringList{QStringLiteral("messageWindow")});
        QCOMPARE(m_dialogs->calls().at(0).text, Lang::message(QStringLiteral("F_INCID_ENA00")));
        QCOMPARE(m_dialogs->calls().at(0).extra, Lang::message(QStringLiteral("F_INCID_ENA01")));
        QVERIFY2(!QFile::exists(Paths::configDir() + QStringLiteral("VELTRONA.INI")), "settings written on a refused close");

        state.registeringActive = false;
        state.workFolder = m_folders->workDir();
        QVERIFY(form.close());
        QVERIFY(form.shutDown());
        QCOMPARE(hangUps, 1);
        QCOMPARE(readSettings(QStringLiteral("Senda")), m_folders->workDir());
        QCOMPARE(readSettings(QStringLiteral("Version")), QStringLiteral("1.0.8"));
    }

    // The language chooser: with and without restart, the current language,
    // and No to the first question.
    void languageChange_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QString>("idioma");       // in the settings file afterwards ("" = not written)
        QTest::addColumn<bool>("mainClosed");
        QTest::addColumn<int>("questions");
        QTest::newRow("change and restart") << "SPANISH" << QList<bool>{true, true} << "SPANISH" << true << 2;
        QTest::newRow("change, no restart") << "SPANISH" << QList<bool>{true, false} << "SPANISH" << false << 2;
        QTest::newRow("No to the change") << "SPANISH" << QList<bool>{false} << "" << false << 1;
        QTest::newRow("the current language") << "ENGLISH" << QList<bool>{} << "" << false << 0;
    }
    void languageChange()
    {
        QFETCH(QString, chosen);
        QFETCH(QList<bool>, answers);
        QFETCH(QString, idioma);
        QFETCH(bool, mainClosed);
        QFETCH(int, questions);
        for (bool a : answers)
            m_dialogs->queueConfirm(a);

        ProgramState state;
        TMainForm form(state);
        ModalScript script;
        script.expect(QStringLiteral("F_Lang"), [&](QDialog *d) {
            auto *list = d->findChild<QTreeWidget *>(QStringLiteral("Listaa"));
            const auto found = list->findItems(chosen, Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            list->setCurrentItem(found.first());
            ModalScript::click(d, QStringLiteral("B_OK"));
            if (d->isVisible()) // stays open when nothing changed or the change was refused
                ModalScript::click(d, QStringLiteral("B_CANCEL"));
        });
        const QString question = Lang::text(QStringLiteral("F_Lang_00")) + QStringLiteral(" ENGLISH --> ") + chosen + QLatin1Char('?');
        form.command(QStringLiteral("Language1"))->trigger();
        QCOMPARE(script.unexpected(), QStringList());
        QCOMPARE(m_dialogs->count(QStringLiteral("confirm")), questions);
        if (questions > 0)
            QCOMPARE(m_dialogs->calls().at(0).text, question);
        QCOMPARE(readSettings(QStringLiteral("Idioma")), idioma);
        QCOMPARE(form.shutDown(), mainClosed);
        // The running program keeps its texts: the menus stay in English.
        QCOMPARE(form.command(QStringLiteral("Settings1"))->text(), QStringLiteral("Application"));
    }

    // The Options dialog shows the in-memory options and AutoTest; OK stores
    // them, Cancel does not; opening an installation switches the two
    // editing options on again.
    void optionsDialog_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void optionsDialog()
    {
        QFETCH(bool, ok);
        ProgramState state;
        TMainForm form(state);
        state.askUpdateAfterEdit = false;
        state.askConfirmDelete = true;
        state.settings.autoTest = QStringLiteral("False");

        ModalScript script;
        QList<bool> shown;
        script.expect(QStringLiteral("F_Valores_Generales"), [&](QDialog *d) {
            auto *list = d->findChild<QListWidget *>(QStringLiteral("Lista_CHECK"));
            for (int i = 0; i < 3; ++i) {
                shown << (list->item(i)->checkState() == Qt::Checked);
                list->item(i)->setCheckState(list->item(i)->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
            }
            ModalScript::click(d, ok ? QStringLiteral("B_OK") : QStringLiteral("B_CANCEL"));
        });
        form.command(QStringLiteral("Settings1"))->trigger();
        QCOMPARE(shown, (QList<bool>{false, true, false}));
        QCOMPARE(state.askUpdateAfterEdit, ok);
        QCOMPARE(state.askConfirmDelete, !ok);
        QCOMPARE(state.settings.autoTest, ok ? QStringLiteral("True") : QStringLiteral("False"));

        // An installation window created afterwards switches both on again;
        // its folder becomes the work folder and the settings record it.
        const QString elsewhere = m_folders->root() + QStringLiteral("other/");
        QDir().mkpath(elsewhere);
        form.setInstallationOpener([](TMainForm &f, const QString &path) {
            f.mdiArea()->addSubWindow(new QWidget)->setWindowTitle(path);
            return true;
        });
        QVERIFY(form.openInstallationFile(elsewhere + QStringLiteral("Tower.axo")));
        QVERIFY(state.askUpdateAfterEdit);
        QVERIFY(state.askConfirmDelete);
        QCOMPARE(state.workFolder, elsewhere);
        QCOMPARE(readSettings(QStringLiteral("Senda")), elsewhere);
        QCOMPARE(readSettings(QStringLiteral("Ultima_inst")), elsewhere + QStringLiteral("Tower.axo"));
        QCOMPARE(form.currentInstallationName(), QStringLiteral("Tower"));
    }

    // Commands of windows that are not part of the program yet are shown
    // disabled with a hint; giving them their work enables them.
    void commands()
    {
        ProgramState state;
        TMainForm form(state);
        const QString notYet = Lang::text(QStringLiteral("MainForm_NotAvailable"));
        for (const char *name : {"FileNewItem", "B_NUEVA", "FileOpenItem", "B_ABRIR", "SerialPorts1", "Installationconnection1",
                                 "Status1", "TestDetectcentralunits1"}) {
            QAction *a = form.command(QLatin1String(name));
            QVERIFY2(a && !a->isEnabled() && a->toolTip() == notYet, name);
        }
        for (const char *name : {"FileCloseItem", "WorkFolder1", "FileExitItem", "Settings1", "Language1", "HelpAboutItem", "B_PC", "B_DIRECT"})
            QVERIFY2(form.command(QLatin1String(name))->isEnabled(), name);

        const QList<QPair<const char *, const char *>> shortcuts{{"FileNewItem", "Ctrl+N"}, {"FileOpenItem", "Ctrl+O"},
                                                                  {"CutItem", "Ctrl+X"},     {"CopyItem", "Ctrl+C"},
                                                                  {"PasteItem", "Ctrl+V"},   {"Status1", "Ctrl+Alt+F"}};
        for (const auto &[name, keys] : shortcuts)
            QCOMPARE(form.command(QLatin1String(name))->shortcut(), QKeySequence(QLatin1String(keys)));
        QCOMPARE(form.command(QStringLiteral("VersionItem"))->text(), QStringLiteral("v1.0.8"));
        QCOMPARE(form.mainToolBar()->objectName(), QStringLiteral("Toolbar971"));
        QCOMPARE(form.mainToolBar()->windowTitle(), QStringLiteral("Main"));

        int runs = 0;
        form.setCommand(QStringLiteral("FileNewItem"), [&] { ++runs; });
        QVERIFY(form.command(QStringLiteral("B_NUEVA"))->isEnabled());
        QCOMPARE(form.command(QStringLiteral("B_NUEVA"))->toolTip(),
                 Lang::text(QStringLiteral("MainForm_B_NUEVA_Hint1")) + QLatin1Char('\r') + Lang::text(QStringLiteral("MainForm_B_NUEVA_Hint2")));
        form.command(QStringLiteral("B_NUEVA"))->trigger();
        QCOMPARE(runs, 1);
    }
};

QTEST_MAIN(TstFrame)
#include "tst_frame.moc"
