#include "platform/paths.h"

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

  std::string normal = joinPath(std::nullopt, name);
  std::string current = directory.value_or("");
  std::size_t start = 0;
  while (start <= normal.size()) {
    std::size_t end = normal.find('/', start);
    if (end == std::string::npos) end = normal.size();
    std::string part = normal.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == "." || part == "..") {
      if (!part.empty()) current = current.empty() ? part : current + "/" + part;
      continue;
    }
    std::string candidate = current.empty() ? part : current + "/" + part;
    if (!fs.stat(candidate).exists) {
      bool found = false;
      for (const std::string& entry : fs.listDirectory(current.empty() ? "." : current)) {
        if (cp1252::compareIgnoreCase(entry, part) == 0) {
          candidate = current.empty() ? entry : current + "/" + entry;
          found = true;
          break;
        }
      }
      if (!found) return exact;
    }
    current = candidate;
  }
  return current.empty() ? exact : current;
}

}  // namespace tarn
