// A project in memory built from the input: the PROGRAM file, members,
// includes, a class module in a folder, a redirection file and a folder on
// the include path, as pieces separated by 0x1D. Loading ends with tables
// that list each file found once, read once, and procedures that point into
// their files.
#include <algorithm>
#include <set>
#include <string>

#include "document/project.h"
#include "fuzz_check.h"
#include "platform/cp1252.h"
#include "platform/paths.h"
#include "support/fakes.h"

namespace tarn {
namespace {

constexpr const char* kFiles[] = {"/p/MAIN.CLW", "/p/A.CLW",     "/p/b.inc",  "/p/classes/C.CLW",
                                  "/p/TARN.RED", "/lib/D.CLW", "/p/E.equ", "/p/classes/F.INC"};

int lineCount(std::string_view text) {
  text = text.substr(0, text.find('\x1A'));
  int n = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  return n + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

}  // namespace
}  // namespace tarn

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarn;
  fuzz::Input input(fuzz::bytes(data, size));
  test::VirtualFileSystem fs;
  test::FakeFileAttributes attributes;
  fs.chunkSize = 1 + input.byte() % 64;
  fs.createDirectory("/p/sub.clw");  // a folder where a file may be named
  for (const char* path : kFiles) {
    if (input.empty()) break;
    fs.create(path, std::string(input.piece('\x1D')));
  }
  ProjectSearch search;
  search.includePath = {"/lib", "/missing"};
  ApplicationData app("/p/MAIN.CLW", fs, attributes, search);

  FUZZ_CHECK(!app.files.empty() || !fs.files.count("/p/MAIN.CLW"), "the PROGRAM file is listed");
  FUZZ_CHECK(app.depth == 0, "nesting unwound");
  FUZZ_CHECK(app.files.size() <= kMaxProjectEntries && app.procedures.size() <= kMaxProjectEntries,
             "tables within their capacity");
  std::set<std::string> names, paths;
  for (const ProjectFile& file : app.files) {
    FUZZ_CHECK(names.insert(file.name).second, "each file name once");
    FUZZ_CHECK(paths.insert(file.path).second, "each file once");
    FUZZ_CHECK(file.name.size() <= kMaxProjectNameLength, "file name within its limit");
    auto entry = fs.files.find(file.path);
    FUZZ_CHECK(entry != fs.files.end() && !entry->second.directory, "a listed file exists");
    FUZZ_CHECK(std::count(fs.filesRead.begin(), fs.filesRead.end(), file.path) == 1,
               "each file read once");
  }
  auto byName = [](const auto& a, const auto& b) {
    return cp1252::compareIgnoreCase(a.name, b.name) < 0;
  };
  FUZZ_CHECK(std::is_sorted(app.files.begin(), app.files.end(), byName), "files sorted");
  FUZZ_CHECK(std::is_sorted(app.procedures.begin(), app.procedures.end(),
                            [](const auto& a, const auto& b) {
                              return cp1252::compareIgnoreCase(a.label, b.label) < 0;
                            }),
             "procedures sorted");
  for (const ProjectProcedure& proc : app.procedures) {
    FUZZ_CHECK(names.count(proc.fileName) && paths.count(proc.path), "procedure in a listed file");
    FUZZ_CHECK(!proc.label.empty() && proc.label.size() <= kMaxProjectLabelLength,
               "label within its limit");
    FUZZ_CHECK(proc.line >= 1 && proc.line <= lineCount(fs.files[proc.path].contents),
               "procedure line inside its file");
  }
  return 0;
}
