#include "pdf/pdf_file.h"

#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <random>
#include <system_error>

namespace tarn {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFlushAt = 1 << 16;

}  // namespace

std::string pdfDeflate(std::string_view data) {
  if (data.size() > static_cast<std::size_t>(INT32_MAX / 2)) return {};
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string packed(size, '\0');
  // zlib's default level: level 9 made a listing's pages 0.7 % smaller and
  // took the longest of a whole run.
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
                reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                6) != Z_OK)
    return {};
  packed.resize(size);
  return packed;
}

void appendPdfNumber(std::string& out, long long value) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  out.append(buf, r.ptr);
}

void appendPdfNumber(std::string& out, double value, int decimals) {
  if (!std::isfinite(value) || std::fabs(value) > 1e9) value = 0;
  char buf[48];
  auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  char* end = r.ptr;
  if (std::find(buf, end, '.') != end) {
    while (end[-1] == '0') --end;
    if (end[-1] == '.') --end;
  }
  std::string_view s(buf, static_cast<std::size_t>(end - buf));
  if (s == "-0") s = "0";
  // Readers take ".5" for 0.5; listings have many such numbers.
  if (s.size() > 1 && s[0] == '0' && s[1] == '.') s.remove_prefix(1);
  if (s.size() > 2 && s[0] == '-' && s[1] == '0' && s[2] == '.') {
    out += '-';
    s.remove_prefix(2);
  }
  out += s;
}

void appendPdfString(std::string& out, std::string_view bytes) {
  out += '(';
  for (char c : bytes) {
    switch (c) {
      case '(': case ')': case '\\': out += '\\'; out += c; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  out += ')';
}

std::string renumberReferences(std::string_view body, const std::function<int(int)>& numberOf) {
  std::string out;
  out.reserve(body.size() + 8);
  // The last two whole numbers seen, where the first one starts in `out`.
  struct Number {
    long long value;
    std::size_t at;
  };
  Number last[2] = {{-1, 0}, {-1, 0}};
  auto isDelimiter = [](char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0' ||
           c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' ||
           c == '}' || c == '/' || c == '%';
  };
  std::size_t i = 0;
  while (i < body.size()) {
    const char c = body[i];
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0') {
      out += c;
      ++i;
      continue;
    }
    std::size_t end = i + 1;
    bool number = false;
    if (c == '(') {
      for (int depth = 1; end < body.size() && depth > 0; ++end) {
        if (body[end] == '\\') ++end;
        else if (body[end] == '(') ++depth;
        else if (body[end] == ')') --depth;
      }
      end = std::min(end, body.size());
    } else if ((c == '<' || c == '>') && i + 1 < body.size() && body[i + 1] == c) {
      end = i + 2;  // a dictionary's bracket
    } else if (c == '<') {
      end = body.find('>', i);
      end = end == std::string_view::npos ? body.size() : end + 1;
    } else if (c == '%') {
      end = body.find_first_of("\r\n", i);
      if (end == std::string_view::npos) end = body.size();
    } else if (c == '/' || !isDelimiter(c)) {
      while (end < body.size() && !isDelimiter(body[end])) ++end;
      const std::string_view word = body.substr(i, end - i);
      number = c != '/' && word.find_first_not_of("0123456789") == std::string_view::npos;
      if (word == "R" && last[0].value > 0 && last[1].value == 0) {
        // "N 0 R": N moves up.
        std::string moved;
        appendPdfNumber(moved, numberOf(static_cast<int>(std::min<long long>(last[0].value, INT32_MAX))));
        const std::size_t digits = std::to_string(last[0].value).size();
        out.replace(last[0].at, digits, moved);
      }
    }
    if (number) {
      last[0] = last[1];
      last[1] = Number{std::stoll(std::string(body.substr(i, std::min<std::size_t>(end - i, 18)))),
                       out.size()};
    } else if (body.substr(i, end - i) != "R") {
      last[0] = last[1] = Number{-1, 0};
    }
    out.append(body.substr(i, end - i));
    i = end;
  }
  return out;
}

PdfFile::PdfFile(std::string path, bool packObjects)
    : path_(std::move(path)), pack_(packObjects) {}

std::unique_ptr<PdfFile> PdfFile::inMemory() {
  auto file = std::make_unique<PdfFile>(std::string());
  file->memory_ = true;
  return file;
}

PdfFile::~PdfFile() { discard(); }

bool PdfFile::open() {
  std::error_code ec;
  fs::path target(path_);
  if (target.empty() || fs::is_directory(target, ec)) return false;
  // The file replaces what a link points to, not the link.
  if (fs::is_symlink(target, ec)) {
    fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) path_ = resolved.string();
  }
  // A name no other job picks at the same moment.
  std::minstd_rand random(static_cast<unsigned>(
      std::chrono::steady_clock::now().time_since_epoch().count() ^
      static_cast<long long>(reinterpret_cast<std::uintptr_t>(this))));
  for (int attempt = 0; attempt < 16 && !out_; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%08x.part", static_cast<unsigned>(random()));
    std::string candidate = path_ + suffix;
    if (fs::exists(fs::path(candidate), ec)) continue;
    out_ = std::fopen(candidate.c_str(), "wb");
    if (!out_) return false;
    temp_ = std::move(candidate);
  }
  if (!out_) return false;
  // The second line marks the file as binary for transfer programs.
  put(pack_ ? "%PDF-1.5\n%\xE2\xE3\xCF\xD3\n" : "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
  return true;
}

int PdfFile::reserve() {
  offsets_.push_back(0);
  packed_.emplace_back(0, 0);
  return static_cast<int>(offsets_.size() - 1);
}

void PdfFile::put(std::string_view bytes) {
  buffer_ += bytes;
  written_ += bytes.size();
  if (buffer_.size() >= kFlushAt) flush();
}

void PdfFile::flush() {
  if (!out_ || buffer_.empty()) return;
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size()) failed_ = true;
  buffer_.clear();
}

