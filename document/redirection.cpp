#include "document/redirection.h"

#include <algorithm>

#include "platform/cp1252.h"
#include "platform/paths.h"

namespace tarn {
namespace {

std::string_view trimmed(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && cp1252::compareIgnoreCase(a, b) == 0;
}

// "%REDDIR%" in any case replaced by the base folder.
std::string withRedDir(std::string_view value, const std::optional<std::string>& base) {
  static constexpr std::string_view kMacro = "%REDDIR%";
  std::string out;
  std::size_t at = 0;
  while (at < value.size()) {
    if (value.size() - at >= kMacro.size() &&
        sameIgnoringCase(value.substr(at, kMacro.size()), kMacro)) {
      out += base.value_or(".");
      at += kMacro.size();
    } else {
      out += value[at++];
    }
  }
  return out;
}

bool holdsMacro(std::string_view value) {
  std::size_t open = value.find('%');
  return open != std::string_view::npos && value.find('%', open + 1) != std::string_view::npos;
}

std::vector<std::string> foldersOf(std::string_view value, const std::optional<std::string>& base) {
  std::vector<std::string> folders;
  std::size_t start = 0;
  while (start <= value.size()) {
    std::size_t end = value.find(';', start);
    if (end == std::string_view::npos) end = value.size();
    std::string_view folder = trimmed(value.substr(start, end - start));
    start = end + 1;
    if (folder.empty()) continue;
    bool absolute = folder.front() == '/' || folder.front() == '\\';
    folders.push_back(
        normalPath(absolute ? joinPath(std::nullopt, folder) : joinPath(base, folder)));
  }
  return folders;
}

}  // namespace

std::vector<RedirectionEntry> parseRedirection(std::string_view text,
                                               const std::optional<std::string>& base) {
  std::vector<RedirectionEntry> entries;
  // Lines before the first section count as common: older files have none.
  bool wanted = true;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = trimmed(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line.starts_with("--") || line.front() == ';' || line.front() == '#' ||
        line.front() == '{')
      continue;
    if (line.front() == '[') {
      std::string_view section = trimmed(line.substr(1, line.find(']') - 1));
      wanted = sameIgnoringCase(section, "Common") || sameIgnoringCase(section, "Release");
      continue;
    }
    std::size_t equals = line.find('=');
    if (!wanted || equals == std::string_view::npos) continue;
    std::string_view pattern = trimmed(line.substr(0, equals));
    std::string value = withRedDir(trimmed(line.substr(equals + 1)), base);
    if (pattern.empty() || holdsMacro(value)) continue;
    entries.push_back(RedirectionEntry{std::string(pattern), foldersOf(value, base)});
  }
  return entries;
}

bool matchesFilePattern(std::string_view pattern, std::string_view name) {
  auto same = [](char a, char b) {
    return cp1252::toUpper(static_cast<unsigned char>(a)) ==
           cp1252::toUpper(static_cast<unsigned char>(b));
  };
  // The last "*" seen and the name position it stands for so far: on a
  // mismatch the star takes one character more.
  std::size_t p = 0, n = 0;
  std::size_t star = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      starName = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

Redirections::Redirections(FileSystem& fs, const std::optional<std::string>& folder) {
  std::vector<std::string> names;
  for (std::string& name : fs.listDirectory(folder ? (folder->empty() ? "/" : *folder) : "."))
    if (name.size() > 4 && sameIgnoringCase(std::string_view(name).substr(name.size() - 4), ".red"))
      names.push_back(std::move(name));
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    int order = cp1252::compareIgnoreCase(a, b);
    return order != 0 ? order < 0 : a < b;
  });
  for (const std::string& name : names) {
    std::string text;
    if (readWholeFile(fs, joinPath(folder, name), &text, nullptr, nullptr) != ReadStatus::Okay)
      continue;
    for (RedirectionEntry& entry : parseRedirection(text, folder)) {
      for (std::string& f : entry.folders) f = resolveFolder(fs, f);
      entries_.push_back(std::move(entry));
    }
  }
}

std::vector<std::string> Redirections::foldersFor(std::string_view name) const {
  const std::string last = splitPath(name).name;
  std::vector<std::string> folders;
  for (const RedirectionEntry& entry : entries_) {
    if (!matchesFilePattern(entry.pattern, last)) continue;
    for (const std::string& folder : entry.folders)
      if (std::find(folders.begin(), folders.end(), folder) == folders.end())
        folders.push_back(folder);
  }
  return folders;
}

}  // namespace tarn
