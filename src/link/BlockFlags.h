#pragma once

#include <array>

// Program-wide flags per block code 0..63: whether the block's central unit
// answered the last test. The central unit test sets them; the installation
// window shows a block's icon from them and clears them when it is created
// and closed.
namespace BlockFlags {

inline std::array<bool, 64> &answered()
{
    static std::array<bool, 64> flags{};
    return flags;
}

inline bool hasAnswered(int code) { return code >= 0 && code < 64 && answered()[size_t(code)]; }
inline void setAnswered(int code, bool on)
{
    if (code >= 0 && code < 64)
        answered()[size_t(code)] = on;
}
inline void clearAll() { answered().fill(false); }

} // namespace BlockFlags
