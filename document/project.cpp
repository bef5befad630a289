#include "document/project.h"

#include <algorithm>
#include <initializer_list>
#include <unordered_map>
#include <unordered_set>

#include "platform/cp1252.h"
#include "platform/paths.h"

namespace tarn {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view cut(std::string_view text, std::size_t length) {
  return text.substr(0, std::min(text.size(), length));
}

bool startsWithWord(std::string_view text, std::string_view upperWord) {
  return text.size() >= upperWord.size() &&
         cp1252::compareIgnoreCase(text.substr(0, upperWord.size()), upperWord) == 0;
}

bool isWordChar(char c) {
  return cp1252::isAlphaNumeric(static_cast<unsigned char>(c)) || c == '_' || c == ':';
}

struct OmitStart {
  std::size_t at;          // where the directive starts in the line
  std::string terminator;
};

// An unconditional OMIT('...') in the code of a line, outside strings and
// the comment; a word in column 1 is a label, not the directive.
std::optional<OmitStart> findOmit(std::string_view line) {
  auto skipBlanks = [&](std::size_t i) {
    while (i < line.size() && isBlank(line[i])) ++i;
    return i;
  };
  bool inString = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '\'') inString = !inString;
    if (inString) continue;
    if (c == '!') break;
    if ((c != 'O' && c != 'o') || i == 0 || isWordChar(line[i - 1]) ||
        !startsWithWord(line.substr(i), "OMIT"))
      continue;
    std::size_t p = i + 4;
    if (p < line.size() && isWordChar(line[p])) continue;
    p = skipBlanks(p);
    if (p >= line.size() || line[p] != '(') continue;
    p = skipBlanks(p + 1);
    if (p >= line.size() || line[p] != '\'') continue;
    std::string terminator;
    for (++p; p < line.size(); ++p) {
      if (line[p] != '\'') {
        terminator += line[p];
      } else if (p + 1 < line.size() && line[p + 1] == '\'') {
        terminator += line[p++];
      } else {
        break;
      }
    }
    if (p >= line.size()) return std::nullopt;  // unclosed string
    p = skipBlanks(p + 1);
    if (p < line.size() && line[p] == ')') return OmitStart{i, std::move(terminator)};
  }
  return std::nullopt;
}

// A file whose lines are being examined. The files it names are read before
// its next line, so the open files form a stack as deep as the include chain.
struct OpenFile {
  std::string text;
  std::string name;  // as recorded in the file table
  std::string path;  // where it was read
  std::optional<std::string> folder;  // of the path: where the names it gives are looked up second
  std::size_t next = 0;
  int line = 0;
  bool inBlock = false;  // inside MAP, MODULE or CLASS: no definitions here
  std::optional<std::string> omitted;  // terminator of the OMIT block the line is in
};

class Loader {
 public:
  Loader(ApplicationData& app, FileSystem& fs, FileAttributes& attributes,
         const ProjectSearch& search)
      : app_(app), fs_(fs), attributes_(attributes), lookup_(fs, app.directory, search) {}

  void run() {
    // The PROGRAM file is where it was named, nowhere else.
    FoundFile program{resolvePath(fs_, app_.directory, app_.programName), {}};
    if (!read(program, app_.programName)) return;
    while (!stack_.empty()) {
      OpenFile& file = stack_.back();
      if (file.next >= file.text.size()) {
        stack_.pop_back();
        app_.depth = std::max(0, static_cast<int>(stack_.size()) - 1);
        continue;
      }
      std::size_t end = file.text.find('\n', file.next);
      if (end == std::string::npos) end = file.text.size();
      std::string_view line(file.text.data() + file.next, end - file.next);
      file.next = end + 1;
      ++file.line;
      line = line.substr(0, line.find('\0'));
      if (file.omitted) {
        if (line.find(*file.omitted) != std::string_view::npos) file.omitted.reset();
        continue;
      }
      if (std::optional<OmitStart> omit = findOmit(line)) {
        line = line.substr(0, omit->at);
        file.omitted = std::move(omit->terminator);
      }
      std::optional<std::string> named = examine(file, line);
      if (named) open(*named, file.folder);
    }
  }

 private:
  // Reads the file a name leads to, unless that was tried before, and makes
  // it the one examined next. A file is known by the path it is found at, so
  // two names of one file read it once and cycles stop. A file that cannot be
  // recorded any more is not read at all, or nothing would stop it being
  // read again.
  bool open(std::string_view name, std::optional<std::string> namingFolder) {
    std::string key(name);
    key += '\0';
    if (namingFolder) key += "/" + *namingFolder;
    auto cached = looked_.find(key);
    if (cached != looked_.end() &&
        (!cached->second || known_.count(normalPath(cached->second->path))))
      return false;
    if (app_.files.size() >= kMaxProjectEntries) return false;
    std::optional<FoundFile> found =
        cached != looked_.end() ? cached->second : lookup_.find(name, namingFolder);
    looked_[key] = found;
    return found && read(*found, name);
  }

