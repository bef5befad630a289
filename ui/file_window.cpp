#include "ui/file_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>

#include "pdf/qt/qt_fonts.h"
#include "ui/column_listbox.h"
#include "ui/help.h"
#include "ui/print_guard.h"
#include "ui/window_font.h"
#include "ui/view_helpers.h"

namespace tarn {
namespace {

int gFileWindowCount = 0;

const QColor kBlack(0, 0, 0), kGrey(128, 128, 128), kWhite(255, 255, 255),
    kLightGrey(192, 192, 192);

}  // namespace

int varnixWindowView::fileWindowCount() { return gFileWindowCount; }

varnixWindowView::varnixWindowView(std::unique_ptr<TFileDataSource> document, const QFont& font,
                                   AppContext& app, QWidget* parent)
    : QWidget(parent), document_(std::move(document)), app_(app), viewFont_(font) {
  ++gFileWindowCount;
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kLightGrey);
  pal.setColor(QPalette::WindowText, kBlack);
  setPalette(pal);
  setAutoFillBackground(true);
  setHelpContext(this, kHelpFileWindow);
  setFont(viewFont_);

  embedList_ = new TColumnListboxEmbeds(*document_, kEmbedList, this);
  embedFilter_ = new QLineEdit(this);
  makeButton("&Print", kEmbedPrint);
  unitList_ = new TColumnListboxStructs(*document_, kUnitList, this);
  unitFilter_ = new QLineEdit(this);
  makeButton("P&rint", kUnitPrint);
  makeButton("Pr&int", kPrintFile)->setDefault(true);
  makeButton("&Edit", kEdit);
  makeButton("&Close", kClose);

  QWidget* order[] = {embedList_, embedFilter_, button(kEmbedPrint), unitList_, unitFilter_,
                      button(kUnitPrint), button(kPrintFile), button(kEdit), button(kClose)};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  for (QLineEdit* edit : {embedFilter_, unitFilter_}) edit->setMaxLength(kMaxFilter);

  connect(embedFilter_, &QLineEdit::textChanged, this, [this] { refilter(embedList_, embedFilter_); });
  connect(unitFilter_, &QLineEdit::textChanged, this, [this] { refilter(unitList_, unitFilter_); });
  connect(button(kEdit), &QPushButton::clicked, this, [this] { editFile(); });
  connect(button(kPrintFile), &QPushButton::clicked, this, [this] { printWholeFile(); });
  connect(button(kClose), &QPushButton::clicked, this, [this] { closeView(this); });
  auto printEmbed = [this] {
    if (int e = embedList_->selectedEntry(); e >= 0)
      printSelection(PrintSelection::embed(static_cast<std::size_t>(e)));
  };
  auto printUnit = [this] {
    if (int u = unitList_->selectedEntry(); u >= 0)
      printSelection(PrintSelection::unit(static_cast<std::size_t>(u)));
  };
  connect(button(kEmbedPrint), &QPushButton::clicked, this, printEmbed);
  connect(embedList_, &TColumnListbox::entryDoubleClicked, this, printEmbed);
  connect(button(kUnitPrint), &QPushButton::clicked, this, printUnit);
  connect(unitList_, &TColumnListbox::entryDoubleClicked, this, printUnit);
  connect(embedList_, &TColumnListbox::selectionMoved, this, [this] { updateControls(); });
  connect(unitList_, &TColumnListbox::selectionMoved, this, [this] { updateControls(); });

  // Measures of the window font for the layout.
  const QFontMetrics fm(viewFont_);
  measures_.tm = textMetricsOf(viewFont_);
  measures_.closeWidth = fm.horizontalAdvance(QStringLiteral("Close"));
  measures_.closeHeight = fm.height();
  measures_.filterWidth = fm.horizontalAdvance(QStringLiteral("Filter: "));
  measures_.filterHeight = fm.height();
  const Rect least = minimumViewSize(measures_);
  setMinimumSize(least.right, least.bottom);

  embedList_->applyFilter({});
  unitList_->applyFilter({});
  updateControls();
}

varnixWindowView::~varnixWindowView() { --gFileWindowCount; }

QPushButton* varnixWindowView::makeButton(const char* text, Id id) {
  auto* b = new QPushButton(QString::fromLatin1(text), this);
  b->setObjectName(QStringLiteral("button%1").arg(static_cast<int>(id)));
  // A button with focus takes Return itself; elsewhere Return goes to "Pr&int".
  b->setAutoDefault(true);
  const int slot = id == kEmbedPrint ? 0 : id == kUnitPrint ? 1 : id == kPrintFile ? 2
                                                                  : id == kEdit ? 3 : 4;
  buttons_[slot] = b;
  return b;
}

QPushButton* varnixWindowView::button(Id id) const {
  switch (id) {
    case kEmbedPrint: return buttons_[0];
    case kUnitPrint: return buttons_[1];
    case kPrintFile: return buttons_[2];
    case kEdit: return buttons_[3];
    case kClose: return buttons_[4];
    default: return nullptr;
  }
}

