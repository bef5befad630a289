#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarn {

/// Characters of a file the analysis looks at, at most.
inline constexpr std::size_t kMaxSourceChars = 1'000'000;

/// Reads a file's bytes as text: carriage returns are dropped, a Ctrl-Z or a
/// NUL ends the text, and at most kMaxSourceChars characters are kept (counted
/// after the carriage returns are dropped); the rest is ignored.
class SourceTextReader {
 public:
  /// Takes the next bytes; false once the text is complete.
  bool feed(std::string_view chunk);
  bool done() const { return done_; }
  const std::string& text() const { return text_; }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
  bool done_ = false;
};

/// The text of a file's bytes, read as above.
std::string sourceTextOf(std::string_view bytes);

}  // namespace tarn
