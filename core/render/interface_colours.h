#pragma once
// The colours every painted surface shares, kept in one place so that the
// overlay, the chrome, key caps and the painting kit can never drift apart.
// The Direct2D side turns them into its own colour type where it draws.

#include "core/base/rgb.h"

namespace glimmerly {

// The active item, selections, handles and the marquee.
inline constexpr Rgb kAccent{100, 170, 255};
// The settings window's and the setup's accent: lighter than the editor's,
// to stand out on their darker pages.
inline constexpr Rgb kSettingsAccent{96, 205, 255};
// A shortcut that could not be registered.
inline constexpr Rgb kWarningOrange{240, 160, 75};

}  // namespace glimmerly
