#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/environment.h"
#include "platform/shell.h"

namespace tarn {

/// Opens files through the freedesktop helpers (xdg-mime, xdg-open) and
/// starts text editors. Programs are looked up on the PATH of `env`; they run
/// detached, with their arguments passed as-is (no shell).
///
/// openWithAssociation answers kShellFileNotFound, kShellNoAssociation (also
/// when xdg-mime is missing, fails or hangs), kCannotStart when xdg-open could
/// not be started or failed, or kStarted.
///
/// openUrl hands the URL to xdg-open; one that is empty or starts with '-'
/// is refused, as xdg-open would take it for an option.
///
/// xdg-open fails when it finds no program to start, so its exit is awaited
/// for the helper timeout, at most 2 s: a non-zero status or a signal is a
/// failure; one still running (some desktops run the browser in its
/// foreground) is taken as started and left running.
///
/// The text editor is $TARNLIST_EDITOR (one program, name or path, no
/// arguments) when set, with no fallback so a wrong setting shows; otherwise
/// the first of kTextEditors on PATH that starts. $VISUAL and $EDITOR are not
/// used: they usually name terminal editors, which need a terminal.
class XdgShell : public Shell {
 public:
  static constexpr int kStarted = 33;
  static constexpr int kCannotStart = 0;
  /// Graphical plain-text editors, in order of preference.
  static const std::vector<std::string> kTextEditors;

  explicit XdgShell(Environment env = processEnvironment,
                    std::chrono::milliseconds helperTimeout = std::chrono::seconds(5));

  int openWithAssociation(const std::string& path) override;
  bool openInTextEditor(const std::string& path) override;
  bool openUrl(const std::string& url) override;

  /// Full path of an executable `program` (a name, or a path with a slash).
  std::optional<std::string> findProgram(const std::string& program) const;

 private:
  std::chrono::milliseconds openerWatch() const;

  Environment env_;
  std::chrono::milliseconds helperTimeout_;
};

}  // namespace tarn
