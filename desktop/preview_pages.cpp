#include "desktop/preview_pages.h"

#include <algorithm>

namespace tarn {

PreviewPages::PreviewPages(int count) : count_(std::max(1, count)) {}

bool PreviewPages::show(int page) {
  if (page < 1 || page > count_ || page == current_) return false;
  current_ = page;
  return true;
}

std::string PreviewPages::indicator() const {
  return "Page " + std::to_string(current_) + " of " + std::to_string(count_);
}

}  // namespace tarn
