#include "support/ScriptedDialogs.h"

void ScriptedDialogs::warning(const QString &text, const QString &) { m_calls << Call{QStringLiteral("warning"), text, {}}; }

void ScriptedDialogs::information(const QString &text, const QString &)
{
    m_calls << Call{QStringLiteral("information"), text, {}};
}

bool ScriptedDialogs::confirm(const QString &text, const QString &)
{
    m_calls << Call{QStringLiteral("confirm"), text, {}};
    if (m_confirms.isEmpty()) {
        ++m_unexpected;
        return false;
    }
    return m_confirms.dequeue();
}

QString ScriptedDialogs::choice()
{
    if (m_choices.isEmpty()) {
        ++m_unexpected;
        return QString();
    }
    return m_choices.dequeue();
}

QString ScriptedDialogs::openFile(const QString &title, const QString &folder, const QString &filter)
{
    m_calls << Call{QStringLiteral("openFile"), title, folder + QLatin1Char('|') + filter};
    return choice();
}

QString ScriptedDialogs::saveFile(const QString &title, const QString &folder, const QString &filter)
{
    m_calls << Call{QStringLiteral("saveFile"), title, folder + QLatin1Char('|') + filter};
    return choice();
}

QString ScriptedDialogs::chooseFolder(const QString &title, const QString &folder)
{
    m_calls << Call{QStringLiteral("chooseFolder"), title, folder};
    return choice();
}

void ScriptedDialogs::messageWindow(const QString &line1, const QString &line2)
{
    m_calls << Call{QStringLiteral("messageWindow"), line1, line2};
}

QStringList ScriptedDialogs::kinds() const
{
    QStringList out;
    for (const Call &c : m_calls)
        out << c.kind;
    return out;
}

int ScriptedDialogs::count(const QString &kind) const
{
    int n = 0;
    for (const Call &c : m_calls)
        n += c.kind == kind ? 1 : 0;
    return n;
}

void ScriptedDialogs::clear()
{
    m_calls.clear();
    m_confirms.clear();
    m_choices.clear();
    m_unexpected = 0;
}
