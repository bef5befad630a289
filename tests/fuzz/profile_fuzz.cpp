// An INI profile of any bytes, then a section, a key and a value to write and
// a second key to watch, separated by 0x1D. A write that succeeds reads back
// as written (blanks around it aside), and leaves every other key as it was.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_check.h"
#include "platform/cp1252.h"
#include "platform/ini_profile.h"

namespace {

std::string trimmed(std::string_view s) {
  std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string(s.substr(first, s.find_last_not_of(" \t") - first + 1));
}

const std::string& profileFile() {
  static const std::string path = [] {
    auto dir = std::filesystem::temp_directory_path() /
               ("tarn-fuzz-profile-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return (dir / "win.ini").string();
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarn;
  fuzz::Input input(fuzz::bytes(data, size));
  const std::string text(input.piece('\x1D'));
  const std::string section(input.piece('\x1D')), key(input.piece('\x1D'));
  const std::string value(input.piece('\x1D'));
  const std::string otherSection(input.piece('\x1D')), otherKey(input.rest());
  std::ofstream(profileFile(), std::ios::binary | std::ios::trunc) << text;

  IniProfile profile(profileFile());
  constexpr std::string_view kAbsent = "\x01" "absent";
  const bool sameKey = cp1252::compareIgnoreCase(trimmed(section), trimmed(otherSection)) == 0 &&
                       cp1252::compareIgnoreCase(trimmed(key), trimmed(otherKey)) == 0;
  const std::string before = profile.getString(otherSection, otherKey, kAbsent);
  (void)profile.getInt(section, key, -7);
  if (profile.writeString(section, key, value)) {
    FUZZ_CHECK(profile.getString(section, key, kAbsent) == trimmed(value), "written value reads back");
    if (!sameKey)
      FUZZ_CHECK(profile.getString(otherSection, otherKey, kAbsent) == before,
                 "other keys keep their values");
  } else {
    FUZZ_CHECK(profile.getString(otherSection, otherKey, kAbsent) == before,
               "a refused write changes nothing");
  }
  return 0;
}
