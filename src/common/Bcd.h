#pragma once

#include <QtGlobal>

#include <optional>

// Two decimal digits in one byte, the tens in the high nibble: 59 is 0x59.
namespace Bcd {

// nullopt outside 0..99.
inline std::optional<quint8> fromNumber(int value)
{
    if (value < 0 || value > 99)
        return std::nullopt;
    return quint8(((value / 10) << 4) | (value % 10));
}

// nullopt when a nibble is not a decimal digit.
inline std::optional<int> toNumber(quint8 byte)
{
    const int high = byte >> 4;
    const int low = byte & 0x0F;
    if (high > 9 || low > 9)
        return std::nullopt;
    return high * 10 + low;
}

} // namespace Bcd
