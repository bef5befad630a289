#include "analysis/source_text.h"

namespace tarn {

bool SourceTextReader::feed(std::string_view chunk) {
  if (done_) return false;
  if (text_.capacity() == 0) text_.reserve(std::min(chunk.size() + 1, kMaxSourceChars + 1));
  for (char c : chunk) {
    if (c == '\r') continue;
    if (c == '\x1A' || c == '\0' || text_.size() == kMaxSourceChars) {
      done_ = true;
      return false;
    }
    text_ += c;
  }
  return true;
}

std::string sourceTextOf(std::string_view bytes) {
  SourceTextReader reader;
  reader.feed(bytes);
  return reader.take();
}

}  // namespace tarn
