#include "app/window/damage_guard.h"

#include <string>

#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "app/window/catalogue_damage.h"
#include "app/window/open_quillery.h"
#include "app/window/undo.h"
#include "storage/file_statements.h"

namespace quillery {

bool reportingDamage(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const CatalogueDamaged& damage) {
        const std::string name(QUILLERYFILE.clipped());
        closeWithoutWriting(QUILLERY);
        closeWithoutWriting(QUILLERYCOPY);
        forgetUndo();
        reportDamage(name, storage::faultSummary(damage.fault),
                     "The catalogue was closed; the last change may not have been written, "
                     "and nothing more will be.");
        showNoCatalogue();
        return false;
    }
}

}  // namespace quillery
