#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QStyledItemDelegate>

#include <memory>
#include <string_view>

#include "desktop/column_lists.h"
#include "desktop/project_lists.h"

namespace tarn {

/// One placeholder row per shown entry; rows carry no text.
class ColumnListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  explicit ColumnListModel(ColumnListData& data, QObject* parent = nullptr)
      : QAbstractListModel(parent), data_(data) {}
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  /// Refilters and tells the view at once.
  void applyFilter(std::string_view filter);

 private:
  ColumnListData& data_;
};

/// The family of list boxes of the file and project windows: entries drawn
/// straight from the source through the shown-index map, a grey right
/// column with a black separator, the selection inverted over the left two
/// thirds, no focus rectangle. Double-click opens or prints; nothing else.
class TColumnListbox : public QListView {
  Q_OBJECT
 public:
  TColumnListbox(std::unique_ptr<ColumnListData> source, int id, QWidget* parent);
  ~TColumnListbox() override;

  int controlId() const { return id_; }
  ColumnListData& listData() { return *data_; }
  /// Shows the entries matching a Windows-1252 filter; the selection is lost.
  void applyFilter(std::string_view filter);
  int shownCount() const { return data_->shownCount(); }
  /// The selected position, or -1.
  int selectedPosition() const;
  /// Selects a position and scrolls it to the top.
  void selectPosition(int position);
  /// The source index of the selected entry, or -1.
  int selectedEntry() const;
  /// Height of one row in the control's font.
  int rowHeight() const;

 signals:
  void entryDoubleClicked(int position);
  void selectionMoved();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void updateScrollBar();

  std::unique_ptr<ColumnListData> data_;
  int id_;
  ColumnListModel* model_;
};

/// The units of a source file.
class TColumnListboxStructs : public TColumnListbox {
  Q_OBJECT
 public:
  TColumnListboxStructs(const TFileDataSource& document, int id, QWidget* parent)
      : TColumnListbox(std::make_unique<StructsListData>(document), id, parent) {}
};

/// The embed points of a source file.
class TColumnListboxEmbeds : public TColumnListbox {
  Q_OBJECT
 public:
  TColumnListboxEmbeds(const TFileDataSource& document, int id, QWidget* parent)
      : TColumnListbox(std::make_unique<EmbedsListData>(document), id, parent) {}
};

/// The source files of a project.
class TColumnListboxApplicationFile : public TColumnListbox {
  Q_OBJECT
 public:
  TColumnListboxApplicationFile(const ApplicationData& project, DateText date, int id,
                                QWidget* parent)
      : TColumnListbox(std::make_unique<ApplicationFileListData>(project, std::move(date)), id,
                       parent) {}
};

/// The procedures of a project.
class TColumnListboxApplicationProc : public TColumnListbox {
  Q_OBJECT
 public:
  TColumnListboxApplicationProc(const ApplicationData& project, int id, QWidget* parent)
      : TColumnListbox(std::make_unique<ApplicationProcListData>(project), id, parent) {}
};

}  // namespace tarn
