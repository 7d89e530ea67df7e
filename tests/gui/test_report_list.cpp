// The report list: rows appended in order with their cells, indexes that name no row, deletion, and
// the selection the list actions read.
#include <QItemSelectionModel>

#include "tests/gui/window_fixture.h"
#include "ui/report_list.h"

namespace {

using ReportListRows = ShownWindow;

void FillRows(MainWindow& window, int count) {
    for (int i = 0; i < count; ++i) {
        const int row = window.AppendRow(std::to_string(i + 1));
        window.SetCell(row, 1, "title " + std::to_string(i));
        window.SetCell(row, 2, "http://x/" + std::to_string(i));
    }
    window.Form().超级列表框1->ShowNewRows();
}

TEST_F(ReportListRows, AppendedRowsKeepTheirOrderAndCells) {
    EXPECT_EQ(window_->AppendRow("1"), 0);
    EXPECT_EQ(window_->AppendRow("2"), 1);
    window_->SetCell(1, 1, "\xb1\xea\xcc\xe2");  // "标题" in program text
    window_->SetCell(1, 2, "http://a/b");
    EXPECT_EQ(window_->RowCount(), 2);
    EXPECT_EQ(window_->Cell(0, 0), "1");
    EXPECT_EQ(window_->Cell(1, 0), "2");
    EXPECT_EQ(window_->Cell(1, 1), "\xb1\xea\xcc\xe2");
    EXPECT_EQ(List()->Cell(1, 1), QStringLiteral("标题"));
    EXPECT_EQ(window_->Cell(1, 2), "http://a/b");
    EXPECT_EQ(window_->Cell(0, 2), "");
}

TEST_F(ReportListRows, ABurstOfRowsReachesTheViewAtTheNextRepaint) {
    for (int i = 0; i < 50; ++i) {
        window_->AppendRow(std::to_string(i + 1));
    }
    EXPECT_EQ(window_->RowCount(), 50) << "the window counts every row at once";
    EXPECT_EQ(window_->Cell(49, 0), "50");
    ReportList* list = List();
    EXPECT_TRUE(QTest::qWaitFor([list] { return list->model()->rowCount() == 50; }, 10000));
    EXPECT_TRUE(list->updatesEnabled());
}

TEST_F(ReportListRows, IndexesThatNameNoRowChangeNothingAndReadEmpty) {
    FillRows(*window_, 2);
    const std::pair<int, int> outside[] = {{-1, 0}, {2, 0}, {0, -1}, {0, 3}, {1000, 1}};
    for (const auto& [row, column] : outside) {
        window_->SetCell(row, column, "x");
        EXPECT_EQ(window_->Cell(row, column), "");
    }
    for (int row : {-1, 2, 1000}) {
        List()->DeleteRow(row);
    }
    EXPECT_EQ(window_->RowCount(), 2);
    EXPECT_EQ(window_->Cell(1, 1), "title 1");
}

TEST_F(ReportListRows, DeletingARowMovesTheLaterOnesUp) {
    FillRows(*window_, 3);
    List()->DeleteRow(1);
    EXPECT_EQ(window_->RowCount(), 2);
    EXPECT_EQ(window_->Cell(1, 1), "title 2");
    window_->DeleteAllRows();
    EXPECT_EQ(window_->RowCount(), 0);
    EXPECT_EQ(window_->AppendRow("1"), 0);
}

TEST_F(ReportListRows, FirstSelectedRowIsTheLowestSelectedOrMinusOne) {
    FillRows(*window_, 6);
    ReportList* list = List();
    EXPECT_EQ(list->FirstSelectedRow(), -1);
    EXPECT_EQ(list->SelectedRowCount(), 0);
    for (int row : {5, 2}) {
        list->selectionModel()->select(list->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    EXPECT_EQ(list->FirstSelectedRow(), 2);
    EXPECT_EQ(list->SelectedRowCount(), 2);
}

TEST_F(ReportListRows, ClicksSelectWholeRowsWithShiftForARangeAndCtrlForSingleRows) {
    FillRows(*window_, 6);
    ReportList* list = List();
    const auto click = [list](int row, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                          list->visualRect(list->model()->index(row, 1)).center());
    };
    click(1, Qt::NoModifier);
    click(3, Qt::ShiftModifier);
    EXPECT_EQ(list->SelectedRowCount(), 3);
    EXPECT_EQ(list->FirstSelectedRow(), 1);
    EXPECT_EQ(list->selectionModel()->selectedIndexes().size(), 9) << "whole rows are selected";

    click(5, Qt::ControlModifier);
    EXPECT_EQ(list->SelectedRowCount(), 4);
    click(1, Qt::ControlModifier);
    EXPECT_EQ(list->FirstSelectedRow(), 2);
}

TEST_F(ReportListRows, SelectionStaysForTheActionsWhenAnotherControlHasTheFocus) {
    FillRows(*window_, 3);
    ReportList* list = List();
    Focus(list);
    list->selectRow(1);
    Focus(Find("编辑框1"));
    EXPECT_EQ(list->FirstSelectedRow(), 1);
}

TEST_F(ReportListRows, CellsCannotBeEditedInPlace) {
    FillRows(*window_, 1);
    ReportList* list = List();
    const QModelIndex cell = list->model()->index(0, 1);
    EXPECT_FALSE(list->model()->flags(cell).testFlag(Qt::ItemIsEditable));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(cell).center());
    EXPECT_EQ(list->indexWidget(cell), nullptr);
    EXPECT_EQ(window_->Cell(0, 1), "title 0");
}

TEST_F(ReportListRows, DoubleClickIsReportedAlsoBelowTheLastRow) {
    FillRows(*window_, 1);
    ReportList* list = List();
    int doubleClicks = 0;
    QObject::connect(list, &ReportList::listDoubleClicked, [&] { ++doubleClicks; });
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(100, list->viewport()->height() - 5));
    EXPECT_EQ(doubleClicks, 1);
}

}  // namespace
