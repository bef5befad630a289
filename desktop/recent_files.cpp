#include "desktop/recent_files.h"

#include "platform/paths.h"

namespace tarn {
namespace {

constexpr std::string_view kSection = "Tarnlist";

std::string key(int i) { return "File" + std::to_string(i); }

}  // namespace

void RecentFiles::load(Profile& profile) {
  entries_.clear();
  for (int i = 1; i <= kMaxEntries; ++i) {
    std::string value = profile.getString(kSection, key(i), "");
    if (value.empty()) break;
    if (value.size() > kMaxPath) continue;
    entries_.push_back(std::move(value));
  }
}

bool RecentFiles::save(Profile& profile) const {
  bool saved = true;
  for (int i = 1; i <= kMaxEntries; ++i) {
    const std::size_t at = static_cast<std::size_t>(i - 1);
    saved = profile.writeString(kSection, key(i), at < entries_.size() ? entries_[at] : std::string()) &&
            saved;
  }
  return saved;
}

bool RecentFiles::add(std::string_view path) {
  if (path.empty() || path.size() > kMaxPath) return false;
  for (const std::string& entry : entries_)
    if (entry == path) return false;
  entries_.insert(entries_.begin(), std::string(path));
  if (entries_.size() > static_cast<std::size_t>(kMaxEntries)) entries_.resize(kMaxEntries);
  return true;
}

std::string RecentFiles::menuText(int position, std::string_view path) {
  std::string text = "&" + std::to_string(position + 1) + " ";
  for (char c : fileDisplayName(path)) {
    if (c == '&') text += '&';
    text += c;
  }
  return text;
}

}  // namespace tarn
