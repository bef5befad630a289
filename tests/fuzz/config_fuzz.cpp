// A configuration file of any bytes and length: the settings are the
// defaults or the file's values brought into range, their stored image loads
// back unchanged, and a listing prints with them.
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "printout/listing_printout.h"
#include "printout/print_document.h"
#include "printout/recording_canvas.h"
#include "settings/config_file.h"
#include "support/fakes.h"

namespace {

constexpr const char* kSource =
    "  PROGRAM\n! Before Embed Point: %Data) DESC(Data) ARG()\nX LONG\t! tab\n"
    "! After Embed Point: %Data)\nMain PROCEDURE\nW WINDOW('x'),AT(0,0,9,9)\n  END\n  CODE\n"
    "  IF X = 1 THEN X = 2. ! a comment long enough to wrap in a narrow column\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarn;
  const std::string_view bytes = fuzz::bytes(data, size);
  test::VirtualFileSystem fs;
  test::RecordingMessages messages;
  fs.create("/c/tarnlist.DAT", std::string(bytes));
  const SetupData setup = loadSetup("/c/tarnlist.DAT", fs, messages);
  std::int32_t version = 0;
  if (bytes.size() >= 4) std::memcpy(&version, bytes.data(), 4);
  const bool valid = bytes.size() >= 4 && version == kConfigVersion;
  FUZZ_CHECK(messages.messages.size() == (valid ? 0u : 1u), "one message for an invalid file");
  test::RecordingMessages quiet;
  FUZZ_CHECK(valid || configFileImage(setup) ==
                          configFileImage(loadSetup("/c/missing.DAT", fs, quiet)),
             "an invalid file gives the defaults");

  fs.create("/c/again.DAT", configFileImage(setup));
  const SetupData again = loadSetup("/c/again.DAT", fs, messages);
  FUZZ_CHECK(configFileImage(again) == configFileImage(setup), "settings load back unchanged");

  test::MemoryProfile profile;
  DateFormatter dates{profile, [] { return std::optional<int>(1); }, messages};
  ListingExtras extras;
  extras.lineNumbers = size % 2;
  extras.pageCount = size % 3 == 0;
  fs.create("/c/MAIN.CLW", kSource);
  auto doc = loadDocument("/c/MAIN.CLW", analysisOptions(setup), fs, messages);
  FUZZ_CHECK(doc != nullptr, "the listing loads");
  PrintContext context{setup, dates, [] { return std::time_t(0); }, extras};
  auto printout = makePrintout(*doc, PrintSelection::wholeFile(), context);
  FUZZ_CHECK(printout != nullptr, "a printout of the whole file");
  RecordingPrinter printer;
  printer.print(*printout, false);
  return 0;
}
