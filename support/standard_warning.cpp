// Building, showing and answering the standard warnings.
#include "support/standard_warning.h"

#include <cstdio>
#include <string>

#include "runtime/char_tables.h"
#include "runtime/errors.h"
#include "runtime/fatal.h"
#include "support/error_memory.h"

namespace quillery {
namespace {

std::string_view clipped(std::string_view text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

std::string described(std::string_view text, std::string_view code) {
    return std::string(clipped(text)) + " (" + std::string(clipped(code)) + ")";
}

std::string lowerCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(toLowerChar(static_cast<unsigned char>(c)));
    return out;
}

// `word` begins `text`, compared over the length of the word with exact case.
bool beginsWith(std::string_view text, std::string_view word) {
    return text.substr(0, word.size()) == word;
}

bool conditionHolds(WarningCondition condition, const StandardWarningState& state) {
    switch (condition) {
        case WarningCondition::Always:
            return true;
        case WarningCondition::ErrorIsNoneOrChanged:
            return state.CURRENTERRORCODE == ErrorCode::kNone ||
                   state.CURRENTERRORCODE == ErrorCode::kRecordChangedByAnotherStation;
        case WarningCondition::Text1IsDown:
            return beginsWith(state.WARNINGTEXT1, "Down");
        case WarningCondition::Text1IsPut:
            return beginsWith(state.WARNINGTEXT1, "Put");
    }
    return false;
}

const WarningRow* findRow(const StandardWarningState& state) {
    for (const WarningRow& row : warningRows()) {
        if (row.id == state.WARNINGID && conditionHolds(row.condition, state)) return &row;
    }
    return nullptr;
}

// The template with its placeholders filled in, in one pass so that an insert that happens to
// contain a placeholder is shown as it stands.
std::string fillIn(std::string_view pattern, const StandardWarningState& state) {
    const std::string_view inserts[][2] = {
        {"{E}", clipped(state.ERRORTEXT.view())},
        {"{T1}", clipped(state.WARNINGTEXT1)},
        {"{T2}", clipped(state.WARNINGTEXT2)},
    };
    const std::string lowerText1 = lowerCase(clipped(state.WARNINGTEXT1));
    std::string out;
    std::size_t i = 0;
    while (i < pattern.size()) {
        bool replaced = false;
        if (pattern[i] == '{') {
            if (pattern.substr(i).starts_with("{t1}")) {
                out += lowerText1;
                i += 4;
                replaced = true;
            }
            for (const auto& [name, value] : inserts) {
                if (!replaced && pattern.substr(i).starts_with(name)) {
                    out += value;
                    i += name.size();
                    replaced = true;
                }
            }
        }
        if (!replaced) out += pattern[i++];
    }
    return out;
}

MessageIcon boxIcon(WarningIcon icon) {
    return icon == WarningIcon::Question ? ICON::Question : ICON::Exclamation;
}

// A box that could not be shown still leaves its text where someone may read it.
int show(std::string_view text, std::string_view caption, const MessageIcon& icon, int buttons,
         int defaultButton) {
    const int answer = MESSAGE(text, caption, icon, buttons, defaultButton);
    if (answer == 0) {
        std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                     static_cast<int>(text.size()), text.data());
        std::fflush(stderr);
    }
    return answer;
}

}  // namespace

void buildErrorText(StandardWarningState& state) {
    if (SAVEERRORCODE != 0) {
        state.ERRORTEXT = SAVEERRORCODE == ErrorCode::kDriverError
                              ? described(SAVEFILEERROR.view(), std::to_string(SAVEFILEERRORCODE))
                              : described(SAVEERROR.view(), std::to_string(SAVEERRORCODE));
        state.CURRENTERRORCODE = SAVEERRORCODE;
    } else {
        state.ERRORTEXT = errorCode() == ErrorCode::kDriverError
                              ? described(driverErrorText(), driverErrorCodeText())
                              : described(errorText(), std::to_string(errorCode()));
        state.CURRENTERRORCODE = errorCode();
    }
    clearErrorMemory();
}

std::optional<WarningBox> warningBox(const StandardWarningState& state) {
    const WarningRow* row = findRow(state);
    if (row == nullptr) return std::nullopt;
    return WarningBox{std::string(row->caption), boxIcon(row->icon),       row->buttons,
                      row->defaultButton,        fillIn(row->text, state), row->result,
                      std::string(row->endText)};
}

void endWithMessage(std::string_view text, std::string_view caption) {
    show(text, caption, ICON::Stop, BUTTON::OK, BUTTON::OK);
    endProgram(kWarningExitCode);
}

std::int32_t STANDARDWARNING(std::int32_t WARNINGID, std::string_view WARNINGTEXT1,
                             std::string_view WARNINGTEXT2) {
    StandardWarningState state;
    state.WARNINGID = WARNINGID;
    state.WARNINGTEXT1 = std::string(WARNINGTEXT1);
    state.WARNINGTEXT2 = std::string(WARNINGTEXT2);
    buildErrorText(state);

    const std::optional<WarningBox> box = warningBox(state);
    if (!box) return 0;
    state.RETURNVALUE = show(box->text, box->caption, box->icon, box->buttons, box->defaultButton);
    switch (box->result) {
        case WarningResult::Button:
            break;
        case WarningResult::Zero:
            state.RETURNVALUE = 0;
            break;
        case WarningResult::End:
            endWithMessage(box->endText, box->caption);
        case WarningResult::EndOnNo:
            // Only a plain Yes lets the caller go on; a closed box is not consent.
            if (state.RETURNVALUE != BUTTON::Yes) endWithMessage(box->endText, box->caption);
            break;
    }
    return state.RETURNVALUE;
}

}  // namespace quillery
