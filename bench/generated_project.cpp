#include "generated_project.h"

#include <algorithm>
#include <iterator>

namespace tarn::bench {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

std::string memberName(int i) {
  std::string n = std::to_string(i);
  return "Member" + std::string(3 - n.size(), '0') + n + ".clw";
}

}  // namespace

ReadStatus MemoryFileSystem::readFile(const std::string& path, const ByteSink& sink,
                                      FileStat* opened, std::string*) {
  auto it = files.find(path);
  if (it == files.end()) return ReadStatus::NotFound;
  if (opened) *opened = stat(path);
  std::string_view all = it->second;
  for (std::size_t at = 0; at < all.size(); at += kChunk)
    if (!sink(all.substr(at, kChunk))) break;
  return ReadStatus::Okay;
}

FileStat MemoryFileSystem::stat(const std::string& path) {
  FileStat st;
  auto it = files.find(path);
  if (it == files.end()) return st;
  st.exists = st.isRegular = true;
  st.mtime = 1'700'000'000;
  st.size = it->second.size();
  return st;
}

std::vector<std::string> MemoryFileSystem::listDirectory(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& [path, text] : files)
    if (path.starts_with(dir + "/")) names.push_back(path.substr(dir.size() + 1));
  return names;
}

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

}  // namespace tarn::bench
