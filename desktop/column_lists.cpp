#include "desktop/column_lists.h"

#include <algorithm>

#include "document/entry_titles.h"
#include "platform/cp1252.h"

namespace tarn {
namespace {

/// Whether `upperNeedle` occurs in `text` upper-cased, without copying it.
bool containsUpper(std::string_view text, std::string_view upperNeedle) {
  if (upperNeedle.size() > text.size()) return false;
  const std::size_t last = text.size() - upperNeedle.size();
  for (std::size_t at = 0; at <= last; ++at) {
    std::size_t k = 0;
    while (k < upperNeedle.size() &&
           cp1252::toUpper(static_cast<unsigned char>(text[at + k])) ==
               static_cast<unsigned char>(upperNeedle[k]))
      ++k;
    if (k == upperNeedle.size()) return true;
  }
  return false;
}

}  // namespace

ColumnListData::ColumnListData(int entryCount) : entryCount_(std::max(0, entryCount)) {
  // Unfiltered until the first filter: a new list shows everything.
  shownIndex_.reserve(static_cast<std::size_t>(entryCount_));
  for (int i = 0; i < entryCount_; ++i) shownIndex_.push_back(i);
}

void ColumnListData::applyFilter(std::string_view filter) {
  shownIndex_.clear();
  const std::string upper = cp1252::upper(filter);
  for (int i = 0; i < entryCount_; ++i)
    if (upper.empty() || matchesFilter(i, upper)) shownIndex_.push_back(i);
}

bool ColumnListData::matchesFilter(int index, std::string_view upperFilter) const {
  return containsUpper(mainText(index), upperFilter);
}

StructsListData::StructsListData(const TFileDataSource& document)
    : ColumnListData(static_cast<int>(document.blocks.size())), document_(document) {}

std::string_view StructsListData::mainText(int index) const {
  return document_.blocks[static_cast<std::size_t>(index)]->view();
}

const TToken* StructsListData::keywordAfter(int index) const {
  return keywordAfterLabel(document_.blocks[static_cast<std::size_t>(index)]);
}

std::string StructsListData::rightText(int index) const {
  const TToken* keyword = keywordAfter(index);
  return keyword ? std::string(keyword->view()) : std::string();
}

int StructsListData::rightIndent(int index) const {
  const TToken* keyword = keywordAfter(index);
  return keyword && cp1252::compareIgnoreCase(keyword->view(), "ROUTINE") == 0 ? 10 : 0;
}

EmbedsListData::EmbedsListData(const TFileDataSource& document)
    : ColumnListData(static_cast<int>(document.embeds.size())) {
  texts_.reserve(document.embeds.size());
  for (const TToken* comment : document.embeds) texts_.push_back(embedTitle(comment));
}

std::string_view EmbedsListData::mainText(int index) const {
  return texts_[static_cast<std::size_t>(index)];
}

}  // namespace tarn
