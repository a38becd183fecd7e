#pragma once

#include <QPointer>
#include <QString>
#include <QToolBar>

class QAction;
#include "store/engine/Table.h"

// The editors' navigator: Back, Next, New, Delete, Save and Cancel over one
// Table. The buttons follow the Table's state (Save and Cancel only while a
// record is being edited or inserted; Back, Next, New and Delete while
// browsing). Engine errors are shown through Dialogs with the engine's own
// text; a hook that abandons the operation (Abort) is silent, as the hook
// has told the operator why.
class TableNavigator : public QToolBar {
    Q_OBJECT
public:
    enum Button { Back, Next, New, Delete, Save, Cancel };

    explicit TableNavigator(QWidget *parent = nullptr);
    explicit TableNavigator(Table *table, QWidget *parent = nullptr);

    void setTable(Table *table);
    Table *table() const { return m_table; }

    // Delete asks `question` (Yes/No) first while this is on.
    void setConfirmDelete(bool on, const QString &question = QString());

    QAction *action(Button button) const { return m_actions[button]; }

    // Carries out a button as if pressed; false when it failed or was refused.
    bool trigger(Button button);

signals:
    // After a button's operation succeeded.
    void done(TableNavigator::Button button);

private:
    void updateButtons();
    QPointer<Table> m_table;
    QAction *m_actions[6] = {};
    bool m_confirmDelete = false;
    QString m_deleteQuestion;
};
