#pragma once

#include <QString>
#include <QVariant>

// The rules of the users table for codes, cards and memory positions.
namespace UserCodes {

enum class CodeKind { None, Keypad, Card, Invalid };

inline constexpr int kKeypadLength = 6;
inline constexpr int kCardLength = 10;

// A code as stored: up to 6 characters completed on the right with "0" to 6
// (a keypad code), 7 to 10 completed to 10 (a card number); empty stays
// empty. A longer code is returned unchanged (its kind is Invalid).
QString complete(const QString &code);
// The kind of a stored code, by its length.
CodeKind kindOf(const QString &storedCode);
// TIPO_USR for a stored code: the "KeyPad" text for 6 characters, the
// "Proximity CARD" text for 10, empty otherwise.
QString kindText(const QString &storedCode);
// What the central unit receives: the code, or "FFFFFF" for none.
QString codeForUnit(const QString &storedCode);

} // namespace UserCodes

// MEM_POS_RELATIVA: a user's slot in the central unit's user memory less one;
// null when the user is not (known to be) in the unit. 8888 means "no
// position" inside the program and is never stored.
namespace MemoryPosition {

inline constexpr int kNone = 8888;

// The position held by the field, kNone for null (or a stored 8888).
int fromField(const QVariant &field);
// The field value for a position: null for kNone or a negative number.
QVariant toField(int position);
bool inUnit(const QVariant &field);
// The 1-based slot of a position held by the field; 0 when not in the unit.
int slot(const QVariant &field);

} // namespace MemoryPosition
