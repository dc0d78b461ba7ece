#pragma once

namespace ZEL {

// FullScreen: a fixed 800 x 600 frame scaled onto the whole desktop (ZelPlayer).
// Window: a resizable window whose render target follows its client size (ZelPlayerHwnd).
enum class PlayerKind { FullScreen, Window };

}  // namespace ZEL
