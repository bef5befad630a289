#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tarn {

/// Data compressed for /FlateDecode (a zlib stream); empty when it cannot be.
std::string pdfDeflate(std::string_view data);

/// Appends a number with at most `decimals` decimals, trailing zeros dropped.
void appendPdfNumber(std::string& out, double value, int decimals);
void appendPdfNumber(std::string& out, long long value);

/// Appends bytes as a PDF literal string, parentheses included.
void appendPdfString(std::string& out, std::string_view bytes);

/// A PDF file being written: numbered objects in any order, then the
/// cross-reference table and trailer. The file appears at its path only when
/// committed; until then it is a temporary file beside it, removed on failure.
class PdfFile {
 public:
  /// `path` is the platform's bytes.
  explicit PdfFile(std::string path);
  ~PdfFile();
  PdfFile(const PdfFile&) = delete;
  PdfFile& operator=(const PdfFile&) = delete;

  /// Creates the temporary file and writes the header; false when the place
  /// cannot be written (no such folder, not writable, a folder by that name).
  bool open();
  /// A number for an object written later.
  int reserve();
  /// Writes object `number` with `body` (a dictionary, array, ...).
  void object(int number, std::string_view body);
  /// Writes a stream object: `dict` holds the entries besides /Length and
  /// /Filter; `deflate` compresses the data.
  void stream(int number, std::string_view dict, std::string_view data, bool deflate);
  /// Writes the table and trailer and moves the file to its path.
  bool commit(int root, int info);
  /// Drops the temporary file.
  void discard();
  bool failed() const { return failed_; }

 private:
  void put(std::string_view bytes);
  void flush();
  void begin(int number);

  std::string path_;
  std::string temp_;
  std::FILE* out_ = nullptr;
  std::string buffer_;
  std::uint64_t written_ = 0;
  std::vector<std::uint64_t> offsets_{0};  // by object number; 0 is the free head
  bool failed_ = false;
};

}  // namespace tarn
