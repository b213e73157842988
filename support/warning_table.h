// The table of standard warnings: for each warning number its caption, icon, buttons, default
// button, text and what the warning's result is.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quillery {

enum class WarningIcon { Warning, Question };

// What a warning returns, or whether the program ends after it.
enum class WarningResult {
    Button,   // the button pressed
    Zero,     // 0 whatever was pressed
    End,      // the program ends with the row's end text
    EndOnNo,  // Yes returns 2; any other answer ends the program with the row's end text
};

// Which of a warning's rows applies. A warning with two wordings has two rows: the first with
// its condition, the second with Always.
enum class WarningCondition {
    Always,
    ErrorIsNoneOrChanged,  // CURRENTERRORCODE is 0 or 89
    Text1IsDown,           // WARNINGTEXT1 begins with "Down", case as written
    Text1IsPut,            // WARNINGTEXT1 begins with "Put", case as written
};

// Texts are templates: {E} stands for ERRORTEXT, {T1} and {T2} for the two inserts, {t1} for
// the first insert in lower case; all of them without trailing blanks.
struct WarningRow {
    std::int32_t id;
    WarningCondition condition;
    std::string_view caption;
    WarningIcon icon;
    int buttons;
    int defaultButton;
    std::string_view text;
    WarningResult result;
    std::string_view endText;  // the last box's text, for End and EndOnNo
};

// Every row, in warning number order.
std::span<const WarningRow> warningRows();

}  // namespace quillery
