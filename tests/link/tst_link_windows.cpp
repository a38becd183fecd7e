// "Serial Ports" with its dialogs, "Installation connection" and the
// failure window, driven by object name.

#include "frame/Lang.h"
#include "frame/ProgramState.h"
#include "link/InstallationConnection.h"
#include "link/ui/F_Mensaje_nocu.h"
#include "link/ui/F_Ports.h"
#include "link/ui/F_Tipo_Conex.h"
#include "platform/Paths.h"
#include "store/InstallationStore.h"
#include "store/engine/Table.h"
#include "support/ModalScript.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPaths.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

class TstLinkWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolders> m_folders;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    ProgramState m_state;
    QString m_work;

    static QStringList column(QTreeWidget *list, int col)
    {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out << list->topLevelItem(i)->text(col);
        return out;
    }
    static QStringList marked(QTreeWidget *list)
    {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            if (list->topLevelItem(i)->data(0, Qt::DecorationRole).userType() == QMetaType::QIcon)
                out << list->topLevelItem(i)->text(0);
        return out;
    }
    static void choose(QTreeWidget *list, const QString &port)
    {
        const auto found = list->findItems(port, Qt::MatchExactly, 0);
        QCOMPARE(found.size(), 1);
        list->setCurrentItem(found.first());
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
                                                      QString(), QStringLiteral("COM1"))
                    .ok);
        m_state = ProgramState();
        m_state.workFolder = m_work;
        m_state.installationFile = m_work + QStringLiteral("Tower.axo");
        m_state.settings.ports.fill(QString());
        m_state.settings.portsDesc.fill(QString());
        m_state.settings.ports[1] = QStringLiteral("Include");
        m_state.settings.portsDesc[1] = QStringLiteral("USB adapter");
        m_state.settings.sysPort = QStringLiteral("COM3");
        m_state.settings.proxPort = QStringLiteral("COM1");
    }
    void cleanup()
    {
        m_dialogs.reset();
        m_folders.reset();
    }

    void serialPortsLists()
    {
        TF_Ports w(m_state);
        w.show();
        auto *l1 = w.findChild<QTreeWidget *>(QStringLiteral("Lista1"));
        auto *l2 = w.findChild<QTreeWidget *>(QStringLiteral("Lista2"));
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("L_INST"))->text(), QStringLiteral("Tower"));
        // The system port COM3 and proximity port COM1 are listed though not marked "Include".
        QCOMPARE(column(l1, 0), (QStringList{"COM1", "COM2", "COM3"}));
        QCOMPARE(column(l1, 1), (QStringList{"", "USB adapter", ""}));
        QCOMPARE(m_state.settings.ports[2], QStringLiteral("Include"));
        QCOMPARE(marked(l1), QStringList{"COM3"});
        QCOMPARE(marked(l2), QStringList{"COM1"});

        // Proximity port: no installation table changes.
        choose(l2, QStringLiteral("COM2"));
        w.findChild<QAction *>(QStringLiteral("Stablishproximityport1"))->trigger();
        QCOMPARE(m_state.settings.proxPort, QStringLiteral("COM2"));
        QCOMPARE(marked(l2), QStringList{"COM2"});
        QCOMPARE(InstallationConnection::readPort(m_work, QStringLiteral("Tower")), QStringLiteral("COM1"));

        // System port: the installation's PUERTO follows.
        choose(l1, QStringLiteral("COM2"));
        w.findChild<QAction *>(QStringLiteral("Stablishsystemport1"))->trigger();
        QCOMPARE(m_state.settings.sysPort, QStringLiteral("COM2"));
        QCOMPARE(marked(l1), QStringList{"COM2"});
        QCOMPARE(InstallationConnection::readPort(m_work, QStringLiteral("Tower")), QStringLiteral("COM2"));
    }

    void serialPortsEdits()
    {
        TF_Ports w(m_state);
        w.show();
        auto *l1 = w.findChild<QTreeWidget *>(QStringLiteral("Lista1"));
        ModalScript script;
        // Add COM12; OK without a number keeps the dialog open.
        script.expect(QStringLiteral("F_Ports_New"), [](QDialog *d) {
            ModalScript::click(d, QStringLiteral("B_OK"));
            QVERIFY(d->isVisible());
            d->findChild<QComboBox *>(QStringLiteral("CB_COM"))->setCurrentIndex(11);
            ModalScript::type(d, QStringLiteral("E_DESC"), QStringLiteral("Bus B"));
            ModalScript::click(d, QStringLiteral("B_OK"));
        });
        w.findChild<QPushButton *>(QStringLiteral("B_ADD"))->click();
        QCOMPARE(column(l1, 0), (QStringList{"COM1", "COM2", "COM3", "COM12"}));
        QCOMPARE(m_state.settings.portsDesc[11], QStringLiteral("Bus B"));

        // Change description: Cancel keeps the old text, OK takes the new.
        choose(l1, QStringLiteral("COM2"));
        script.expect(QStringLiteral("F_Ports_Edit"), [](QDialog *d) {
            ModalScript::type(d, QStringLiteral("E_DESC"), QStringLiteral("thrown away"));
            ModalScript::click(d, QStringLiteral("B_CANCEL"));
        });
        w.findChild<QAction *>(QStringLiteral("Changedescription1"))->trigger();
        QCOMPARE(m_state.settings.portsDesc[1], QStringLiteral("USB adapter"));
        choose(l1, QStringLiteral("COM2"));
        script.expect(QStringLiteral("F_Ports_Edit"), [](QDialog *d) {
            ModalScript::type(d, QStringLiteral("E_DESC"), QStringLiteral("Front door line"));
            ModalScript::click(d, QStringLiteral("B_OK"));
        });
        w.findChild<QAction *>(QStringLiteral("Changedescription1"))->trigger();
        QCOMPARE(m_state.settings.portsDesc[1], QStringLiteral("Front door line"));

        // Erase: the system port is refused; COM12 is asked about and erased.
        m_dialogs->queueConfirm(true);
        script.expect(QStringLiteral("F_Ports_Erase"), [](QDialog *d) {
            auto *list = d->findChild<QTreeWidget *>(QStringLiteral("Lista1"));
            choose(list, QStringLiteral("COM3"));
            ModalScript::click(d, QStringLiteral("B_ERASE"));
            choose(list, QStringLiteral("COM12"));
            ModalScript::click(d, QStringLiteral("B_ERASE"));
            QCOMPARE(column(list, 0), (QStringList{"COM1", "COM2", "COM3"}));
            ModalScript::click(d, QStringLiteral("B_CLOSE"));
        });
        w.findChild<QPushButton *>(QStringLiteral("B_ERASE"))->click();
        QCOMPARE(script.remaining(), 0);
        QVERIFY(script.unexpected().isEmpty());
        QCOMPARE(m_dialogs->kinds(), (QStringList{"warning", "confirm"}));
        QCOMPARE(m_dialogs->calls().at(0).text, Lang::text(QStringLiteral("F_Ports_Erase_MENSA00")));
        QCOMPARE(m_dialogs->calls().at(1).text, QStringLiteral("Erase the port COM12-Bus B?"));
        QVERIFY(m_state.settings.ports[11].isEmpty());
        QVERIFY(m_state.settings.portsDesc[11].isEmpty());
        QCOMPARE(column(l1, 0), (QStringList{"COM1", "COM2", "COM3"}));
    }

    void connectionWindow_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("modemShown");
        QTest::addColumn<bool>("callRunning");
        QTest::newRow("LOCAL") << "LOCAL" << false << false;
        QTest::newRow("modem lower case") << "modem" << true << false;
        QTest::newRow("during a call") << "MODEM" << true << true;
    }
    void connectionWindow()
    {
        QFETCH(QString, stored);
        QFETCH(bool, modemShown);
        QFETCH(bool, callRunning);
        InstallationConnection::writeConnection(m_work, QStringLiteral("Tower"), true, QStringLiteral("555 0101"));
        {
            // The stored spelling as some older installation has it.
            Table t(m_work, QStringLiteral("Tower_connec.db"));
            t.open();
            t.first();
            t.edit();
            t.setText(QStringLiteral("TIPO_CONEXION"), stored);
            t.post();
        }
        m_state.modemInstallation = modemShown;
        m_state.modemCallActive = callRunning;
        TF_Tipo_Conex w(m_state, nullptr);
        ModalScript script;
        script.expect(QStringLiteral("F_Tipo_Conex"), [&](QDialog *d) {
            QCOMPARE(d->findChild<QLabel *>(QStringLiteral("L_INST"))->text(), QStringLiteral("Tower"));
            QCOMPARE(d->findChild<QRadioButton *>(QStringLiteral("RB_MODEM"))->isChecked(), modemShown);
            QCOMPARE(d->findChild<QRadioButton *>(QStringLiteral("RB_LOCAL"))->isChecked(), !modemShown);
            QCOMPARE(d->findChild<QLineEdit *>(QStringLiteral("E_TELEFONO"))->text(), QStringLiteral("555 0101"));
            // Switch to the other type with a new number.
            d->findChild<QRadioButton *>(modemShown ? QStringLiteral("RB_LOCAL") : QStringLiteral("RB_MODEM"))->setChecked(true);
            ModalScript::type(d, QStringLiteral("E_TELEFONO"), QStringLiteral("999"));
            ModalScript::click(d, QStringLiteral("B_OK"));
            QCOMPARE(d->isVisible(), callRunning);
            if (callRunning)
                ModalScript::click(d, QStringLiteral("B_CANCEL"));
        });
        w.exec();
        QCOMPARE(script.remaining(), 0);
        const auto c = InstallationConnection::readConnection(m_work, QStringLiteral("Tower"));
        if (callRunning) {
            QCOMPARE(m_dialogs->kinds(), QStringList{"warning"});
            QCOMPARE(m_dialogs->calls().at(0).text, QStringLiteral("Operation not enabled. Calling is runing..."));
            QCOMPARE(c.type, stored);
            QCOMPARE(c.phone, QStringLiteral("555 0101"));
            QCOMPARE(m_state.modemInstallation, modemShown);
        } else {
            QVERIFY(m_dialogs->kinds().isEmpty());
            QCOMPARE(c.type, modemShown ? QStringLiteral("LOCAL") : QStringLiteral("MODEM"));
            QCOMPARE(c.phone, QStringLiteral("999"));
            QCOMPARE(m_state.modemInstallation, !modemShown);
        }
    }

    void failureWindow_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("directLine");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not detected, direct line")
            << int(CuFailure::Kind::NotDetected) << true
            << "The Central Unit is OFF-Line or\nthe application did not detect it.";
        QTest::newRow("login refused, modem")
            << int(CuFailure::Kind::LoginRefused) << false << "The application could not access in program mode.";
    }
    void failureWindow()
    {
        QFETCH(int, kind);
        QFETCH(bool, directLine);
        QFETCH(QString, reason);
        CuFailure f;
        f.kind = CuFailure::Kind(kind);
        f.installation = QStringLiteral("Tower");
        f.cu = 5;
        f.blockName = QStringLiteral("North");
        TF_Mensaje_nocu w;
        w.setFailure(f, directLine);
        w.show();
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("L_INST"))->text(), QStringLiteral("Tower"));
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("L_CU"))->text(), QStringLiteral("05  North"));
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("L_REASON"))->text(), reason);
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("L_COMMON"))->text(),
                 QStringLiteral("This situation may produce problems to connect with other central units."));
        auto *link = w.findChild<QPushButton *>(QStringLiteral("L_TEST"));
        QCOMPARE(link->isVisible(), directLine);
        if (directLine) {
            QSignalSpy spy(&w, &TF_Mensaje_nocu::testRequested);
            link->click();
            QCOMPARE(spy.size(), 1);
            QCOMPARE(spy.at(0).at(0).toInt(), 5);
            QVERIFY(!w.isVisible());
        }
    }
};

QTEST_MAIN(TstLinkWindows)
#include "tst_link_windows.moc"
