#include "settings/listing_extras.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace tarn {
namespace {

TEST(ListingExtrasProfile, ReadsWhatIsThereAndKeepsTheDefaultsElse) {
  const struct {
    const char* name;
    std::map<std::string, std::string> values;
    ListingExtras expected;
  } cases[] = {
      {"nothing written yet", {}, {false, false, true}},
      {"all on", {{"TARNLIST/LINENUMBERS", "1"}, {"TARNLIST/PAGECOUNT", "1"}, {"TARNLIST/PDFOUTLINE", "1"}},
       {true, true, true}},
      {"outline off", {{"TARNLIST/PDFOUTLINE", "0"}}, {false, false, false}},
      {"any number but 0 is on", {{"TARNLIST/LINENUMBERS", "2"}}, {true, false, true}},
      {"no number keeps the default", {{"TARNLIST/PDFOUTLINE", "off"}, {"TARNLIST/PAGECOUNT", "yes"}},
       {false, false, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::MemoryProfile profile;
    profile.values = c.values;
    EXPECT_EQ(readListingExtras(profile), c.expected);
  }
}

TEST(ListingExtrasProfile, WritesOnlyWhatChangedAndReadsItBack) {
  test::MemoryProfile profile;
  const ListingExtras before;
  const ListingExtras after{true, false, false};
  EXPECT_TRUE(writeListingExtras(profile, after, before));
  EXPECT_EQ(profile.values, (std::map<std::string, std::string>{{"TARNLIST/LINENUMBERS", "1"},
                                                                {"TARNLIST/PDFOUTLINE", "0"}}));
  EXPECT_EQ(readListingExtras(profile), after);
}

}  // namespace
}  // namespace tarn
