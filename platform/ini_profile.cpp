#include "platform/ini_profile.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <vector>

#include "platform/cp1252.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view trim(std::string_view s) {
  std::size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
  return cp1252::compareIgnoreCase(a, b) == 0;
}

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

struct Line {
  std::size_t start = 0;  ///< first byte
  std::size_t stop = 0;   ///< end of the content, before CR LF or LF
  std::size_t end = 0;    ///< after the line end
};

std::vector<Line> splitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    Line line;
    line.start = at;
    std::size_t lf = text.find('\n', at);
    line.stop = lf == std::string_view::npos ? text.size() : lf;
    line.end = lf == std::string_view::npos ? text.size() : lf + 1;
    if (line.stop > line.start && text[line.stop - 1] == '\r') --line.stop;
    lines.push_back(line);
    at = line.end;
  }
  return lines;
}

enum class Kind { Other, Section, Entry };

/// One classified line; views point into the file's text.
struct Parsed {
  Kind kind = Kind::Other;
  std::string_view name;
  std::string_view value;
  std::size_t valueAt = 0;  ///< offset in the text where the value starts
};

Parsed classify(std::string_view text, const Line& line) {
  std::string_view content = text.substr(line.start, line.stop - line.start);
  if (line.start == 0 && content.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    content.remove_prefix(kByteOrderMark.size());
  Parsed p;
  std::string_view trimmed = trim(content);
  if (trimmed.empty() || trimmed.front() == ';') return p;
  if (trimmed.front() == '[') {
    std::size_t close = trimmed.find(']');
    if (close == std::string_view::npos) return p;
    p.kind = Kind::Section;
    p.name = trim(trimmed.substr(1, close - 1));
    return p;
  }
  std::size_t eq = content.find('=');
  if (eq == std::string_view::npos) return p;
  p.name = trim(content.substr(0, eq));
  if (p.name.empty()) return p;
  p.kind = Kind::Entry;
  std::string_view rest = content.substr(eq + 1);
  p.value = trim(rest);
  std::size_t restAt = static_cast<std::size_t>(rest.data() - text.data());
  p.valueAt = p.value.empty() ? restAt : static_cast<std::size_t>(p.value.data() - text.data());
  return p;
}

/// Where a key is, or where it would go. Only the first section of a name
/// counts, and in it the first entry of the key.
struct Lookup {
  std::vector<Line> lines;
  std::optional<std::size_t> section;  ///< line of the section's header
  std::optional<std::size_t> entry;    ///< line of the key
  std::size_t lastEntry = 0;           ///< last entry of the section, else its header
  Parsed found;
};

Lookup lookup(std::string_view text, std::string_view section, std::string_view key) {
  Lookup r;
  r.lines = splitLines(text);
  for (std::size_t i = 0; i < r.lines.size(); ++i) {
    Parsed p = classify(text, r.lines[i]);
    if (p.kind == Kind::Section) {
      if (r.section) break;
      if (sameName(p.name, section)) r.section = r.lastEntry = i;
      continue;
    }
    if (!r.section || p.kind != Kind::Entry) continue;
    r.lastEntry = i;
    if (!r.entry && sameName(p.name, key)) {
      r.entry = i;
      r.found = p;
    }
  }
  return r;
}

enum class Load { Okay, Missing, Failed };

Load load(const std::string& path, std::string* text) {
  std::error_code ec;
  fs::file_status status = fs::status(path, ec);
  if (status.type() == fs::file_type::not_found) return Load::Missing;
  if (ec || !fs::is_regular_file(status)) return Load::Failed;
  std::ifstream in(path, std::ios::binary);
  if (!in) return Load::Failed;
  text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return in.bad() ? Load::Failed : Load::Okay;
}

/// New lines follow the file's own line ends.
std::string_view lineEnd(std::string_view text) {
  std::size_t lf = text.find('\n');
  return lf != std::string_view::npos && lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
}

int leadingInt(std::string_view s, int fallback) {
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i >= s.size() || !digit(s[i])) return fallback;
  // Saturate one past INT_MAX, so that INT_MIN itself still fits.
  constexpr std::int64_t kCap = std::int64_t{INT_MAX} + 1;
  std::int64_t v = 0;
  for (; i < s.size() && digit(s[i]); ++i) v = std::min(kCap, v * 10 + (s[i] - '0'));
  if (negative) return static_cast<int>(-v);
  return static_cast<int>(std::min<std::int64_t>(v, INT_MAX));
}

