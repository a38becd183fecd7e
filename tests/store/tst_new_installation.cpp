// The new-installation wizard driven through its real window: path length,
// port texts, creation from the frame's command and cloning with blocks.
#include "app/Main.h"
#include "app/NewInstallationCommand.h"
#include "frame/Lang.h"
#include "frame/ProgramState.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "store/InstallationFile.h"
#include "store/InstallationStore.h"
#include "store/NewInstallation.h"
#include "store/SharedTables.h"
#include "store/engine/Table.h"
#include "store/ui/F_New_Inst2.h"
#include "support/ModalScript.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPaths.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>

namespace {

void click(QWidget *w, const char *name)
{
    auto *b = w->findChild<QAbstractButton *>(QLatin1String(name));
    QVERIFY2(b, name);
    QVERIFY2(b->isEnabled(), name);
    b->click();
}

QString firstRow(const QString &folder, const QString &file, const QString &field)
{
    Table t(folder, file);
    t.open();
    t.first();
    return t.text(field);
}

QStringList summary(QWidget *wizard)
{
    QStringList rows;
    auto *list = wizard->findChild<QTreeWidget *>(QStringLiteral("Lista_FINAL"));
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(0) + QLatin1Char('=') + list->topLevelItem(i)->text(1);
    return rows;
}

} // namespace

class TstNewInstallation : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolders> m_folders;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    ProgramState m_state;
    // New installations need a path of at most 42 characters.
    std::unique_ptr<QTemporaryDir> m_short;
    QString shortFolder() const { return m_short->path() + QLatin1Char('/'); }

    // A source installation "Site" with blocks North (code 1, every
    // component) and South (code 2, accesses and apartments only).
    QString makeSource()
    {
        const QString work = m_folders->workDir();
        [&] { QVERIFY(InstallationStore::createInstallation(work, QStringLiteral("Site"), InstallationStore::Connection::Local,
                                                            QString(), QStringLiteral("COM1"))); }();
        InstallationStore::NewBlock north{QStringLiteral("North"), 1, 1, {}};
        north.components.fill(true);
        InstallationStore::NewBlock south{QStringLiteral("South"), 2, 3, {}};
        south.components[0] = south.components[1] = true;
        [&] {
            QVERIFY(InstallationStore::addBlock(work, QStringLiteral("Site"), north));
            QVERIFY(InstallationStore::addBlock(work, QStringLiteral("Site"), south));
        }();
        return work + QStringLiteral("Site.axo");
    }

