#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <unordered_map>
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

/// Renumbers every indirect reference ("12 0 R") in a PDF object's body:
/// N becomes number(N); strings, names and comments are left as they are.
std::string renumberReferences(std::string_view body, const std::function<int(int)>& number);

/// A PDF file being written: numbered objects in any order, then the
/// cross-reference table and trailer. The file appears at its path only when
/// committed; until then it is a temporary file beside it, removed on failure.
/// A file in memory holds objects for another file to take in.
class PdfFile {
 public:
  /// `path` is the platform's bytes. With `packObjects` the objects that are
  /// no streams go compressed into object streams, found through a
  /// cross-reference stream (PDF 1.5); without, each stands alone in the
  /// file and a table finds them.
  explicit PdfFile(std::string path, bool packObjects = true);
  /// Objects in memory, numbered from 1, for adopt().
  static std::unique_ptr<PdfFile> inMemory();
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
  /// The same with the data compressed already (`packed`: pdfDeflate(data)).
  void deflatedStream(int number, std::string_view dict, std::string_view data,
                      const std::string& packed);
  /// Writes the table and trailer and moves the file to its path.
  bool commit(int root, int info);
  /// Writes the table and trailer; the file stays temporary until publish().
  bool complete(int root, int info);
  /// Moves a completed file to its path.
  bool publish();
  /// Writes the objects of a file in memory as objects of this one, and
  /// returns the number each has here (by its number there; 0: none). An
  /// object whose bytes an adopted one had already (a font of every part of
  /// a book) is not written again: it takes that one's number.
  std::vector<int> adopt(const PdfFile& part);
  /// Drops the temporary file.
  void discard();
  bool failed() const { return failed_; }

 private:
  void put(std::string_view bytes);
  void flush();
  void begin(int number);
  /// Writes the objects waiting to be packed as one object stream.
  void flushPacked();
  bool completeWithTable(int root, int info);
  bool completeWithStream(int root, int info);
  /// Ends the file with where its cross-reference section starts.
  bool close(std::uint64_t xref);
  struct Piece {
    int number;
    std::string body;  // a stream's: its dictionary
    std::string data;  // a stream's bytes as written
    bool stream;
  };

  std::string path_;
  std::string temp_;
  std::FILE* out_ = nullptr;
  std::string buffer_;
  std::uint64_t written_ = 0;
  std::vector<std::uint64_t> offsets_{0};  // by object number; 0 is the free head
  bool failed_ = false;
  bool memory_ = false;
  bool pack_ = true;
  std::vector<std::pair<int, std::string>> waiting_;  // objects for the next object stream
  // By object number: the object stream holding it (-1 while waiting; 0: none) and its index there.
  std::vector<std::pair<int, int>> packed_{{0, 0}};
  std::vector<Piece> pieces_;  // of a file in memory
  std::unordered_map<std::string, int> adopted_;  // objects adopted, by their bytes here
};

}  // namespace tarn
