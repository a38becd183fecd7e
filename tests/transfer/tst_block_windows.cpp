// The block windows driven through their real widgets: the new-block wizard
// (component pages per type, the record it adds, refusals), loading blocks
// from another installation, the blocks summary and deleting a block.
#include "frame/Lang.h"
#include "store/InstallationFile.h"
#include "store/InstallationStore.h"
#include "store/SharedTables.h"
#include "support/ModalScript.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPaths.h"
#include "transfer/BlockRules.h"
#include "transfer/ui/F_Asist00.h"
#include "transfer/ui/F_Blocks_Sum.h"
#include "transfer/ui/F_Borra_Bl.h"
#include "transfer/ui/F_Load_B.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace {

void click(QWidget *w, const char *name)
{
    auto *b = w->findChild<QAbstractButton *>(QLatin1String(name));
    QVERIFY2(b, name);
    b->click();
}

const char *const kChecks[] = {"CB_ACC", "CB_APT", "CB_GUD", "CB_IND", "CB_ALA", "CB_SCH", "CB_LCT", "CB_ACT"};

} // namespace

class TstBlockWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolders> m_folders;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    QString m_work;

    void addBlock(const QString &installation, const QString &name, int code, Components::Flags flags)
    {
        QVERIFY(InstallationStore::addBlock(m_work, installation, InstallationStore::NewBlock{name, code, 1, flags}));
    }
    void fillGeneral(TF_Asist00 &w, const QString &name, int typeIndex, const QString &code)
    {
        QTest::keyClicks(w.findChild<QLineEdit *>(QStringLiteral("E_NAME")), name);
        w.findChild<QComboBox *>(QStringLiteral("C_TIPO"))->setCurrentIndex(typeIndex);
        QTest::keyClicks(w.findChild<QLineEdit *>(QStringLiteral("E_CODE")), code);
    }

