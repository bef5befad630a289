#include "desktop/help_location.h"

#include <filesystem>

namespace tarn {
namespace {

bool unreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string_view helpAnchor(int context) {
  switch (context) {
    case kHelpSetup: return "setup";
    case kHelpUsingHelp: return "using-help";
    default: return "contents";
  }
}

std::string helpPagePath(const std::string& programPath) {
  std::filesystem::path program(programPath);
  std::error_code ec;
  if (program.is_relative()) {
    auto absolute = std::filesystem::absolute(program, ec);
    if (!ec) program = absolute;
  }
  return (program.parent_path() / kHelpPageName).string();
}

std::string helpUrl(const std::string& pagePath, int context) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : pagePath) {
    if (c == '/' || unreserved(c)) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 0xF];
    }
  }
  url += '#';
  url += helpAnchor(context);
  return url;
}

}  // namespace tarn
