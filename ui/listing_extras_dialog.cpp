#include "ui/listing_extras_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarn {

ListingExtrasDialog::ListingExtrasDialog(const ListingExtras& extras, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("Listing extras"));
  setModal(true);
  lineNumbers_ = new QCheckBox(QStringLiteral("Print line &numbers"), this);
  pageCount_ = new QCheckBox(QStringLiteral("Page number with page &count"), this);
  pdfOutline_ = new QCheckBox(QStringLiteral("PDF &outline of units and embed points"), this);
  lineNumbers_->setChecked(extras.lineNumbers);
  pageCount_->setChecked(extras.pageCount);
  pdfOutline_->setChecked(extras.pdfOutline);

  auto* buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setDefault(true);
  help_ = buttons->button(QDialogButtonBox::Help);
  help_->setText(QStringLiteral("&Help"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // Help leaves the dialog open, as the setup dialog's does.
  connect(help_, &QPushButton::clicked, this, [this] {
    if (help) help();
  });

  auto* all = new QVBoxLayout(this);
  for (QCheckBox* box : {lineNumbers_, pageCount_, pdfOutline_}) all->addWidget(box);
  all->addSpacing(fontMetrics().height() / 2);
  all->addWidget(buttons);
  all->setSizeConstraint(QLayout::SetFixedSize);
  lineNumbers_->setFocus();
}

ListingExtras ListingExtrasDialog::extras() const {
  ListingExtras e;
  e.lineNumbers = lineNumbers_->isChecked();
  e.pageCount = pageCount_->isChecked();
  e.pdfOutline = pdfOutline_->isChecked();
  return e;
}

}  // namespace tarn
