#pragma once

// The access codes a central unit leaves the factory with. A new block record
// starts with them, and the simulated central units accept them until they are
// changed, so a fresh block can always be programmed.
namespace FactoryCodes {

inline constexpr char kRead[] = "AXO";          // three letters, padded to five where stored
inline constexpr char kReadWrite[] = "AXORW";
inline constexpr char kProgramming[] = "12345";
inline constexpr char kRegistering[] = "54321"; // also the incidence password

} // namespace FactoryCodes
