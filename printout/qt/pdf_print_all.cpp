#include "printout/qt/pdf_print_all.h"

#include <map>
#include <optional>

#include "pdf/pdf_file.h"
#include "pdf/pdf_text.h"
#include "pdf/qt/pdf_target.h"
#include "platform/cp1252.h"
#include "platform/paths.h"
#include "platform/qt/qt_printer.h"
#include "printout/book_table.h"
#include "printout/print_document.h"

namespace tarn {
namespace {

/// The paper of both orientations, read once: the default printer's page
/// size is asked of the system on the calling thread only.
struct Paper {
  PdfPageSetup portrait = pdfPageSetup(false), landscape = pdfPageSetup(true);

  /// The page setup a printout asks for, and whether it wants grey.
  PdfPageSetup of(Printout& printout, bool& gray) const {
    PageRange range;
    DeviceMode mode;
    printout.getDialogInfo(range, mode);
    gray = (mode.fields & DeviceMode::kFieldColor) && mode.color == DeviceMode::kMonochrome;
    const bool wide = (mode.fields & DeviceMode::kFieldOrientation) &&
                      mode.orientation == DeviceMode::kLandscape;
    return wide ? landscape : portrait;
  }
};

/// Runs a job into `target`, opened; false when it did not print whole.
bool runPdfJob(Printout& printout, PdfTarget& target, bool gray) {
  target.setGrayscale(gray);
  if (!target.open()) return false;
  printout.wantLinks();
  const JobResult result = runPrintJob(printout, target);
  target.setDocumentInfo(printout.documentInfo());
  return result == JobResult::Printed && !target.failed();
}

class PdfFileOutput : public ListingOutput {
 public:
  PdfFileOutput(std::unique_ptr<PdfTarget> target, std::function<void()> kept)
      : target_(std::move(target)), kept_(std::move(kept)) {}
  bool keep() override {
    if (!target_->publish()) return false;
    if (kept_) kept_();
    return true;
  }

 private:
  std::unique_ptr<PdfTarget> target_;
  std::function<void()> kept_;
};

}  // namespace

/// Numbered within the run only: a later run writes over the same names.
std::vector<std::string> pdfFolderTargets(const std::vector<const ProjectFile*>& files,
                                          const std::string& folder) {
  std::vector<std::string> targets;
  std::map<std::string, bool> taken;
  for (const ProjectFile* f : files) {
    const std::string name = splitPath(f->path).name;
    std::string target = folder + "/" + name + ".pdf";
    for (int n = 2; taken.count(target); ++n)
      target = folder + "/" + name + "-" + std::to_string(n) + ".pdf";
    taken[target] = true;
    targets.push_back(std::move(target));
  }
  return targets;
}

std::string bookFileName(const ProjectFile& file) {
  const std::size_t folder = std::min(file.folderLength, file.name.size());
  return file.name.substr(0, folder) + cp1252::toUtf8(file.name.substr(folder));
}

std::string bookNotWritten(const std::string& path) {
  return "Could not write the book '" + path + "'";
}

int printAllToPdfFolder(const ApplicationData& project, std::uint32_t options,
                        PrintServices& services, const std::string& folder, int jobs) {
  const std::vector<const ProjectFile*> files = selectedFiles(project, options);
  services.fs.createDirectories(folder);
  return printAllToPdfFiles(files, services, pdfFolderTargets(files, folder), jobs).failures;
}

PrintAllResult printAllToPdfFiles(const std::vector<const ProjectFile*>& files,
                                  PrintServices& services, const std::vector<std::string>& targets,
                                  int jobs, const std::function<void(const std::string& path)>& written,
                                  const std::function<void(std::size_t done)>& progress,
                                  bool holdFailures) {
  const Paper paper;
  ParallelPrintAll run;
  run.jobs = jobs;
  run.progress = progress;
  run.holdFailureMessages = holdFailures;
  run.notKept = [&targets](std::size_t i) { return "Could not write '" + targets[i] + "'"; };
  run.write = [&](TMyPrintout& printout, std::size_t i) -> std::unique_ptr<ListingOutput> {
    bool gray = false;
    const PdfPageSetup page = paper.of(printout, gray);
    auto target = std::make_unique<PdfTarget>(targets[i], page);
    if (!runPdfJob(printout, *target, gray) || !target->finish(false)) return nullptr;
    return std::make_unique<PdfFileOutput>(std::move(target), written ? [&written, t = targets[i]] {
      written(t);
    } : std::function<void()>());
  };
  return printAllInParallel(files, services, run);
}

namespace {

/// The parts of a book as they come, kept in table order.
class BookPartOutput : public ListingOutput {
 public:
  BookPartOutput(PdfPart part, std::vector<std::optional<PdfPart>>& parts, std::size_t index)
      : part_(std::move(part)), parts_(parts), index_(index) {}
  bool keep() override {
    parts_[index_] = std::move(part_);
    return true;
  }

