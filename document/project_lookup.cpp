#include "document/project_lookup.h"

#include <algorithm>

#include "platform/paths.h"

namespace tarn {
namespace {

// None is the current folder and an empty folder the root.
std::string normalFolder(const std::optional<std::string>& folder) {
  if (!folder) return ".";
  return folder->empty() ? "/" : normalPath(*folder);
}

void addFolders(std::string_view list, char separator, std::vector<std::string>& out) {
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(separator, start);
    if (end == std::string_view::npos) end = list.size();
    std::string_view folder = list.substr(start, end - start);
    start = end + 1;
    while (!folder.empty() && (folder.front() == ' ' || folder.front() == '\t'))
      folder.remove_prefix(1);
    while (!folder.empty() && (folder.back() == ' ' || folder.back() == '\t'))
      folder.remove_suffix(1);
    if (!folder.empty()) out.emplace_back(folder);
  }
}

}  // namespace

ProjectSearch projectSearch(const std::vector<std::string>& commandLine,
                            std::string_view profileValue) {
  ProjectSearch search;
  for (const std::string& value : commandLine) addFolders(value, ':', search.includePath);
  addFolders(profileValue, ';', search.includePath);
  return search;
}

ProjectLookup::ProjectLookup(FileSystem& fs, std::optional<std::string> programFolder,
                             const ProjectSearch& search)
    : fs_(fs),
      programFolder_(std::move(programFolder)),
      programNormal_(normalFolder(programFolder_)) {
  for (const std::string& folder : search.includePath) includePath_.push_back(normalPath(folder));
}

std::optional<FoundFile> ProjectLookup::find(std::string_view name,
                                             const std::optional<std::string>& namingFolder) {
  std::vector<std::string> tried;
  if (auto found = findIn(programFolder_, name, tried)) return found;
  if (auto found = findIn(namingFolder, name, tried)) return found;
  if (!redirections_) redirections_.emplace(fs_, programFolder_);
  for (const std::string& folder : redirections_->foldersFor(name))
    if (auto found = findIn(folder, name, tried)) return found;
  for (const std::string& folder : includePath_)
    if (auto found = findIn(folder, name, tried)) return found;
  return std::nullopt;
}

// `tried` holds the normal folders looked in so far: each is looked in once.
std::optional<FoundFile> ProjectLookup::findIn(const std::optional<std::string>& folder,
                                               std::string_view name,
                                               std::vector<std::string>& tried) {
  std::string normal = normalFolder(folder);
  if (std::find(tried.begin(), tried.end(), normal) != tried.end()) return std::nullopt;
  tried.push_back(normal);
  std::string path = resolvePath(fs_, folder, name);
  FileStat st = fs_.stat(path);
  if (!st.exists || st.isDirectory) return std::nullopt;
  std::string shown = relativePath(programNormal_, normal);
  if (shown == ".") shown.clear();
  return FoundFile{std::move(path), std::move(shown)};
}

}  // namespace tarn