private slots:
    void init()
    {
        m_folders = std::make_unique<TestFolders>();
        QVERIFY2(m_folders->isValid(), qPrintable(m_folders->error()));
        QVERIFY(Lang::open(Lang::filePath(), QStringLiteral("ENGLISH")));
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_work = m_folders->workDir();
        QVERIFY(InstallationStore::createInstallation(m_work, QStringLiteral("Tower"), InstallationStore::Connection::Local,
                                                      QString(), QString()));
        addBlock(QStringLiteral("Tower"), QStringLiteral("Main"), 0, Components::Flags{true});
    }
    void cleanup()
    {
        m_dialogs.reset();
        m_folders.reset();
    }

    // Each type offers its boxes, ticked or not; confirming with the
    // defaults adds a block with exactly the ticked components.
    void componentPages_data()
    {
        QTest::addColumn<int>("typeIndex");
        QTest::addColumn<QString>("offered"); // per box: T ticked, O optional, - not offered
        QTest::newRow("Audio + D.Controller") << 0 << "TTTTTTTT";
        QTest::newRow("Only D.Controller") << 1 << "T-O-OOTT";
        QTest::newRow("Only Audio") << 2 << "TTTTOO--";
    }
    void componentPages()
    {
        QFETCH(int, typeIndex);
        QFETCH(QString, offered);
        TF_Asist00 w;
        w.prepare(m_work, QStringLiteral("Tower"));
        w.show();
        fillGeneral(w, QStringLiteral("North"), typeIndex, QStringLiteral("5"));
        click(&w, "B_NEXT");
        QCOMPARE(w.step(), 1);
        QString seen;
        for (const char *name : kChecks) {
            auto *box = w.findChild<QCheckBox *>(QLatin1String(name));
            seen += !box->isVisible() ? QLatin1Char('-') : box->isChecked() ? QLatin1Char('T') : QLatin1Char('O');
        }
        QCOMPARE(seen, offered);
        click(&w, "B_NEXT");
        QCOMPARE(w.step(), 2);
        QVERIFY(!w.findChild<QPushButton *>(QStringLiteral("B_NEXT"))->isEnabled());
        click(&w, "L_CONFIRM");
        QVERIFY(w.addedBlock().has_value());

        // The components recorded, by wizard box.
        const Components::Flags flags = SharedTables::readComponents(m_work, QStringLiteral("Tower_North"));
        for (size_t i = 0; i < 8; ++i) {
            const int orden = Components::byItem(QLatin1String(BlockRules::kWizardItems[i]))->orden;
            QCOMPARE(flags[size_t(orden)], offered.at(int(i)) == QLatin1Char('T'));
        }
        // The record: code, type text, factory codes, 6 digits, version "?".
        const auto record = InstallationFile(m_work, QStringLiteral("Tower")).blockRecord(QStringLiteral("North"));
        QVERIFY(record.has_value());
        QCOMPARE(record->code(), 5);
        QCOMPARE(record->text(BlockRecord::TypeText), Lang::text(QStringLiteral("TIPO_INS%1").arg(typeIndex + 1)));
        QCOMPARE(record->text(BlockRecord::ReadCode), BlockRecord::factoryReadCode());
        QCOMPARE(record->text(BlockRecord::ReadWriteCode), BlockRecord::factoryReadWriteCode());
        QCOMPARE(record->text(BlockRecord::ProgrammingCode), BlockRecord::factoryProgrammingCode());
        QCOMPARE(record->text(BlockRecord::RegisteringCode), BlockRecord::factoryRegisteringCode());
        QCOMPARE(record->text(BlockRecord::ReadCode).size(), 3);
        QCOMPARE(record->text(BlockRecord::ProgrammingCode).size(), 5);
        QCOMPARE(record->digits(), 6);
        QCOMPARE(record->text(BlockRecord::Version), QStringLiteral("?"));
        QCOMPARE(record->text(BlockRecord::Display1), QString());
        QVERIFY(QFile::exists(m_work + QStringLiteral("Tower_North_Users.db")));
    }

    // Going back to the general page and changing the type shows the new
    // type's component page; the summary lists the flags ticked.
    void typeChangeRebuildsComponents()
    {
        TF_Asist00 w;
        w.prepare(m_work, QStringLiteral("Tower"));
        w.show();
        fillGeneral(w, QStringLiteral("North"), 0, QStringLiteral("5"));
        click(&w, "B_NEXT");
        click(&w, "B_NEXT");
        click(&w, "B_BACK");
        click(&w, "B_BACK");
        QCOMPARE(w.step(), 0);
        w.findChild<QComboBox *>(QStringLiteral("C_TIPO"))->setCurrentIndex(2);
        click(&w, "B_NEXT");
        QVERIFY(!w.findChild<QCheckBox *>(QStringLiteral("CB_LCT"))->isVisible());
        QVERIFY(!w.findChild<QCheckBox *>(QStringLiteral("CB_ALA"))->isChecked());
        w.findChild<QCheckBox *>(QStringLiteral("CB_ALA"))->setChecked(true);
        click(&w, "B_NEXT");
        auto *list = w.findChild<QTreeWidget *>(QStringLiteral("Lista"));
        QCOMPARE(list->topLevelItemCount(), 11);
        QCOMPARE(list->topLevelItem(2)->text(1), Lang::text(QStringLiteral("TIPO_INS3")));
        QString ticks;
        for (int i = 3; i < 11; ++i)
            ticks += list->topLevelItem(i)->checkState(1) == Qt::Checked ? QLatin1Char('X') : QLatin1Char('-');
        QCOMPARE(ticks, QStringLiteral("XXXXX---"));
        QCOMPARE(list->topLevelItem(7)->text(0), Lang::word(QStringLiteral("SEN")));
    }

    // Step 0 refuses a missing value, a name used (without regard to case)
    // and a code used; nothing is added.
    void refusals_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("kinds");
        QTest::addColumn<QString>("firstText");
        const QStringList warn{QStringLiteral("warning")};
        QTest::newRow("empty name") << "" << "5" << warn << "F_Asist00_M1";
        QTest::newRow("empty code") << "North" << "" << warn << "F_Asist00_M1";
        QTest::newRow("name used") << "MAIN" << "5" << QStringList{QStringLiteral("warning"), QStringLiteral("information")}
                                   << "F_Asist00_M1";
        QTest::newRow("code used") << "North" << "00" << warn << "F_Asist00_M2";
    }
    void refusals()
    {
        QFETCH(QString, name);
        QFETCH(QString, code);
        QFETCH(QStringList, kinds);
        QFETCH(QString, firstText);
        TF_Asist00 w;
        w.prepare(m_work, QStringLiteral("Tower"));
        w.show();
        fillGeneral(w, name, 0, code);
        click(&w, "B_NEXT");
        QCOMPARE(w.step(), 0);
        QCOMPARE(m_dialogs->kinds(), kinds);
        QVERIFY(m_dialogs->calls().first().text.startsWith(Lang::text(firstText)));
        if (kinds.size() > 1)
            QCOMPARE(m_dialogs->calls().at(1).text, Lang::text(QStringLiteral("F_Area2_MEN01")));
        QCOMPARE(InstallationFile(m_work, QStringLiteral("Tower")).readBlocks().size(), 1);
    }

    // The name box never takes '@'; the code box takes two digits only.
    void inputBoxes()
    {
        TF_Asist00 w;
        w.prepare(m_work, QStringLiteral("Tower"));
        w.show();
        fillGeneral(w, QStringLiteral("N@rth"), 0, QStringLiteral("a1b23"));
        QCOMPARE(w.findChild<QLineEdit *>(QStringLiteral("E_NAME"))->text(), QStringLiteral("Nrth"));
        QCOMPARE(w.findChild<QLineEdit *>(QStringLiteral("E_CODE"))->text(), QStringLiteral("12"));
    }

    // Loading: the rename dialog refuses an empty name and a name or code
    // used in the target; the block is loaded under its new name and code
    // with the rest of its record unchanged.
    void loadBlocks()
    {
        QVERIFY(InstallationStore::createInstallation(m_work, QStringLiteral("Site"), InstallationStore::Connection::Local,
                                                      QString(), QString()));
        Components::Flags flags{};
        flags[0] = flags[1] = true;
        addBlock(QStringLiteral("Site"), QStringLiteral("North"), 3, flags);
        const BlockRecord sourceRecord = *InstallationFile(m_work, QStringLiteral("Site")).blockRecord(QStringLiteral("North"));

        TF_Load_B w;
        w.prepare(m_work, QStringLiteral("Tower"));
        w.show();
        m_dialogs->queueChoice(m_work + QStringLiteral("Site.axo"));
        click(&w, "SpeedButton1");
        auto *list1 = w.findChild<QTreeWidget *>(QStringLiteral("Lista1"));
        QCOMPARE(list1->topLevelItemCount(), 1);
        QCOMPARE(list1->topLevelItem(0)->text(0), QStringLiteral("03"));
        QCOMPARE(list1->topLevelItem(0)->text(1), QStringLiteral("North"));

        struct Try {
            QString name, code;
            bool refused;
        };
        const QList<Try> tries{{QString(), QStringLiteral("04"), true},
                               {QStringLiteral("main"), QStringLiteral("04"), true},
                               {QStringLiteral("South"), QStringLiteral("00"), true},
                               {QStringLiteral("South"), QStringLiteral("04"), false}};
        ModalScript script;
        int warnings = 0;
        script.expect(QStringLiteral("F_Load_B_Name"), [&](QDialog *d) {
            for (const Try &t : tries) {
                ModalScript::type(d, QStringLiteral("E_NAME"), t.name);
                ModalScript::type(d, QStringLiteral("E_CODE"), t.code);
                ModalScript::click(d, QStringLiteral("B_OK"));
                const int now = m_dialogs->count(QStringLiteral("warning"));
                QCOMPARE(now > warnings, t.refused);
                QCOMPARE(d->isVisible(), t.refused);
                warnings = now;
            }
        });
        click(&w, "Add");
        QCOMPARE(script.remaining(), 0);
        auto *list2 = w.findChild<QTreeWidget *>(QStringLiteral("Lista2"));
        QCOMPARE(list2->topLevelItemCount(), 1);
        QCOMPARE(list2->topLevelItem(0)->text(0), QStringLiteral("04"));
        QCOMPARE(list2->topLevelItem(0)->text(1), QStringLiteral("South"));
        QCOMPARE(list2->topLevelItem(0)->text(3), QStringLiteral("North"));
        click(&w, "B_YES");
        QCOMPARE(w.loadedBlocks(), QStringList{QStringLiteral("South")});
        QCOMPARE(w.result(), int(QDialog::Accepted));

        const QList<BlockRecord> records = InstallationFile(m_work, QStringLiteral("Tower")).readBlocks();
        QCOMPARE(records.size(), 2);
        BlockRecord expected = sourceRecord;
        expected.setName(QStringLiteral("South"));
        expected.setCode(4);
        QCOMPARE(records[1].bytes(), expected.bytes());
        QCOMPARE(records[1].bytes().mid(0, 50), QByteArray("South").leftJustified(50, '@'));
        QCOMPARE(SharedTables::readComponents(m_work, QStringLiteral("Tower_South")), flags);
    }

    // The summary: one row per block, "X" for each component present.
    void summary()
    {
        Components::Flags flags{};
        flags[0] = flags[1] = true;
        addBlock(QStringLiteral("Tower"), QStringLiteral("South"), 9, flags);
        TF_Blocks_Sum w;
        QVERIFY(w.load(m_work, QStringLiteral("Tower")));
        auto *list = w.findChild<QTreeWidget *>(QStringLiteral("Lista"));
        QCOMPARE(list->topLevelItemCount(), 2);
        QTreeWidgetItem *row = list->topLevelItem(1);
        QStringList cells;
        for (int c = 0; c < list->columnCount(); ++c)
            cells << row->text(c);
        QCOMPARE(cells.mid(0, 2), QStringList({QStringLiteral("09"), QStringLiteral("South")}));
        QCOMPARE(cells.mid(3), QStringList({"X", "X", "-", "-", "-", "-", "-", "-"}));
        QCOMPARE(row->foreground(3).color(), QColor(Qt::red));
        QVERIFY(row->font(3).bold());
        QVERIFY(!row->font(5).bold());
    }

    // "No" changes nothing; "OK" deletes the block's record and tables.
    void deleteBlock_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("No") << "B_NO" << false;
        QTest::newRow("OK") << "B_OK" << true;
    }
    void deleteBlock()
    {
        QFETCH(QString, button);
        QFETCH(bool, deleted);
        ModalScript script;
        QString shown;
        script.expect(QStringLiteral("F_Borra_Bl"), [&](QDialog *d) {
            shown = d->findChild<QLabel *>(QStringLiteral("L_BLOCK"))->text();
            ModalScript::click(d, button);
        });
        QCOMPARE(TF_Borra_Bl::run(nullptr, m_work, QStringLiteral("Tower"), QStringLiteral("Main")), deleted);
        QCOMPARE(shown, QStringLiteral("Main"));
        QCOMPARE(InstallationFile(m_work, QStringLiteral("Tower")).readBlocks().size(), deleted ? 0 : 1);
        QCOMPARE(QFile::exists(m_work + QStringLiteral("Tower_Main_Users.db")), !deleted);
        QCOMPARE(InstallationStore::loadTree(m_work, QStringLiteral("Tower")).root().children.size(), deleted ? 0 : 1);
    }
};

QTEST_MAIN(TstBlockWindows)
#include "tst_block_windows.moc"