/// Writing through a symbolic link replaces the file it names, not the link.
std::string writeTarget(const std::string& path) {
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
  fs::path real = fs::canonical(path, ec);
  return ec ? path : real.string();
}

std::string uniqueSuffix() {
  static const std::uint64_t seed = [] {
    try {
      std::random_device device;
      return (std::uint64_t{device()} << 32) ^ device();
    } catch (...) {
      return static_cast<std::uint64_t>(
          std::chrono::steady_clock::now().time_since_epoch().count());
    }
  }();
  static std::atomic<std::uint64_t> counter{0};
  return std::to_string(seed) + "-" + std::to_string(counter++);
}

/// Writes beside the target and renames over it: readers see the old file
/// or the new one, never a part.
bool replaceFile(const std::string& target, std::string_view contents, bool existed) {
  std::error_code ec;
  fs::path parent = fs::path(target).parent_path();
  if (!parent.empty()) {
    fs::create_directories(parent, ec);
    if (ec) return false;
  }
  std::string temp = target + ".tmp-" + uniqueSuffix();
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    out.close();
    if (!out) {
      fs::remove(temp, ec);
      return false;
    }
  }
  if (existed) {
    fs::perms perms = fs::status(target, ec).permissions();
    if (!ec) fs::permissions(temp, perms, ec);
  }
  fs::rename(temp, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return false;
  }
  return true;
}

bool storableSection(std::string_view s) {
  return !s.empty() && s.find(']') == std::string_view::npos && !hasLineBreak(s);
}

bool storableKey(std::string_view k) {
  return !k.empty() && k.front() != ';' && k.front() != '[' &&
         k.find('=') == std::string_view::npos && !hasLineBreak(k);
}

}  // namespace

std::string profilePath(const Environment& env) {
  if (auto path = env("TARNLIST_PROFILE")) return *path;
  if (auto folder = userConfigFolder(env)) return *folder + "/win.ini";
  return {};
}

IniProfile::IniProfile(std::string path) : path_(std::move(path)) {}

std::string IniProfile::getString(std::string_view section, std::string_view key,
                                  std::string_view fallback) {
  std::string text;
  if (load(path_, &text) != Load::Okay) return std::string(fallback);
  Lookup f = lookup(text, trim(section), trim(key));
  return f.entry ? std::string(f.found.value) : std::string(fallback);
}

int IniProfile::getInt(std::string_view section, std::string_view key, int fallback) {
  std::string text;
  if (load(path_, &text) != Load::Okay) return fallback;
  Lookup f = lookup(text, trim(section), trim(key));
  return f.entry ? leadingInt(f.found.value, fallback) : fallback;
}

bool IniProfile::writeString(std::string_view section, std::string_view key,
                             std::string_view value) {
  section = trim(section);
  key = trim(key);
  if (path_.empty() || !storableSection(section) || !storableKey(key) || hasLineBreak(value))
    return false;

  std::string target = writeTarget(path_);
  std::string text;
  Load state = load(target, &text);
  if (state == Load::Failed) return false;
  // A read-only profile stays as it is, even where the folder would allow
  // replacing it.
  if (state == Load::Okay && !std::ofstream(target, std::ios::binary | std::ios::app))
    return false;

  std::string_view eol = lineEnd(text);
  Lookup f = lookup(text, section, key);
  std::string out;
  if (f.entry) {
    std::size_t from = f.found.valueAt;
    out.append(text, 0, from).append(value).append(text, from + f.found.value.size());
  } else if (f.section) {
    const Line& after = f.lines[f.lastEntry];
    out.append(text, 0, after.end);
    if (text[after.end - 1] != '\n') out.append(eol);  // last line without a line end
    out.append(key).append("=").append(value).append(eol);
    out.append(text, after.end);
  } else {
    out = text;
    if (!out.empty() && out.back() != '\n') out.append(eol);
    out.append("[").append(section).append("]").append(eol);
    out.append(key).append("=").append(value).append(eol);
  }
  if (state == Load::Okay && out == text) return true;
  return replaceFile(target, out, state == Load::Okay);
}

}  // namespace tarn
