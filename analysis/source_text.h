#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarn {

/// Reads a file's bytes as text of any length: carriage returns are dropped
/// and a Ctrl-Z or a NUL ends the text. A UTF-8 byte-order mark at the start
/// is dropped; when the bytes kept are valid UTF-8 holding multi-byte
/// sequences they are converted to Windows-1252 (characters outside it become
/// '?'); anything else stays byte for byte.
class SourceTextReader {
 public:
  /// Takes the next bytes; false once the text is complete.
  bool feed(std::string_view chunk);
  bool done() const { return done_; }
  /// Whether the text ended at a NUL byte (not at the end or at Ctrl+Z).
  bool stoppedAtNul() const { return stoppedAtNul_; }
  /// The text read so far; converting needs the whole file, so call it once
  /// the bytes are all fed.
  std::string take();

 private:
  void checkUtf8(unsigned char b);

  std::string text_;
  bool done_ = false;
  bool stoppedAtNul_ = false;
  bool started_ = false;      // past the place where a byte-order mark may stand
  std::uint8_t bomSeen_ = 0;  // leading bytes matching the mark, held back
  bool utf8Valid_ = true;
  bool multiByte_ = false;
  std::uint8_t pending_ = 0;  // continuation bytes still owed
  unsigned char lo_ = 0x80, hi_ = 0xBF;  // range of the next continuation byte
};

/// The text of a file's bytes, read as above.
std::string sourceTextOf(std::string_view bytes);

}  // namespace tarn
