#include "settings/listing_extras.h"

namespace tarn {
namespace {

struct Key {
  const char* name;
  bool ListingExtras::*value;
};

constexpr Key kKeys[] = {
    {"LineNumbers", &ListingExtras::lineNumbers},
    {"PageCount", &ListingExtras::pageCount},
    {"PdfOutline", &ListingExtras::pdfOutline},
};

}  // namespace

ListingExtras readListingExtras(Profile& profile) {
  ListingExtras extras;
  for (const Key& key : kKeys) {
    bool& value = extras.*key.value;
    value = profile.getInt(kListingExtrasSection, key.name, value ? 1 : 0) != 0;
  }
  return extras;
}

bool writeListingExtras(Profile& profile, const ListingExtras& now, const ListingExtras& before) {
  bool ok = true;
  for (const Key& key : kKeys) {
    if (now.*key.value == before.*key.value) continue;
    if (!profile.writeString(kListingExtrasSection, key.name, now.*key.value ? "1" : "0"))
      ok = false;
  }
  return ok;
}

}  // namespace tarn
