#pragma once
// What a user does with the window manager, as shell commands for xdotool: they wait for the window of that
// title to appear, so a test starts them before it opens the window (which then blocks until answered).

#include <string>

namespace pnl::test {

// Reads the frame openbox put round the window (waiting until it has one: on a busy machine it may come late)
// and clicks the frame's right-most title button, the close box.
inline std::string clickCloseBox(const std::string& titlePattern) {
    return "win=$(xdotool search --sync --onlyvisible --name '" + titlePattern + R"sh(' | head -1)
sleep 0.5
for _ in $(seq 100); do
  extents=$(xprop -id "$win" _NET_FRAME_EXTENTS)
  case "$extents" in *=*) break ;; esac
  sleep 0.1
done
set -- $(echo "$extents" | sed 's/.*= //; s/,/ /g')
right=$2 top=$3
x=$(xwininfo -id "$win" | sed -n 's/.*Absolute upper-left X: *//p')
y=$(xwininfo -id "$win" | sed -n 's/.*Absolute upper-left Y: *//p')
width=$(xwininfo -id "$win" | sed -n 's/.*Width: *//p')
xdotool mousemove $((x + width + right - top / 3 - 1)) $((y - top / 2)) click 1
)sh";
}

// Activates the window and presses the keys in it ("Return", "alt+n").
inline std::string pressKeys(const std::string& titlePattern, const std::string& keys) {
    return "win=$(xdotool search --sync --onlyvisible --name '" + titlePattern + R"sh(' | head -1)
sleep 0.5
xdotool windowactivate --sync "$win" key --window "$win" )sh" +
           keys + "\n";
}

}  // namespace pnl::test
