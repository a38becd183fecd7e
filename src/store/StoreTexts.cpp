#include "store/StoreTexts.h"

#if __has_include("frame/Lang.h")
#include "frame/Lang.h"
#define STORE_HAVE_LANG 1
#endif

namespace StoreTexts {

QString text(const char *key, const QString &fallback)
{
    const QString k = QString::fromLatin1(key);
#ifdef STORE_HAVE_LANG
    return fallback.isNull() ? Lang::text(k) : Lang::text(k, fallback);
#else
    return fallback.isNull() ? k : fallback;
#endif
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
    return 0;
}

} // namespace StoreTexts
