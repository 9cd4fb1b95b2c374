// Table model over the editor's rows.
#include "strandex/ui/qt/cell_table_model.h"

namespace ui {

CellTableModel::CellTableModel(const ColumnTemplate* columns, int column_count, RowCountFunction rows,
                               CellFunction cell, QObject* parent)
    : QAbstractTableModel(parent), columns(columns), column_count(column_count), rows(rows), cell(cell) {}

int CellTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows(); }

int CellTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : column_count;
}

QVariant CellTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)) return QVariant();
  return ToQString(cell(index.row(), index.column()));
}

QVariant CellTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= column_count) return QVariant();
  if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return ToQString(columns[section].Caption);
  return QVariant();
}

void CellTableModel::Reset() {
  beginResetModel();
  endResetModel();
}

void CellTableModel::SetColumns(const ColumnTemplate* new_columns, int new_count) {
  beginResetModel();
  columns = new_columns;
  column_count = new_count;
  endResetModel();
}

}  // namespace ui
