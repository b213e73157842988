// FORMAT and DEFORMAT: converting the value to what the picture's kind shows and handing it to
// that kind's formatter.
#include "runtime/picture.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "runtime/date_picture.h"
#include "runtime/number_picture.h"
#include "runtime/pattern_picture.h"
#include "runtime/time_picture.h"

namespace quillery {
namespace {

// A day number or time from a double: its integer part, or a value no picture accepts.
std::int64_t wholeNumberOf(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 1e15)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int64_t>(value);
}

}  // namespace

double textToNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    text.remove_prefix(i);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) return 0;
    return negative ? -value : value;
}

void formatInto(std::string& out, double value, const CompiledPicture& picture) {
    switch (picture.kind) {
        case PictureKind::Number:
            formatNumber(out, DecimalText(value), picture);
            return;
        case PictureKind::Scientific:
            formatScientific(out, value, picture);
            return;
        case PictureKind::Date:
            formatDate(out, wholeNumberOf(value), picture);
            return;
        case PictureKind::Time:
            formatTime(out, wholeNumberOf(value), picture);
            return;
        case PictureKind::Pattern:
            formatPattern(out, DecimalText(value), picture);
            return;
        case PictureKind::String:
        case PictureKind::KeyIn: {
            char text[400];
            const auto result =
                std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
            formatText(out,
                       std::string_view(text, result.ec == std::errc() ? result.ptr - text : 0),
                       picture);
            return;
        }
    }
}

void formatInto(std::string& out, std::int64_t value, const CompiledPicture& picture) {
    switch (picture.kind) {
        case PictureKind::Number:
            formatNumber(out, DecimalText(value), picture);
            return;
        case PictureKind::Scientific:
            formatScientific(out, static_cast<double>(value), picture);
            return;
        case PictureKind::Date:
            formatDate(out, value, picture);
            return;
        case PictureKind::Time:
            formatTime(out, value, picture);
            return;
        case PictureKind::Pattern:
            formatPattern(out, DecimalText(value), picture);
            return;
        case PictureKind::String:
        case PictureKind::KeyIn: {
            char text[32];
            const auto result = std::to_chars(text, text + sizeof text, value);
            formatText(out, std::string_view(text, result.ptr - text), picture);
            return;
        }
    }
}

void formatInto(std::string& out, std::string_view text, const CompiledPicture& picture) {
    if (picture.kind == PictureKind::String || picture.kind == PictureKind::KeyIn) {
        formatText(out, text, picture);
    } else {
        formatInto(out, textToNumber(text), picture);
    }
}

void deformatInto(std::string& out, std::string_view text, const CompiledPicture& picture) {
    out.clear();
    switch (picture.kind) {
        case PictureKind::Number:
        case PictureKind::Scientific:
            deformatNumberText(out, text, picture);
            return;
        case PictureKind::Date: {
            char digits[16];
            const auto result =
                std::to_chars(digits, digits + sizeof digits, deformatDate(text, picture));
            out.assign(digits, result.ptr);
            return;
        }
        case PictureKind::Time: {
            char digits[16];
            const auto result =
                std::to_chars(digits, digits + sizeof digits, deformatTime(text, picture));
            out.assign(digits, result.ptr);
            return;
        }
        case PictureKind::Pattern:
            deformatPattern(out, text, picture);
            return;
        case PictureKind::KeyIn:
            deformatKeyIn(out, text, picture);
            return;
        case PictureKind::String:
            out.assign(text);
            return;
    }
}

double deformatNumber(std::string_view text, const CompiledPicture& picture) {
    switch (picture.kind) {
        case PictureKind::Date:
            return deformatDate(text, picture);
        case PictureKind::Time:
            return deformatTime(text, picture);
        default: {
            std::string value;
            deformatInto(value, text, picture);
            return textToNumber(value);
        }
    }
}

std::string FORMAT(double value, std::string_view picture) {
    std::string out;
    if (const CompiledPicture* compiled = findPicture(picture)) formatInto(out, value, *compiled);
    return out;
}

std::string FORMAT(std::int64_t value, std::string_view picture) {
    std::string out;
    if (const CompiledPicture* compiled = findPicture(picture)) formatInto(out, value, *compiled);
    return out;
}

std::string FORMAT(int value, std::string_view picture) {
    return FORMAT(static_cast<std::int64_t>(value), picture);
}

std::string FORMAT(std::string_view text, std::string_view picture) {
    std::string out;
    if (const CompiledPicture* compiled = findPicture(picture)) formatInto(out, text, *compiled);
    return out;
}

std::string DEFORMAT(std::string_view text, std::string_view picture) {
    std::string out;
    if (const CompiledPicture* compiled = findPicture(picture)) deformatInto(out, text, *compiled);
    return out;
}

double deformatNumber(std::string_view text, std::string_view picture) {
    const CompiledPicture* compiled = findPicture(picture);
    return compiled ? deformatNumber(text, *compiled) : 0;
}

}  // namespace quillery
