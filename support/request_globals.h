// The request and response globals through which the program's procedures tell each other what
// to do and how it went, and the response values they exchange.
#pragma once

#include <cstdint>

namespace quillery {

extern std::int32_t GLOBALREQUEST;
extern std::int32_t GLOBALRESPONSE;
extern std::int32_t VCRREQUEST;

inline constexpr std::int32_t RequestCompleted = 1;
inline constexpr std::int32_t RequestCancelled = 2;

}  // namespace quillery
