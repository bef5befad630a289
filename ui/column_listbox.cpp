#include "ui/column_listbox.h"

#include <QEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>

#include "pdf/qt/qt_fonts.h"

namespace tarn {
namespace {

const QColor kBlack(0, 0, 0), kWhite(255, 255, 255), kLightGrey(192, 192, 192);

/// x of the grey column's left edge: two thirds of the width, plus 2.
int rightColumnX(int right) { return 2 * right / 3 + 2; }

/// Draws one row as the list boxes always have.
class ColumnDelegate : public QStyledItemDelegate {
 public:
  ColumnDelegate(ColumnListData& data, QObject* parent)
      : QStyledItemDelegate(parent), data_(data) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    return QSize(option.rect.width(), option.fontMetrics.height());
  }

  void paint(QPainter* p, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const int position = index.row();
    if (position < 0 || position >= data_.shownCount()) return;
    const int entry = data_.shownIndex(position);
    const QRect r = option.rect;
    const int right = r.left() + r.width();
    p->save();
    p->setFont(option.font);
    p->fillRect(r, kWhite);
    p->setPen(kBlack);
    const int ascent = option.fontMetrics.ascent();
    p->drawText(r.left() + 5, r.top() + ascent, qStringFromCp1252(data_.mainText(entry)));
    int invertRight = right;
    if (data_.twoColumns()) {
      const int x2 = rightColumnX(right);
      p->fillRect(QRect(QPoint(x2, r.top()), QPoint(right - 1, r.bottom())), kLightGrey);
      const std::string text = data_.rightText(entry);
      if (!text.empty())
        p->drawText(x2 + 5 + data_.rightIndent(entry), r.top() + ascent,
                    qStringFromCp1252(text));
      p->drawLine(x2 - 1, r.top(), x2 - 1, r.bottom());
      invertRight = 2 * right / 3;
    }
    if (option.state & QStyle::State_Selected) {
      // The selection is the row's colours inverted; the grey column keeps its own.
      p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      p->fillRect(QRect(QPoint(r.left(), r.top()), QPoint(invertRight - 1, r.bottom())), kWhite);
    }
    p->restore();
  }

 private:
  ColumnListData& data_;
};

}  // namespace

int ColumnListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : data_.shownCount();
}

QVariant ColumnListModel::data(const QModelIndex&, int) const { return {}; }

void ColumnListModel::applyFilter(std::string_view filter) {
  beginResetModel();
  data_.applyFilter(filter);
  endResetModel();
}

TColumnListbox::TColumnListbox(std::unique_ptr<ColumnListData> source, int id, QWidget* parent)
    : QListView(parent), data_(std::move(source)), id_(id) {
  model_ = new ColumnListModel(*data_, this);
  setModel(model_);
  setItemDelegate(new ColumnDelegate(*data_, this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(2);
  setFocusPolicy(Qt::StrongFocus);
  QPalette pal = palette();
  pal.setColor(QPalette::Base, kWhite);
  pal.setColor(QPalette::Text, kBlack);
  setPalette(pal);
  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit entryDoubleClicked(index.row());
  });
  connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] { updateScrollBar(); });
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TColumnListbox::selectionMoved);
  updateScrollBar();
}

TColumnListbox::~TColumnListbox() = default;

void TColumnListbox::applyFilter(std::string_view filter) {
  model_->applyFilter(filter);
  updateScrollBar();
}

int TColumnListbox::selectedPosition() const {
  const QModelIndexList rows = selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.front().row();
}

void TColumnListbox::selectPosition(int position) {
  if (position < 0 || position >= shownCount()) return;
  const QModelIndex index = model_->index(position);
  setCurrentIndex(index);
  selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
  scrollTo(index, QAbstractItemView::PositionAtTop);
}

int TColumnListbox::selectedEntry() const {
  const int position = selectedPosition();
  return position < 0 ? -1 : data_->shownIndex(position);
}

int TColumnListbox::rowHeight() const { return fontMetrics().height(); }

void TColumnListbox::updateScrollBar() {
  // Shown always, usable only when there is something to scroll.
  verticalScrollBar()->setEnabled(verticalScrollBar()->maximum() > 0);
}

void TColumnListbox::changeEvent(QEvent* event) {
  QListView::changeEvent(event);
  if (event->type() == QEvent::FontChange) doItemsLayout();
}

void TColumnListbox::paintEvent(QPaintEvent* event) {
  QListView::paintEvent(event);
  if (!data_->twoColumns()) return;
  // Below the last row the grey column and its separator go on to the bottom.
  QPainter p(viewport());
  const QRect client = viewport()->rect();
  const int cright = client.width();
  const int xs = rightColumnX(cright);
  const int rows = shownCount();
  const int ytop = rows > 0 ? visualRect(model_->index(rows - 1)).bottom() + 1 : 0;
  if (ytop < client.height())
    p.fillRect(QRect(QPoint(xs, std::max(ytop, 0)), QPoint(cright - 1, client.height() - 1)),
               kLightGrey);
  p.setPen(kBlack);
  p.drawLine(xs - 1, 0, xs - 1, client.height() - 1);
}

}  // namespace tarn
