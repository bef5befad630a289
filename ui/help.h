#pragma once

#include <string>

#include "desktop/help_location.h"
#include "ui/app_context.h"

class QWidget;

namespace tarn {

/// Opens the section of `context` (kHelpContents, kHelpSetup, ...) of the
/// help page (beside the program, or in share/tarnlist of an installed one)
/// in the desktop's browser. When the page is
/// missing or no browser starts, says so in a message box and answers false.
bool openHelp(AppContext& app, int context);

/// Help › Using help: the section on the help itself.
bool openUsingHelp(AppContext& app);

/// Marks a window or dialog (and what it owns) as showing `context`'s section on F1.
void setHelpContext(QWidget* widget, int context);
/// The context of the nearest marked widget from `widget` up; contents when none.
int helpContextOf(const QWidget* widget);

/// openHelp for the program at `programPath`; the page is looked up beside it
/// through app.fs.
bool openHelpBeside(AppContext& app, const std::string& programPath, int context);

}  // namespace tarn
