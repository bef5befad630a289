#include "ui/setup_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "desktop/font_record.h"
#include "desktop/setup_form.h"
#include "pdf/qt/qt_fonts.h"
#include "ui/font_choice.h"
#include "ui/window_font.h"
#include "ui/view_helpers.h"

namespace tarn {
namespace {

using K = DialogControl::Kind;

constexpr int kHeaderTypingLimit = 98;

// 0x00BBGGRR, as the settings keep colours.
QColor fromColorRef(std::uint32_t c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}
std::uint32_t toColorRef(const QColor& c) {
  return static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
         static_cast<std::uint32_t>(c.blue()) << 16;
}

}  // namespace

std::array<QRgb, 16>& customColors() {
  static std::array<QRgb, 16> colors = [] {
    std::array<QRgb, 16> black;
    black.fill(qRgb(0, 0, 0));
    return black;
  }();
  return colors;
}

ChoiceDialogs ChoiceDialogs::platform() {
  ChoiceDialogs d;
  d.color = [](const QColor& initial, QWidget* parent) -> std::optional<QColor> {
    // Our custom colours for this dialog only: Qt's own, read from and
    // written to its settings file, are put back afterwards.
    std::array<QColor, 16> theirs;
    for (int i = 0; i < 16; ++i) {
      theirs[static_cast<std::size_t>(i)] = QColorDialog::customColor(i);
      QColorDialog::setCustomColor(i, QColor(customColors()[static_cast<std::size_t>(i)]));
    }
    QColorDialog dialog(initial, parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    const bool ok = dialog.exec() == QDialog::Accepted;
    for (int i = 0; i < 16; ++i) {
      customColors()[static_cast<std::size_t>(i)] = QColorDialog::customColor(i).rgb();
      QColorDialog::setCustomColor(i, theirs[static_cast<std::size_t>(i)]);
    }
    if (!ok) return std::nullopt;
    return dialog.selectedColor();
  };
  d.font = runFontDialog;
  d.run = [](QDialog& dialog) { return dialog.exec(); };
  return d;
}

bool chooseFontInto(FontData& font, const ChoiceDialogs& dialogs, QWidget* parent, bool printed) {
  prepareFontDialog(font);
  const auto chosen = dialogs.font(dialogFontOf(font, printed), parent);
  if (!chosen) return false;
  FontChoice choice;
  choice.faceName = cp1252FromQString(chosen->family(), '?');
  const qreal points = chosen->pointSizeF() > 0 ? chosen->pointSizeF()
                                                : QFontInfo(*chosen).pointSizeF();
  choice.pointSizeTenths = static_cast<int>(points * 10 + 0.5);
  choice.weight = static_cast<int>(chosen->weight());
  choice.italic = chosen->italic();
  choice.fixedPitch = QFontInfo(*chosen).fixedPitch();
  const QScreen* screen = parent ? parent->screen() : nullptr;
  choice.dpiY = screen ? static_cast<int>(screen->logicalDotsPerInchY() + 0.5) : 96;
  storeFontChoice(font, choice);
  return true;
}

namespace {

/// This style's check boxes and radio buttons take more room beside their
/// text than the old dialogs' did: a text that would be cut grows toward
/// free room (right, or left for a right-aligned label), never into another
/// control nor across the frame of the group it stands in.
void growToText(const std::vector<QWidget*>& widgets, const QRect& dialogRect) {
  for (QWidget* w : widgets) {
    auto* label = qobject_cast<QLabel*>(w);
    if (!label && !qobject_cast<QAbstractButton*>(w)) continue;
    if (qobject_cast<QPushButton*>(w)) continue;
    const QRect at = w->geometry();
    const int need = w->sizeHint().width() - at.width();
    if (need <= 0) continue;
    const bool leftward = label && (label->alignment() & Qt::AlignRight);
    int room = need;
    for (QWidget* other : widgets) {
      if (other == w) continue;
      const QRect o = other->geometry();
      if (qobject_cast<QGroupBox*>(other)) {
        // Inside a group, stay inside its frame.
        if (o.contains(at.topLeft()) && o.contains(at.bottomRight()))
          room = std::min(room, leftward ? at.left() - o.left() - 2 : o.right() - 2 - at.right());
        continue;
      }
      if (o.bottom() < at.top() || o.top() > at.bottom()) continue;
      if (!leftward && o.left() > at.right()) room = std::min(room, o.left() - 2 - at.right());
      if (leftward && o.right() < at.left()) room = std::min(room, at.left() - o.right() - 2);
    }
    room = std::min(room, leftward ? at.left() - dialogRect.left()
                                   : dialogRect.right() - at.right());
    if (room <= 0) continue;
    w->setGeometry(leftward ? at.adjusted(-room, 0, 0, 0) : at.adjusted(0, 0, room, 0));
  }
}

}  // namespace

std::vector<QWidget*> buildFromTemplate(QDialog& dialog, const DialogTemplate& t) {
  // Dialog units of the dialog's font (the default GUI font).
  const QFontMetrics fm(dialog.font());
  const DialogBase base = dialogBase(
      fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")),
      fm.height());
  const Rect size = dialogUnitsToPixels(base, 0, 0, t.width, t.height);
  dialog.setWindowTitle(QString::fromLatin1(t.caption));
  dialog.setFixedSize(size.right, size.bottom);

  std::vector<QWidget*> widgets;
  QButtonGroup* radios = nullptr;
  QWidget* previous = nullptr;
  for (const DialogControl& c : t) {
    const QString text = QString::fromLatin1(c.text);
    QWidget* w = nullptr;
    switch (c.kind) {
      case K::GroupBox: w = new QGroupBox(text, &dialog); break;
      case K::RadioFirst:
        radios = new QButtonGroup(&dialog);
        [[fallthrough]];
      case K::Radio: {
        auto* radio = new QRadioButton(text, &dialog);
        if (radios) radios->addButton(radio);
        w = radio;
        break;
      }
      case K::Edit: w = new QLineEdit(&dialog); break;
      case K::Label:
      case K::LabelRight: {
        auto* label = new QLabel(text, &dialog);
        label->setAlignment((c.kind == K::LabelRight ? Qt::AlignRight : Qt::AlignLeft) |
                            Qt::AlignVCenter);
        w = label;
        break;
      }
      case K::Check: w = new QCheckBox(text, &dialog); break;
      case K::List: w = new QListWidget(&dialog); break;
      case K::Button:
      case K::DefaultButton: {
        auto* button = new QPushButton(text, &dialog);
        button->setAutoDefault(false);
        button->setDefault(c.kind == K::DefaultButton);
        w = button;
        break;
      }
    }
    w->setGeometry(toQRect(dialogUnitsToPixels(base, c.x, c.y, c.width, c.height)));
    if (c.kind != K::Radio && c.kind != K::RadioFirst) {
      // A radio group ends at the next control that is not a radio button.
      if (c.kind != K::Label && c.kind != K::LabelRight && c.kind != K::GroupBox) radios = nullptr;
    }
    if (w->focusPolicy() != Qt::NoFocus) {
      if (previous) QWidget::setTabOrder(previous, w);
      previous = w;
    }
    widgets.push_back(w);
  }
  // Group boxes are drawn first, so that the controls on them stay visible.
  for (QWidget* w : widgets)
    if (qobject_cast<QGroupBox*>(w)) w->lower();
  growToText(widgets, dialog.rect());
  return widgets;
}

TLexStyle::TLexStyle(std::int32_t& style, QWidget* parent) : QDialog(parent), style_(style) {
  setModal(true);
  const std::vector<QWidget*> w = buildFromTemplate(*this, stylesDialogTemplate());
  italic_ = static_cast<QCheckBox*>(w[0]);
  bold_ = static_cast<QCheckBox*>(w[1]);
  italic_->setChecked(style_ & kStyleItalic);
  bold_->setChecked(style_ & kStyleBold);
  connect(static_cast<QPushButton*>(w[2]), &QPushButton::clicked, this, &QDialog::accept);
  connect(static_cast<QPushButton*>(w[3]), &QPushButton::clicked, this, &QDialog::reject);
}

void TLexStyle::accept() {
  style_ = styleWord(italic_->isChecked(), bold_->isChecked());
  QDialog::accept();
}

TSetupDlg::TSetupDlg(AppContext& app, QWidget* parent, ChoiceDialogs dialogs)
    : QDialog(parent), app_(app), dialogs_(std::move(dialogs)) {
  setModal(true);
  const DialogTemplate& t = setupDialogTemplate();
  const std::vector<QWidget*> widgets = buildFromTemplate(*this, t);
  std::size_t i = 0;
  QGroupBox* highlighting = nullptr;
  QLabel* lastLabel = nullptr;
  for (const DialogControl& c : t) {
    QWidget* w = widgets[i++];
    if (c.kind == K::GroupBox && c.id == kSetupStyle) {
      highlighting = static_cast<QGroupBox*>(w);  // shares its id with "&Style..."
      continue;
    }
    if (c.kind == K::Label || c.kind == K::LabelRight) lastLabel = static_cast<QLabel*>(w);
    if (c.id != 0 && c.kind != K::GroupBox) controls_[c.id] = w;
    // A label's mnemonic moves the focus to its edit.
    if (c.kind == K::Edit && lastLabel && lastLabel->text().contains('&') && !lastLabel->buddy())
      lastLabel->setBuddy(w);
  }
  // "&column(s)" stands after its edit.
  for (QLabel* label : findChildren<QLabel*>())
    if (label->text() == QStringLiteral("&column(s)")) label->setBuddy(control(kSetupColumns));
  // "Synta&x highlightning" takes the focus to the class list.
  auto* list = classList();
  if (highlighting) {
    const QRect at = list->geometry();
    list->setParent(highlighting);
    list->setGeometry(at.translated(-highlighting->pos()));
    list->show();
  }
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list->setSelectionMode(QAbstractItemView::SingleSelection);

  // Opening: every field as the settings hold it.
  const SetupForm form = setupFormOf(app_.setup);
  for (int id : kSetupOptionIds)
    static_cast<QAbstractButton*>(control(id))->setChecked(form.option(id));
  auto* header = static_cast<QLineEdit*>(control(kSetupHeaderText));
  // Typing stops at 98 characters, but a longer text from the settings is
  // shown and kept whole; the limit closes in as the user shortens it.
  header->setText(qStringFromCp1252(form.headerText));
  header->setMaxLength(std::max(kHeaderTypingLimit, static_cast<int>(header->text().size())));
  connect(header, &QLineEdit::textEdited, header, [header] {
    if (header->maxLength() > kHeaderTypingLimit)
      header->setMaxLength(std::max(kHeaderTypingLimit, static_cast<int>(header->text().size())));
  });
  header->setCursorPosition(0);
  for (const char* name : kTokenClassNames) list->addItem(QString::fromLatin1(name));
  list->setCurrentRow(0);
  static_cast<QLineEdit*>(control(kSetupColumns))->setText(QString::fromStdString(form.columns));
  static_cast<QLineEdit*>(control(kSetupLineHeight))->setText(QString::fromStdString(form.lineHeight));
  static_cast<QLineEdit*>(control(kSetupTabWidth))->setText(QString::fromStdString(form.tabWidth));
  updateUnitChoice();

  auto button = [this](int id) { return static_cast<QPushButton*>(control(id)); };
  connect(button(kSetupOk), &QPushButton::clicked, this, &TSetupDlg::accept);
  connect(button(kSetupCancel), &QPushButton::clicked, this, &QDialog::reject);
  connect(button(kSetupStyle), &QPushButton::clicked, this, [this] { editStyle(); });
  connect(button(kSetupColor), &QPushButton::clicked, this, [this] { editColor(); });
  connect(button(kSetupSourceFont), &QPushButton::clicked, this,
          [this] { chooseFontInto(app_.setup.sourceFont, dialogs_, this); });
  connect(button(kSetupReportFont), &QPushButton::clicked, this,
          [this] { chooseFontInto(app_.setup.reportFont, dialogs_, this); });
  connect(button(kSetupHelp), &QPushButton::clicked, this, [this] {
    if (help) help();
  });
  // After every command the Column/Page choice follows "O&nly one unit on each".
  for (QAbstractButton* b : findChildren<QAbstractButton*>())
    connect(b, &QAbstractButton::clicked, this, [this] { updateUnitChoice(); });
  connect(static_cast<QAbstractButton*>(control(kSetupOneUnitEach)), &QAbstractButton::toggled,
          this, [this] { updateUnitChoice(); });
}

QWidget* TSetupDlg::control(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

QListWidget* TSetupDlg::classList() const {
  return static_cast<QListWidget*>(control(kSetupClassList));
}

void TSetupDlg::updateUnitChoice() {
  const bool on = static_cast<QAbstractButton*>(control(kSetupOneUnitEach))->isChecked();
  control(kSetupUnitPerColumn)->setEnabled(on);
  control(kSetupUnitPerPage)->setEnabled(on);
}

void TSetupDlg::editStyle() {
  const int row = classList()->currentRow();
  if (row < 0 || row > 9 || classList()->selectedItems().isEmpty()) return;
  std::int32_t word = app_.setup.tokenStyle[row];
  TLexStyle styles(word, this);
  if (dialogs_.run(styles) == QDialog::Accepted) app_.setup.tokenStyle[row] = word;
}

void TSetupDlg::editColor() {
  const int row = classList()->currentRow();
  if (row < 0 || row > 9 || classList()->selectedItems().isEmpty()) return;
  const auto chosen = dialogs_.color(fromColorRef(app_.setup.tokenColor[row]), this);
  if (chosen) app_.setup.tokenColor[row] = toColorRef(*chosen);
}

void TSetupDlg::accept() {
  SetupForm form;
  for (int id : kSetupOptionIds)
    form.setOption(id, static_cast<QAbstractButton*>(control(id))->isChecked());
  form.headerText =
      cp1252FromQString(static_cast<QLineEdit*>(control(kSetupHeaderText))->text(), '?');
  form.columns = static_cast<QLineEdit*>(control(kSetupColumns))->text().toStdString();
  form.lineHeight = static_cast<QLineEdit*>(control(kSetupLineHeight))->text().toStdString();
  form.tabWidth = static_cast<QLineEdit*>(control(kSetupTabWidth))->text().toStdString();
  const SetupCheck check = confirmSetup(form, app_.setup);
  if (check.failedEdit != 0) {
    app_.messages.show(check.message, "Error", MessageIcon::Exclamation);
    auto* edit = static_cast<QLineEdit*>(control(check.failedEdit));
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    return;
  }
  QDialog::accept();
}

}  // namespace tarn
