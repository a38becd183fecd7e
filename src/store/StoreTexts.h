#pragma once

#include <QString>

// The language texts the store hands to its callers (refusal messages, the
// block type texts, the system profile names and the tree words), read from
// the current language with the built-in default given.
namespace StoreTexts {

QString text(const char *key, const QString &fallback = QString());

// The central unit type text of block type 1, 2 or 3 (TIPO_INS1..3).
QString blockTypeText(int type);
// 1, 2 or 3 by comparing with the current TIPO_INS1..3 texts in that order,
// then with those of the other languages of the language file; 0 for none.
int blockTypeOf(const QString &storedText);

} // namespace StoreTexts
