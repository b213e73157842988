// How many procedures hold the catalogue file open: a listing opens the catalogue only when
// nobody does, and closes it again at its end.
#pragma once

#include <cstdint>

namespace quillery {

// `QUILLERY::USED`.
extern std::int32_t QUILLERY_USED;

}  // namespace quillery
