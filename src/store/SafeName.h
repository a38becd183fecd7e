#pragma once

#include <QString>

// Installation and block names become parts of file names in the work folder
// and fields of the installation file, so a name is checked before any file
// is touched: it must not be empty, must not hold a path separator, a quote
// (double or single), a control character or the padding character '@',
// must be writable as single-byte characters, and must fit its field.
namespace SafeName {

inline constexpr int kInstallationNameMax = 38; // N + ".axo" within 42 characters
inline constexpr int kBlockNameMax = 16;        // the block name box

// Empty when the name is acceptable, else the message for the operator.
QString checkInstallationName(const QString &name);
QString checkBlockName(const QString &name);

} // namespace SafeName
