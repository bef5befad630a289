#include "printout/listing_links.h"

#include <unordered_set>

#include "document/entry_titles.h"
#include "platform/cp1252.h"

namespace tarn {
namespace {

constexpr std::string_view kSelf = "SELF.";

struct Unit {
  std::string key;    // upper-case label; empty for a unit without one
  bool routine = false;
  std::size_t owner;  // the procedure a routine belongs to; a procedure itself
  LinkTarget target;
};

/// Definitions by name; a name defined twice leads nowhere.
class Names {
 public:
  void add(const std::string& key, const LinkTarget& target) {
    auto [it, added] = map_.try_emplace(key, Entry{target, false});
    if (!added && !(it->second.target == target)) it->second.ambiguous = true;
  }
  const LinkTarget* find(const std::string& key) const {
    auto it = map_.find(key);
    return it == map_.end() || it->second.ambiguous ? nullptr : &it->second.target;
  }
  bool has(const std::string& key) const { return map_.count(key) != 0; }

 private:
  struct Entry {
    LinkTarget target;
    bool ambiguous;
  };
  std::unordered_map<std::string, Entry> map_;
};

}  // namespace

ListingLinks::ListingLinks(const TFileDataSource& document) { build(document, nullptr, 0); }

ListingLinks::ListingLinks(const TFileDataSource& document,
                           const std::vector<NamedDefinition>& procedures, int thisFile) {
  build(document, &procedures, thisFile);
}

const LinkTarget* ListingLinks::targetOf(const TToken* token) const {
  auto it = targets_.find(token);
  return it == targets_.end() ? nullptr : &it->second;
}

void ListingLinks::build(const TFileDataSource& document,
                         const std::vector<NamedDefinition>* procedures, int thisFile) {
  std::vector<Unit> units;
  units.reserve(document.blocks.size());
  std::unordered_set<const TToken*> definitions(document.blocks.begin(), document.blocks.end());
  Names procedureNames;
  // Routines by the procedure they belong to and their name.
  std::unordered_map<std::size_t, Names> routineNames;
  std::size_t owner = 0;
  for (std::size_t i = 0; i < document.blocks.size(); ++i) {
    const TToken* entry = document.blocks[i];
    Unit u;
    if (entry->is(tcLabel)) u.key = cp1252::upper(entry->view());
    const TToken* keyword = keywordAfterLabel(entry);
    u.routine = keyword && cp1252::compareIgnoreCase(keyword->view(), "ROUTINE") == 0;
    if (!u.routine) owner = i;
    u.owner = owner;
    u.target = LinkTarget{thisFile, entry->line - document.lineShift};
    if (!u.key.empty()) {
      if (u.routine)
        routineNames[owner].add(u.key, u.target);
      else if (!procedures)
        procedureNames.add(u.key, u.target);
    }
    units.push_back(std::move(u));
  }
  if (procedures)
    for (const NamedDefinition& d : *procedures) procedureNames.add(cp1252::upper(d.label), d.target);

  std::size_t next = 0;  // the block after the unit at hand
  const Unit* unit = nullptr;
  std::string key;
  for (const TToken* t = document.tokens->front(); t; t = t->next()) {
    while (next < document.blocks.size() && document.blocks[next] == t) unit = &units[next++];
    if (!(t->is(tcIdentifier) || t->is(tcLabel)) || definitions.count(t)) continue;
    key = cp1252::upper(t->view());
    const LinkTarget* target = nullptr;
    if (key.compare(0, kSelf.size(), kSelf) == 0) {
      // Only inside a method does SELF name its class.
      const std::string& method = unit ? units[unit->owner].key : std::string();
      const std::size_t dot = method.find('.');
      if (dot != std::string::npos && dot > 0)
        target = procedureNames.find(method.substr(0, dot + 1) + key.substr(kSelf.size()));
    } else {
      auto scope = unit ? routineNames.find(unit->owner) : routineNames.end();
      if (scope != routineNames.end() && scope->second.has(key))
        target = scope->second.find(key);
      else
        target = procedureNames.find(key);
    }
    if (target) targets_.emplace(t, *target);
  }
}

}  // namespace tarn
