#include "platform/file_system.h"

namespace tarn {

ReadStatus readWholeFile(FileSystem& fs, const std::string& path, std::string* contents,
                         FileStat* opened, std::string* err) {
  contents->clear();
  return fs.readFile(
      path,
      [contents](std::string_view chunk) {
        contents->append(chunk);
        return true;
      },
      opened, err);
}

}  // namespace tarn
