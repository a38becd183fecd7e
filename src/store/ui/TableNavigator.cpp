#include "store/ui/TableNavigator.h"

#include "common/ui/Icons.h"
#include "frame/Lang.h"
#include "platform/Dialogs.h"
#include "store/engine/EngineError.h"
#include "store/engine/Table.h"

#include <QAction>

TableNavigator::TableNavigator(QWidget *parent) : TableNavigator(nullptr, parent) {}

TableNavigator::TableNavigator(Table *table, QWidget *parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("Navigator"));
    setIconSize(QSize(20, 20));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    struct ButtonDef {
        const char *name, *icon, *caption, *hint;
    };
    static const ButtonDef buttons[6] = {
        {"B_BACK", "nav_back", "STAN_BACK", "STAN_BACK_H"}, {"B_NEXT", "nav_next", "STAN_NEXT", "STAN_NEXT_H"},
        {"B_NEW", "nav_new", "STAN_NEW", "STAN_NEW_H"},     {"B_DELETE", "nav_delete", "STAN_DELE", "STAN_DELE_H"},
        {"B_SAVE", "nav_save", "STAN_SAVE", "STAN_SAVE_H"}, {"B_CANCEL", "nav_cancel", "STAN_CANC", "STAN_CANC_H"},
    };
    for (int i = 0; i < 6; ++i) {
        QAction *a = addAction(Icons::icon(QLatin1String(buttons[i].icon)), Lang::message(QLatin1String(buttons[i].caption)));
        a->setObjectName(QLatin1String(buttons[i].name));
        a->setToolTip(Lang::message(QLatin1String(buttons[i].hint)));
        const Button b = Button(i);
        connect(a, &QAction::triggered, this, [this, b] { trigger(b); });
        m_actions[i] = a;
        if (i == New)
            addSeparator();
    }
    setTable(table);
}

void TableNavigator::setTable(Table *table)
{
    if (m_table)
        disconnect(m_table, nullptr, this, nullptr);
    m_table = table;
    if (m_table) {
        connect(m_table, &Table::stateChanged, this, &TableNavigator::updateButtons);
        connect(m_table, &Table::currentChanged, this, &TableNavigator::updateButtons);
        connect(m_table, &Table::dataChanged, this, &TableNavigator::updateButtons);
    }
    updateButtons();
}

void TableNavigator::setConfirmDelete(bool on, const QString &question)
{
    m_confirmDelete = on;
    m_deleteQuestion = question;
}

void TableNavigator::updateButtons()
{
    const bool open = m_table && m_table->isOpen();
    const bool browsing = open && m_table->state() == Table::State::Browse;
    const bool editing = open && !browsing;
    bool empty = true;
    if (open) {
        try {
            empty = m_table->isEmpty();
        } catch (const EngineError &) {
        }
    }
    m_actions[Back]->setEnabled(browsing && !empty && !m_table->bof());
    m_actions[Next]->setEnabled(browsing && !empty && !m_table->eof());
    m_actions[New]->setEnabled(browsing);
    m_actions[Delete]->setEnabled(browsing && !empty);
    m_actions[Save]->setEnabled(editing);
    m_actions[Cancel]->setEnabled(editing);
}

bool TableNavigator::trigger(Button button)
{
    if (!m_table || !m_table->isOpen())
        return false;
    try {
        switch (button) {
        case Back:
            m_table->prior();
            break;
        case Next:
            m_table->next();
            if (m_table->eof() && !m_table->isEmpty())
                m_table->last(); // stay on the last record rather than past it
            break;
        case New:
            m_table->insert();
            break;
        case Delete:
            if (m_table->isEmpty())
                return false;
            if (m_confirmDelete && !Dialogs::instance().confirm(m_deleteQuestion))
                return false;
            m_table->deleteRecord();
            break;
        case Save:
            m_table->post();
            break;
        case Cancel:
            m_table->cancel();
            break;
        }
    } catch (const Abort &) {
        updateButtons();
        return false;
    } catch (const EngineError &e) {
        Dialogs::instance().warning(e.text());
        updateButtons();
        return false;
    }
    updateButtons();
    emit done(button);
    return true;
}
