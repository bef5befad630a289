#pragma once

#include "platform/environment.h"

namespace tarn {

/// Whether Qt must be told to run without a display: on X11/Wayland systems
/// when neither DISPLAY nor WAYLAND_DISPLAY is set and QT_QPA_PLATFORM does
/// not choose a platform already.
bool headlessPlatformNeeded(const Environment& env);

/// Sets QT_QPA_PLATFORM=offscreen when headlessPlatformNeeded(); call before
/// the QApplication is made, so command-line use works without a display.
void selectHeadlessPlatformIfNeeded();

/// Whether windows can be shown and answered: a QApplication exists and its
/// platform is not offscreen or minimal.
bool hasInteractiveScreen();

}  // namespace tarn
