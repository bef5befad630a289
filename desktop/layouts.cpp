#include "desktop/layouts.h"

#include <algorithm>

namespace tarn {
namespace {

Rect box(int x, int y, int w, int h) { return Rect{x, y, x + w, y + h}; }

}  // namespace

ViewLayout layOutView(int width, int height, const WindowFontMeasures& f) {
  const TextMetrics& tm = f.tm;
  ViewLayout out;
  const int m = tm.tmAveCharWidth * 13 / 10;
  const int h = m / 2;
  const int rowH = tm.tmInternalLeading * 12 / 5 + tm.tmHeight;
  const int editH = tm.tmHeight + tm.tmInternalLeading + 2;
  const int btnW = 2 * tm.tmMaxCharWidth + f.closeWidth;
  const int titleH = f.closeHeight;
  const int fw = f.filterWidth, fh = f.filterHeight;
  out.dividerY = height - (2 * m + rowH);
  out.buttonWidth = btnW;
  const int panelH = out.dividerY / 2 - 2 * m;
  const int right = width - 2 * m;

  for (int p = 0; p < 2; ++p) {
    PanelLayout& panel = out.panels[p];
    const int top = p == 0 ? h : 2 * m + panelH;
    const int listTop = top + titleH;
    const int listBottom = top + panelH - (editH + h);
    const int rowTop = listBottom + h;
    panel.list = box(m, listTop, right - m, listBottom - listTop);
    panel.edit = box(fw + m, rowTop, m + 15 * tm.tmAveCharWidth, editH);
    panel.button = box(right - btnW, rowTop, btnW, rowH);
    panel.title = Rect{m, top, right, listTop};
    panel.label = Rect{m, rowTop + (editH - fh) / 2, fw + m, rowTop + fh};
  }
  const int y = out.dividerY + m;
  int x = right - btnW;
  for (Rect& button : out.bottomButtons) {
    button = box(x, y, btnW, rowH);
    x -= m + btnW;
  }
  return out;
}

ViewLayout layOutProjectView(int width, int height, const WindowFontMeasures& f,
                             int printAllTextWidth) {
  ViewLayout out = layOutView(width, height, f);
  const int m = f.tm.tmAveCharWidth * 13 / 10;
  const int btnW = out.buttonWidth;
  for (PanelLayout& panel : out.panels) {
    const Rect& b = panel.button;
    panel.secondButton = Rect{b.left - m - btnW, b.top, b.left - m, b.bottom};
  }
  // Bottom row: "&Close" stays; the print-all button is wider.
  const int pw = 2 * f.tm.tmMaxCharWidth + printAllTextWidth;
  const Rect& close = out.bottomButtons[0];
  out.bottomButtons[1] = Rect{close.left - m - pw, close.top, close.left - m, close.bottom};
  out.bottomButtons[2] = Rect{};
  return out;
}

Rect minimumViewSize(const WindowFontMeasures& f, int printAllTextWidth) {
  const TextMetrics& tm = f.tm;
  const int m = tm.tmAveCharWidth * 13 / 10;
  const int h = m / 2;
  const int rowH = tm.tmInternalLeading * 12 / 5 + tm.tmHeight;
  const int editH = tm.tmHeight + tm.tmInternalLeading + 2;
  const int btnW = 2 * tm.tmMaxCharWidth + f.closeWidth;
  const bool project = printAllTextWidth > 0;
  // Height: the inverse of layOutView's for a panel with three list rows.
  const int panelH = f.closeHeight + 3 * std::max(1, tm.tmHeight) + editH + h;
  const int height = 2 * (panelH + 2 * m) + 2 * m + rowH;
  // Width: a filter row, and the bottom row, inside the margins.
  const int filterRow = f.filterWidth + 2 * m + 15 * tm.tmAveCharWidth + m +
                        (project ? 2 * btnW + m : btnW);
  const int bottomRow = project ? btnW + m + 2 * tm.tmMaxCharWidth + printAllTextWidth
                                : 3 * btnW + 2 * m;
  const int width = std::max(filterRow, bottomRow) + 3 * m;
  return Rect{0, 0, width, height};
}

Rect CascadePlaces::next(int areaWidth, int areaHeight, int step) {
  const int w = std::min(std::max(320, areaWidth * 3 / 4), std::max(areaWidth, 1));
  const int h = std::min(std::max(240, areaHeight * 3 / 4), std::max(areaHeight, 1));
  int offset = std::max(step, 0) * count_;
  if (offset + h > areaHeight || offset + w > areaWidth) {
    count_ = 0;
    offset = 0;
  }
  ++count_;
  return Rect{offset, offset, offset + w, offset + h};
}

Rect previewPageRect(const Rect& client, int pageWidth, int pageHeight) {
  constexpr int kInset = 15;
  // A client narrower than the inset gets an empty page at its edge, never one outside.
  const int left = std::min(client.left + kInset, std::max(client.left, client.right));
  const int top = std::min(client.top + kInset, std::max(client.top, client.bottom));
  const int roomW = client.right - kInset - left, roomH = client.bottom - kInset - top;
  if (pageWidth <= 0 || pageHeight <= 0 || roomW <= 0 || roomH <= 0)
    return Rect{left, top, left + std::max(roomW, 0), top + std::max(roomH, 0)};
  // The proportional side is 95 percent of the exact proportion.
  const long long widthPercent = static_cast<long long>(pageWidth) * 95 / pageHeight;
  const long long heightPercent = static_cast<long long>(pageHeight) * 95 / pageWidth;
  const long long byHeight = roomH * widthPercent / 100;
  if (byHeight <= roomW) return Rect{left, top, left + static_cast<int>(byHeight), top + roomH};
  const long long byWidth = roomW * heightPercent / 100;
  return Rect{left, top, left + roomW, top + static_cast<int>(std::min<long long>(byWidth, roomH))};
}

}  // namespace tarn
