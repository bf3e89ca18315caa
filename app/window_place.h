#pragma once
// Where the main window opens: where the user left it when that still fits a screen (a monitor may have
// gone, the resolution may have dropped), otherwise at its first size, centred on the primary screen.

#include <optional>
#include <vector>

#include "platform/user_settings.h"

namespace pnl {

// The part of a screen a window may take (without task bars), in desktop pixels.
struct ScreenArea {
    int x = 0, y = 0, width = 0, height = 0;
};

// The first inner size: the resident overview's columns without scrolling (with three stations), at most
// what the primary screen offers.
inline constexpr int kFirstWidth = 1180;
inline constexpr int kFirstHeight = 800;

// `screens` holds the primary screen first. The remembered place is taken when it lies, frame included, on
// one screen; otherwise its size when that fits the primary screen, else the first size, centred there. A
// maximized window stays maximized. Before a window was ever placed its frame is not known: `frameGuess`
// stands for it. Without screens the remembered place, or the first size.
WindowPlace placeMainWindow(const std::optional<WindowPlace>& remembered,
                            const std::vector<ScreenArea>& screens, const WindowPlace& frameGuess,
                            int firstWidth = kFirstWidth, int firstHeight = kFirstHeight);

}  // namespace pnl
