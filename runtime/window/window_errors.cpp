// Runtime errors of the window engine.
#include "runtime/window/window_errors.h"

#include "runtime/errors.h"
#include "runtime/fatal.h"

namespace quillery {

void fatalWindowError(int code) {
    // The report shows the error's own text; there is nothing to add to it.
    postError(code);
    fatalError(errorTextOf(code));
}

}  // namespace quillery
