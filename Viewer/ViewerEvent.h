#pragma once
#include <cstdint>

namespace ZEL {

enum class ViewerKey { Other, Escape, Space, Right, Left, Period, Comma, Home, F1, F2 };

// What the window reports to the viewer. Positions are in the render target's pixels.
struct ViewerEvent {
    enum class Kind {
        Quit,     // the window was closed
        Key,      // a key went down
        Click,    // the left button was released over the document
        Pointer,  // the pointer moved over the document
        Resized,  // the target changed size: its pixels must be drawn again
    };
    Kind kind = Kind::Quit;
    ViewerKey key = ViewerKey::Other;
    bool shift = false;
    int32_t x = 0;
    int32_t y = 0;

    static ViewerEvent Quit() { return {}; }
    static ViewerEvent KeyDown(ViewerKey k, bool withShift = false) {
        return {Kind::Key, k, withShift};
    }
    static ViewerEvent ClickAt(int32_t px, int32_t py) {
        return {Kind::Click, ViewerKey::Other, false, px, py};
    }
    static ViewerEvent PointerAt(int32_t px, int32_t py) {
        return {Kind::Pointer, ViewerKey::Other, false, px, py};
    }
    static ViewerEvent Resize() { return {Kind::Resized}; }
};

}  // namespace ZEL