void PdfFile::begin(int number) {
  if (number <= 0 || static_cast<std::size_t>(number) >= offsets_.size()) {
    failed_ = true;
    return;
  }
  offsets_[static_cast<std::size_t>(number)] = written_;
  std::string head;
  appendPdfNumber(head, number);
  head += " 0 obj\n";
  put(head);
}

void PdfFile::object(int number, std::string_view body) {
  if (memory_) {
    pieces_.push_back(Piece{number, std::string(body), {}, false});
    return;
  }
  if (pack_) {
    if (number <= 0 || static_cast<std::size_t>(number) >= offsets_.size()) {
      failed_ = true;
      return;
    }
    packed_[static_cast<std::size_t>(number)] = {-1, 0};
    waiting_.emplace_back(number, std::string(body));
    // Streams of a few hundred objects compress well and stay small to read.
    if (waiting_.size() >= 200) flushPacked();
    return;
  }
  begin(number);
  put(body);
  put("\nendobj\n");
}

void PdfFile::stream(int number, std::string_view dict, std::string_view data, bool deflate) {
  deflatedStream(number, dict, data, deflate ? pdfDeflate(data) : std::string());
}

void PdfFile::deflatedStream(int number, std::string_view dict, std::string_view data,
                             const std::string& packed) {
  const bool flate = !packed.empty() && packed.size() < data.size();
  std::string_view body = flate ? std::string_view(packed) : data;
  std::string head = "<<";
  head += dict;
  head += "/Length ";
  appendPdfNumber(head, static_cast<long long>(body.size()));
  if (flate) head += "/Filter/FlateDecode";
  head += ">>";
  if (memory_) {
    pieces_.push_back(Piece{number, std::move(head), std::string(body), true});
    return;
  }
  head += "stream\n";
  begin(number);
  put(head);
  put(body);
  put("\nendstream\nendobj\n");
}

std::vector<int> PdfFile::adopt(const PdfFile& part) {
  std::vector<int> here(part.offsets_.size(), 0);
  const auto numberHere = [&](int n) {
    if (n <= 0 || static_cast<std::size_t>(n) >= here.size()) return n;
    int& m = here[static_cast<std::size_t>(n)];
    if (m == 0) m = reserve();
    return m;
  };
  std::vector<bool> written(part.offsets_.size(), false);
  for (const Piece& p : part.pieces_) {
    if (p.number <= 0 || static_cast<std::size_t>(p.number) >= here.size()) continue;
    written[static_cast<std::size_t>(p.number)] = true;
    const std::string body = renumberReferences(p.body, numberHere);
    // Dictionaries and font programs repeat from part to part; page contents do not.
    const bool shared = !p.stream || body.find("/Length1 ") != std::string::npos ||
                        body.find("/Subtype/Type1C") != std::string::npos;
    std::string key;
    if (shared && here[static_cast<std::size_t>(p.number)] == 0) {
      key = body;
      if (p.stream) (key += '\0') += p.data;
      if (auto it = adopted_.find(key); it != adopted_.end()) {
        here[static_cast<std::size_t>(p.number)] = it->second;
        continue;
      }
    }
    const int n = numberHere(p.number);
    if (!key.empty()) adopted_.emplace(std::move(key), n);
    if (!p.stream) {
      object(n, body);
      continue;
    }
    begin(n);
    put(body);
    put("stream\n");
    put(p.data);
    put("\nendstream\nendobj\n");
  }
  // Referred to there and never written: still an object here.
  for (std::size_t n = 1; n < written.size(); ++n)
    if (!written[n] && here[n] != 0) object(here[n], "null");
  return here;
}

