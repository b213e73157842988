// The fatal report shown as a message box.
#include "runtime/window/runtime_error_box.h"

#include <cstdio>

#include "runtime/window/message_box.h"

namespace quillery {

void showRuntimeErrorBox(const std::string& text) {
    if (MESSAGE(text, kRuntimeErrorCaption, ICON::Stop, BUTTON::OK) != 0) return;
    std::fprintf(stderr, "%s: %s\n", std::string(kRuntimeErrorCaption).c_str(), text.c_str());
    std::fflush(stderr);
}

}  // namespace quillery