  bool read(const FoundFile& found, std::string_view name) {
    if (!known_.insert(normalPath(found.path)).second) return false;
    OpenFile file;
    FileStat opened;
    ReadStatus status = fs_.readFile(
        found.path,
        [&file](std::string_view chunk) {
          std::size_t eof = chunk.find('\x1A');
          file.text.append(chunk.substr(0, eof));
          return eof == std::string_view::npos;
        },
        &opened, nullptr);
    if (status != ReadStatus::Okay) return false;
    // A UTF-8 byte-order mark is no part of the first line, as in the file window.
    if (file.text.rfind("\xEF\xBB\xBF", 0) == 0) file.text.erase(0, 3);
    std::erase(file.text, '\r');

    std::string shown = found.shownFolder.empty() ? std::string(name)
                                                  : found.shownFolder + "/" + std::string(name);
    std::string recorded(cut(shown, kMaxProjectNameLength));
    std::size_t folderLength = found.shownFolder.empty() ? 0 : found.shownFolder.size() + 1;
    app_.files.push_back(ProjectFile{dosStampFromEpoch(opened.mtime), recorded,
                                     attributes_.get(found.path).value_or(0), found.path,
                                     std::min(folderLength, recorded.size())});
    file.name = std::move(recorded);
    file.path = found.path;
    file.folder = splitPath(found.path).directory;
    stack_.push_back(std::move(file));
    app_.depth = static_cast<int>(stack_.size()) - 1;
    return true;
  }

  // Applies the line rules; returns the name of a file the line includes.
  std::optional<std::string> examine(OpenFile& file, std::string_view line) {
    if (line.empty()) return std::nullopt;
    if (isBlank(line[0]) || line[0] == '!') return examineIndented(file, line);

    std::size_t labelEnd = 0;
    while (labelEnd < line.size() && !isBlank(line[labelEnd])) ++labelEnd;
    std::size_t statementStart = labelEnd;
    while (statementStart < line.size() && isBlank(line[statementStart])) ++statementStart;
    std::string_view statement = line.substr(statementStart);

    // A class declared with its module ("Name CLASS,TYPE,MODULE('x.clw')")
    // names a file of the program too.
    std::optional<std::string> module;
    if (!file.inBlock && statement.find('\'') != std::string_view::npos) {
      compactOf(statement);
      module = quotedName(compact_, {"MODULE('"});
    }
    if (startsWithWord(statement, "CLASS")) file.inBlock = true;
    if (module) return module;
    if (file.inBlock) return std::nullopt;
    if (!startsWithWord(statement, "FUNCTION") && !startsWithWord(statement, "PROCEDURE"))
      return std::nullopt;
    if (app_.procedures.size() < kMaxProjectEntries)
      app_.procedures.push_back(
          ProjectProcedure{std::string(cut(line.substr(0, labelEnd), kMaxProjectLabelLength)),
                           file.name, file.line, file.path});
    return std::nullopt;
  }

  std::optional<std::string> examineIndented(OpenFile& file, std::string_view line) {
    compactOf(line);
    std::string_view copy = compact_;
    if (copy.starts_with("MODULE") || copy.starts_with("MAP"))
      file.inBlock = true;
    else if (file.inBlock && copy.starts_with("END"))
      file.inBlock = false;
    // INCLUDE 'X' is written without parentheses too.
    return quotedName(copy, {"INCLUDE('", "MODULE('", "INCLUDE'"});
  }

  // Blanks dropped, upper-cased and the comment cut off, so that
  // "  Module ( 'x' )" and "MODULE('X')" read alike.
  void compactOf(std::string_view line) {
    compact_.clear();
    for (char c : line) {
      if (c == '!') break;
      if (!isBlank(c))
        compact_ += static_cast<char>(cp1252::toUpper(static_cast<unsigned char>(c)));
    }
  }

  /// The name in quotes after the first of `openers` found in a compacted
  /// line, ".CLW" added when it has no extension.
  std::optional<std::string> quotedName(std::string_view copy,
                                        std::initializer_list<std::string_view> openers) {
    std::size_t quote = std::string_view::npos;
    for (std::string_view opener : openers)
      if (std::size_t at = copy.find(opener); at != std::string_view::npos) {
        quote = at + opener.size() - 1;
        break;
      }
    if (quote == std::string_view::npos) return std::nullopt;
    std::size_t close = copy.find('\'', quote + 1);
    if (close == std::string_view::npos) return std::nullopt;
    std::string name(copy.substr(quote + 1, close - quote - 1));
    if (name.empty()) return std::nullopt;
    if (name.find('.') == std::string::npos) name += ".CLW";
    return name;
  }

  ApplicationData& app_;
  FileSystem& fs_;
  FileAttributes& attributes_;
  ProjectLookup lookup_;
  std::vector<OpenFile> stack_;
  std::unordered_set<std::string> known_;  // normal paths read or tried
  // Per name and naming folder: the file found, none when none was.
  std::unordered_map<std::string, std::optional<FoundFile>> looked_;
  std::string compact_;
};

}  // namespace

ApplicationData::ApplicationData(std::string_view programPath, FileSystem& fs,
                                 FileAttributes& attributes, const ProjectSearch& search) {
  SplitPath split = splitPath(programPath);
  directory = std::move(split.directory);
  programName = std::move(split.name);

  Loader(*this, fs, attributes, search).run();

  std::stable_sort(files.begin(), files.end(), [](const ProjectFile& a, const ProjectFile& b) {
    return cp1252::compareIgnoreCase(a.name, b.name) < 0;
  });
  std::stable_sort(procedures.begin(), procedures.end(),
                   [](const ProjectProcedure& a, const ProjectProcedure& b) {
                     return cp1252::compareIgnoreCase(a.label, b.label) < 0;
                   });
}

}  // namespace tarn
