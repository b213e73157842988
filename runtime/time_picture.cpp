// Time pictures. Each numbered picture is built from a template in which an upper-case letter
// is a digit with no leading zero (fill ' ') and a lower-case letter a digit with a leading zero
// (fill '0'); the system's own time format is translated into the same positions.
#include "runtime/time_picture.h"

#include <array>

#include "runtime/date_time_picture.h"
#include "runtime/dates.h"
#include "runtime/locale_settings.h"

namespace quillery {
namespace {

using namespace date_time_picture;

// Time templates: H/h hour, m minute, s second, X AM/PM letter, ':' separator.
constexpr std::array<std::string_view, 6> kTimeTemplates = {
    "Hh:mm", "Hhmm", "Hh:mmXM", "Hh:mm:ss", "Hhmmss", "Hh:mm:ssXM",
};

constexpr std::int32_t kLastTimeOfDay = 8640000;

PicturePosition timePosition(char letter) {
    switch (letter) {
        case 'H':
            return {' ', PositionCode::Hour};
        case 'h':
            return {'0', PositionCode::Hour};
        case 'm':
            return {'0', PositionCode::Minute};
        case 's':
            return {'0', PositionCode::Second};
        case 'X':
            return {' ', PositionCode::AmPm};
        case ':':
            return {':', PositionCode::Separator};
        default:
            return {letter, PositionCode::Literal};
    }
}

void addLocaleTime(std::vector<PicturePosition>& positions, bool withSeconds) {
    const LocaleSettings& locale = localeSettings();
    addTemplate(positions, locale.timeLeadingZero ? "hh" : "Hh", timePosition);
    for (char c : locale.timeSeparator)
        positions.push_back({c, PositionCode::Separator});
    addTemplate(positions, "mm", timePosition);
    if (withSeconds) {
        for (char c : locale.timeSeparator)
            positions.push_back({c, PositionCode::Separator});
        addTemplate(positions, "ss", timePosition);
    }
    if (locale.timeFormat24 == 0) addTemplate(positions, " XM", timePosition);
}

}  // namespace

bool compileTimePicture(std::string_view body, CompiledPicture& picture) {
    picture.kind = PictureKind::Time;
    std::size_t i = 0;
    char fill = 0;
    int number = 0;
    if (!readFillAndNumber(body, i, fill, number) || number < 1 || number > 8) return false;
    const char separator = readSeparatorModifier(body, i);
    if (!readBlankFlagAndEnd(body, i, picture)) return false;

    if (number <= 6) {
        addTemplate(picture.positions, kTimeTemplates[number - 1], timePosition);
    } else {
        addLocaleTime(picture.positions, number == 8);
        picture.systemAmPm = true;
    }
    applyModifiers(picture, fill, separator);
    return picture.length >= 1 && picture.length <= kMaxPictureLength;
}

void formatTime(std::string& out, std::int64_t time, const CompiledPicture& picture) {
    out.clear();
    if (time < 1 || time > kLastTimeOfDay) {
        out.assign(static_cast<std::size_t>(picture.length), ' ');
        return;
    }
    const TimeFields fields = timeFields(static_cast<std::int32_t>(time));
    bool twelveHour = false;
    for (const PicturePosition& p : picture.positions)
        twelveHour |= p.code == PositionCode::AmPm;
    int hour = fields.hours;
    if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
    const bool pm = fields.hours >= 12;

    const std::vector<PicturePosition>& positions = picture.positions;
    for (std::size_t i = 0; i < positions.size();) {
        const PicturePosition& p = positions[i];
        const std::size_t run = runLength(positions, i);
        switch (p.code) {
            case PositionCode::Hour:
                appendDigits(out, hour, &p, run);
                break;
            case PositionCode::Minute:
                appendDigits(out, fields.minutes, &p, run);
                break;
            case PositionCode::Second:
                appendDigits(out, fields.seconds, &p, run);
                break;
            case PositionCode::AmPm: {
                const LocaleSettings& locale = localeSettings();
                const std::string& text = picture.systemAmPm
                                              ? (pm ? locale.systemPm : locale.systemAm)
                                              : (pm ? locale.pm : locale.am);
                out.append(run, text.empty() ? ' ' : text[0]);
                break;
            }
            default:
                out.append(run, p.fill);
                break;
        }
        i += run;
    }
    out.resize(static_cast<std::size_t>(picture.length), ' ');
}

std::int32_t deformatTime(std::string_view text, const CompiledPicture& picture) {
    int hour = 0, minute = 0, second = 0;
    bool anyDigit = false, am = false, pm = false;
    TextReader reader(text);
    const LocaleSettings& locale = localeSettings();
    const std::string& amText = picture.systemAmPm ? locale.systemAm : locale.am;
    const std::string& pmText = picture.systemAmPm ? locale.systemPm : locale.pm;
    const std::vector<PicturePosition>& positions = picture.positions;
    for (std::size_t i = 0; i < positions.size();) {
        const PicturePosition& p = positions[i];
        const std::size_t run = runLength(positions, i);
        switch (p.code) {
            case PositionCode::Hour:
            case PositionCode::Minute:
            case PositionCode::Second: {
                int value = 0;
                const int count =
                    reader.readPart(static_cast<int>(run), static_cast<int>(run), value);
                anyDigit |= count > 0;
                int& part = p.code == PositionCode::Hour     ? hour
                            : p.code == PositionCode::Minute ? minute
                                                             : second;
                if (count > 0) part = value;
                break;
            }
            case PositionCode::AmPm:
                reader.skipSeparators();
                if (!pmText.empty() && reader.consumeIf(acceptLiteral, pmText[0])) {
                    pm = true;
                } else if (!amText.empty() && reader.consumeIf(acceptLiteral, amText[0])) {
                    am = true;
                }
                break;
            case PositionCode::Separator:
                reader.consumeIf(acceptSeparator, p.fill);
                break;
            default:
                reader.consumeIf(acceptLiteral, p.fill);
                break;
        }
        i += run;
    }
    if (!anyDigit) return 0;
    if (hour >= 24 || minute >= 60 || second >= 60) return -1;
    if (pm && hour != 12) hour += 12;
    if (am && hour == 12) hour = 0;
    if (hour >= 24) return -1;
    return timeOfDay(hour, minute, second, 0);
}

}  // namespace quillery
