#include "analysis/analyser.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "analysis/analysis_error.h"
#include "analysis/word_tables.h"
#include "platform/cp1252.h"

namespace tarn {
namespace {

constexpr int kMaxNesting = 10;

std::string lineMessage(const char* format, int line) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, line);
  return buffer;
}

bool textIs(const TToken* t, std::string_view word) {
  return cp1252::compareIgnoreCase(t->view(), word) == 0;
}

bool isOperator(const TToken* t, char c) {
  return t->is(tcOperator) && t->length == 1 && t->text[0] == c;
}

bool closesStructure(const TToken* t) { return textIs(t, "END") || t->view() == "."; }

bool isUnitKeyword(const TToken* t) {
  return textIs(t, "FUNCTION") || textIs(t, "ROUTINE") || textIs(t, "PROGRAM") ||
         textIs(t, "PROCEDURE");
}

/// A structure word right after a "," on the same line is an attribute
/// (CLASS,MODULE('X.CLW'),LINK(...)), and one right after "&" is a reference
/// type (Ref &WINDOW): neither opens a structure.
bool isAttributeOrReference(const TToken* t) {
  for (const TToken* p = t->previous(); p; p = p->previous()) {
    if (p->isSeparator()) {
      if (p->has(tfLineEnd)) return false;
      continue;
    }
    return isOperator(p, ',') || isOperator(p, '&');
  }
  return false;
}

bool opensStructure(const TToken* t) {
  return words::isStructureWord(t->view()) && !isAttributeOrReference(t);
}

const TToken* nearestNonSeparatorBefore(const TToken* t) {
  const TToken* p = t->previous();
  while (p && p->isSeparator()) p = p->previous();
  return p;
}

/// The first token of the comment lines directly above a label.
TToken* commentBlockStart(TToken* label) {
  TToken* p = label->previous();
  if (!p) return label;
  for (;;) {
    if (!p->isSeparator()) {
      // The separator after a code line holds its line end (and any comment
      // behind the code); the block starts after it.
      TToken* lineEnd = p->next();
      return lineEnd == label ? label : lineEnd->next();
    }
    if (p->has(tfLineEnd) && !p->has(tfComment)) return p->next();
    if (!p->previous()) return p->next();  // only comments above: from the second token
    p = p->previous();
  }
}

const TToken* nextOnLine(const TToken* t) {
  for (t = t->next(); t && t->isSeparator(); t = t->next())
    if (t->has(tfLineEnd)) return nullptr;
  return t;
}

/// The terminator of an unconditional OMIT('...') whose directive is `t`.
/// A doubled apostrophe is lexed as two adjacent strings.
std::optional<std::string> omitTerminator(const TToken* t) {
  if (!t->is(tcDirective) || !textIs(t, "OMIT")) return std::nullopt;
  const TToken* p = nextOnLine(t);
  if (!p || !isOperator(p, '(')) return std::nullopt;
  p = nextOnLine(p);
  std::string terminator;
  for (bool first = true;; first = false) {
    if (!p || !p->is(tcLiteral) || p->length < 2 || p->text[0] != '\'' ||
        p->text[p->length - 1] != '\'')
      return std::nullopt;
    if (!first) terminator += '\'';
    terminator.append(p->text + 1, p->length - 2);
    if (!p->next() || !p->next()->is(tcLiteral)) break;
    p = p->next();
  }
  p = nextOnLine(p);
  if (!p || !isOperator(p, ')')) return std::nullopt;
  return terminator;
}

/// The lines of the text as the file holds them (before tabs are expanded
/// or keywords upper-cased), by the tokens' line numbers.
class SourceLines {
 public:
  SourceLines(std::string_view text, int firstLine) : text_(text), first_(firstLine) {
    text_ = text_.substr(0, text_.find('\0'));  // the lexer stops there too
  }

  /// The first line after line `after` that holds `terminator`; 0 when none does.
  int findAfter(int after, std::string_view terminator) {
    if (starts_.empty()) {
      starts_.push_back(0);
      for (std::size_t i = 0; i < text_.size(); ++i)
        if (text_[i] == '\n') starts_.push_back(i + 1);
    }
    for (std::size_t n = static_cast<std::size_t>(std::max(0, after + 1 - first_));
         n < starts_.size(); ++n) {
      const std::size_t end = n + 1 < starts_.size() ? starts_[n + 1] : text_.size();
      if (text_.substr(starts_[n], end - starts_[n]).find(terminator) != std::string_view::npos)
        return static_cast<int>(n) + first_;
    }
    return 0;
  }

 private:
  std::string_view text_;
  int first_;
  std::vector<std::size_t> starts_;  // of each line, made on the first OMIT
};

/// The token after the unconditional OMIT block that `t` opens: the block
/// ends with the first later line of the source holding the terminator as
/// the file has it, else with the file. `t` itself when it opens none. The
/// block's comments lose their embed marks: an omitted embed point is none.
TToken* afterOmitBlock(TToken* t, SourceLines& source) {
  std::optional<std::string> terminator = omitTerminator(t);
  if (!terminator) return t;
  const int last = source.findAfter(t->line, *terminator);
  TToken* p = t;
  while (p && !p->has(tfLineEnd)) p = p->next();
  if (!p) return nullptr;
  for (p = p->next(); p && (last == 0 || p->line <= last); p = p->next())
    p->flags &= ~(tfEmbedBefore | tfEmbedAfter);
  return p;
}

