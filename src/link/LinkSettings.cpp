#include "link/LinkSettings.h"

#include <QRegularExpression>

QString LinkSettings::devicePath(const QString &portName) const
{
    const QString name = portName.trimmed();
    for (auto it = portPaths.cbegin(); it != portPaths.cend(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0 && !it.value().trimmed().isEmpty())
            return it.value().trimmed();
    }
    static const QRegularExpression com(QStringLiteral("^COM([0-9]{1,2})$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(name);
    if (m.hasMatch()) {
        const int n = m.captured(1).toInt();
        if (n >= 1)
            return QStringLiteral("/dev/ttyS%1").arg(n - 1);
    }
    return name;
}
