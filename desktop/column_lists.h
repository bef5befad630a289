#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/source_document.h"

namespace tarn {

/// The entries one column list box shows: a fixed number of source entries,
/// of which the ones matching the filter are shown, in source order. Holds
/// no texts of its own; the list box draws each shown entry from the source.
class ColumnListData {
 public:
  /// Shows every entry until the first filter.
  explicit ColumnListData(int entryCount);
  virtual ~ColumnListData() = default;
  ColumnListData(const ColumnListData&) = delete;
  ColumnListData& operator=(const ColumnListData&) = delete;

  /// Rebuilds the shown entries: every entry whose text contains `filter`
  /// (Windows-1252) without regard to case; all of them for an empty filter.
  void applyFilter(std::string_view filter);

  int entryCount() const { return entryCount_; }
  int shownCount() const { return static_cast<int>(shownIndex_.size()); }
  /// The source index of the entry shown at `position`.
  int shownIndex(int position) const { return shownIndex_[static_cast<std::size_t>(position)]; }

  /// The text in the left column (and the one the filter tests).
  virtual std::string_view mainText(int index) const = 0;
  /// The text in the grey right column; empty for none.
  virtual std::string rightText(int index) const { (void)index; return {}; }
  /// Pixels the right-column text of an entry is moved further right.
  virtual int rightIndent(int index) const { (void)index; return 0; }
  /// Whether the list has the grey right column.
  virtual bool twoColumns() const { return true; }

 protected:
  /// Whether the entry's text contains the upper-cased filter.
  virtual bool matchesFilter(int index, std::string_view upperFilter) const;

 private:
  int entryCount_;
  std::vector<std::int32_t> shownIndex_;
};

/// The units of a document: the unit list entry's text, and on the right
/// the keyword that follows a label (ROUTINE indented by 10 pixels).
class StructsListData : public ColumnListData {
 public:
  explicit StructsListData(const TFileDataSource& document);
  std::string_view mainText(int index) const override;
  std::string rightText(int index) const override;
  int rightIndent(int index) const override;

 private:
  const TToken* keywordAfter(int index) const;
  const TFileDataSource& document_;
};

/// The embed points of a document, one column: the embed description, made
/// once; an embed point without one shows its comment without the "!".
class EmbedsListData : public ColumnListData {
 public:
  explicit EmbedsListData(const TFileDataSource& document);
  std::string_view mainText(int index) const override;
  bool twoColumns() const override { return false; }

 private:
  std::vector<std::string> texts_;
};

}  // namespace tarn
