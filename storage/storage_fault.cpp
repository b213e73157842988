// Structural faults of the page layer go to the runtime's fatal report.
#include "storage/storage_fault.h"

#include "runtime/fatal.h"

namespace quillery::storage {

std::string faultText(FaultCheck check) {
    return "Internal error : vltbt line " + std::to_string(static_cast<int>(check));
}

void storageFault(FaultCheck check) {
    fatalError(faultText(check));
}

}  // namespace quillery::storage