private slots:
    void init()
    {
        m_folders = std::make_unique<TestFolders>();
        QVERIFY2(m_folders->isValid(), qPrintable(m_folders->error()));
        QVERIFY(Lang::open(Lang::filePath(), QStringLiteral("ENGLISH")));
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_state = ProgramState();
        m_state.workFolder = m_folders->workDir();
        m_short = std::make_unique<QTemporaryDir>(QStringLiteral("/tmp/vXXXXXX"));
        QVERIFY(m_short->isValid());
    }
    void cleanup()
    {
        m_dialogs.reset();
        m_folders.reset();
        m_short.reset();
    }

    // 42 characters of folder and file name are accepted, 43 refused, and
    // an existing file is refused whatever its length.
    void pathLength_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("42") << 42 << false << true;
        QTest::newRow("43") << 43 << false << false;
        QTest::newRow("41 existing") << 41 << true << false;
    }
    void pathLength()
    {
        QFETCH(int, length);
        QFETCH(bool, exists);
        QFETCH(bool, accepted);
        QTemporaryDir shortDir(QStringLiteral("/tmp/vXXXXXX"));
        QVERIFY(shortDir.isValid());
        const QString folder = shortDir.path() + QLatin1Char('/');
        const int nameLength = length - int(folder.size()) - 4;
        QVERIFY(nameLength > 0);
        const QString path = folder + QString(nameLength, QLatin1Char('a')) + QStringLiteral(".axo");
        QCOMPARE(path.size(), length);
        if (exists) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }

        TF_New_Inst2 wizard(m_state);
        wizard.show();
        click(&wizard, "L_NUEVA");
        QCOMPARE(wizard.state(), TF_New_Inst2::NewPage);
        QVERIFY(!wizard.findChild<QPushButton *>(QStringLiteral("B_NEXT"))->isEnabled());
        m_dialogs->queueChoice(path);
        click(&wizard, "B_NAME");
        const QString shown = wizard.findChild<QLineEdit *>(QStringLiteral("E_NAME"))->text();
        QCOMPARE(wizard.findChild<QPushButton *>(QStringLiteral("B_NEXT"))->isEnabled(), accepted);
        if (accepted) {
            QCOMPARE(shown, QFileInfo(path).fileName());
            QCOMPARE(wizard.findChild<QLineEdit *>(QStringLiteral("E_FOLDER"))->text(), folder);
            QCOMPARE(m_dialogs->count(QStringLiteral("information")), 0);
        } else {
            QVERIFY(shown.isEmpty());
            QCOMPARE(m_dialogs->kinds(), QStringList({QStringLiteral("saveFile"), QStringLiteral("information")}));
            const QString expected = exists ? Lang::text(QStringLiteral("F_New_Inst2_MENSA00"))
                                            : Lang::text(QStringLiteral("F_New_Inst2_MENSA01")) + QLatin1Char('\r')
                                                  + Lang::text(QStringLiteral("F_New_Inst2_MENSA02"));
            QCOMPARE(m_dialogs->calls().last().text, expected);
        }
    }

    // The port entries offered and the port the created installation keeps.
    void portText_data()
    {
        QTest::addColumn<int>("entry");        // entry chosen, -1 for none offered
        QTest::addColumn<QString>("port");
        QTest::newRow("port 3") << 0 << "COM3";
        QTest::newRow("port 12") << 1 << "COM12";
        QTest::newRow("no port included") << -1 << "";
    }
    void portText()
    {
        QFETCH(int, entry);
        QFETCH(QString, port);
        if (entry >= 0) {
            m_state.settings.ports[2] = QStringLiteral("Include");
            m_state.settings.portsDesc[2] = QStringLiteral("Lobby bus");
            m_state.settings.ports[11] = QStringLiteral("INCLUDE"); // without regard to case
            m_state.settings.portsDesc[11] = QStringLiteral("Tower bus");
            m_state.settings.ports[5] = QStringLiteral("Exclude");
        }
        TF_New_Inst2 wizard(m_state);
        wizard.show();
        click(&wizard, "L_NUEVA");
        auto *ports = wizard.findChild<QComboBox *>(QStringLiteral("C_PORT"));
        QVERIFY(!ports->isEditable());
        if (entry >= 0) {
            QCOMPARE(ports->count(), 2);
            QCOMPARE(ports->itemText(0), QStringLiteral("COM3 Lobby bus"));
            QCOMPARE(ports->itemText(1), QStringLiteral("COM12 Tower bus"));
            QCOMPARE(ports->currentIndex(), 0);
            ports->setCurrentIndex(entry);
        } else {
            QCOMPARE(ports->count(), 0);
        }
        const QString path = shortFolder() + QStringLiteral("P.axo");
        m_dialogs->queueChoice(path);
        click(&wizard, "B_NAME");
        click(&wizard, "B_NEXT");
        QCOMPARE(wizard.state(), TF_New_Inst2::Finish);
        click(&wizard, "Label12");
        QCOMPARE(m_dialogs->count(QStringLiteral("warning")), 0);
        QVERIFY(QFile::exists(path));
        QCOMPARE(firstRow(shortFolder(), QStringLiteral("P_Port.db"), QStringLiteral("PUERTO")), port);
        QCOMPARE(m_state.settings.sysPort, port);
    }

    // From the frame: "New Installation" is enabled, runs the wizard, a
    // modem installation is created with its phone number, the settings are
    // written and the installation is opened.
    void createFromFrame()
    {
        TMainForm form(m_state);
        form.setAutoFirstShowing(false);
        QVERIFY(!form.command(QStringLiteral("FileNewItem"))->isEnabled());
        attachNewInstallation(form);
        QVERIFY(form.command(QStringLiteral("FileNewItem"))->isEnabled());
        QVERIFY(form.command(QStringLiteral("B_NUEVA"))->isEnabled());
        QStringList opened;
        form.setInstallationOpener([&](TMainForm &, const QString &path) {
            opened << path;
            return true;
        });

        const QString folder = shortFolder() + QStringLiteral("new/");
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("Tower.axo");
        m_dialogs->queueChoice(folder + QStringLiteral("Tower")); // the extension is added
        ModalScript script;
        QStringList shownSummary;
        script.expect(QStringLiteral("F_New_Inst2"), [&](QDialog *d) {
            click(d, "L_NUEVA");
            click(d, "B_NAME");
            click(d, "R2");
            QTest::keyClicks(d->findChild<QLineEdit *>(QStringLiteral("E_PHONE")), QStringLiteral("93 555x,12"));
            click(d, "B_NEXT");
            shownSummary = summary(d);
            click(d, "Label12");
        });
        form.command(QStringLiteral("FileNewItem"))->trigger();
        QCOMPARE(script.remaining(), 0);
        QVERIFY(script.unexpected().isEmpty());

        QCOMPARE(shownSummary, QStringList({QStringLiteral("Install Name=Tower.axo"), QStringLiteral("Work Folder=") + folder,
                                            QStringLiteral("AXO=OK"), QStringLiteral("Connection=Modem")}));
        QCOMPARE(opened, QStringList{path});
        QVERIFY(QFile::exists(path));
        QCOMPARE(firstRow(folder, QStringLiteral("Tower_connec.db"), QStringLiteral("TIPO_CONEXION")), QStringLiteral("MODEM"));
        // The letter typed in the phone number was not taken.
        QCOMPARE(firstRow(folder, QStringLiteral("Tower_connec.db"), QStringLiteral("TELEFONO")), QStringLiteral("93 555,12"));
        ProfileFile settings(Paths::configDir() + QStringLiteral("VELTRONA.INI"));
        QCOMPARE(settings.readString(QStringLiteral("General"), QStringLiteral("Ultima_inst")), path);
        QCOMPARE(settings.readString(QStringLiteral("General"), QStringLiteral("Senda")), folder);
    }

    // Cloning: the blocks are listed with their components, one is renamed
    // and given a new code, and Confirm copies both blocks.
    void cloneCopiesBlocks()
    {
        const QString source = makeSource();
        const QString target = m_folders->workDir() + QStringLiteral("Copy.axo");
        TF_New_Inst2 wizard(m_state);
        wizard.show();
        click(&wizard, "L_CLONAR");
        QCOMPARE(wizard.state(), TF_New_Inst2::ClonePage);
        m_dialogs->queueChoice(source);
        click(&wizard, "B_SOURCE");
        QCOMPARE(wizard.findChild<QLabel *>(QStringLiteral("L_COUNT"))->text(), QStringLiteral("2"));
        auto *blocks = wizard.findChild<QTreeWidget *>(QStringLiteral("Lista_BLOCKS"));
        QCOMPARE(blocks->topLevelItem(1)->text(0), QStringLiteral("02"));
        QCOMPARE(blocks->topLevelItem(1)->text(2), Lang::text(QStringLiteral("TIPO_INS3")));
        blocks->setCurrentItem(blocks->topLevelItem(1));
        auto *marks = wizard.findChild<QListWidget *>(QStringLiteral("Lista_COMP"));
        QCOMPARE(marks->count(), 8);
        QList<bool> present;
        for (int i = 0; i < marks->count(); ++i)
            present << marks->item(i)->data(Qt::UserRole).toBool();
        QCOMPARE(present, QList<bool>({true, true, false, false, false, false, false, false}));

        ModalScript script;
        script.expect(QStringLiteral("F_NewInsta2_VALUES"), [](QDialog *d) {
            ModalScript::type(d, QStringLiteral("E_NAME"), QStringLiteral("East"));
            ModalScript::type(d, QStringLiteral("E_CODE"), QStringLiteral("7"));
            ModalScript::click(d, QStringLiteral("B_CONFIRM"));
        });
        click(&wizard, "B_NX");
        QCOMPARE(script.remaining(), 0);
        QCOMPARE(blocks->topLevelItem(1)->text(1), QStringLiteral("East"));
        QVERIFY(!wizard.findChild<QPushButton *>(QStringLiteral("B_NEXT"))->isEnabled());
        m_dialogs->queueChoice(target);
        click(&wizard, "B_NEW_NAME");
        click(&wizard, "B_NEXT");
        QCOMPARE(summary(&wizard), QStringList({QStringLiteral("Install Name=Copy.axo"),
                                                QStringLiteral("Work Folder=") + m_folders->workDir(),
                                                QStringLiteral("North=01"), QStringLiteral("East=07")}));
        click(&wizard, "Label12");
        QCOMPARE(m_dialogs->count(QStringLiteral("warning")), 0);

        const QList<BlockRecord> records = InstallationFile(m_folders->workDir(), QStringLiteral("Copy")).readBlocks();
        QCOMPARE(records.size(), 2);
        QCOMPARE(records[0].name(), QStringLiteral("North"));
        QCOMPARE(records[0].code(), 1);
        QCOMPARE(records[1].name(), QStringLiteral("East"));
        QCOMPARE(records[1].code(), 7);
        QCOMPARE(records[1].text(BlockRecord::TypeText), Lang::text(QStringLiteral("TIPO_INS3")));
        QVERIFY(QFile::exists(m_folders->workDir() + QStringLiteral("Copy_East_Users.db")));
        const Components::Flags east = SharedTables::readComponents(m_folders->workDir(), QStringLiteral("Copy_East"));
        QCOMPARE(east, (Components::Flags{true, true, false, false, false, false, false, false}));
        QCOMPARE(InstallationStore::loadTree(m_folders->workDir(), QStringLiteral("Copy")).root().children.size(), 2);
        // The source is left as it was.
        QCOMPARE(InstallationFile(m_folders->workDir(), QStringLiteral("Site")).readBlocks().size(), 2);
    }

    // Removing every block leaves "No Blocks"; Back from the finish page
    // returns to the clone page; two blocks given one code are refused
    // before anything is written.
    void cloneListEdits()
    {
        const QString source = makeSource();
        TF_New_Inst2 wizard(m_state);
        wizard.show();
        click(&wizard, "L_CLONAR");
        m_dialogs->queueChoice(source);
        click(&wizard, "B_SOURCE");
        m_dialogs->queueChoice(m_folders->workDir() + QStringLiteral("Dup.axo"));
        click(&wizard, "B_NEW_NAME");

        // Block South takes North's code: refused on Confirm.
        ModalScript script;
        script.expect(QStringLiteral("F_NewInsta2_VALUES"), [](QDialog *d) {
            ModalScript::type(d, QStringLiteral("E_CODE"), QStringLiteral("01"));
            ModalScript::click(d, QStringLiteral("B_CONFIRM"));
        });
        auto *blocks = wizard.findChild<QTreeWidget *>(QStringLiteral("Lista_BLOCKS"));
        blocks->setCurrentItem(blocks->topLevelItem(1));
        click(&wizard, "B_NX");
        click(&wizard, "B_NEXT");
        click(&wizard, "Label12");
        QCOMPARE(m_dialogs->count(QStringLiteral("warning")), 1);
        QVERIFY(!QFile::exists(m_folders->workDir() + QStringLiteral("Dup.axo")));
        QVERIFY(!QFile::exists(m_folders->workDir() + QStringLiteral("Dup_Port.db")));
        QCOMPARE(wizard.state(), TF_New_Inst2::Finish);

        click(&wizard, "B_BACK");
        QCOMPARE(wizard.state(), TF_New_Inst2::ClonePage);
        m_dialogs->queueConfirm(false); // "No" keeps the block
        click(&wizard, "B_NOT_CREATE");
        QCOMPARE(blocks->topLevelItemCount(), 2);
        m_dialogs->queueConfirm(true);
        m_dialogs->queueConfirm(true);
        click(&wizard, "B_NOT_CREATE");
        click(&wizard, "B_NOT_CREATE");
        QCOMPARE(blocks->topLevelItemCount(), 0);
        QCOMPARE(m_dialogs->calls().last().text, Lang::text(QStringLiteral("F_New_Inst2_MENSA09")));
        click(&wizard, "B_NEXT");
        QCOMPARE(summary(&wizard).mid(2), QStringList({QStringLiteral("No Blocks=Empty installation"),
                                                       QStringLiteral("Connection=Local")}));
        click(&wizard, "Label12");
        QCOMPARE(InstallationFile(m_folders->workDir(), QStringLiteral("Dup")).readBlocks().size(), 0);
    }
};

QTEST_MAIN(TstNewInstallation)
#include "tst_new_installation.moc"
