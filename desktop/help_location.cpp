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
    case kHelpListingExtras: return "listing-extras";
    case kHelpFileWindow: return "opening";
    case kHelpProjectWindow: return "projects";
    case kHelpPrinting: return "printing";
    case kHelpWindowFont: return "window-font";
    case kHelpUsingHelp: return "using-help";
    default: return "contents";
  }
}

std::string helpPagePath(const std::string& programPath, FileSystem& fs) {
  std::filesystem::path program(programPath);
  std::error_code ec;
  if (program.is_relative()) {
    auto absolute = std::filesystem::absolute(program, ec);
    if (!ec) program = absolute;
  }
  const std::string beside = (program.parent_path() / kHelpPageName).string();
  if (fs.stat(beside).isRegular) return beside;
  // An installed program: <prefix>/bin/tarnlist and <prefix>/share/tarnlist/.
  const std::string shared =
      (program.parent_path().parent_path() / "share" / "tarnlist" / kHelpPageName).string();
  if (fs.stat(shared).isRegular) return shared;
  return beside;
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
