// The catalogue's use count, zero until a listing raises it.
#include "app/catalogue_use_count.h"

namespace quillery {

std::int32_t QUILLERY_USED = 0;

}  // namespace quillery