void varnixWindowView::refilter(TColumnListbox* list, QLineEdit* edit) {
  list->applyFilter(cp1252FromQString(edit->text().left(kMaxFilter)));
  update();  // the titles turn grey or black at once
  updateControls();
}

void varnixWindowView::updateControls() {
  struct Panel {
    TColumnListbox* list;
    QPushButton* button;
  };
  for (Panel p : {Panel{embedList_, button(kEmbedPrint)}, Panel{unitList_, button(kUnitPrint)}}) {
    PanelEnables e = panelEnables(PanelState{p.list->shownCount(), p.list->selectedPosition()});
    if (e.select >= 0) {
      const QSignalBlocker quiet(p.list);
      p.list->selectPosition(e.select);
      e = panelEnables(PanelState{p.list->shownCount(), p.list->selectedPosition()});
    }
    p.list->setEnabled(e.list);
    p.button->setEnabled(e.button);
  }
}

void varnixWindowView::focusFirstList() {
  if (embedList_->isEnabled()) embedList_->setFocus(Qt::OtherFocusReason);
  else if (unitList_->isEnabled()) unitList_->setFocus(Qt::OtherFocusReason);
  else button(kPrintFile)->setFocus(Qt::OtherFocusReason);
}

DirectPrintResult varnixWindowView::printSelection(PrintSelection selection) {
  PrintGuard guard;
  // From the preview the dialog must stand over the preview, not behind it.
  QWidget* modal = QApplication::activeModalWidget();
  app_.printer.setDialogParent(modal ? modal : window());
  PrintServices services = app_.printServices();
  return printDocument(*document_, PrintRequest{selection, true, true}, services);
}

void varnixWindowView::editFile() { editWithShell(app_, document_->path); }

void editWithShell(AppContext& app, const std::string& path) {
  int result = app.shell.openWithAssociation(path);
  if (result == kShellNoAssociation) {
    if (app.messages.show(
            "File type does not have a default viewer - Do you wish to use notepad instead ?", "",
            MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
      return;
    if (app.shell.openInTextEditor(path)) return;
    result = kShellFileNotFound;  // as when the editor's program is not there
  }
  if (result <= 32)
    app.messages.show("Error " + std::to_string(result) + " occured in attempt to edit the file.",
                      kAppName, MessageIcon::Exclamation);
}

void varnixWindowView::layOut() {
  if (width() == 0) return;
  layout_ = layOutView(width(), height(), measures_);
  embedList_->setGeometry(toQRect(layout_.panels[0].list));
  embedFilter_->setGeometry(toQRect(layout_.panels[0].edit));
  button(kEmbedPrint)->setGeometry(toQRect(layout_.panels[0].button));
  unitList_->setGeometry(toQRect(layout_.panels[1].list));
  unitFilter_->setGeometry(toQRect(layout_.panels[1].edit));
  button(kUnitPrint)->setGeometry(toQRect(layout_.panels[1].button));
  button(kClose)->setGeometry(toQRect(layout_.bottomButtons[0]));
  button(kEdit)->setGeometry(toQRect(layout_.bottomButtons[1]));
  button(kPrintFile)->setGeometry(toQRect(layout_.bottomButtons[2]));
  update();
}

void varnixWindowView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layOut();
}

void paintPanels(QPainter& p, const ViewLayout& layout, const QRect& area, const QFont& font,
                 const char* const titles[2], const bool shown[2], const QColor& emptyTitle) {
  p.fillRect(area, kLightGrey);
  p.setFont(font);
  auto drawLabel = [&p](const Rect& r, const QColor& color, const QString& text) {
    const QRect box = toQRect(r);
    p.fillRect(box, kLightGrey);
    p.setPen(color);
    p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
  };
  const QString filter = QStringLiteral("Filter: ");
  drawLabel(layout.panels[1].label, kBlack, filter);
  drawLabel(layout.panels[0].label, kBlack, filter);
  for (int i = 0; i < 2; ++i)
    drawLabel(layout.panels[i].title, shown[i] ? kBlack : emptyTitle, QString::fromLatin1(titles[i]));
  // The etched line above the bottom row.
  p.setPen(kGrey);
  p.drawLine(area.left(), layout.dividerY, area.right(), layout.dividerY);
  p.setPen(kWhite);
  p.drawLine(area.left(), layout.dividerY + 1, area.right(), layout.dividerY + 1);
}

void varnixWindowView::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  static const char* const titles[2] = {"List of embedpoints", "List of units"};
  const bool shown[2] = {embedList_->shownCount() > 0, unitList_->shownCount() > 0};
  paintPanels(p, layout_, event->rect(), viewFont_, titles, shown, kGrey);
}

void varnixWindowView::keyPressEvent(QKeyEvent* event) {
  if (!returnPressesDefault(event, button(kPrintFile))) QWidget::keyPressEvent(event);
}

void varnixWindowView::closeEvent(QCloseEvent* event) {
  if (!refuseCloseWhilePrinting(event)) QWidget::closeEvent(event);
}

}  // namespace tarn