class Walk {
 public:
  Walk(bool includePrecedingComment, Structure& structure, SourceLines source)
      : includeComment_(includePrecedingComment), s_(structure), source_(source) {}

  void run(TokenList& tokens) {
    s_.blocks.clear();
    s_.embeds.clear();
    TToken* t = tokens.front();
    while (t) {
      if (TToken* after = afterOmitBlock(t, source_); after != t) {
        t = after;
        continue;
      }
      int startLine = t->line;
      if (outerDepth_ < 0 || outerDepth_ > kMaxNesting)
        throw AnalysisError(lineMessage("Error in syntax in line %i: Bad compund structure", t->line));
      if (t->is(tcComment) && t->has(tfEmbedBefore)) s_.embeds.push_back(t);
      if (isOperator(t, '(')) {
        int depth = 1;
        t = t->next();
        while (t && depth > 0) {
          if (isOperator(t, '(')) ++depth;
          if (isOperator(t, ')')) --depth;
          if (depth > kMaxNesting)
            throw AnalysisError(
                lineMessage("Error in syntax in line %i: Bad brackets () pair matching", t->line));
          t = t->next();
        }
        if (!t) {
          // A file may end right after a bracket group; an unclosed one is an error.
          if (depth > 0)
            throw AnalysisError(lineMessage(
                "Line %i: Token is zero after ruling out parameter declarations", startLine));
          break;
        }
      }
      if (keyword(t)) continue;  // the same token starts the next unit
      t = t->next();
    }
  }

 private:
  /// Steps 5-9 for one token; true when the token must be examined again.
  bool keyword(TToken* t) {
    if (!t->is(tcKeyword)) return false;
    if (unitLevel_ == 0) {
      if (opensStructure(t)) {
        if (outerDepth_ == 0) recordUnit(t);
        ++outerDepth_;
      } else if (closesStructure(t)) {
        if (--outerDepth_ == 0) ++unitCount_;
      }
    }
    if (outerDepth_ != 0) return false;
    if (isUnitKeyword(t) && structDepth_ == 0) {
      if (unitLevel_ == 1) {
        unitLevel_ = 0;
        ++unitCount_;
        return true;
      }
      recordUnit(t);
      unitLevel_ = 1;
    }
    if (unitLevel_ == 1) {
      if (opensStructure(t)) {
        if (structDepth_ == 0 &&
            (textIs(t, "WINDOW") || textIs(t, "APPLICATION") || textIs(t, "REPORT")))
          markStructure(t);
        ++structDepth_;
      } else if (closesStructure(t) && structDepth_ > 0) {
        if (--structDepth_ == 0) t->set(tfStructEnd);
      }
    }
    return false;
  }

  TToken* labelBefore(TToken* keyword) {
    const TToken* l = nearestNonSeparatorBefore(keyword);
    return l && l->is(tcLabel) ? const_cast<TToken*>(l) : nullptr;
  }

  void recordUnit(TToken* k) {
    TToken* label = labelBefore(k);
    TToken* entry = label ? label : k;
    TToken* marked = entry;
    if (label && includeComment_) {
      if (TToken* start = commentBlockStart(label)) marked = start;
    }
    marked->set(tfUnitStart);
    if (unitCount_ > 0 && marked->previous()) marked->previous()->set(tfBeforeUnit);
    std::size_t at = static_cast<std::size_t>(unitCount_);
    if (at < s_.blocks.size())
      s_.blocks[at] = entry;
    else
      s_.blocks.push_back(entry);
  }

  void markStructure(TToken* k) {
    TToken* label = labelBefore(k);
    TToken* marked = k;
    if (label && includeComment_) {
      if (TToken* start = commentBlockStart(label)) marked = start;
    }
    marked->set(tfStructStart);
  }

  bool includeComment_;
  Structure& s_;
  SourceLines source_;
  int unitLevel_ = 0;
  int outerDepth_ = 0;
  int structDepth_ = 0;
  int unitCount_ = 0;
};

}  // namespace

void walkStructure(TokenList& tokens, bool includePrecedingComment, Structure& structure,
                   std::string_view source, int firstLine) {
  words::prepare();
  Walk(includePrecedingComment, structure, SourceLines(source, firstLine)).run(tokens);
}

void analyse(std::string_view text, bool isClarion, const AnalyseOptions& options,
             TokenList& tokens, Structure& structure) {
  lex(text, isClarion, options.lex, tokens);
  // The line put before the first unit is numbered 1; the file's own start at 2.
  walkStructure(tokens, options.includePrecedingComment, structure, text,
                options.lex.lineBeforeUnit ? 2 : 1);
}

std::optional<std::string> embedDescription(std::string_view text) {
  constexpr std::string_view kDesc = "DESC(", kArgs = ") ARG(";
  auto desc = text.find(kDesc);
  auto args = text.find(kArgs);
  if (desc == std::string_view::npos || args == std::string_view::npos) return std::nullopt;
  std::size_t from = desc + kDesc.size();
  if (args < from) return std::nullopt;
  std::string result(text.substr(from, args - from));
  result += "   ";
  result += text.substr(text.find("ARG("));
  result.pop_back();
  if (result.size() > kMaxEmbedDescription) return std::nullopt;
  return result;
}

}  // namespace tarn
