#include "platform/Dialogs.h"

#include <QTextStream>

namespace {
Dialogs *&installed()
{
    static Dialogs *current = nullptr;
    return current;
}
} // namespace

Dialogs &Dialogs::instance()
{
    static NonInteractiveDialogs fallback;
    return installed() ? *installed() : fallback;
}

void Dialogs::install(Dialogs *dialogs) { installed() = dialogs; }

void NonInteractiveDialogs::record(const QString &kind, const QString &text)
{
    m_shown << kind + QLatin1String(": ") + text;
    if (m_echo)
        QTextStream(stderr) << kind << ": " << text << "\n";
}

void NonInteractiveDialogs::warning(const QString &text, const QString &) { record(QStringLiteral("warning"), text); }
void NonInteractiveDialogs::information(const QString &text, const QString &) { record(QStringLiteral("information"), text); }

bool NonInteractiveDialogs::confirm(const QString &text, const QString &)
{
    record(QStringLiteral("question"), text + (m_confirmAnswer ? QStringLiteral(" [yes]") : QStringLiteral(" [no]")));
    return m_confirmAnswer;
}

void NonInteractiveDialogs::messageWindow(const QString &line1, const QString &line2)
{
    record(QStringLiteral("message"), line1 + QLatin1Char(' ') + line2);
}
