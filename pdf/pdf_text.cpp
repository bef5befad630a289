#include "pdf/pdf_text.h"

#include <algorithm>
#include <cstdio>

#include "pdf/pdf_file.h"
#include "platform/cp1252.h"

namespace tarn {

std::u16string pdfUtf16(std::string_view text) {
  std::u16string out;
  for (char32_t u : cp1252::codePoints(cp1252::asUtf8(text))) {
    if (u > 0xFFFF) {
      const char32_t v = u - 0x10000;
      out += static_cast<char16_t>(0xD800 + (v >> 10));
      out += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
    } else {
      out += static_cast<char16_t>(u);
    }
  }
  return out;
}

std::string pdfUtf16String(std::u16string_view text) {
  // Bytes, not hex: an outline of a thousand units stays half the size.
  std::string bytes = "\xFE\xFF";
  for (char16_t c : text) {
    bytes += static_cast<char>(c >> 8);
    bytes += static_cast<char>(c & 0xFF);
  }
  std::string out;
  appendPdfString(out, bytes);
  return out;
}

std::string pdfTextString(std::u16string_view text) {
  if (!std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x20 && c < 0x7F; })) {
    std::string out = "<FEFF";
    char hex[8];
    for (char16_t c : text) {
      std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(c));
      out += hex;
    }
    return out + ">";
  }
  std::string out;
  appendPdfString(out, std::string(text.begin(), text.end()));
  return out;
}

std::string pdfDate(std::time_t when) {
  std::tm utc{};
  if (!gmtime_r(&when, &utc)) utc = std::tm{};
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "(D:%04d%02d%02d%02d%02d%02dZ)",
                std::clamp(utc.tm_year + 1900, 0, 9999), utc.tm_mon + 1, utc.tm_mday, utc.tm_hour,
                utc.tm_min, utc.tm_sec);
  return buffer;
}

}  // namespace tarn
