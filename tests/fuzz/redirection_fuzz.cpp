// A redirection file and a name to look up, separated by 0x1D: entries keep
// only normal folders with no macro left, patterns match in bounded time, and
// a lookup names each existing folder once.
#include <algorithm>
#include <set>
#include <string>

#include "document/redirection.h"
#include "fuzz_check.h"
#include "platform/cp1252.h"
#include "platform/paths.h"
#include "support/fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarn;
  fuzz::Input input(fuzz::bytes(data, size));
  const std::string text(input.piece('\x1D'));
  const std::string name(input.rest());
  const std::optional<std::string> base = std::string("/p");

  for (const RedirectionEntry& e : parseRedirection(text, base)) {
    FUZZ_CHECK(!e.pattern.empty(), "an entry has a pattern");
    for (const std::string& folder : e.folders) {
      FUZZ_CHECK(!folder.empty() && folder.find('\\') == std::string::npos, "folders use /");
      FUZZ_CHECK(cp1252::upper(folder).find("%REDDIR%") == std::string::npos, "%REDDIR% replaced");
      FUZZ_CHECK(normalPath(folder) == folder, "folders are normal paths");
    }
    (void)matchesFilePattern(e.pattern, name);
  }
  FUZZ_CHECK(matchesFilePattern(name, name) || name.find_first_of("*?") != std::string::npos,
             "a name matches itself");
  FUZZ_CHECK(matchesFilePattern(cp1252::upper(name), name) ||
                 name.find_first_of("*?") != std::string::npos,
             "case is ignored");

  test::VirtualFileSystem fs;
  fs.create("/p/TARN.RED", text);
  fs.create("/p/lib/X.CLW", "");
  fs.createDirectory("/p/lib");
  fs.createDirectory("/p/classes");
  Redirections redirections(fs, base);
  std::vector<std::string> folders = redirections.foldersFor(name);
  std::set<std::string> seen(folders.begin(), folders.end());
  FUZZ_CHECK(seen.size() == folders.size(), "each folder once");
  for (const std::string& folder : folders)
    FUZZ_CHECK(folder.starts_with("/"), "folders below an absolute base are absolute");
  return 0;
}
