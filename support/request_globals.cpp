// The request and response globals, zero until a procedure sets them.
#include "support/request_globals.h"

namespace quillery {

std::int32_t GLOBALREQUEST = 0;
std::int32_t GLOBALRESPONSE = 0;
std::int32_t VCRREQUEST = 0;

}  // namespace quillery
