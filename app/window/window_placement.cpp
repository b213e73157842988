// The main window's place on the screens, from the state file and back.
#include "app/window/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "runtime/window/window.h"

namespace quillery {
namespace {

// The share of the screen's width a window takes when nothing was kept.
constexpr int kDefaultShareNumerator = 2;
constexpr int kDefaultShareDenominator = 3;

// The screen showing most of `rect`; -1 when none shows any of it.
int screenShowing(const QRect& rect, const QList<QRect>& screens) {
    int best = -1;
    long long bestArea = 0;
    for (int i = 0; i < screens.size(); ++i) {
        const QRect shared = screens[i].intersected(rect);
        const long long area = static_cast<long long>(shared.width()) * shared.height();
        if (area > bestArea) {
            best = i;
            bestArea = area;
        }
    }
    return best;
}

// `size` no smaller than `minimum` and, where the screen allows, no larger than `area`.
QSize fitted(QSize size, QSize minimum, const QRect& area) {
    return size.boundedTo(area.size()).expandedTo(minimum);
}

// `rect` moved the least distance that puts it inside `area` (its top left stays on the area
// when it is the larger).
QRect movedInside(QRect rect, const QRect& area) {
    rect.moveLeft(std::max(area.left(), std::min(rect.left(), area.right() + 1 - rect.width())));
    rect.moveTop(std::max(area.top(), std::min(rect.top(), area.bottom() + 1 - rect.height())));
    return rect;
}

QList<QRect> availableScreens() {
    QList<QRect> areas;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        areas.append(primary->availableGeometry());
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen()) areas.append(screen->availableGeometry());
    }
    return areas;
}

}  // namespace

WindowState placeWindow(const std::optional<WindowState>& kept, const QList<QRect>& screens,
                        QSize minimum) {
    const QRect primary = screens.isEmpty() ? QRect(QPoint(0, 0), minimum) : screens.front();
    if (kept) {
        const int shown = screenShowing(kept->normal, screens);
        const QRect area = shown < 0 ? primary : screens[shown];
        QRect rect(kept->normal.topLeft(), fitted(kept->normal.size(), minimum, area));
        if (shown < 0) rect.moveCenter(area.center());
        return {movedInside(rect, area), kept->maximised};
    }
    const int width = primary.width() * kDefaultShareNumerator / kDefaultShareDenominator;
    const int height = minimum.width() > 0 ? width * minimum.height() / minimum.width() : 0;
    QRect rect(QPoint(0, 0), fitted(QSize(width, height), minimum, primary));
    rect.moveCenter(primary.center());
    return {movedInside(rect, primary), false};
}

void restoreWindowPlacement(Window& window) {
    QWidget* frame = window.widget();
    const WindowState place =
        placeWindow(readWindowState(windowStatePath()), availableScreens(), frame->minimumSize());
    frame->setGeometry(place.normal);
    if (place.maximised) frame->showMaximized();
}

void keepWindowPlacement(Window& window) {
    const QWidget* frame = window.widget();
    const bool maximised = frame->isMaximized();
    const QRect normal = maximised ? frame->normalGeometry() : frame->geometry();
    if (normal.isValid()) writeWindowState(windowStatePath(), {normal, maximised});
}

}  // namespace quillery