 private:
  PdfPart part_;
  std::vector<std::optional<PdfPart>>& parts_;
  std::size_t index_;
};

std::optional<PdfPart> renderPart(Printout& printout, const PdfPageSetup& page, bool gray = false) {
  PdfTarget target("", page);
  if (!runPdfJob(printout, target, gray)) return std::nullopt;
  PdfPart part = target.takePart();
  if (!part.objects || part.objects->failed()) return std::nullopt;
  return part;
}

/// Lays out the book's pages in order and writes the file.
class BookAssembly {
 public:
  explicit BookAssembly(const std::string& path) : file_(path) {}

  bool open() {
    if (!file_.open()) return false;
    for (int n = 1; n <= 3; ++n) file_.reserve();  // catalog, page tree, information
    return true;
  }

  /// Takes in a part; returns the index of its first page.
  int add(PdfPart& part) {
    const int first = static_cast<int>(doc_.pages.size());
    const std::vector<int> here = file_.adopt(*part.objects);
    const auto at = [&here](int n) {
      return n > 0 && static_cast<std::size_t>(n) < here.size() ? here[static_cast<std::size_t>(n)] : 0;
    };
    for (int contents : part.contents)
      doc_.pages.push_back(PdfPage{file_.reserve(), at(contents), at(part.resources)});
    doc_.paperWidth = part.page.paperWidth;
    doc_.paperHeight = part.page.paperHeight;
    return first;
  }

  PdfDocument& document() { return doc_; }

  bool finish() {
    writePdfStructure(file_, doc_);
    return file_.commit(1, 3);
  }

