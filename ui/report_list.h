// The report list 超级列表框1: three text columns ("序号", "标题", "链接"), rows kept in the order
// they were appended, full-row extended selection, grid lines, a header whose columns can be
// dragged into another order but that does not sort, no selection shown without the focus, and a
// press of either button on empty space that clears the selection.
// The rows live in a plain table model, so appending a row costs no more at 100,000 rows than at 1,
// and deleting the selected rows or renumbering costs one pass over the rows and one repaint.
#pragma once

#include <QAbstractTableModel>
#include <QTableView>
#include <QTimer>
#include <array>
#include <vector>

// Rows `first` to `last`, both included.
struct RowBlock {
    int first;
    int last;
};

class ReportModel : public QAbstractTableModel {
public:
    static constexpr int kColumns = 3;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Rows are stored at once but announced to the views only by AnnounceNewRows, so a burst of
    // appends costs the views one layout instead of one per row.
    int AppendRow(const QString& firstCell);
    void AnnounceNewRows();
    int StoredRowCount() const { return static_cast<int>(rows_.size()); }

    void SetCell(int row, int column, const QString& text);
    QString Cell(int row, int column) const;
    void DeleteRow(int row);
    // `blocks` are sorted, apart and name announced rows. The views are told once, by a reset.
    void DeleteRows(const std::vector<RowBlock>& blocks);
    void DeleteAllRows();
    // Column 0 of every row := its 1-based number, announced as one change.
    void Renumber();

private:
    bool HasCell(int row, int column) const;

    std::vector<std::array<QString, kColumns>> rows_;
    int announced_ = 0;
};

class ReportList : public QTableView {
    Q_OBJECT
public:
    ReportList(QWidget* parent, const QRect& geometry, const QFont& font);

    int RowCount() const;
    int AppendRow(const QString& firstCell);  // index of the new row
    void SetCell(int row, int column, const QString& text);
    QString Cell(int row, int column) const;  // "" for a cell that does not exist
    void DeleteRow(int row);                  // later rows move up by one
    void DeleteAllRows();

    // Shows at once the rows appended since the last repaint.
    void ShowNewRows();

    int SelectedRowCount() const;
    int FirstSelectedRow() const;  // lowest selected index, or -1
    // Deletes every selected row at once. The rows left are the unselected ones in their order,
    // just as deleting the first selected row until none is left gives.
    void DeleteSelectedRows();
    // Column "序号" numbers the rows 1 to n from the top, in one repaint.
    void Renumber();

signals:
    // A double-click anywhere on the list, on a row or below the last one. The right-click is
    // customContextMenuRequested.
    void listDoubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void HoldRepaint();
    // The selected rows as sorted blocks that neither overlap nor touch.
    std::vector<RowBlock> SelectedBlocks() const;

    ReportModel model_;
    QTimer repaintHold_;
};
