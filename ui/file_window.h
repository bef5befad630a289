#pragma once

#include <QWidget>

#include <functional>
#include <memory>

#include "desktop/commands.h"
#include "desktop/layouts.h"
#include "document/source_document.h"
#include "printout/print_document.h"
#include "ui/app_context.h"

class QLineEdit;
class QPainter;
class QPushButton;

namespace tarn {

class TColumnListbox;

/// Hands a file to the program associated with its type, or after asking to
/// the text editor; failures are said in message boxes.
void editWithShell(AppContext& app, const std::string& path);

/// Paints the two panels' titles and filter labels and the etched line of a
/// file or project window; an empty list's title in `emptyTitle`.
void paintPanels(QPainter& p, const ViewLayout& layout, const QRect& area, const QFont& font,
                 const char* const titles[2], const bool shown[2], const QColor& emptyTitle);

/// The view of one opened source file: its embed points above, its units
/// below, each filterable and printable, and a row of buttons to print the
/// whole file, edit it or close the window. Owns its document.
class varnixWindowView : public QWidget {
  Q_OBJECT
 public:
  /// Control ids, in tab order.
  enum Id : int {
    kEmbedList = 150, kEmbedFilter = 180, kEmbedPrint = 100,
    kUnitList = 160, kUnitFilter = 170, kUnitPrint = 110,
    kPrintFile = 120, kEdit = 130, kClose = 140,
  };
  /// Most characters of a filter text.
  static constexpr int kMaxFilter = 78;

  varnixWindowView(std::unique_ptr<TFileDataSource> document, const QFont& font,
                   AppContext& app, QWidget* parent = nullptr);
  ~varnixWindowView() override;

  /// File windows open now.
  static int fileWindowCount();

  TFileDataSource& document() { return *document_; }
  TColumnListbox* embedList() const { return embedList_; }
  TColumnListbox* unitList() const { return unitList_; }
  QLineEdit* embedFilter() const { return embedFilter_; }
  QLineEdit* unitFilter() const { return unitFilter_; }
  QPushButton* button(Id id) const;

  /// Prints the whole file, the selected unit or the selected embed point
  /// with the print dialog.
  DirectPrintResult printSelection(PrintSelection selection);
  void printWholeFile() { printSelection(PrintSelection::wholeFile()); }
  /// Hands the file to its associated program, or the text editor.
  void editFile();
  /// Selects the first entry of a list that has none and enables the
  /// controls as the lists' contents allow.
  void updateControls();
  /// Focus on the first list that can take it.
  void focusFirstList();
  const ViewLayout& layout() const { return layout_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void layOut();
  void refilter(TColumnListbox* list, QLineEdit* edit);
  QPushButton* makeButton(const char* text, Id id);

  std::unique_ptr<TFileDataSource> document_;
  AppContext& app_;
  QFont viewFont_;
  WindowFontMeasures measures_;
  ViewLayout layout_;
  TColumnListbox* embedList_ = nullptr;
  TColumnListbox* unitList_ = nullptr;
  QLineEdit* embedFilter_ = nullptr;
  QLineEdit* unitFilter_ = nullptr;
  QPushButton* buttons_[5] = {};
};

}  // namespace tarn
