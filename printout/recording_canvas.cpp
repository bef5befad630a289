#include "printout/recording_canvas.h"

#include <cstdio>
#include <cstdlib>

#include "analysis/dump.h"
#include "platform/cp1252.h"

namespace tarn {
namespace {

constexpr int kDefaultHeight = 66;  // 12 points by the two-thirds rule at 600 dpi

void appendInt(std::string& out, int v) {
  out += ' ';
  out += std::to_string(v);
}

void appendText(std::string& out, std::string_view text) {
  out += " \"";
  out += escapeDumpText(text);
  out += '"';
}

// ASCII as the code page's text is recorded, every other character as \uXXXX
// (\UXXXXXXXX beyond 16 bits), which no recorded byte looks like.
void appendUnicodeText(std::string& out, std::string_view utf8) {
  out += " \"";
  for (char32_t u : cp1252::codePoints(utf8)) {
    if (u < 0x80) {
      out += escapeDumpText(std::string(1, static_cast<char>(u)));
      continue;
    }
    char code[16];
    std::snprintf(code, sizeof code, u > 0xFFFF ? "\\U%08x" : "\\u%04x",
                  static_cast<unsigned>(u));
    out += code;
  }
  out += '"';
}

}  // namespace

void RecordingCanvas::setFont(int slot, const FontSpec& font) {
  if (slot < 0 || slot >= kFontSlots) return;
  heights_[slot] = font.height == 0 ? kDefaultHeight : std::abs(font.height);
}

void RecordingCanvas::selectFont(int slot) {
  if (slot >= 0 && slot < kFontSlots) selected_ = slot;
}

int RecordingCanvas::height() const {
  return selected_ < 0 ? kDefaultHeight : heights_[selected_];
}

bool RecordingCanvas::metrics(TextMetrics& out) {
  out = TextMetrics{};
  out.tmHeight = height();
  out.tmAveCharWidth = out.tmMaxCharWidth = charWidth();
  return true;
}

int RecordingCanvas::textWidth(std::string_view text) {
  return static_cast<int>(text.size()) * charWidth();
}

int RecordingCanvas::textHeight(std::string_view) { return height(); }

void RecordingCanvas::appendColor() {
  char hex[8];
  std::snprintf(hex, sizeof hex, " %02x%02x%02x", color_ & 0xFF, (color_ >> 8) & 0xFF,
                (color_ >> 16) & 0xFF);
  record_ += hex;
}

void RecordingCanvas::appendTextHead(int x, int y) {
  record_ += "text";
  appendInt(record_, x);
  appendInt(record_, y);
  appendInt(record_, selected_);
  record_ += align_ == TextAlign::Left ? " L" : align_ == TextAlign::Center ? " C" : " R";
  appendColor();
}

void RecordingCanvas::textOut(int x, int y, std::string_view text) {
  if (text.empty()) return;
  appendTextHead(x, y);
  appendText(record_, text);
  record_ += '\n';
}

int RecordingCanvas::unicodeTextWidth(std::string_view utf8) {
  return static_cast<int>(cp1252::codePoints(utf8).size()) * charWidth();
}

void RecordingCanvas::unicodeTextOut(int x, int y, std::string_view utf8) {
  appendTextHead(x, y);
  appendUnicodeText(record_, utf8);
  record_ += '\n';
}

void RecordingCanvas::textOutClipped(int x, int y, const Rect& clip, std::string_view text) {
  if (text.empty()) return;
  record_ += "clip";
  appendInt(record_, x);
  appendInt(record_, y);
  appendInt(record_, selected_);
  appendColor();
  appendInt(record_, clip.left);
  appendInt(record_, clip.top);
  appendInt(record_, clip.right);
  appendInt(record_, clip.bottom);
  appendText(record_, text);
  record_ += '\n';
}

void RecordingCanvas::moveTo(int x, int y) {
  penX_ = x;
  penY_ = y;
}

void RecordingCanvas::lineTo(int x, int y) {
  record_ += "line";
  appendInt(record_, penX_);
  appendInt(record_, penY_);
  appendInt(record_, x);
  appendInt(record_, y);
  appendInt(record_, pen_);
  record_ += '\n';
  penX_ = x;
  penY_ = y;
}

void RecordingCanvas::shade(const Rect& r) {
  record_ += "shade";
  appendInt(record_, r.left);
  appendInt(record_, r.top);
  appendInt(record_, r.right);
  appendInt(record_, r.bottom);
  record_ += '\n';
}

void RecordingCanvas::beginPage(int page) {
  record_ += "page";
  appendInt(record_, page);
  record_ += '\n';
}

bool RecordingTarget::beginPage(int page) {
  if (cancelAtPage > 0 && page >= cancelAtPage) return false;
  pages_ = page;
  canvas_.beginPage(page);
  return true;
}

JobResult RecordingPrinter::print(Printout& printout, bool dialog) {
  PageRange offered;
  printout.getDialogInfo(offered, deviceMode());
  if (answer != JobResult::Printed) {
    titles.push_back(printout.title());
    withDialog.push_back(dialog);
    return answer;
  }
  RecordingTarget target(deviceMode().orientation == DeviceMode::kPortrait);
  JobResult result = runPrintJob(printout, target, range);
  jobs.push_back(target.record());
  titles.push_back(printout.title());
  withDialog.push_back(dialog);
  return result;
}

}  // namespace tarn
