#include "store/StoreTexts.h"

#include "frame/Lang.h"

namespace StoreTexts {

QString text(const char *key, const QString &fallback)
{
    const QString k = QString::fromLatin1(key);
    return fallback.isNull() ? Lang::text(k) : Lang::text(k, fallback);
}

QString blockTypeText(int type)
{
    switch (type) {
    case 1: return text("TIPO_INS1");
    case 2: return text("TIPO_INS2");
    case 3: return text("TIPO_INS3");
    default: return QString();
    }
}

int blockTypeOf(const QString &storedText)
{
    for (int type = 1; type <= 3; ++type)
        if (storedText == blockTypeText(type).left(40)) // the record keeps 40 characters
            return type;
    // A block record keeps the type text of the language it was saved in; a
    // block saved under another language of the file keeps its type.
    const LangFile &file = Lang::file();
    for (const QString &language : file.sections()) {
        for (int type = 1; type <= 3; ++type) {
            const QString key = QStringLiteral("TIPO_INS%1").arg(type);
            const QString typeText = file.text(language, key, QString());
            if (!typeText.isEmpty() && storedText == typeText.left(40))
                return type;
        }
    }
    return 0;
}

} // namespace StoreTexts
