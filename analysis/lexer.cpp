#include "analysis/lexer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "analysis/analysis_error.h"
#include "analysis/char_classes.h"
#include "analysis/word_tables.h"
#include "platform/cp1252.h"

namespace tarn {
namespace {

constexpr std::string_view kEmbedBefore = "Before Embed Point: %";
constexpr std::string_view kEmbedAfter = "After Embed Point: %";
// Shortest comment text that is tested for the markers.
constexpr std::size_t kEmbedTestLength = 20;

class Lexer {
 public:
  Lexer(std::string_view text, const LexOptions& options, TokenList& tokens)
      : p_(text.data()),
        end_(text.data() + text.size()),
        tabText_(static_cast<std::size_t>(std::clamp(options.tabWidth, 0, kMaxTabText)), ' '),
        uppercase_(options.keywordsUppercase),
        tokens_(tokens) {
    // The text ends at its first NUL.
    if (const void* nul = std::memchr(p_, '\0', text.size())) end_ = static_cast<const char*>(nul);
  }

  void run(bool isClarion, bool lineBeforeUnit) {
    if (lineBeforeUnit) {
      emit("\n", tcComment, tfLineEnd);
      line_ = 2;
    }
    while (p_ < end_) {
      if (isClarion)
        clarionToken();
      else
        plainToken();
      atLineStart_ = tokens_.back()->has(tfLineEnd);
    }
  }

 private:
  char peek(std::size_t ahead = 0) const { return p_ + ahead < end_ ? p_[ahead] : '\0'; }

  TToken* emit(std::string_view text, TokenClass cls, std::uint32_t flags = 0) {
    if (text.empty()) throw AnalysisError("Illegal string property in token");
    return tokens_.appendToken(text, cls, flags, tokenLine_);
  }

  void emitTab() {
    ++p_;
    emit(tabText_, tcComment);
  }

  void clarionToken() {
    tokenLine_ = line_;
    const char* start = p_;
    char c = *p_;
    if (chars::isSeparator(c)) return separatorRun(start);
    if (c == '.') {
      ++p_;
      emit({start, 1}, tcKeyword);
      return;
    }
    if (!atLineStart_ && chars::isLetter(c) && chars::isLetter(peek(1)) && keyword(start)) return;
    if (chars::isOperator(c)) {
      ++p_;
      emit({start, 1}, tcOperator);
    } else if (chars::isDigit(c)) {
      ++p_;
      while (p_ < end_ && (chars::isDigit(*p_) || *p_ == '.' || *p_ == 'E' || *p_ == 'e')) ++p_;
      emit({start, static_cast<std::size_t>(p_ - start)}, tcLiteral);
    } else if (c == '\'') {
      // A string runs to the next apostrophe; unclosed, it ends before the line end.
      ++p_;
      while (p_ < end_ && *p_ != '\'' && *p_ != '\n') ++p_;
      if (p_ < end_ && *p_ == '\'') ++p_;
      emit({start, static_cast<std::size_t>(p_ - start)}, tcLiteral);
    } else if (chars::isWordChar(c)) {
      ++p_;
      while (p_ < end_ && chars::isWordChar(*p_)) ++p_;
      std::string_view word(start, static_cast<std::size_t>(p_ - start));
      if (atLineStart_)
        emit(word, tcLabel, tfLabel);
      else
        emit(word, tcIdentifier);
    } else {
      ++p_;
      emit({start, 1}, tcUnknown);
    }
  }

  /// A run of letters followed by a separator, an operator, a full stop or the
  /// end is looked up; found, it is the token.
  bool keyword(const char* start) {
    const char* q = start;
    while (q < end_ && chars::isLetter(*q)) ++q;
    if (q < end_ && !chars::isSeparator(*q) && !chars::isOperator(*q) && *q != '.') return false;
    std::string_view run(start, static_cast<std::size_t>(q - start));
    auto cls = words::classify(run);
    if (!cls) return false;
    p_ = q;
    if (uppercase_)
      emit(cp1252::upper(run), *cls);
    else
      emit(run, *cls);
    return true;
  }

  void separatorRun(const char* start) {
    std::uint32_t flags = 0;
    for (;;) {
      // Spaces passed before a tab belong to no token.
      if (*p_ == '\t') return emitTab();
      while (p_ < end_ && (*p_ == ' ' || *p_ == '\r')) ++p_;
      if (p_ < end_ && *p_ == '!') {
        flags |= tfComment;
        while (p_ < end_ && *p_ != '\r' && *p_ != '\n') ++p_;
      }
      if (p_ < end_ && *p_ == '\n') {
        flags |= tfLineEnd;
        ++line_;
        ++p_;
        break;
      }
      if (p_ >= end_ || !chars::isSeparator(*p_)) break;
    }
    std::string_view text(start, static_cast<std::size_t>(p_ - start));
    if ((flags & tfComment) && text.size() >= kEmbedTestLength) {
      if (text.find(kEmbedBefore) != std::string_view::npos) flags |= tfEmbedBefore;
      if (text.find(kEmbedAfter) != std::string_view::npos) flags |= tfEmbedAfter;
    }
    emit(text, tcComment, flags);
  }

  void plainToken() {
    tokenLine_ = line_;
    const char* start = p_;
    char c = *p_;
    if (chars::isBlank(c)) {
      std::uint32_t flags = 0;
      while (p_ < end_ && (*p_ == ' ' || *p_ == '\r')) ++p_;
      if (p_ < end_ && *p_ == '\t') return emitTab();
      if (p_ < end_ && *p_ == '\n') {
        flags = tfLineEnd;
        ++line_;
        ++p_;
      }
      emit({start, static_cast<std::size_t>(p_ - start)}, tcComment, flags);
    } else if (chars::isDelimiter(c)) {
      ++p_;
      emit({start, 1}, tcUnknown);
    } else {
      ++p_;
      while (p_ < end_ && !chars::isBlank(*p_) && !chars::isDelimiter(*p_)) ++p_;
      emit({start, static_cast<std::size_t>(p_ - start)}, tcUnknown);
    }
  }

  const char* p_;
  const char* end_;
  std::string tabText_;
  bool uppercase_;
  TokenList& tokens_;
  int line_ = 1;
  int tokenLine_ = 1;
  bool atLineStart_ = true;
};

}  // namespace

void lex(std::string_view text, bool isClarion, const LexOptions& options, TokenList& tokens) {
  words::prepare();
  Lexer(text, options, tokens).run(isClarion, options.lineBeforeUnit);
}

}  // namespace tarn
