#include "document/entry_titles.h"

#include "analysis/analyser.h"

namespace tarn {

const TToken* keywordAfterLabel(const TToken* entry) {
  if (!entry || entry->tokenClass != tcLabel) return nullptr;
  for (const TToken* t = entry->next(); t; t = t->next())
    if (!t->isSeparator()) return t;
  return nullptr;
}

std::string unitTitle(const TToken* entry) {
  std::string title(entry->view());
  if (const TToken* keyword = keywordAfterLabel(entry)) {
    title += ' ';
    title += keyword->view();
  }
  return title;
}

std::string embedTitle(const TToken* comment) {
  std::string_view text = comment->view();
  if (auto description = embedDescription(text)) return std::move(*description);
  const std::size_t bang = text.find('!');
  if (bang != std::string_view::npos) text.remove_prefix(bang + 1);
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  // The blank after "!" would indent the entry against those with a description.
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return std::string(text);
}

}  // namespace tarn
