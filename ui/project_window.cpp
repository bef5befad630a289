#include "ui/project_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QProgressDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/paths.h"
#include "platform/qt/guarded_progress.h"
#include "printout/print_all.h"
#include "printout/print_document.h"
#include "printout/qt/pdf_print_all.h"
#include "ui/column_listbox.h"
#include "ui/file_window.h"
#include "ui/help.h"
#include "ui/print_guard.h"
#include "ui/window_font.h"
#include "ui/view_helpers.h"

namespace tarn {
namespace {

const QColor kLightGrey(192, 192, 192);

/// Files done of a print-all on several threads, shown while it runs.
class BusyProgress {
 public:
  BusyProgress(QWidget* parent, std::size_t count)
      : dialog_(QStringLiteral("Printing..."), QString(), 0, static_cast<int>(count), parent) {
    dialog_.setWindowTitle(QString::fromLatin1(kAppName));
    dialog_.setCancelButton(nullptr);
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(500);
  }
  void set(std::size_t done) {
    dialog_.setValue(static_cast<int>(done));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }

 private:
  // Print-all cannot be cancelled: Alt+F4 must not hide its progress.
  GuardedProgressDialog dialog_;
};

}  // namespace

std::optional<std::uint32_t> askPrintAllOptions(QWidget* parent) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("Print all options"));
  setHelpContext(&dialog, kHelpProjectWindow);
  auto* group = new QGroupBox(QStringLiteral("Filter options"), &dialog);
  auto* modified = new QCheckBox(QStringLiteral("Print &modified files only"), group);
  auto* clw = new QCheckBox(QStringLiteral("Print .&CLW files only"), group);
  modified->setObjectName(QStringLiteral("check102"));
  clw->setObjectName(QStringLiteral("check104"));
  auto* inGroup = new QVBoxLayout(group);
  inGroup->addWidget(modified);
  inGroup->addWidget(clw);
  auto* book = new QCheckBox(QStringLiteral("One PDF &book with contents and index"), &dialog);
  book->setObjectName(QStringLiteral("check106"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(group);
  layout->addWidget(book);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return (modified->isChecked() ? std::uint32_t{kPrintModifiedOnly} : 0u) |
         (clw->isChecked() ? std::uint32_t{kPrintClwOnly} : 0u) |
         (book->isChecked() ? std::uint32_t{kPrintBook} : 0u);
}

std::string suggestedBookPath(const ApplicationData& project) {
  std::string name = project.programName;
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return joinPath(project.directory, (name.empty() ? std::string("project") : name) + ".pdf");
}

std::optional<std::string> askBookPath(QWidget* parent, const std::string& suggested) {
  const QString path = QFileDialog::getSaveFileName(
      parent, QStringLiteral("Save the book as"), QFile::decodeName(suggested.c_str()),
      QStringLiteral("PDF files (*.pdf)"));
  if (path.isEmpty()) return std::nullopt;
  return QFile::encodeName(path).toStdString();
}

std::optional<std::string> askPdfFolder(QWidget* parent, const std::string& preset) {
  QFileDialog dialog(parent, QStringLiteral("Print all source into PDF files"),
                     QFile::decodeName(preset.c_str()));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  dialog.setLabelText(QFileDialog::Accept, QStringLiteral("&Print"));
  // Where the print dialog would ask for one file name, say what happens.
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    auto* note = new QLabel(
        QStringLiteral("Choose a folder: each file is printed into its own PDF there, named after "
                       "it (MAIN.CLW.pdf). A PDF of that name is replaced."),
        &dialog);
    note->setWordWrap(true);
    grid->addWidget(note, grid->rowCount(), 0, 1, grid->columnCount());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

ProjectWindowView::ProjectWindowView(std::unique_ptr<ApplicationData> project, const QFont& font,
                                     AppContext& app, ProjectActions actions, QWidget* parent)
    : QWidget(parent),
      project_(std::move(project)),
      app_(app),
      actions_(std::move(actions)),
      viewFont_(font) {
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kLightGrey);
  setPalette(pal);
  setAutoFillBackground(true);
  setFont(viewFont_);
  setHelpContext(this, kHelpProjectWindow);
  // The date order is settled now: its warning must never come from a paint.
  app_.dates.order();

  auto makeButton = [this](const char* text, Id id) {
    auto* b = new QPushButton(QString::fromLatin1(text), this);
    b->setObjectName(QStringLiteral("button%1").arg(static_cast<int>(id)));
    b->setAutoDefault(true);
    buttons_[id] = b;
    return b;
  };
  fileList_ = new TColumnListboxApplicationFile(
      *project_, [this](int d, int m, int y) { return app_.dates.formatDate(d, m, y); }, kFileList,
      this);
  fileFilter_ = new QLineEdit(this);
  makeButton("&Edit", kFileEdit);
  makeButton("&Open", kFileOpen);
  procList_ = new TColumnListboxApplicationProc(*project_, kProcList, this);
  procFilter_ = new QLineEdit(this);
  makeButton("&Edit", kProcEdit);
  makeButton("Op&en", kProcOpen);
  makeButton("Pr&int all source", kPrintAll)->setDefault(true);
  makeButton("&Close", kClose);
  QWidget* order[] = {fileList_,         fileFilter_, button(kFileEdit), button(kFileOpen),
                      procList_,         procFilter_, button(kProcEdit), button(kProcOpen),
                      button(kPrintAll), button(kClose)};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  for (QLineEdit* edit : {fileFilter_, procFilter_}) edit->setMaxLength(78);

  connect(fileFilter_, &QLineEdit::textChanged, this, [this] { refilter(fileList_, fileFilter_); });
  connect(procFilter_, &QLineEdit::textChanged, this, [this] { refilter(procList_, procFilter_); });
  auto openFile = [this] {
    if (auto path = selectedFilePath(); !path.empty()) actions_.openFile(path);
  };
  auto openProc = [this] {
    if (auto path = selectedProcPath(); !path.empty()) actions_.openFile(path);
  };
  // Return in a filter opens what it found, as Open does; print-all keeps
  // its button and mnemonic. Taken before the edit sees it: the key must not
  // go on to this window once the file's window has the focus.
  for (QLineEdit* edit : {fileFilter_, procFilter_}) edit->installEventFilter(this);
  openSelected_[0] = openFile;
  openSelected_[1] = openProc;
  connect(button(kFileOpen), &QPushButton::clicked, this, openFile);
  connect(fileList_, &TColumnListbox::entryDoubleClicked, this, openFile);
  connect(button(kProcOpen), &QPushButton::clicked, this, openProc);
  connect(procList_, &TColumnListbox::entryDoubleClicked, this, openProc);
  connect(button(kFileEdit), &QPushButton::clicked, this, [this] { editPath(selectedFilePath()); });
  connect(button(kProcEdit), &QPushButton::clicked, this, [this] { editPath(selectedProcPath()); });
  connect(button(kPrintAll), &QPushButton::clicked, this, [this] { printAllSource(); });
  connect(button(kClose), &QPushButton::clicked, this, [this] { closeView(this); });
  connect(fileList_, &TColumnListbox::selectionMoved, this, [this] { updateControls(); });
  connect(procList_, &TColumnListbox::selectionMoved, this, [this] { updateControls(); });

  const QFontMetrics fm(viewFont_);
  measures_.tm = textMetricsOf(viewFont_);
  measures_.closeWidth = fm.horizontalAdvance(QStringLiteral("Close"));
  measures_.closeHeight = fm.height();
  measures_.filterWidth = fm.horizontalAdvance(QStringLiteral("Filter: "));
  measures_.filterHeight = fm.height();
  printAllWidth_ = fm.horizontalAdvance(QStringLiteral("Pr&int all source"));
  const Rect least = minimumViewSize(measures_, printAllWidth_);
  setMinimumSize(least.right, least.bottom);

  fileList_->applyFilter({});
  procList_->applyFilter({});
  updateControls();
}

QPushButton* ProjectWindowView::button(Id id) const {
  auto it = buttons_.find(id);
  return it == buttons_.end() ? nullptr : it->second;
}

std::string ProjectWindowView::selectedFilePath() const {
  const int entry = fileList_->selectedEntry();
  return entry < 0 ? std::string() : project_->files[static_cast<std::size_t>(entry)].path;
}

std::string ProjectWindowView::selectedProcPath() const {
  const int entry = procList_->selectedEntry();
  return entry < 0 ? std::string()
                   : project_->procedures[static_cast<std::size_t>(entry)].path;
}

void ProjectWindowView::editPath(const std::string& path) {
  if (!path.empty()) editWithShell(app_, path);
}

void ProjectWindowView::refilter(TColumnListbox* list, QLineEdit* edit) {
  list->applyFilter(cp1252FromQString(edit->text().left(78)));
  update();
  updateControls();
}

void ProjectWindowView::updateControls() {
  struct Panel {
    TColumnListbox* list;
    Id open, edit;
  };
  for (Panel p : {Panel{procList_, kProcOpen, kProcEdit}, Panel{fileList_, kFileOpen, kFileEdit}}) {
    PanelEnables e = panelEnables(PanelState{p.list->shownCount(), p.list->selectedPosition()});
    if (e.select >= 0) {
      const QSignalBlocker quiet(p.list);
      p.list->selectPosition(e.select);
    }
    p.list->setEnabled(e.list);
    button(p.open)->setEnabled(e.button);
    button(p.edit)->setEnabled(e.button);
  }
  // Follows the file list as shown, although print-all prints every file.
  button(kPrintAll)->setEnabled(fileList_->shownCount() > 0);
}

void ProjectWindowView::focusFirstList() {
  if (fileList_->isEnabled()) fileList_->setFocus(Qt::OtherFocusReason);
  else if (procList_->isEnabled()) procList_->setFocus(Qt::OtherFocusReason);
  else button(kClose)->setFocus(Qt::OtherFocusReason);
}

void ProjectWindowView::printAllSource() {
  const auto options = askOptions(this);
  if (!options) return;
  if (*options & kPrintBook) printBook(*options);
  else if (app_.printer.directJobsIntoPdf()) printIntoPdfFolder(*options);
  else printOnPrinter(*options);
  // Printing may have cleared marks: the list shows them as they are now.
  for (ProjectFile& file : project_->files)
    if (auto bits = app_.attributes.get(file.path)) file.attributes = *bits;
  fileList_->viewport()->update();
}

void ProjectWindowView::sayFailures(const PrintAllResult& result, const std::string& done) {
  const std::string summary = printAllSummary(result, done);
  if (!summary.empty()) app_.messages.show(summary, "Print Error", MessageIcon::Exclamation);
}

void ProjectWindowView::printOnPrinter(std::uint32_t options) {
  if (!app_.printer.readyForDirectJobs(window())) return;
  actions_.guarded([this, options] {
    PrintGuard guard;
    QWidget* modal = QApplication::activeModalWidget();
    app_.printer.setDialogParent(modal ? modal : window());
    PrintServices services = app_.printServices(actions_.addRecent);
    const PrintAllResult result = tarn::printAllSource(*project_, options, services);
    const std::string name = app_.printer.printerName();
    sayFailures(result, name.empty() ? "printed" : "printed on " + name);
  });
}

void ProjectWindowView::printIntoPdfFolder(std::uint32_t options) {
  std::string preset = app_.printer.pdfFolder();
  if (preset.empty()) preset = project_->directory.value_or(std::string());
  const std::optional<std::string> folder = askFolder(this, preset);
  if (!folder) return;
  app_.printer.rememberPdfFolder(*folder);
  actions_.guarded([this, options, &folder] {
    PrintGuard guard;
    PrintServices services = app_.printServices(actions_.addRecent);
    const std::vector<const ProjectFile*> files = selectedFiles(*project_, options);
    BusyProgress progress(this, files.size());
    // Into PDF files of our own the files are written on every core.
    const PrintAllResult result = printAllToPdfFiles(
        files, services, pdfFolderTargets(files, *folder), app_.jobs,
        [this](const std::string& path) { app_.printer.pdfWritten(path); },
        [&progress](std::size_t done) { progress.set(done); }, true);
    sayFailures(result, "written into " + *folder);
  });
}

void ProjectWindowView::printBook(std::uint32_t options) {
  const std::optional<std::string> path = askPath(this, suggestedBookPath(*project_));
  if (!path) return;
  actions_.guarded([this, options, &path] {
    PrintGuard guard;
    PrintServices services = app_.printServices(actions_.addRecent);
    BusyProgress progress(this, selectedFiles(*project_, options).size());
    const BookResult book = printProjectBook(*project_, options, services, *path, app_.jobs,
                                             [&progress](std::size_t done) { progress.set(done); },
                                             true);
    PrintAllResult parts;
    parts.failures = book.failures;
    parts.failed = book.failed;
    parts.printed.resize(book.listings);
    if (book.empty && book.failures == 0)
      app_.messages.show(kNothingToPrint, kAppName, MessageIcon::Exclamation);
    else if (!book.written)
      app_.messages.show(bookNotWritten(*path) + (book.failures ? "\n" + printAllSummary(parts, "laid out") : ""),
                         "Print Error", MessageIcon::Exclamation);
    else
      sayFailures(parts, "written into the book " + *path);
  });
}

void ProjectWindowView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (width() == 0) return;
  layout_ = layOutProjectView(width(), height(), measures_, printAllWidth_);
  const PanelLayout& files = layout_.panels[0];
  const PanelLayout& procs = layout_.panels[1];
  fileList_->setGeometry(toQRect(files.list));
  fileFilter_->setGeometry(toQRect(files.edit));
  button(kFileOpen)->setGeometry(toQRect(files.button));
  button(kFileEdit)->setGeometry(toQRect(files.secondButton));
  procList_->setGeometry(toQRect(procs.list));
  procFilter_->setGeometry(toQRect(procs.edit));
  button(kProcOpen)->setGeometry(toQRect(procs.button));
  button(kProcEdit)->setGeometry(toQRect(procs.secondButton));
  button(kClose)->setGeometry(toQRect(layout_.bottomButtons[0]));
  button(kPrintAll)->setGeometry(toQRect(layout_.bottomButtons[1]));
  update();
}

void ProjectWindowView::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  static const char* const titles[2] = {"List of files in project", "List of procedures in project"};
  const bool shown[2] = {fileList_->shownCount() > 0, procList_->shownCount() > 0};
  // An empty list's title takes the background colour: it disappears.
  paintPanels(p, layout_, event->rect(), viewFont_, titles, shown, kLightGrey);
}

void ProjectWindowView::keyPressEvent(QKeyEvent* event) {
  if (!returnPressesDefault(event, button(kPrintAll))) QWidget::keyPressEvent(event);
}

bool ProjectWindowView::eventFilter(QObject* watched, QEvent* event) {
  const int panel = watched == fileFilter_ ? 0 : watched == procFilter_ ? 1 : -1;
  if (panel < 0 || event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
      (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
    return QWidget::eventFilter(watched, event);
  openSelected_[panel]();
  return true;
}

void ProjectWindowView::closeEvent(QCloseEvent* event) {
  if (!refuseCloseWhilePrinting(event)) QWidget::closeEvent(event);
}

}  // namespace tarn
