// Font mapping and dialog-unit arithmetic.
#include "runtime/window/window_font.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <array>
#include <cmath>
#include <map>
#include <string>

#include "runtime/case_compare.h"
#include "runtime/window/screen_text.h"

namespace quillery {
namespace {

struct FamilyChoice {
    std::string_view requested;
    std::array<const char*, 3> candidates;
};

// Sans serif faces map to the metric-compatible Liberation Sans; the rest to the closest look.
constexpr std::array kFamilyChoices = {
    FamilyChoice{"MS Sans Serif", {"Liberation Sans", "DejaVu Sans", "Sans Serif"}},
    FamilyChoice{"Arial", {"Liberation Sans", "DejaVu Sans", "Sans Serif"}},
    FamilyChoice{"Helvetica", {"Liberation Sans", "DejaVu Sans", "Sans Serif"}},
    FamilyChoice{"Times New Roman", {"Liberation Serif", "DejaVu Serif", "Serif"}},
    FamilyChoice{"Courier New", {"Liberation Mono", "DejaVu Sans Mono", "Monospace"}},
    FamilyChoice{"Impact", {"DejaVu Sans Condensed", "Liberation Sans Narrow", "DejaVu Sans"}},
};

bool installed(const QString& family) {
    return QFontDatabase::hasFamily(family);
}

// Asking the font database whether a family is installed resolves its aliases through the
// system's font configuration every time, which reports drawing thousands of texts would feel:
// the answer for each requested family is kept for the program's life.
QString lookUpNearestFamily(std::string_view family) {
    for (const auto& choice : kFamilyChoices) {
        if (!equalsIgnoringCase(choice.requested, family)) continue;
        for (const char* candidate : choice.candidates) {
            if (installed(candidate)) return candidate;
        }
    }
    const QString asked = toScreen(family);
    if (!asked.isEmpty() && installed(asked)) return asked;
    return installed("Liberation Sans") ? QString("Liberation Sans") : QString();
}

}  // namespace

QString nearestFamily(std::string_view family) {
    static std::map<std::string, QString, std::less<>> known;
    if (const auto it = known.find(family); it != known.end()) return it->second;
    QString nearest = lookUpNearestFamily(family);
    known.emplace(std::string(family), nearest);
    return nearest;
}

void useLayoutFamilyEverywhere() {
    const QString family = nearestFamily("MS Sans Serif");
    if (family.isEmpty()) return;
    QFont font = QApplication::font();
    font.setFamily(family);
    QApplication::setFont(font);
}

QFont fontOf(const FontChoice& font, const QFont& base) {
    QFont chosen = base;
    if (!font.family.empty()) {
        const QString family = nearestFamily(font.family);
        if (!family.isEmpty()) chosen.setFamily(family);
        // Impact is a heavy face; its stand-in gets the weight.
        if (equalsIgnoringCase(font.family, "Impact")) chosen.setBold(true);
    }
    if (font.points > 0) chosen.setPointSize(font.points);
    if (font.style & FontStyle::kBold) chosen.setBold(true);
    if (font.style & FontStyle::kItalic) chosen.setItalic(true);
    if (font.style & FontStyle::kUnderline) chosen.setUnderline(true);
    return chosen;
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabet =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    baseWidth_ = std::max(1, (alphabet / 26 + 1) / 2);
    baseHeight_ = std::max(1, metrics.height());
}

int DialogUnits::toPixelsX(int du) const {
    return static_cast<int>(std::lround(du * baseWidth_ / 4.0));
}
int DialogUnits::toPixelsY(int du) const {
    return static_cast<int>(std::lround(du * baseHeight_ / 8.0));
}
int DialogUnits::toUnitsX(int px) const {
    return static_cast<int>(std::lround(px * 4.0 / baseWidth_));
}
int DialogUnits::toUnitsY(int px) const {
    return static_cast<int>(std::lround(px * 8.0 / baseHeight_));
}
QRect DialogUnits::toPixels(const Rect& r) const {
    return {toPixelsX(r.x), toPixelsY(r.y), toPixelsX(r.width), toPixelsY(r.height)};
}

}  // namespace quillery
