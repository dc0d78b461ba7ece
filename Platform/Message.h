#pragma once
#include <cstdint>

namespace ZEL {

// The window messages the host reacts to; everything else arrives as Other and goes to
// the OS layer's default processing.
enum class MessageKind { Other, Paint, Size, KeyDown, LeftButtonUp, Close, Destroy };

// How the window changed with a size message.
enum class SizeKind { Restored, Minimized, Maximized };

// Key code of Escape in key-down messages.
constexpr uint32_t kKeyEscape = 27;

struct Message {
    MessageKind kind = MessageKind::Other;
    uint32_t key = 0;  // KeyDown
    SizeKind sizeKind = SizeKind::Restored;
    uint32_t width = 0;  // Size: new client size in pixels
    uint32_t height = 0;

    static Message Paint() { return {MessageKind::Paint}; }
    static Message KeyDown(uint32_t code) { return {MessageKind::KeyDown, code}; }
    static Message LeftButtonUp() { return {MessageKind::LeftButtonUp}; }
    static Message Close() { return {MessageKind::Close}; }
    static Message Destroy() { return {MessageKind::Destroy}; }
    static Message Size(uint32_t w, uint32_t h, SizeKind how = SizeKind::Restored) {
        return {MessageKind::Size, 0, how, w, h};
    }
};

}  // namespace ZEL
