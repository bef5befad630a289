#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "desktop/layouts.h"
#include "document/project.h"
#include "printout/print_all.h"
#include "ui/app_context.h"

class QLineEdit;
class QPushButton;

namespace tarn {

class TColumnListbox;

/// What a project window asks of the application.
struct ProjectActions {
  /// Opens a file in a file window (errors said there).
  std::function<void(const std::string& path)> openFile;
  /// Enters a printed file in the recent-file list.
  std::function<void(const std::string& path)> addRecent;
  /// Runs a command so that an analysis error asks whether to resume.
  std::function<void(const std::function<void()>&)> guarded;
};

/// The print-all options dialog: "Filter options" with the two check boxes
/// and "One PDF book with contents and index", all off at every opening.
/// Nothing on Cancel.
std::optional<std::uint32_t> askPrintAllOptions(QWidget* parent);

/// Where a project's book goes unless the user says otherwise: beside the
/// PROGRAM file, its name with ".pdf".
std::string suggestedBookPath(const ApplicationData& project);

/// The save dialog for a book; nothing on Cancel.
std::optional<std::string> askBookPath(QWidget* parent, const std::string& suggested);

/// The folder dialog of a print-all into PDF files, started at `preset`,
/// saying that each file becomes its own PDF there; nothing on Cancel.
std::optional<std::string> askPdfFolder(QWidget* parent, const std::string& preset);

/// The view of one project: its files above, its procedures below, each
/// filterable, openable and editable, and "Pr&int all source". Owns the
/// project.
class ProjectWindowView : public QWidget {
  Q_OBJECT
 public:
  enum Id : int {
    kFileList = 150, kFileFilter = 180, kFileEdit = 130, kFileOpen = 100,
    kProcList = 160, kProcFilter = 170, kProcEdit = 135, kProcOpen = 110,
    kPrintAll = 145, kClose = 140,
  };

  ProjectWindowView(std::unique_ptr<ApplicationData> project, const QFont& font, AppContext& app,
                    ProjectActions actions, QWidget* parent = nullptr);

  ApplicationData& project() { return *project_; }
  TColumnListbox* fileList() const { return fileList_; }
  TColumnListbox* procList() const { return procList_; }
  QLineEdit* fileFilter() const { return fileFilter_; }
  QLineEdit* procFilter() const { return procFilter_; }
  QPushButton* button(Id id) const;

  /// Prints the project's files after the options dialog; the list shows
  /// the marks read again afterwards.
  void printAllSource();
  void updateControls();
  void focusFirstList();

  /// The options dialog and the book's save dialog; tests answer them.
  std::function<std::optional<std::uint32_t>(QWidget*)> askOptions = askPrintAllOptions;
  std::function<std::optional<std::string>(QWidget*, const std::string&)> askPath = askBookPath;
  std::function<std::optional<std::string>(QWidget*, const std::string&)> askFolder = askPdfFolder;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  /// The book of the selected files, written by our PDF writer whatever printer is set.
  void printBook(std::uint32_t options);
  /// Each file into its own PDF in a folder the user chooses.
  void printIntoPdfFolder(std::uint32_t options);
  void printOnPrinter(std::uint32_t options);
  void sayFailures(const PrintAllResult& result, const std::string& done);
  void refilter(TColumnListbox* list, QLineEdit* edit);
  void editPath(const std::string& path);
  std::string selectedFilePath() const;
  std::string selectedProcPath() const;

  std::unique_ptr<ApplicationData> project_;
  AppContext& app_;
  ProjectActions actions_;
  QFont viewFont_;
  WindowFontMeasures measures_;
  int printAllWidth_ = 0;
  ViewLayout layout_;
  TColumnListbox* fileList_ = nullptr;
  TColumnListbox* procList_ = nullptr;
  QLineEdit* fileFilter_ = nullptr;
  QLineEdit* procFilter_ = nullptr;
  std::map<int, QPushButton*> buttons_;
  std::function<void()> openSelected_[2];  ///< Open of the file and procedure panels
};

}  // namespace tarn
