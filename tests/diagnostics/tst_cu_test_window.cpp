// The CU test window against the in-process simulated bus, and the link
// status window with its settings dialog.

#include "diagnostics/ui/F_BRXStatus.h"
#include "diagnostics/ui/F_Test_CU.h"
#include "frame/Lang.h"
#include "frame/ProgramState.h"
#include "link/CuCommands.h"
#include "link/Link.h"
#include "link/LinkConfig.h"
#include "platform/Paths.h"
#include "platform/SimulatedPort.h"
#include "sim/SimBus.h"
#include "store/BlockRecord.h"
#include "store/InstallationFile.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPaths.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

class TstCuTestWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolders> m_folders;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    ProgramState m_state;
    std::unique_ptr<Link> m_link;
    std::unique_ptr<CuCommands> m_commands;

    static QStringList column(QTreeWidget *list, int col)
    {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out << list->topLevelItem(i)->text(col);
        return out;
    }

private slots:
    void initTestCase()
    {
        SimBus *bus = SimulatedPort::sharedBus();
        for (int cu : {0, 2, 16})
            if (!bus->unit(cu))
                bus->addUnit(cu);
    }

    void init()
    {
        m_folders = std::make_unique<TestFolders>();
        QVERIFY2(m_folders->isValid(), qPrintable(m_folders->error()));
        QVERIFY(Lang::open(Lang::filePath(), QStringLiteral("ENGLISH")));
        Lang::loadMessages();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_state = ProgramState();
        m_state.workFolder = m_folders->workDir();
        m_state.settings.sysPort = QStringLiteral("COM1");
        m_state.settings.portsPath[0] = QStringLiteral("sim");
        m_link = std::make_unique<Link>();
        LinkConfig::apply(m_state.settings, m_link->settings());
        m_link->settings().cuTestAttemptMs = 100;
        m_commands = std::make_unique<CuCommands>(*m_link);

        InstallationFile axo(m_state.workFolder, QStringLiteral("Tower"));
        axo.create();
        axo.append({BlockRecord::newBlock(QStringLiteral("North"), 0, m_state.workFolder, QStringLiteral("T")),
                    BlockRecord::newBlock(QStringLiteral("South"), 2, m_state.workFolder, QStringLiteral("T")),
                    BlockRecord::newBlock(QStringLiteral("East"), 7, m_state.workFolder, QStringLiteral("T"))});
        m_state.installationFile = axo.path();
    }
    void cleanup()
    {
        m_commands.reset();
        m_link.reset();
        m_dialogs.reset();
        m_folders.reset();
    }

    void detectsInstallationCus()
    {
        TF_Test_CU w(m_state, *m_link, *m_commands);
        w.show();
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("L_INST"))->text(), QStringLiteral("Tower"));
        w.findChild<QPushButton *>(QStringLiteral("B_START1"))->click();
        auto *list = w.findChild<QTreeWidget *>(QStringLiteral("Lista"));
        QCOMPARE(column(list, 0), (QStringList{"00", "02", "07"}));
        QCOMPARE(column(list, 1), (QStringList{"North", "South", "East"}));
        QCOMPARE(column(list, 2), (QStringList{"OK", "OK", "No answer"}));
        QVERIFY(m_commands->detected(0));
        QVERIFY(m_commands->detected(2));
        QVERIFY(!m_commands->detected(7));
        // One frame to each answering CU, three to the silent one; two answers.
        QCOMPARE(m_link->framesSent(), quint64(5));
        QCOMPARE(m_link->framesReceived(), quint64(2));
        QVERIFY(w.findChild<QPushButton *>(QStringLiteral("B_START1"))->isEnabled());
        QVERIFY(!w.findChild<QPushButton *>(QStringLiteral("B_STOP1"))->isEnabled());
        QVERIFY(m_dialogs->kinds().isEmpty());

        // The status window shows the counters.
        TF_BRXStatus status(m_state, *m_link);
        status.show();
        QCOMPARE(status.findChild<QLabel *>(QStringLiteral("L_TRAMAS_SEND"))->text(), QStringLiteral("5"));
        QCOMPARE(status.findChild<QLabel *>(QStringLiteral("L_TRAMAS_RECE"))->text(), QStringLiteral("2"));
        QCOMPARE(status.findChild<QLabel *>(QStringLiteral("L_PORT"))->text(), QStringLiteral("COM1"));
    }

    // CU 16 is address 0x10: doubled on the line, answered all the same. With
    // registering on, the link's system port is given back afterwards.
    void oneCuAndRegisteringRestored()
    {
        m_state.registeringActive = true;
        QVERIFY(m_link->openSystemPort());
        m_link->setCurrentCu(0x80);
        TF_Test_CU w(m_state, *m_link, *m_commands);
        w.show();
        auto *cu = w.findChild<QLineEdit *>(QStringLiteral("E_CU"));
        QTest::keyClicks(cu, QStringLiteral("16"));
        QTest::keyClick(cu, Qt::Key_Return);
        auto *list = w.findChild<QTreeWidget *>(QStringLiteral("Lista"));
        QCOMPARE(column(list, 0), QStringList{"16"});
        QCOMPARE(column(list, 2), QStringList{"OK"});
        QVERIFY(m_commands->detected(16));
        QVERIFY(m_link->systemPort() && m_link->systemPort()->isOpen());
        QCOMPARE(int(m_link->currentCu()), 0x80);

        // A number outside 0..63 is refused.
        cu->setText(QStringLiteral("64"));
        w.findChild<QPushButton *>(QStringLiteral("B_START2"))->click();
        QCOMPARE(m_dialogs->kinds(), QStringList{"warning"});

        // "Don't test again" turns the automatic test off when the window closes.
        QCOMPARE(m_state.settings.autoTest, QStringLiteral("True"));
        w.findChild<QCheckBox *>(QStringLiteral("CB_NOTEST"))->setChecked(true);
        w.close();
        QCOMPARE(m_state.settings.autoTest, QStringLiteral("False"));
    }

    void statusText_data()
    {
        QTest::addColumn<bool>("session");
        QTest::addColumn<bool>("registering");
        QTest::addColumn<int>("cu");
        QTest::addColumn<QString>("text");
        QTest::newRow("idle") << false << false << 3 << "R.Incidences Off";
        QTest::newRow("connected") << true << false << 3 << "Connected 03";
        QTest::newRow("registering") << false << true << 12 << "R.Incidences ON to c.u.: 12";
    }
    void statusText()
    {
        QFETCH(bool, session);
        QFETCH(bool, registering);
        QFETCH(int, cu);
        QFETCH(QString, text);
        m_state.cuSessionOpen = session;
        m_state.registeringActive = registering;
        QCOMPARE(TF_BRXStatus::statusText(m_state, cu), text);
    }

    void propertiesWriteSettingsAtOnce()
    {
        TF_BRXStatus_INTER d(m_state, m_link.get());
        d.show();
        d.findChild<QLineEdit *>(QStringLiteral("E_VEL_TRAMA"))->setText(QStringLiteral("1500"));
        d.findChild<QLineEdit *>(QStringLiteral("E_INSERT"))->setText(QString());
        d.findChild<QPushButton *>(QStringLiteral("B_OK"))->click();
        QCOMPARE(m_dialogs->kinds(), QStringList{"warning"});
        QVERIFY(d.isVisible());
        Settings untouched;
        QVERIFY(untouched.load(Settings::filePath()));
        QCOMPARE(untouched.velTrama, 1000);

        d.findChild<QLineEdit *>(QStringLiteral("E_INSERT"))->setText(QStringLiteral("3000"));
        d.findChild<QRadioButton *>(QStringLiteral("RB_ISOLATE2"))->setChecked(true);
        d.findChild<QComboBox *>(QStringLiteral("CB_PARITY"))->setCurrentIndex(0);
        d.findChild<QLineEdit *>(QStringLiteral("E_AT_BAUD"))->setText(QString());
        d.findChild<QPushButton *>(QStringLiteral("B_OK"))->click();
        QVERIFY(!d.isVisible());

        Settings saved;
        QVERIFY(saved.load(Settings::filePath()));
        QCOMPARE(saved.velTrama, 1500);
        QCOMPARE(saved.offByInsertUser, 3000);
        QCOMPARE(int(saved.isolateBrx), 2);
        QCOMPARE(saved.parity, QStringLiteral("1"));
        QCOMPARE(saved.atBaudRate, QStringLiteral("AT &N6")); // an empty command is not stored
        QCOMPARE(m_link->settings().Vel_Trama, 1500);
        QVERIFY(m_link->settings().parityEven());
    }
};

QTEST_MAIN(TstCuTestWindow)
#include "tst_cu_test_window.moc"
