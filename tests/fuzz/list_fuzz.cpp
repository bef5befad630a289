// A list file for "@LIST" printing: one path a line up to the first empty
// line, at most 500. Every listed file that exists is printed once, in list
// order; every other line gets its message; the exit status says whether
// all went well.
#include <algorithm>
#include <string>
#include <vector>

#include "analysis/source_text.h"
#include "fuzz_check.h"
#include "printout/direct_print.h"
#include "printout/recording_canvas.h"
#include "support/fakes.h"

namespace tarn {
namespace {

/// The paths the list names, read independently of the program's reader.
std::vector<std::string> listed(std::string_view bytes, bool* cut) {
  std::vector<std::string> paths;
  *cut = false;
  while (!bytes.empty()) {
    std::string_view line = bytes.substr(0, bytes.find('\n'));
    bytes.remove_prefix(std::min(bytes.size(), line.size() + 1));
    line = line.substr(0, line.find('\0'));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) break;
    if (paths.size() == static_cast<std::size_t>(kMaxListedFiles)) {
      *cut = true;
      break;
    }
    paths.emplace_back(line);
  }
  return paths;
}

}  // namespace
}  // namespace tarn

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarn;
  const std::string_view list = fuzz::bytes(data, size);
  test::VirtualFileSystem fs;
  fs.create("/l/LIST", std::string(list));
  fs.create("/l/A.CLW", "  PROGRAM\n  CODE\n");
  fs.create("/l/B.TXT", "plain text\n");
  fs.createDirectory("/l/DIR");
  test::RecordingMessages messages;
  test::MemoryProfile profile;
  test::FakeFileAttributes attributes;
  DateFormatter dates{profile, [] { return std::optional<int>(1); }, messages};
  const SetupData setup = defaultSetupData();
  RecordingPrinter printer;
  std::vector<std::string> recent;
  PrintServices services{setup, fs, attributes, messages, dates, [] { return std::time_t(0); },
                         [&]() -> Printer& { return printer; },
                         [&](const std::string& path) { recent.push_back(path); }};
  const int status = printCommandLine("@/l/LIST", services);

  bool cut = false;
  std::vector<std::string> expected, failed;
  for (const std::string& path : listed(list, &cut)) {
    auto entry = fs.files.find(path);
    if (entry != fs.files.end() && !entry->second.directory)
      expected.push_back(path);
    else
      failed.push_back(path);
  }
  FUZZ_CHECK(recent == expected, "every existing listed file printed once, in order");
  // The list itself may be listed; its text may hold nothing to print.
  const bool listPrints =
      sourceTextOf(list).find_first_not_of(" \t\n") != std::string::npos;
  const auto jobs = static_cast<std::size_t>(
      std::count_if(expected.begin(), expected.end(),
                    [&](const std::string& p) { return p != "/l/LIST" || listPrints; }));
  FUZZ_CHECK(printer.jobs.size() == jobs, "one job a printed file");
  FUZZ_CHECK(status == (failed.empty() ? 0 : 1), "exit status says whether all went well");
  FUZZ_CHECK(messages.messages.size() >= failed.size() + (cut ? 1 : 0), "a message for each failure");
  return 0;
}
