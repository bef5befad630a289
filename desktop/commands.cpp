#include "desktop/commands.h"

namespace tarn {

FrameEnables frameEnables(const FrameState& state) {
  FrameEnables e;
  e.open = e.openProject = e.printSetup = state.fileWindowCount < kMaxFileWindows;
  e.print = e.preview = state.activeIsFileWindow && !state.printerError;
  e.closeWindow = state.childCount > 0;
  e.stepWindows = state.childCount > 1;
  return e;
}

std::string windowListText(int position, std::string_view title) {
  std::string text = (position < 9 ? "&" : "") + std::to_string(position + 1) + " ";
  for (char c : title) {
    if (c == '&') text += '&';
    text += c;
  }
  return text;
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
