#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>

#include "document/project.h"

namespace tarn {
namespace {

// Files held in memory, delivered in chunks as the disk would.
class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> files;

  ReadStatus readFile(const std::string& path, const ByteSink& sink, FileStat* opened,
                      std::string*) override {
    auto it = files.find(path);
    if (it == files.end()) return ReadStatus::NotFound;
    if (opened) *opened = stat(path);
    std::string_view all = it->second;
    for (std::size_t at = 0; at < all.size(); at += kChunk)
      if (!sink(all.substr(at, kChunk))) break;
    return ReadStatus::Okay;
  }
  FileStat stat(const std::string& path) override {
    FileStat st;
    auto it = files.find(path);
    if (it == files.end()) return st;
    st.exists = st.isRegular = true;
    st.mtime = 1'700'000'000;
    st.size = it->second.size();
    return st;
  }
  bool writeFile(const std::string&, std::string_view, std::string*) override { return false; }
  std::vector<std::string> listDirectory(const std::string& dir) override {
    std::vector<std::string> names;
    for (const auto& [path, text] : files)
      if (path.starts_with(dir + "/")) names.push_back(path.substr(dir.size() + 1));
    return names;
  }
  bool isWritableDirectory(const std::string&) override { return false; }
  bool createDirectories(const std::string&) override { return false; }

 private:
  static constexpr std::size_t kChunk = 64 * 1024;
};

class NoAttributes : public FileAttributes {
 public:
  std::optional<std::uint32_t> get(const std::string&) override { return kAttrArchive; }
  bool set(const std::string&, std::uint32_t) override { return false; }
};

std::string memberName(int i) {
  std::string n = std::to_string(i);
  return "Member" + std::string(3 - n.size(), '0') + n + ".clw";
}

// A program and 299 generated member files, 300,000 lines in all: procedure
// headers and prototypes, routines, code and comments.
MemoryFileSystem generatedProject(int* totalLines) {
  constexpr int kMembers = 299;
  constexpr int kLines = 300'000;
  MemoryFileSystem fs;
  std::string main = "  PROGRAM\n  INCLUDE('EQUATES.CLW'),ONCE\n  MAP\n";
  for (int m = 1; m <= kMembers; ++m)
    main +=
        "    MODULE('" + memberName(m) + "')\nMain" + std::to_string(m) + " PROCEDURE\n    END\n";
  main += "  END\n  CODE\n  Main1()\n";
  int lines = static_cast<int>(std::count(main.begin(), main.end(), '\n'));
  fs.files["/proj/MAIN.CLW"] = main;

  // About 100 lines a procedure keeps the procedures under the table limit.
  static const char* const kBody[] = {"loc:Count     LONG\n",
                                      "loc:Name      STRING(40)\n",
                                      "  CODE\n",
                                      "  ! Walk the queue and count the matching entries\n",
                                      "  LOOP loc:Count = 1 TO RECORDS(Queue)\n",
                                      "    GET(Queue, loc:Count)\n",
                                      "    IF Queue:Name = pText THEN DO Found.\n",
                                      "  END\n",
                                      "  RETURN loc:Count\n",
                                      "Found ROUTINE\n",
                                      "  loc:Name = Queue:Name   ! remember it\n",
                                      "  EXIT\n"};
  const int perMember = (kLines - lines) / kMembers;
  const int longer = (kLines - lines) % kMembers;
  for (int m = 1; m <= kMembers; ++m) {
    std::string text = "  MEMBER('MAIN.CLW')\n  INCLUDE('ABWINDOW.INC'),ONCE\n  MAP\n    MODULE('" +
                       memberName(m % kMembers + 1) + "')\nNext PROCEDURE\n    END\n  END\n";
    const int target = perMember + (m <= longer ? 1 : 0);
    int n = 7, proc = 0;
    while (n < target) {
      text += "Proc" + std::to_string(m) + "_" + std::to_string(++proc) +
              " PROCEDURE(LONG pMode, *STRING pText)\n";
      ++n;
      for (int i = 0; n < target && i < 100; ++i, ++n) text += kBody[i % std::size(kBody)];
    }
    lines += static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    fs.files["/proj/" + memberName(m)] = std::move(text);
  }
  *totalLines = lines;
  return fs;
}

void BM_ProjectLoad300Files(benchmark::State& state) {
  int lines = 0;
  MemoryFileSystem fs = generatedProject(&lines);
  NoAttributes attributes;
  std::size_t files = 0, procedures = 0;
  for (auto _ : state) {
    ApplicationData app("/proj/MAIN.CLW", fs, attributes);
    files = app.files.size();
    procedures = app.procedures.size();
    benchmark::DoNotOptimize(app.procedures.data());
  }
  state.counters["files"] = static_cast<double>(files);
  state.counters["lines"] = lines;
  state.counters["procedures"] = static_cast<double>(procedures);
}
BENCHMARK(BM_ProjectLoad300Files)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarn
