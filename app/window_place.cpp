#include "app/window_place.h"

#include <algorithm>

namespace pnl {

namespace {

bool liesOn(const WindowPlace& place, const ScreenArea& screen) {
    return place.x - place.frameLeft >= screen.x && place.y - place.frameTop >= screen.y &&
           place.x + place.width + place.frameRight <= screen.x + screen.width &&
           place.y + place.height + place.frameBottom <= screen.y + screen.height;
}

// The inner size `width` x `height`, cut to the screen, its frame centred on it.
WindowPlace centred(WindowPlace place, int width, int height, const ScreenArea& screen) {
    const int frameWidth = place.frameLeft + place.frameRight;
    const int frameHeight = place.frameTop + place.frameBottom;
    place.width = std::max(1, std::min(width, screen.width - frameWidth));
    place.height = std::max(1, std::min(height, screen.height - frameHeight));
    place.x = screen.x + (screen.width - place.width - frameWidth) / 2 + place.frameLeft;
    place.y = screen.y + (screen.height - place.height - frameHeight) / 2 + place.frameTop;
    return place;
}

}  // namespace

WindowPlace placeMainWindow(const std::optional<WindowPlace>& remembered,
                            const std::vector<ScreenArea>& screens, const WindowPlace& frameGuess,
                            int firstWidth, int firstHeight) {
    WindowPlace first = frameGuess;
    first.width = firstWidth;
    first.height = firstHeight;
    first.maximized = remembered && remembered->maximized;
    if (screens.empty())
        return remembered.value_or(first);
    const ScreenArea& primary = screens.front();
    if (remembered) {
        for (const ScreenArea& screen : screens)
            if (liesOn(*remembered, screen))
                return *remembered;
        if (remembered->width + remembered->frameLeft + remembered->frameRight <= primary.width &&
            remembered->height + remembered->frameTop + remembered->frameBottom <= primary.height)
            return centred(*remembered, remembered->width, remembered->height, primary);
        first.frameLeft = remembered->frameLeft;
        first.frameTop = remembered->frameTop;
        first.frameRight = remembered->frameRight;
        first.frameBottom = remembered->frameBottom;
    }
    return centred(first, firstWidth, firstHeight, primary);
}

}  // namespace pnl
