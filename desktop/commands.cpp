#include "desktop/commands.h"

namespace tarn {

FrameEnables frameEnables(const FrameState& state) {
  FrameEnables e;
  e.open = e.openProject = e.printSetup = state.fileWindowCount < kMaxFileWindows;
  e.print = e.preview = state.activeIsFileWindow && !state.printerError;
  return e;
}

PanelEnables panelEnables(const PanelState& state) {
  PanelEnables e;
  int selected = state.selected;
  if (state.shownCount > 0 && (selected < 0 || selected >= state.shownCount)) {
    e.select = 0;
    selected = 0;
  }
  e.list = state.shownCount > 0;
  e.button = state.shownCount > 0 && selected >= 0;
  return e;
}

}  // namespace tarn
