// Formatting and deformatting use variables by their type.
#include "runtime/window/use_format.h"

#include "runtime/picture.h"

namespace quillery {

std::string formatUse(const UseVariable& use, std::string_view picture) {
    if (!use.bound()) return {};
    if (picture.empty()) return use.text();
    if (use.isText()) return FORMAT(use.text(), picture);
    return FORMAT(use.number(), picture);
}

void deformatUse(const UseVariable& use, std::string_view text, std::string_view picture) {
    if (!use.bound()) return;
    if (picture.empty()) {
        use.setText(text);
    } else if (use.isText()) {
        use.setText(DEFORMAT(text, picture));
    } else {
        use.setNumber(deformatNumber(text, picture));
    }
}

int pictureLength(std::string_view picture) {
    if (picture.empty()) return 0;
    const CompiledPicture* compiled = findPicture(picture);
    return compiled ? compiled->length : 0;
}

}  // namespace quillery
