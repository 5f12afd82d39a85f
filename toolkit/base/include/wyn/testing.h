// What tests and benchmarks need of the native layer without seeing it: a window's pixels, a
// frame's icon and state, a key press as the window system delivers it, and an application made
// without running its loop. Only the in-process test library (wynbase_testing) provides it.
#pragma once

#include <cstdint>
#include <vector>
#include <wyn/app.h>
#include <wyn/win.h>

// The frame of a window, below, is the native top-level window that holds the window's own
// native window; a window without a native window has none here.
namespace wyn::testing {

// A picture as 32-bit pixels 0xAARRGGBB, row after row from the top left.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    // True for a picture without pixels (what the calls below return when there is nothing).
    bool empty() const { return pixels.empty(); }
    // The pixel at (x, y); 0 outside the picture.
    uint32_t at(int x, int y) const;
    // The part of the picture inside rct (clipped to the picture; empty when they do not meet).
    Image part(const RCT& rct) const;
    bool operator==(const Image&) const = default;
};

// The image win's drawing goes into, in device pixels: on a screen of pixel ratio r it holds r x r
// pixels for each logical one (it may be larger than the window, never smaller); empty when win
// is not a live drawable window.
Image window_image(WINDOW win);

// The icon the native frame holding win shows, size x size pixels (the application's icon when
// the frame has none of its own); empty when win has no frame.
Image frame_icon(WINDOW win, int size);

// Icon resource name (case ignored) scaled to size x size pixels, as a frame would show it; empty
// when there is no such icon.
Image resource_icon(const char* name, int size);

// Writes image to path as a PNG file; false when it could not be written.
bool save_png(const Image& image, const char* path);

// The native frame holding win: shown on the screen (minimised counts as shown), maximised.
// False when win has no frame.
bool frame_visible(WINDOW win);
bool frame_maximised(WINDOW win);

// How a native frame is shown.
enum class FrameState { normal, minimised, maximised };

// Shows the native frame holding win in state as the user does from its title bar; false when
// win has no frame.
bool show_frame(WINDOW win, FrameState state);

// Delivers a press and release of the key of printable ASCII character ch to win's drawable
// area, as the window system does for the focused window; false when win has none.
bool press_key(WINDOW win, char ch);

// How a control's text fits it, in pixels: the room the text needs in the font the control shows
// it in (with a check box's or radio's mark, a button's margins; a static text that wraps its
// words, the lines it wraps to), and the room the control has.
struct TextFit {
    int needed_width = 0;
    int needed_height = 0;
    int width = 0;
    int height = 0;
    bool fits() const { return needed_width <= width && needed_height <= height; }
};

// The fit of ctl's text; all zero when ctl is not a live static text, check box, radio, push
// button or group box.
TextFit text_fit(WINDOW ctl);

// The ids of the resources of type (1 dialogs, 5 windows, ...) in the program's resource
// database, ascending; empty when there is no database.
std::vector<int32_t> resource_ids(uint16_t type);

// Makes the screen and task windows as wynwi_wyn_system does, without running the loop; false
// when the task window could not be made. The toolkit must be begun and initialised.
bool start_application(uint32_t flags, EVENT_HANDLER task_handler, WYN_APP_CONFIG* config);

// A top-level plain window object without a native window (for measuring dispatch alone); the
// toolkit must be begun.
WINDOW window_object(EVENT_HANDLER handler);

} // namespace wyn::testing
