// Damage in a catalogue never ends the main window. A catalogue is checked before it is opened
// for writing, and one whose pages or records are damaged, or that is no catalogue at all, is
// refused and left as it is. Damage the storage engine meets later, while reading or writing,
// abandons the command under way: the catalogue is dropped without another write and the
// window carries on without it.
#pragma once

#include <functional>
#include <string>

#include "storage/storage_fault.h"
#include "storage/storage_options.h"

namespace quillery {

// Thrown out of the storage engine, in place of its fatal report, while damage is caught.
struct CatalogueDamaged {
    storage::StorageFault fault;
};

// While it lives, storage faults throw CatalogueDamaged.
class CatalogueDamageCaught {
  public:
    CatalogueDamageCaught();

  private:
    storage::ScopedStorageOptions faultsThrow_;
};

// Whether the closed catalogue QUILLERYFILE may be opened for writing: false, after telling the
// person why, when its pages or records are damaged or the file is no catalogue. What the check
// cannot find out (a file another program holds, say) is left to the open to report.
bool catalogueFitToOpen();

// Tells the person that the catalogue `name` is damaged (`what`), what became of it (`outcome`),
// and how to list its faults.
void reportDamage(const std::string& name, const std::string& what, const std::string& outcome);

}  // namespace quillery