 private:
  PdfFile file_;
  PdfDocument doc_;
};

}  // namespace

BookResult printProjectBook(const ApplicationData& project, std::uint32_t options,
                            PrintServices& services, const std::string& path, int jobs,
                            const std::function<void(std::size_t done)>& progress,
                            bool holdFailures) {
  const std::vector<const ProjectFile*> files = selectedFiles(project, options);
  // Book files are numbered from 1; a procedure of a file left out leads nowhere.
  std::map<std::string, int> fileNumber;
  for (std::size_t i = 0; i < files.size(); ++i)
    fileNumber.try_emplace(files[i]->path, static_cast<int>(i) + 1);
  std::vector<NamedDefinition> procedures;
  for (const ProjectProcedure& p : project.procedures) {
    auto it = fileNumber.find(p.path);
    procedures.push_back(NamedDefinition{p.label, {it == fileNumber.end() ? -1 : it->second, p.line}});
  }

  const Paper paper;
  std::vector<std::optional<PdfPart>> parts(files.size());
  ParallelPrintAll run;
  run.jobs = jobs;
  run.holdMarks = true;
  run.progress = progress;
  run.holdFailureMessages = holdFailures;
  run.links = [&](const TFileDataSource& doc, std::size_t i) {
    return std::make_unique<ListingLinks>(doc, procedures, static_cast<int>(i) + 1);
  };
  run.write = [&](TMyPrintout& printout, std::size_t i) -> std::unique_ptr<ListingOutput> {
    bool gray = false;
    const PdfPageSetup page = paper.of(printout, gray);
    std::optional<PdfPart> part = renderPart(printout, page, gray);
    if (!part) return nullptr;
    return std::make_unique<BookPartOutput>(std::move(*part), parts, i);
  };
  PrintAllResult result = printAllInParallel(files, services, run);
  BookResult book{result.failures, false, false, 0, std::move(result.failed)};

  std::vector<std::size_t> inBook;
  for (std::size_t i = 0; i < parts.size(); ++i)
    if (parts[i]) inBook.push_back(i);
  book.empty = inBook.empty();
  book.listings = inBook.size();
  if (book.empty) return book;

  const PdfPageSetup page = services.setup.portrait ? paper.portrait : paper.landscape;
  auto contentsLines = [&](int contentsPages) {
    std::vector<BookLine> lines;
    int at = contentsPages + 1;
    for (std::size_t i : inBook) {
      const int pages = static_cast<int>(parts[i]->contents.size());
      lines.push_back(BookLine{{bookFileName(*files[i]), std::to_string(pages), std::to_string(at)},
                               {static_cast<int>(i) + 1, 0}});
      at += pages;
    }
    return lines;
  };
  auto contentsOf = [&](int contentsPages) {
    return BookTablePrintout("Contents", {"File", "Pages", "Page"}, {false, true, true},
                             contentsLines(contentsPages), services.setup);
  };
  // The contents' own length does not depend on the numbers in it.
  BookTablePrintout draft = contentsOf(1);
  std::optional<PdfPart> draftPart = renderPart(draft, page);
  const int contentsPages = draftPart ? static_cast<int>(draftPart->contents.size()) : 1;
  BookTablePrintout contents = contentsOf(contentsPages);
  std::optional<PdfPart> contentsPart = renderPart(contents, page);

  BookAssembly assembly(path);
  if (!contentsPart || !assembly.open()) return book;
  PdfDocument& doc = assembly.document();
  PdfAnchors anchors;
  const int contentsFirst = assembly.add(*contentsPart);
  std::vector<int> firstPage(files.size(), -1);
  for (std::size_t i : inBook) {
    PdfPart& part = *parts[i];
    const int n = static_cast<int>(i) + 1;
    firstPage[i] = assembly.add(part);
    anchors.set(n, 0, PdfPlace{firstPage[i], part.page.pointY(0)});
    anchors.add(n, part.info, part.jobPages, firstPage[i], part.page);
  }

  // The index: every procedure of the table, with the page of its definition.
  std::map<std::string, const ProjectFile*> byPath;
  for (const ProjectFile& f : project.files) byPath.try_emplace(f.path, &f);
  std::vector<BookLine> entries;
  for (std::size_t k = 0; k < project.procedures.size(); ++k) {
    const ProjectProcedure& p = project.procedures[k];
    const LinkTarget target = procedures[k].target;
    auto place = target.file > 0 ? anchors.find(target.file, target.line) : std::nullopt;
    auto file = byPath.find(p.path);
    entries.push_back(BookLine{{cp1252::toUtf8(p.label),
                                file != byPath.end() ? bookFileName(*file->second)
                                                     : cp1252::toUtf8(p.fileName),
                                std::to_string(p.line), place ? std::to_string(place->page + 1) : ""},
                               place ? target : LinkTarget{0, 0}});
  }
  BookTablePrintout index("Procedures", {"Procedure", "File", "Line", "Page"},
                          {false, false, true, true}, std::move(entries), services.setup);
  index.setFirstPage(static_cast<int>(doc.pages.size()) + 1);
  std::optional<PdfPart> indexPart = renderPart(index, page);
  const int indexFirst = indexPart ? assembly.add(*indexPart) : -1;

  // Links of every part, now that every definition has its page.
  auto addLinks = [&](const PdfPart& part, int first) {
    std::vector<PdfLink> links = pdfLinks(part.info, part.jobPages, first, part.page, anchors);
    doc.links.insert(doc.links.end(), links.begin(), links.end());
  };
  addLinks(*contentsPart, contentsFirst);
  for (std::size_t i : inBook) addLinks(*parts[i], firstPage[i]);
  if (indexPart) addLinks(*indexPart, indexFirst);

  for (std::size_t i : inBook) {
    const PdfPart& part = *parts[i];
    PdfOutlineItem item;
    item.title = pdfUtf16(bookFileName(*files[i]));
    item.page = firstPage[i];
    item.top = part.page.pointY(0);
    item.children = pdfOutline(part.info, part.jobPages, firstPage[i], part.page);
    // A listing without units heads its embed points with its name, which the book's entry is.
    if (!part.info.outline.empty() && part.info.outline.front().utf8 && !item.children.empty()) {
      std::vector<PdfOutlineItem> under = std::move(item.children.front().children);
      item.children.erase(item.children.begin());
      item.children.insert(item.children.begin(), under.begin(), under.end());
    }
    doc.outline.push_back(std::move(item));
  }
  doc.outline.push_back(PdfOutlineItem{pdfUtf16("Contents"), contentsFirst, page.pointY(0), {}});
  if (indexPart)
    doc.outline.push_back(PdfOutlineItem{pdfUtf16("Procedures"), indexFirst, page.pointY(0), {}});
  doc.title = pdfUtf16(project.programName);
  doc.created = services.now ? services.now() : std::time(nullptr);

  book.written = assembly.finish();
  if (!book.written) return book;
  // Marks mean "changed since printed": only now has every file reached its file.
  if (services.setup.clearArchive)
    for (const std::string& printed : result.printed) clearArchiveMark(printed, services.attributes);
  return book;
}

}  // namespace tarn
