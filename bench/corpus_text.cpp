#include "corpus_text.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace tarn::bench {
namespace {

std::string generated() {
  return "MyProc               PROCEDURE(LONG pCount, *QUEUE pQ)\n"
         "Loc:Total              LONG\n"
         "Window WINDOW('Totals'),AT(,,200,100),GRAY\n"
         "         BUTTON('OK'),AT(10,10,40,14),USE(?OK)\n"
         "       END\n"
         "  CODE\n"
         "  OPEN(Window)\n"
         "  LOOP I# = 1 TO pCount       ! count them\n"
         "    Loc:Total += I# * 2\n"
         "    IF Loc:Total > 1000 THEN BREAK.\n"
         "  END\n"
         "  MESSAGE('Total: ' & Loc:Total)\n"
         "  RETURN\n";
}

}  // namespace

std::string clarionText(std::size_t bytes) {
  std::vector<std::string> files;
  std::error_code ec;
  std::filesystem::path root = TARNLIST_CORPUS_DIR;
  if (std::filesystem::is_directory(root, ec)) {
    std::vector<std::filesystem::path> paths;
    for (auto& e : std::filesystem::recursive_directory_iterator(root, ec)) {
      std::string ext = e.path().extension().string();
      std::transform(ext.begin(), ext.end(), ext.begin(), ::toupper);
      if (e.is_regular_file() && (ext == ".CLW" || ext == ".INC")) paths.push_back(e.path());
    }
    std::sort(paths.begin(), paths.end());
    for (auto& p : paths) {
      std::ifstream in(p, std::ios::binary);
      std::ostringstream s;
      s << in.rdbuf();
      files.push_back(s.str());
    }
  }
  if (files.empty()) files.push_back(generated());
  std::string text;
  text.reserve(bytes + 4096);
  for (std::size_t i = 0; text.size() < bytes; i = (i + 1) % files.size()) {
    text += files[i];
    if (!text.empty() && text.back() != '\n') text += "\r\n";
  }
  std::size_t cut = text.rfind('\n', bytes);
  text.resize(cut == std::string::npos ? bytes : cut + 1);
  return text;
}

}  // namespace tarn::bench
