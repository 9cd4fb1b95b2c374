// CellTableModel: a read-only table model over rows that the editor logic holds (the string
// list, the Find results). It asks for a cell's text only when the view draws that cell, so a
// category of any size shows at once.
#pragma once

#include <QAbstractTableModel>
#include <functional>

#include "common/string_class.h"
#include "strandex/ui/resources.h"

namespace ui {

class CellTableModel : public QAbstractTableModel {
 public:
  using RowCountFunction = std::function<int()>;
  using CellFunction = std::function<UnicodeStringClass(int row, int column)>;

  CellTableModel(const ColumnTemplate* columns, int column_count, RowCountFunction rows, CellFunction cell,
                 QObject* parent);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The rows changed as a whole.
  void Reset();
  // Other columns (the table stays the caller's); the rows are shown again.
  void SetColumns(const ColumnTemplate* columns, int column_count);

 private:
  const ColumnTemplate* columns;
  int column_count;
  RowCountFunction rows;
  CellFunction cell;
};

// UTF-16 text of the logic as a QString, unit for unit (QString::fromUtf16 would take a leading
// U+FEFF or U+FFFE for a byte order mark).
inline QString ToQString(const char16_t* text) { return QStringView(text).toString(); }

}  // namespace ui
