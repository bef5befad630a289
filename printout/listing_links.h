#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "document/source_document.h"
#include "platform/printout.h"

namespace tarn {

/// A procedure that names in listings may lead to.
struct NamedDefinition {
  std::string label;  ///< as written, any case
  LinkTarget target;
};

/// Which tokens of a listing name a definition, and which one. Names are
/// compared without regard to case. A ROUTINE is found first among the
/// routines of the procedure it belongs to; "SELF.M" inside a method of
/// class C names "C.M"; any other name a procedure. A name with two such
/// definitions leads nowhere, and a definition's own label is no link.
class ListingLinks {
 public:
  /// Names lead to the units of `document` itself (file 0).
  explicit ListingLinks(const TFileDataSource& document);
  /// Routines lead to the units of `document`, as file `thisFile`; other
  /// names to `procedures`.
  ListingLinks(const TFileDataSource& document, const std::vector<NamedDefinition>& procedures,
               int thisFile);

  /// Where the token leads; null for none.
  const LinkTarget* targetOf(const TToken* token) const;
  std::size_t size() const { return targets_.size(); }

 private:
  void build(const TFileDataSource& document, const std::vector<NamedDefinition>* procedures,
             int thisFile);

  std::unordered_map<const TToken*, LinkTarget> targets_;
};

}  // namespace tarn
