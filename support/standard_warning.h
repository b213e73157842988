// `STANDARDWARNING`: every error and confirmation message about files and records, by number,
// in fixed wording; some of them end the program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/fixed_string.h"
#include "runtime/window/message_box.h"
#include "support/warning_table.h"

namespace quillery {

// The procedure's arguments and locals during one call.
struct StandardWarningState {
    std::int32_t WARNINGID = 0;
    std::string WARNINGTEXT1;
    std::string WARNINGTEXT2;
    FixedString<150> ERRORTEXT;
    std::int32_t CURRENTERRORCODE = 0;
    std::int32_t RETURNVALUE = 0;
};

// Shows warning `WARNINGID` with its inserts and returns `RETURNVALUE`: the button pressed, or
// 0 for the warnings that always answer 0 and for a number that is not a warning (which shows
// nothing). The warnings that end the program do not return (endWithMessage).
std::int32_t STANDARDWARNING(std::int32_t WARNINGID, std::string_view WARNINGTEXT1 = {},
                             std::string_view WARNINGTEXT2 = {});

// Sets ERRORTEXT and CURRENTERRORCODE from the error memory when it holds an error, else from
// the current error, then empties the memory. Every call of STANDARDWARNING starts with it.
void buildErrorText(StandardWarningState& state);

// The box one warning shows, worked out from the state.
struct WarningBox {
    std::string caption;
    MessageIcon icon;
    int buttons = 0;
    int defaultButton = 0;
    std::string text;
    WarningResult result = WarningResult::Button;
    std::string endText;
};

// The box for the state's WARNINGID and inserts; nothing for a number that is not a warning.
std::optional<WarningBox> warningBox(const StandardWarningState& state);

// The end of the program after a fatal warning: a box with `text`, an OK button and the stop
// icon, then the program ends with exit code 0. Open files are left as they are.
[[noreturn]] void endWithMessage(std::string_view text, std::string_view caption = {});

// Exit code of a program ended by a warning.
inline constexpr int kWarningExitCode = 0;

}  // namespace quillery
