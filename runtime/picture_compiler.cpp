// Picture compilation: the letter picks the kind, the kind's compiler reads the rest.
#include "runtime/picture_compiler.h"

#include "runtime/case_compare.h"
#include "runtime/date_picture.h"
#include "runtime/number_picture.h"
#include "runtime/pattern_picture.h"
#include "runtime/time_picture.h"

namespace quillery {
namespace {

// The picture proper: pictures kept in fixed-length fields come padded with blanks, which no
// picture ends with (pattern and key-in pictures end with their closing letter).
std::string_view withoutAt(std::string_view text) {
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '@') text.remove_prefix(1);
    return text;
}

// The picture number after the letter and an optional fill character.
int pictureNumber(std::string_view body) {
    std::size_t i = 0;
    if (i < body.size() && (body[i] == '_' || body[i] == '*')) ++i;
    if (i + 1 < body.size() && body[i] == '0' && body[i + 1] >= '0' && body[i + 1] <= '9') ++i;
    int number = 0;
    for (std::size_t k = 0; i < body.size() && k < 2 && body[i] >= '0' && body[i] <= '9';
         ++k, ++i) {
        number = number * 10 + (body[i] - '0');
    }
    return number;
}

}  // namespace

bool compilePicture(std::string_view text, CompiledPicture& picture) {
    text = withoutAt(text);
    if (text.empty()) return false;
    picture = CompiledPicture{};
    const std::string_view body = text.substr(1);
    switch (asciiUpper(text.front())) {
        case 'N':
            return compileNumberPicture(body, picture);
        case 'E':
            return compileScientificPicture(body, picture);
        case 'D':
            return compileDatePicture(body, picture);
        case 'T':
            return compileTimePicture(body, picture);
        case 'P':
            return compilePatternPicture(body, picture);
        case 'K':
            return compileKeyInPicture(body, picture);
        case 'S':
            return compileStringPicture(body, picture);
        default:
            return false;
    }
}

bool pictureUsesLocaleFormats(std::string_view text) {
    text = withoutAt(text);
    if (text.empty()) return false;
    const char letter = asciiUpper(text.front());
    const int number = pictureNumber(text.substr(1));
    return (letter == 'D' && number >= 17) || (letter == 'T' && number >= 7);
}

}  // namespace quillery
