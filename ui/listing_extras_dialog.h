#pragma once

#include <QDialog>

#include <functional>

#include "settings/listing_extras.h"

class QCheckBox;
class QPushButton;

namespace tarn {

/// Setup › Listing extras: line numbers, page count and the PDF outline.
/// The choice is read with extras() once the dialog is accepted.
class ListingExtrasDialog : public QDialog {
  Q_OBJECT
 public:
  ListingExtrasDialog(const ListingExtras& extras, QWidget* parent);

  ListingExtras extras() const;
  QCheckBox* lineNumbers() const { return lineNumbers_; }
  QCheckBox* pageCount() const { return pageCount_; }
  QCheckBox* pdfOutline() const { return pdfOutline_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* helpButton() const { return help_; }

  /// Help at the listing extras section; set by the application.
  std::function<void()> help;

 private:
  QCheckBox* lineNumbers_ = nullptr;
  QCheckBox* pageCount_ = nullptr;
  QCheckBox* pdfOutline_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* help_ = nullptr;
};

}  // namespace tarn
