#pragma once

#include <string>

namespace tarn {

/// Which page the preview shows and what its tool bar enables.
class PreviewPages {
 public:
  /// A listing of `count` pages (at least one is shown), at page 1.
  explicit PreviewPages(int count);

  int current() const { return current_; }
  int count() const { return count_; }

  /// Moves; false when the page stays as it is.
  bool next() { return show(current_ + 1); }
  bool previous() { return show(current_ - 1); }
  bool first() { return show(1); }
  bool last() { return show(count_); }
  /// Shows `page` when it exists.
  bool show(int page);

  bool canPrevious() const { return current_ > 1; }
  bool canNext() const { return current_ < count_; }
  /// "Page 3 of 12".
  std::string indicator() const;

 private:
  int current_ = 1;
  int count_ = 1;
};

}  // namespace tarn
