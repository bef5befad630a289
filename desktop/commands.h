#pragma once

#include <string>
#include <string_view>

namespace tarn {

/// Command ids of the main menu.
enum CommandId : int {
  kCmdOpen = 24332,
  kCmdOpenProject = 24333,
  kCmdPrint = 24337,
  kCmdPrintSetup = 24338,
  kCmdPrintPreview = 24340,
  kCmdExit = 24310,
  kCmdCascade = 24361,
  kCmdTile = 24362,
  kCmdArrangeIcons = 24364,
  kCmdCloseAll = 24365,
  kCmdNextWindow = 24366,
  kCmdPreviousWindow = 24367,
  kCmdCloseWindow = 24368,
  /// The Window menu's numbered list: the first window, then one up each.
  kCmdFirstWindow = 24400,
  kCmdSetupPrintout = 101,
  kCmdWindowFont = 102,
  kCmdListingExtras = 103,
  kCmdClearArchive = 104,
  kCmdPrintModeFull = 105,
  kCmdPrintModeRegions = 106,
  kCmdPrintModeEmbedFiles = 107,
  kCmdHelpContents = 2001,
  kCmdHelpUsing = 2002,
  kCmdAbout = 2009,
  kCmdPreviewDone = 24605,
};

/// Most file windows at once: opening is refused beyond.
inline constexpr int kMaxFileWindows = 26;

/// What the main frame's enablers look at.
struct FrameState {
  int fileWindowCount = 0;
  bool activeIsFileWindow = false;  ///< an MDI child is active and shows a file
  bool printerError = false;        ///< the printer object cannot print
  int childCount = 0;               ///< MDI children of any kind
};

/// The commands whose enabling depends on the state.
struct FrameEnables {
  bool open = true, openProject = true, printSetup = true;
  bool print = false, preview = false;
  bool closeWindow = false, stepWindows = false;
};

/// Open, Open project and Printer setup while fewer than 26 file windows are
/// open; Print and Print preview only for an active file window with a
/// printer that works; Close with a window open, Next and Previous with two.
FrameEnables frameEnables(const FrameState& state);

/// An entry of the Window menu's list: "&1 TITLE" for the first nine, then
/// "10 TITLE" without a mnemonic; '&' in the title is shown as itself.
std::string windowListText(int position, std::string_view title);

/// What a file window panel shows and enables after every change.
struct PanelState {
  int shownCount = 0;
  int selected = -1;  ///< -1: none
};

struct PanelEnables {
  bool list = false, button = false;
  int select = -1;  ///< position to select now (and scroll to the top); -1: keep
};

/// The panel rules: a list with entries and no selection selects its first;
/// the list is enabled when it shows something, its button when it has a
/// selection.
PanelEnables panelEnables(const PanelState& state);

}  // namespace tarn
