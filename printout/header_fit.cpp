#include "printout/header_fit.h"

#include <vector>

#include "platform/paths.h"

namespace tarn {
namespace {

constexpr std::string_view kEllipsis = "...";

bool isSeparator(char c) { return c == '/' || c == '\\'; }

/// Where a cut at or before `at` leaves whole UTF-8 characters.
std::size_t characterStart(std::string_view text, std::size_t at) {
  while (at > 0 && at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) --at;
  return at;
}

/// The shortened forms of a folder, longest first: its first part, "...",
/// then the last k folders for k = all but one down to none.
std::vector<std::string> shortenedFolders(std::string_view folder) {
  std::size_t first = 0;
  while (first < folder.size() && isSeparator(folder[first])) ++first;
  while (first < folder.size() && !isSeparator(folder[first])) ++first;
  // The separators after the first part, and where each later folder starts.
  std::vector<std::size_t> starts;
  for (std::size_t i = first; i < folder.size(); ++i)
    if (isSeparator(folder[i]) && i + 1 < folder.size() && !isSeparator(folder[i + 1]))
      starts.push_back(i);
  std::vector<std::string> forms;
  if (starts.size() < 2) return forms;  // nothing in the middle to leave out
  const char separator = folder[starts.front()];
  const std::string head = std::string(folder.substr(0, first)) + separator + std::string(kEllipsis);
  for (std::size_t k = starts.size() - 1; k > 0; --k)
    forms.push_back(head + std::string(folder.substr(starts[starts.size() - k])));
  forms.push_back(head);
  return forms;
}

}  // namespace

std::string fitText(std::string_view text, int room, const TextExtent& width) {
  if (width(text) <= room) return std::string(text);
  // The longest head that fits with the ellipsis, found by halving.
  std::size_t lo = 0, hi = text.size();
  auto cut = [&](std::size_t n) {
    return std::string(text.substr(0, characterStart(text, n))) + std::string(kEllipsis);
  };
  if (width(cut(0)) > room) return {};
  while (hi - lo > 1) {
    const std::size_t mid = lo + (hi - lo) / 2;
    (width(cut(mid)) <= room ? lo : hi) = mid;
  }
  return cut(lo);
}

std::string fitDisplayName(std::string_view path, int room, const TextExtent& width) {
  std::string whole = fileDisplayName(path);
  if (width(whole) <= room) return whole;
  const SplitPath parts = splitPath(path);
  const std::string name = "  " + parts.name;
  if (parts.directory)
    for (const std::string& folder : shortenedFolders(*parts.directory)) {
      std::string shortened = name + "  (" + folder + ")";
      if (width(shortened) <= room) return shortened;
    }
  if (width(name) <= room) return name;
  return "  " + fitText(parts.name, room - width("  "), width);
}

}  // namespace tarn
