// Twin controls: a menu item and the tool button beside it, enabled and disabled together.
#pragma once

namespace quillery {

void enableNewAndDuplicate(bool enabled);
void enableSave(bool enabled);
void enableUndo(bool enabled);

}  // namespace quillery
