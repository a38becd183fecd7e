#include "store/SafeName.h"

#include "store/StoreTexts.h"

namespace {

QString badCharacters(const QString &name)
{
    return StoreTexts::text("STORE_NAME_CHARS",
                            QStringLiteral("The name holds a character that cannot be used: / \\ \" ' @, a control "
                                           "character or a character outside the single-byte set."))
        + QStringLiteral(" (") + name + QLatin1Char(')');
}

QString check(const QString &name, int maxLength)
{
    if (name.isEmpty())
        return StoreTexts::text("STORE_NAME_EMPTY", QStringLiteral("A name is required."));
    // "." and ".." name folders, not files.
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return badCharacters(name);
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u < 0xA0) || u > 0xFF || u == u'/' || u == u'\\' || u == u'"' || u == u'\''
            || u == 0x40)
            return badCharacters(name);
    }
    if (name.size() > maxLength)
        return StoreTexts::text("STORE_NAME_LONG", QStringLiteral("The name is too long. Maximum characters:"))
            + QLatin1Char(' ') + QString::number(maxLength);
    return QString();
}

} // namespace

namespace SafeName {

QString checkInstallationName(const QString &name) { return check(name, kInstallationNameMax); }
QString checkBlockName(const QString &name) { return check(name, kBlockNameMax); }

} // namespace SafeName