bool PdfFile::commit(int root, int info) { return complete(root, info) && publish(); }

void PdfFile::flushPacked() {
  if (waiting_.empty()) return;
  const int holder = reserve();
  std::string head, bodies;
  for (std::size_t i = 0; i < waiting_.size(); ++i) {
    const auto& [number, body] = waiting_[i];
    packed_[static_cast<std::size_t>(number)] = {holder, static_cast<int>(i)};
    appendPdfNumber(head, number);
    head += ' ';
    appendPdfNumber(head, static_cast<long long>(bodies.size()));
    head += ' ';
    bodies += body;
    bodies += '\n';
  }
  std::string dict = "/Type/ObjStm/N ";
  appendPdfNumber(dict, static_cast<long long>(waiting_.size()));
  dict += "/First ";
  appendPdfNumber(dict, static_cast<long long>(head.size()));
  waiting_.clear();
  stream(holder, dict, head + bodies, true);
}

bool PdfFile::complete(int root, int info) {
  if (!out_) return false;
  // A reserved object never written still needs an entry.
  for (std::size_t n = 1; n < offsets_.size(); ++n)
    if (offsets_[n] == 0 && packed_[n].first == 0) object(static_cast<int>(n), "null");
  return pack_ ? completeWithStream(root, info) : completeWithTable(root, info);
}

bool PdfFile::completeWithStream(int root, int info) {
  flushPacked();
  const int self = reserve();
  const std::uint64_t at = written_;
  // Field widths: type, offset or holding stream, index.
  int width = 1;
  while (width < 8 && (at >> (8 * width)) != 0) ++width;
  std::string entries;
  auto field = [&entries](std::uint64_t v, int bytes) {
    for (int b = bytes - 1; b >= 0; --b) entries += static_cast<char>((v >> (8 * b)) & 0xFF);
  };
  for (std::size_t n = 0; n < offsets_.size(); ++n) {
    if (n == 0) {
      field(0, 1), field(0, width), field(0xFFFF, 2);
    } else if (packed_[n].first > 0) {
      field(2, 1), field(static_cast<std::uint64_t>(packed_[n].first), width);
      field(static_cast<std::uint64_t>(packed_[n].second), 2);
    } else {
      field(1, 1), field(static_cast<int>(n) == self ? at : offsets_[n], width), field(0, 2);
    }
  }
  std::string dict = "/Type/XRef/Size ";
  appendPdfNumber(dict, static_cast<long long>(offsets_.size()));
  dict += "/W[1 " + std::to_string(width) + " 2]/Root ";
  appendPdfNumber(dict, root);
  dict += " 0 R/Info ";
  appendPdfNumber(dict, info);
  dict += " 0 R";
  stream(self, dict, entries, true);
  return close(at);
}

bool PdfFile::close(std::uint64_t xref) {
  std::string tail = "startxref\n";
  appendPdfNumber(tail, static_cast<long long>(xref));
  tail += "\n%%EOF\n";
  put(tail);
  flush();
  if (std::fclose(out_) != 0) failed_ = true;
  out_ = nullptr;
  if (failed_) discard();
  return !failed_;
}

bool PdfFile::completeWithTable(int root, int info) {
  const std::uint64_t table = written_;
  std::string xref = "xref\n0 ";
  appendPdfNumber(xref, static_cast<long long>(offsets_.size()));
  xref += "\n0000000000 65535 f \n";
  char entry[24];
  for (std::size_t n = 1; n < offsets_.size(); ++n) {
    std::snprintf(entry, sizeof entry, "%010llu 00000 n \n",
                  static_cast<unsigned long long>(offsets_[n]));
    xref += entry;
  }
  xref += "trailer\n<</Size ";
  appendPdfNumber(xref, static_cast<long long>(offsets_.size()));
  xref += "/Root ";
  appendPdfNumber(xref, root);
  xref += " 0 R/Info ";
  appendPdfNumber(xref, info);
  xref += " 0 R>>\n";
  put(xref);
  return close(table);
}

bool PdfFile::publish() {
  if (out_ || temp_.empty()) return false;
  std::error_code ec;
  if (!failed_) fs::rename(fs::path(temp_), fs::path(path_), ec);
  if (failed_ || ec) {
    failed_ = true;
    fs::remove(fs::path(temp_), ec);
    temp_.clear();
    return false;
  }
  temp_.clear();
  return true;
}

void PdfFile::discard() {
  if (out_) std::fclose(out_);
  out_ = nullptr;
  if (!temp_.empty()) {
    std::error_code ec;
    fs::remove(fs::path(temp_), ec);
    temp_.clear();
  }
}

}  // namespace tarn
