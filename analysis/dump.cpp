#include "analysis/dump.h"

#include <charconv>

#include "analysis/analyser.h"

namespace tarn {
namespace {

void appendNumber(std::string& out, long long value) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  out.append(buf, r.ptr);
}

void appendEscaped(std::string& out, std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          out += "\\x";
          out += kHex[c >> 4];
          out += kHex[c & 0xF];
        } else {
          out += ch;
        }
    }
  }
}

}  // namespace

std::string escapeDumpText(std::string_view text) {
  std::string out;
  appendEscaped(out, text);
  return out;
}

std::string dumpTokens(const TokenList& tokens) {
  std::string out;
  for (const TToken* t = tokens.front(); t; t = t->next()) {
    appendNumber(out, t->line);
    out += '\t';
    appendNumber(out, t->tokenClass);
    out += '\t';
    appendNumber(out, t->flags);
    out += '\t';
    appendEscaped(out, t->view());
    out += '\n';
  }
  return out;
}

}  // namespace tarn

namespace tarn {

std::string dumpStructure(const std::vector<TToken*>& blocks, const std::vector<TToken*>& embeds) {
  std::string out;
  for (const TToken* t : blocks) {
    out += "unit\t";
    appendNumber(out, t->line);
    out += '\t';
    appendEscaped(out, t->view());
    out += '\n';
  }
  for (const TToken* t : embeds) {
    out += "embed\t";
    appendNumber(out, t->line);
    out += '\t';
    appendEscaped(out, embedDescription(t->view()).value_or(""));
    out += '\n';
  }
  return out;
}

}  // namespace tarn
