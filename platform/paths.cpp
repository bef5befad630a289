#include "platform/paths.h"

#include <vector>

#include "platform/cp1252.h"

namespace tarn {

SplitPath splitPath(std::string_view path) {
  auto at = path.find_last_of("/\\");
  if (at == std::string_view::npos) return {std::nullopt, std::string(path)};
  return {std::string(path.substr(0, at)), std::string(path.substr(at + 1))};
}

std::string fileDisplayName(std::string_view path) {
  SplitPath p = splitPath(path);
  if (!p.directory) return "  " + p.name;
  return "  " + p.name + "  (" + *p.directory + ")";
}

std::string joinPath(const std::optional<std::string>& directory, std::string_view name) {
  std::string n(name);
  for (char& c : n)
    if (c == '\\') c = '/';
  if (!directory) return n;
  return *directory + "/" + n;
}

std::string resolvePath(FileSystem& fs, const std::optional<std::string>& directory,
                        std::string_view name) {
  std::string exact = joinPath(directory, name);
  if (fs.stat(exact).exists) return exact;

  // An empty directory is the root, none the current folder.
  std::string normal = joinPath(std::nullopt, name);
  std::optional<std::string> current = directory;
  bool moved = false;
  std::size_t start = 0;
  while (start <= normal.size()) {
    std::size_t end = normal.find('/', start);
    if (end == std::string::npos) end = normal.size();
    std::string part = normal.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;
    std::string candidate = joinPath(current, part);
    if (part != "." && part != ".." && !fs.stat(candidate).exists) {
      std::string listed = !current ? "." : current->empty() ? "/" : *current;
      bool found = false;
      for (const std::string& entry : fs.listDirectory(listed)) {
        if (cp1252::compareIgnoreCase(entry, part) == 0) {
          candidate = joinPath(current, entry);
          found = true;
          break;
        }
      }
      if (!found) return exact;
    }
    current = std::move(candidate);
    moved = true;
  }
  return moved ? *current : exact;
}

namespace {

std::vector<std::string_view> partsOf(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view part = path.substr(start, end - start);
    if (!part.empty() && part != ".") parts.push_back(part);
    start = end + 1;
  }
  return parts;
}

std::string joined(bool absolute, const std::vector<std::string_view>& parts) {
  std::string out = absolute ? "/" : "";
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += '/';
    out += parts[i];
  }
  return out.empty() ? "." : out;
}

}  // namespace

std::string normalPath(std::string_view path) {
  const std::string slashed = joinPath(std::nullopt, path);
  const bool absolute = !slashed.empty() && slashed[0] == '/';
  std::vector<std::string_view> parts;
  for (std::string_view part : partsOf(slashed)) {
    if (part != "..") {
      parts.push_back(part);
    } else if (!parts.empty() && parts.back() != "..") {
      parts.pop_back();
    } else if (!absolute) {
      parts.push_back(part);
    }
  }
  return joined(absolute, parts);
}

std::string relativePath(std::string_view folder, std::string_view path) {
  const bool absolute = !path.empty() && path[0] == '/';
  if (absolute != (!folder.empty() && folder[0] == '/')) return std::string(path);
  const std::vector<std::string_view> from = partsOf(folder), to = partsOf(path);
  std::size_t common = 0;
  while (common < from.size() && common < to.size() && from[common] == to[common]) ++common;
  std::vector<std::string_view> parts;
  for (std::size_t i = common; i < from.size(); ++i) {
    if (from[i] == "..") return std::string(path);
    parts.push_back("..");
  }
  parts.insert(parts.end(), to.begin() + static_cast<std::ptrdiff_t>(common), to.end());
  return joined(false, parts);
}

std::string resolveFolder(FileSystem& fs, std::string_view folder) {
  std::string exact(folder);
  if (fs.stat(exact).exists) return exact;
  if (!folder.empty() && folder[0] == '/') return resolvePath(fs, std::string(), folder.substr(1));
  return resolvePath(fs, std::nullopt, folder);
}

}  // namespace tarn
