#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace tarn {

/// The help page's file name; it lives beside the program in the build
/// tree and in <prefix>/share/tarnlist/ when installed.
inline constexpr const char* kHelpPageName = "quorlo.html";

/// Help contexts: the section of the help page a window's Help asks for.
inline constexpr int kHelpContents = 0;
inline constexpr int kHelpSetup = 2;
inline constexpr int kHelpListingExtras = 3;
inline constexpr int kHelpFileWindow = 4;
inline constexpr int kHelpProjectWindow = 5;
inline constexpr int kHelpPrinting = 6;
inline constexpr int kHelpWindowFont = 7;
/// Not a window's context: the section Help › Using help opens.
inline constexpr int kHelpUsingHelp = -1;

/// The anchor of a context's section ("contents", "setup", "listing-extras",
/// "opening", "projects", "printing", "window-font", "using-help");
/// the contents for a context the page has no section for.
std::string_view helpAnchor(int context);

/// The help page of the program at `programPath`, as an absolute path: the
/// one beside it, else <program folder>/../share/tarnlist/, else (neither
/// there) the path beside it.
std::string helpPagePath(const std::string& programPath, FileSystem& fs);

/// "file://" URL of the absolute `pagePath` with the context's anchor. Every
/// byte of the path but '/' and the unreserved characters is percent-encoded,
/// so '#', '?', '%', blanks and non-ASCII names survive the browser.
std::string helpUrl(const std::string& pagePath, int context);

}  // namespace tarn
