#include "store/UserCodes.h"

#include "store/StoreTexts.h"

namespace UserCodes {

QString complete(const QString &code)
{
    if (code.isEmpty() || code.size() > kCardLength)
        return code;
    const int width = code.size() <= kKeypadLength ? kKeypadLength : kCardLength;
    return code + QString(width - code.size(), QLatin1Char('0'));
}

CodeKind kindOf(const QString &storedCode)
{
    if (storedCode.isEmpty())
        return CodeKind::None;
    if (storedCode.size() == kKeypadLength)
        return CodeKind::Keypad;
    if (storedCode.size() == kCardLength)
        return CodeKind::Card;
    return CodeKind::Invalid;
}

QString kindText(const QString &storedCode)
{
    switch (kindOf(storedCode)) {
    case CodeKind::Keypad: return StoreTexts::text("F_Usesr4_NEW2_C_TIPO_CODE03");
    case CodeKind::Card: return StoreTexts::text("F_Usesr4_NEW2_C_TIPO_CODE00");
    default: return QString();
    }
}

QString codeForUnit(const QString &storedCode)
{
    return storedCode.isEmpty() ? QStringLiteral("FFFFFF") : storedCode;
}

} // namespace UserCodes

namespace MemoryPosition {

int fromField(const QVariant &field)
{
    if (field.isNull() || !field.isValid())
        return kNone;
    bool ok = false;
    const int value = field.toInt(&ok);
    return ok && value >= 0 ? value : kNone;
}

QVariant toField(int position)
{
    if (position == kNone || position < 0)
        return QVariant();
    return position;
}

bool inUnit(const QVariant &field) { return fromField(field) != kNone; }

int slot(const QVariant &field)
{
    const int position = fromField(field);
    return position == kNone ? 0 : position + 1;
}

} // namespace MemoryPosition
