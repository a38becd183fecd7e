// The grid, field bindings and navigator over a real table file.
#include "store/engine/EngineError.h"
#include "store/engine/Table.h"
#include "store/engine/TableFile.h"
#include "store/ui/FieldBinding.h"
#include "store/ui/TableModel.h"
#include "store/ui/TableNavigator.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TstTableWidgets : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<Table> m_table;
    std::unique_ptr<ScriptedDialogs> m_dialogs;

    static TableDef def()
    {
        TableDef d;
        d.fileName = QStringLiteral("X_Doors.db");
        d.fields = {intField(QStringLiteral("NUMERO"), true), textField(QStringLiteral("NOMBRE"), 8),
                    boolField(QStringLiteral("ACTIVO")), textField(QStringLiteral("TIPO"), 6)};
        d.primaryKey = {QStringLiteral("NUMERO")};
        d.rows = {{1, QStringLiteral("North"), true, QStringLiteral("keypad")},
                  {2, QStringLiteral("South"), false, QVariant()},
                  {3, QStringLiteral("East"), QVariant(), QStringLiteral("card")}};
        return d;
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        const QString path = m_dir.path() + QStringLiteral("/X_Doors.db");
        QFile::remove(path);
        TableFile::create(path, def());
        m_table = std::make_unique<Table>(m_dir.path() + QLatin1Char('/'), QStringLiteral("X_Doors.db"));
        m_table->open();
        m_dialogs = std::make_unique<ScriptedDialogs>();
    }
    void cleanup()
    {
        m_dialogs.reset();
        m_table.reset();
    }

    // The grid follows posts and deletes, and never disturbs an edit or the
    // current record; selecting a row moves the table.
    void gridFollowsTable()
    {
        int scrolls = 0;
        m_table->afterScroll = [&](Table &) { ++scrolls; };
        TableModel model(m_table.get());
        model.setColumns({QStringLiteral("NUMERO"), QStringLiteral("NOMBRE")}, {QStringLiteral("No."), QString()});
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 2);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("No."));
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("NOMBRE"));
        QCOMPARE(model.data(model.index(2, 1)).toString(), QStringLiteral("East"));
        QCOMPARE(scrolls, 0); // reading the rows is not the operator scrolling

        QVERIFY(model.setCurrentRow(1));
        QCOMPARE(m_table->integer(QStringLiteral("NUMERO")), 2);
        QCOMPARE(model.currentRow(), 1);

        m_table->edit();
        m_table->setText(QStringLiteral("NOMBRE"), QStringLiteral("Garage"));
        model.reload(); // while editing: nothing is read, the edit stays
        QCOMPARE(m_table->state(), Table::State::Edit);
        m_table->post();
        QCOMPARE(model.data(model.index(1, 1)).toString(), QStringLiteral("Garage"));
        QCOMPARE(model.currentRow(), 1);

        m_table->insert();
        m_table->setInteger(QStringLiteral("NUMERO"), 0);
        m_table->post();
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(model.data(model.index(0, 0)).toInt(), 0);

        m_table->deleteRecord();
        QCOMPARE(model.rowCount(), 3);
        m_table->close();
        QCOMPARE(model.rowCount(), 0);
    }

    // Controls show the current record, write through the record buffer
    // and report what the field refuses.
    void bindings()
    {
        QLineEdit name;
        QCheckBox active;
        QComboBox kind;
        kind.setEditable(true);
        kind.addItems({QStringLiteral("keypad"), QStringLiteral("card")});
        FieldBinding bName(m_table.get(), QStringLiteral("NOMBRE"), &name);
        FieldBinding bActive(m_table.get(), QStringLiteral("ACTIVO"), &active);
        FieldBinding bKind(m_table.get(), QStringLiteral("TIPO"), &kind);

        QCOMPARE(name.text(), QStringLiteral("North"));
        QCOMPARE(name.maxLength(), 8);
        QVERIFY(active.isChecked());
        QCOMPARE(kind.currentText(), QStringLiteral("keypad"));

        m_table->next();
        QCOMPARE(name.text(), QStringLiteral("South"));
        QVERIFY(!active.isChecked());
        QCOMPARE(kind.currentText(), QString());

        QTest::keyClicks(&name, QStringLiteral("ern"));
        QCOMPARE(m_table->state(), Table::State::Edit);
        active.setChecked(true);
        kind.setCurrentIndex(1);
        m_table->post();
        QCOMPARE(m_table->text(QStringLiteral("NOMBRE")), QStringLiteral("Southern"));
        QVERIFY(m_table->boolean(QStringLiteral("ACTIVO")));
        QCOMPARE(m_table->text(QStringLiteral("TIPO")), QStringLiteral("card"));

        // A value longer than the field: refused, reported, the control
        // shows the record again.
        kind.setEditText(QStringLiteral("turnstile"));
        QCOMPARE(m_dialogs->count(QStringLiteral("warning")), 1);
        QCOMPARE(kind.currentText(), QStringLiteral("card"));

        // Cancel puts the controls back to the stored record.
        QTest::keyClicks(&name, QStringLiteral("X"));
        m_table->cancel();
        QCOMPARE(name.text(), QStringLiteral("Southern"));

        bName.setReadOnly(true);
        QVERIFY(name.isReadOnly());
    }

    // The navigator's buttons follow the state; errors are shown, a hook's
    // refusal is silent, Delete asks when told to.
    void navigator()
    {
        TableNavigator nav(m_table.get());
        auto enabled = [&nav] {
            QString s;
            for (int b = TableNavigator::Back; b <= TableNavigator::Cancel; ++b)
                s += nav.action(TableNavigator::Button(b))->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
            return s;
        };
        QCOMPARE(enabled(), QStringLiteral("011100")); // on the first record: no Back
        QVERIFY(nav.trigger(TableNavigator::Next));
        QCOMPARE(enabled(), QStringLiteral("111100"));
        QVERIFY(nav.trigger(TableNavigator::New));
        QCOMPARE(enabled(), QStringLiteral("000011"));

        // A repeated key: the engine's text is shown, the insert stays open.
        m_table->setInteger(QStringLiteral("NUMERO"), 1);
        QVERIFY(!nav.trigger(TableNavigator::Save));
        QCOMPARE(m_dialogs->count(QStringLiteral("warning")), 1);
        QCOMPARE(m_table->state(), Table::State::Insert);
        QVERIFY(nav.trigger(TableNavigator::Cancel));
        QCOMPARE(m_table->recordCount(), 3);

        // A hook that refuses: nothing shown, nothing deleted.
        m_table->beforeDelete = [](Table &) { throw Abort(); };
        QVERIFY(!nav.trigger(TableNavigator::Delete));
        QCOMPARE(m_dialogs->count(QStringLiteral("warning")), 1);
        m_table->beforeDelete = nullptr;

        // Delete with confirmation: No keeps the record, Yes deletes it.
        nav.setConfirmDelete(true, QStringLiteral("Delete?"));
        m_dialogs->queueConfirm(false);
        QVERIFY(!nav.trigger(TableNavigator::Delete));
        QCOMPARE(m_table->recordCount(), 3);
        m_dialogs->queueConfirm(true);
        QVERIFY(nav.trigger(TableNavigator::Delete));
        QCOMPARE(m_table->recordCount(), 2);
        QCOMPARE(m_dialogs->unexpected(), 0);

        // Next on the last record stays on it.
        m_table->last();
        nav.trigger(TableNavigator::Next);
        QVERIFY(!m_table->isNull(QStringLiteral("NUMERO")));
        QCOMPARE(m_table->integer(QStringLiteral("NUMERO")), 3);
    }
};

QTEST_MAIN(TstTableWidgets)
#include "tst_table_widgets.moc"
