// The report list 超级列表框1 and the table model that holds its rows.
#include "ui/report_list.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QPalette>
#include <algorithm>

#include "ui/inactive_selection.h"

namespace {

// A search appends rows between short event-processing points, and painting the list at each of
// them costs far more than the rows themselves; while rows keep coming the list repaints at this
// pace instead.
constexpr int kRepaintHoldMs = 100;

const std::array<QString, ReportModel::kColumns> kColumnTitles = {
    QStringLiteral("序号"), QStringLiteral("标题"), QStringLiteral("链接")};
constexpr std::array<int, ReportModel::kColumns> kColumnWidths = {50, 500, 485};

}  // namespace

int ReportModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : announced_;
}

int ReportModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant ReportModel::data(const QModelIndex& index, int role) const {
    if (!HasCell(index.row(), index.column())) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return rows_[index.row()][index.column()];
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        default:
            return {};
    }
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return kColumnTitles[section];
    }
    return {};
}

Qt::ItemFlags ReportModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

int ReportModel::AppendRow(const QString& firstCell) {
    rows_.push_back({firstCell, QString(), QString()});
    return StoredRowCount() - 1;
}

void ReportModel::AnnounceNewRows() {
    if (announced_ == StoredRowCount()) {
        return;
    }
    beginInsertRows({}, announced_, StoredRowCount() - 1);
    announced_ = StoredRowCount();
    endInsertRows();
}

void ReportModel::SetCell(int row, int column, const QString& text) {
    if (!HasCell(row, column)) {
        return;
    }
    rows_[row][column] = text;
    if (row < announced_) {
        const QModelIndex changed = index(row, column);
        emit dataChanged(changed, changed, {Qt::DisplayRole});
    }
}

QString ReportModel::Cell(int row, int column) const {
    return HasCell(row, column) ? rows_[row][column] : QString();
}

void ReportModel::DeleteRow(int row) {
    AnnounceNewRows();
    if (row < 0 || row >= rowCount()) {
        return;
    }
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    --announced_;
    endRemoveRows();
}

void ReportModel::DeleteRows(const std::vector<RowBlock>& blocks) {
    AnnounceNewRows();
    if (blocks.empty() || blocks.back().last >= StoredRowCount()) {
        return;
    }
    beginResetModel();
    // The rows between the blocks close up towards the top, each moved once.
    auto kept = rows_.begin() + blocks.front().first;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const auto keptFrom = rows_.begin() + blocks[i].last + 1;
        const auto keptTo = i + 1 < blocks.size() ? rows_.begin() + blocks[i + 1].first : rows_.end();
        kept = std::move(keptFrom, keptTo, kept);
    }
    rows_.erase(kept, rows_.end());
    announced_ = StoredRowCount();
    endResetModel();
}

void ReportModel::Renumber() {
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        rows_[row][0] = QString::number(row + 1);
    }
    if (announced_ > 0) {
        emit dataChanged(index(0, 0), index(announced_ - 1, 0), {Qt::DisplayRole});
    }
}

void ReportModel::DeleteAllRows() {
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    announced_ = 0;
    endResetModel();
}

bool ReportModel::HasCell(int row, int column) const {
    return row >= 0 && row < StoredRowCount() && column >= 0 && column < kColumns;
}

ReportList::ReportList(QWidget* parent, const QRect& geometry, const QFont& font) : QTableView(parent) {
    setGeometry(geometry);
    setFont(font);
    setModel(&model_);
    repaintHold_.setSingleShot(true);
    repaintHold_.setInterval(kRepaintHoldMs);
    connect(&repaintHold_, &QTimer::timeout, this, &ReportList::ShowNewRows);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setShowGrid(true);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setMouseTracking(false);
    setContextMenuPolicy(Qt::CustomContextMenu);
    HideInactiveSelection(this);

    QHeaderView* header = horizontalHeader();
    header->setSectionsMovable(true);
    header->setSectionsClickable(false);
    header->setSortIndicatorShown(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setFixedHeight(QFontMetrics(font).height() + 4);
    for (int column = 0; column < ReportModel::kColumns; ++column) {
        setColumnWidth(column, kColumnWidths[column]);
    }

    // Rows of one fixed height: the view then never measures a row's contents.
    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(QFontMetrics(font).height() + 2);
}

int ReportList::RowCount() const {
    return model_.StoredRowCount();
}

int ReportList::AppendRow(const QString& firstCell) {
    const int row = model_.AppendRow(firstCell);
    HoldRepaint();
    return row;
}

// A shown list takes in the rows of a burst at the end of the hold; a hidden one at once.
void ReportList::HoldRepaint() {
    if (!isVisible()) {
        model_.AnnounceNewRows();
        return;
    }
    if (!repaintHold_.isActive()) {
        setUpdatesEnabled(false);
        repaintHold_.start();
    }
}

void ReportList::ShowNewRows() {
    repaintHold_.stop();
    model_.AnnounceNewRows();
    setUpdatesEnabled(true);
}

void ReportList::SetCell(int row, int column, const QString& text) {
    model_.SetCell(row, column, text);
}

QString ReportList::Cell(int row, int column) const {
    return model_.Cell(row, column);
}

void ReportList::DeleteRow(int row) {
    model_.DeleteRow(row);
}

void ReportList::DeleteAllRows() {
    model_.DeleteAllRows();
}

// Counted from the selection's blocks, not row by row: asking the selection model row by row costs
// the whole selection for each row.
int ReportList::SelectedRowCount() const {
    int count = 0;
    for (const RowBlock& block : SelectedBlocks()) {
        count += block.last - block.first + 1;
    }
    return count;
}

int ReportList::FirstSelectedRow() const {
    const std::vector<RowBlock> blocks = SelectedBlocks();
    return blocks.empty() ? -1 : blocks.front().first;
}

void ReportList::DeleteSelectedRows() {
    model_.DeleteRows(SelectedBlocks());
}

void ReportList::Renumber() {
    model_.Renumber();
}

std::vector<RowBlock> ReportList::SelectedBlocks() const {
    std::vector<RowBlock> blocks;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        if (range.isValid()) {
            blocks.push_back({range.top(), range.bottom()});
        }
    }
    std::sort(blocks.begin(), blocks.end(),
              [](const RowBlock& a, const RowBlock& b) { return a.first < b.first; });
    std::vector<RowBlock> merged;
    for (const RowBlock& block : blocks) {
        if (!merged.empty() && block.first <= merged.back().last + 1) {
            merged.back().last = std::max(merged.back().last, block.last);
        } else {
            merged.push_back(block);
        }
    }
    return merged;
}

// A right press on empty space clears the selection, as a left one does, so that the pop-up menu
// that follows finds no row selected.
void ReportList::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && !indexAt(event->position().toPoint()).isValid()) {
        clearSelection();
    }
    QTableView::mousePressEvent(event);
}

void ReportList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    emit listDoubleClicked();
}
