// The result list's actions: the double-click, the pop-up menu shown only with a selection, the walk
// of "打开所选链接" and "复制所选链接" over Shift blocks and Ctrl scatters, "删除所选" with its
// renumbering, "删除全部" behind its box, the project's home page, and links that are not web
// addresses left unopened.
#include <QContextMenuEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <random>

#include "tests/gui/window_fixture.h"
#include "ui/link_opening.h"
#include "ui/list_actions.h"
#include "ui/maker_site.h"

namespace {

using ListActions = ShownWindow;

QString Link(int row) {
    return QStringLiteral("http://example.com/%1").arg(row);
}

QString Title(int row) {
    return QStringLiteral("title %1").arg(row);
}

class ListActionsOnRows : public ShownWindow {
protected:
    void Fill(int count) {
        for (int i = 0; i < count; ++i) {
            const int row = List()->AppendRow(QString::number(i + 1));
            List()->SetCell(row, 1, Title(i));
            List()->SetCell(row, 2, Link(i));
        }
        List()->ShowNewRows();
    }

    void Click(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, modifiers,
                          List()->visualRect(List()->model()->index(row, 1)).center());
    }

    void DoubleClick(const QPoint& point) {
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, point);
    }

    void DoubleClickRow(int row) { DoubleClick(List()->visualRect(List()->model()->index(row, 1)).center()); }

    QPoint BelowTheLastRow() const { return {100, List()->viewport()->height() - 5}; }

    // The titles of the rows, and whether column 0 numbers them from 1.
    QStringList Titles() const {
        QStringList titles;
        for (int row = 0; row < List()->RowCount(); ++row) {
            titles.append(List()->Cell(row, 1));
        }
        return titles;
    }
    bool NumberedFromOne() const {
        for (int row = 0; row < List()->RowCount(); ++row) {
            if (List()->Cell(row, 0) != QString::number(row + 1)) {
                return false;
            }
        }
        return true;
    }

    // A right-click at `point` of the viewport as the platform reports it: the press, then the
    // context-menu request. A menu that pops up is read and then closed, or `choose` is picked.
    struct PopUp {
        bool shown = false;
        QPoint topLeft;
    };
    PopUp RightClick(const QPoint& point, QAction* choose = nullptr) {
        PopUp seen;
        QTimer inspect;
        inspect.setSingleShot(true);
        QObject::connect(&inspect, &QTimer::timeout, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) {
                return;
            }
            seen = {true, menu->pos()};
            if (choose != nullptr) {
                menu->setActiveAction(choose);
                QTest::keyClick(menu, Qt::Key_Return);
            } else {
                menu->close();
            }
        });
        inspect.start(0);
        const QPoint global = List()->viewport()->mapToGlobal(point);
        QTest::mousePress(List()->viewport(), Qt::RightButton, {}, point);
        QContextMenuEvent request(QContextMenuEvent::Mouse, point, global);
        QApplication::sendEvent(List()->viewport(), &request);
        QTest::mouseRelease(List()->viewport(), Qt::RightButton, {}, point);
        QCoreApplication::processEvents();
        return seen;
    }

    // A point of row `row` that lies well inside the screen, so the menu needs no moving to fit.
    QPoint InsideScreenOnRow(int row) const {
        const QRect screen = window_->screen()->geometry();
        QPoint point = List()->viewport()->mapFromGlobal(screen.center() - QPoint(100, 100));
        point.setY(List()->visualRect(List()->model()->index(row, 1)).center().y());
        return point;
    }
};

// A selection made with the mouse, as rows clicked with their modifiers.
struct Selection {
    const char* name;
    std::vector<std::pair<int, Qt::KeyboardModifiers>> clicks;
    std::vector<int> walked;  // the rows that open and copy visit
    std::vector<int> left;    // the rows that "删除所选" leaves
};

const Selection kSelections[] = {
    {"one row", {{3, Qt::NoModifier}}, {3}, {0, 1, 2, 4, 5, 6, 7}},
    {"Shift block 2 to 4", {{2, Qt::NoModifier}, {4, Qt::ShiftModifier}}, {2, 3, 4}, {0, 1, 5, 6, 7}},
    {"Ctrl rows 2 and 5", {{2, Qt::NoModifier}, {5, Qt::ControlModifier}}, {2, 3}, {0, 1, 3, 4, 6, 7}},
    {"Ctrl rows 0, 3 and 7",
     {{0, Qt::NoModifier}, {3, Qt::ControlModifier}, {7, Qt::ControlModifier}},
     {0, 1, 2},
     {1, 2, 4, 5, 6}},
    {"Shift block 1 to 4 less row 2",
     {{1, Qt::NoModifier}, {4, Qt::ShiftModifier}, {2, Qt::ControlModifier}},
     {1, 2, 3},
     {0, 2, 5, 6, 7}},
    {"Ctrl rows picked bottom up",
     {{6, Qt::NoModifier}, {4, Qt::ControlModifier}},
     {4, 5},
     {0, 1, 2, 3, 5, 7}},
    {"every row", {{0, Qt::NoModifier}, {7, Qt::ShiftModifier}}, {0, 1, 2, 3, 4, 5, 6, 7}, {}},
};

TEST_F(ListActionsOnRows, OpenCopyAndDeleteFollowTheirWalkForEverySelection) {
    for (const Selection& selection : kSelections) {
        SCOPED_TRACE(selection.name);
        window_->DeleteAllRows();
        *desktop_ = RecordingDesktop{};
        Fill(8);
        for (const auto& [row, modifiers] : selection.clicks) {
            Click(row, modifiers);
        }
        QStringList walkedLinks;
        for (int row : selection.walked) {
            walkedLinks.append(Link(row));
        }

        Form().openSelectedItem->trigger();
        EXPECT_EQ(desktop_->opened, walkedLinks) << "in order, one request a row";
        EXPECT_EQ(Status(), QString()) << "opening shows nothing";

        Form().copySelectedItem->trigger();
        EXPECT_EQ(desktop_->clipboard, QStringList{walkedLinks.join("\r\n")});
        EXPECT_EQ(Status(), QStringLiteral("已复制%1条结果!").arg(walkedLinks.size()));

        Form().deleteSelectedItem->trigger();
        QStringList leftTitles;
        for (int row : selection.left) {
            leftTitles.append(Title(row));
        }
        EXPECT_EQ(Titles(), leftTitles);
        EXPECT_TRUE(NumberedFromOne());
        EXPECT_EQ(List()->SelectedRowCount(), 0);
        Form().statusPart0->clear();
    }
}

TEST_F(ListActionsOnRows, CopyJoinsLinksWithLineBreaksAndNoneAfterTheLast) {
    Fill(4);
    const QString links[] = {"a", "b", "c", "d"};
    for (int row = 0; row < 4; ++row) {
        List()->SetCell(row, 2, links[row]);
    }
    Click(1);
    Click(3, Qt::ShiftModifier);
    CopySelectedLinks(Form(), *desktop_);
    EXPECT_EQ(desktop_->clipboard.value(0), QStringLiteral("b\r\nc\r\nd"));
    EXPECT_EQ(Status(), QStringLiteral("已复制3条结果!"));

    Click(0);
    CopySelectedLinks(Form(), *desktop_);
    EXPECT_EQ(desktop_->clipboard.value(1), QStringLiteral("a"));
    EXPECT_EQ(Status(), QStringLiteral("已复制1条结果!"));
}

TEST_F(ListActionsOnRows, ARefusingClipboardLeavesTheStatusBarAlone) {
    Fill(2);
    Click(0);
    Click(1, Qt::ShiftModifier);
    Form().statusPart0->setText("欢迎~");
    desktop_->clipboardTakesText = false;
    CopySelectedLinks(Form(), *desktop_);
    EXPECT_EQ(desktop_->clipboard.size(), 1);
    EXPECT_EQ(Status(), QStringLiteral("欢迎~"));
}

TEST_F(ListActionsOnRows, AnEmptyLinkGivesAnEmptyLineAndOpensNothing) {
    Fill(3);
    List()->SetCell(1, 2, QString());
    Click(0);
    Click(2, Qt::ShiftModifier);
    CopySelectedLinks(Form(), *desktop_);
    EXPECT_EQ(desktop_->clipboard.value(0), Link(0) + "\r\n\r\n" + Link(2));
    Form().statusPart0->clear();
    OpenSelectedLinks(Form(), *desktop_);
    EXPECT_EQ(desktop_->opened, (QStringList{Link(0), Link(2)}));
    EXPECT_EQ(Status(), QString()) << "an empty cell is no refused link";
}

TEST_F(ListActionsOnRows, FiveRowsLessRowsTwoAndFourAreRenumberedOneToThree) {
    Fill(5);
    Click(1);
    Click(3, Qt::ControlModifier);
    DeleteSelectedRows(Form());
    EXPECT_EQ(Titles(), (QStringList{Title(0), Title(2), Title(4)}));
    EXPECT_EQ(List()->Cell(0, 0), "1");
    EXPECT_EQ(List()->Cell(1, 0), "2");
    EXPECT_EQ(List()->Cell(2, 0), "3");
    EXPECT_EQ(List()->model()->rowCount(), 3) << "the view shows the rows that are left";
}

TEST_F(ListActionsOnRows, RenumberingRunsAlsoWhenNothingIsSelected) {
    Fill(3);
    List()->SetCell(0, 0, "7");
    List()->SetCell(2, 0, "");
    DeleteSelectedRows(Form());
    EXPECT_EQ(List()->RowCount(), 3);
    EXPECT_TRUE(NumberedFromOne());
}

// The deletion works on the whole selection at once; its result must be that of deleting the first
// selected row again and again.
TEST_F(ListActionsOnRows, DeletingAScatteredSelectionLeavesWhatTheRowByRowLoopLeaves) {
    constexpr int kRows = 600;
    Fill(kRows);
    std::mt19937 random(5);
    std::vector<bool> selected(kRows);
    QItemSelection selection;
    for (int row = 0; row < kRows; ++row) {
        selected[row] = random() % 3 == 0;
        if (selected[row]) {
            selection.select(List()->model()->index(row, 0), List()->model()->index(row, 2));
        }
    }
    // Blocks that overlap and touch the single rows, as repeated Shift and Ctrl clicks leave them.
    for (int first : {10, 11, 300}) {
        selection.select(List()->model()->index(first, 0), List()->model()->index(first + 7, 2));
        std::fill(selected.begin() + first, selected.begin() + first + 8, true);
    }
    List()->selectionModel()->select(selection, QItemSelectionModel::Select);

    std::vector<QString> expected;
    for (int row = 0; row < kRows; ++row) {
        expected.push_back(Title(row));
    }
    std::vector<bool> loopSelection = selected;
    for (auto first = std::find(loopSelection.begin(), loopSelection.end(), true);
         first != loopSelection.end(); first = std::find(loopSelection.begin(), loopSelection.end(), true)) {
        expected.erase(expected.begin() + (first - loopSelection.begin()));
        loopSelection.erase(first);
    }

    EXPECT_EQ(List()->SelectedRowCount(), std::count(selected.begin(), selected.end(), true));
    DeleteSelectedRows(Form());
    ASSERT_EQ(List()->RowCount(), static_cast<int>(expected.size()));
    for (int row = 0; row < List()->RowCount(); ++row) {
        ASSERT_EQ(List()->Cell(row, 1), expected[row]) << "row " << row;
    }
    EXPECT_TRUE(NumberedFromOne());
}

TEST_F(ListActionsOnRows, DeletionAndRenumberingReachTheViewInOneResetAndOneChange) {
    Fill(50);
    Click(3);
    Click(9, Qt::ControlModifier);
    Click(20, Qt::ControlModifier);
    QSignalSpy removed(List()->model(), &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(List()->model(), &QAbstractItemModel::modelReset);
    QSignalSpy changed(List()->model(), &QAbstractItemModel::dataChanged);
    DeleteSelectedRows(Form());
    EXPECT_EQ(removed.count(), 0);
    EXPECT_EQ(reset.count(), 1);
    ASSERT_EQ(changed.count(), 1) << "not one repaint a row";
    EXPECT_EQ(changed.at(0).at(0).value<QModelIndex>().row(), 0);
    EXPECT_EQ(changed.at(0).at(1).value<QModelIndex>().row(), 46);
    EXPECT_EQ(List()->model()->data(List()->model()->index(46, 0), Qt::DisplayRole).toString(), "47");
}

// A search appends rows between its event-processing points while the list holds them back from
// the view; a deletion then must keep them, in their place, and number them too.
TEST_F(ListActionsOnRows, RowsAppendedButNotYetShownSurviveADeletion) {
    Fill(4);
    Click(1);
    for (int i = 4; i < 6; ++i) {
        const int row = List()->AppendRow(QString::number(i + 1));
        List()->SetCell(row, 1, Title(i));
    }
    DeleteSelectedRows(Form());
    EXPECT_EQ(Titles(), (QStringList{Title(0), Title(2), Title(3), Title(4), Title(5)}));
    EXPECT_TRUE(NumberedFromOne());
    List()->ShowNewRows();
    EXPECT_EQ(List()->model()->rowCount(), 5);
}

TEST_F(ListActionsOnRows, DeletingKeepsTheListScrolledWhereItWas) {
    Fill(300);
    QCoreApplication::processEvents();
    List()->scrollTo(List()->model()->index(100, 0), QAbstractItemView::PositionAtTop);
    QCoreApplication::processEvents();
    const int top = List()->rowAt(0);
    ASSERT_GT(top, 90);
    Click(top + 3);
    Click(top + 5, Qt::ControlModifier);
    DeleteSelectedRows(Form());
    QCoreApplication::processEvents();
    EXPECT_EQ(List()->rowAt(0), top);
    EXPECT_EQ(List()->Cell(top, 1), Title(top));
}

TEST_F(ListActionsOnRows, DeleteAllAsksFirstAndKeepsTheRowsOnNo) {
    Fill(3);
    desktop_->answerYes = false;
    Form().deleteAllItem->trigger();
    ASSERT_EQ(desktop_->questions.size(), 1u);
    EXPECT_EQ(desktop_->questions[0].first, QStringLiteral("确定删除全部内容？"));
    EXPECT_EQ(desktop_->questions[0].second, QStringLiteral("警告："));
    EXPECT_EQ(Titles(), (QStringList{Title(0), Title(1), Title(2)}));

    desktop_->answerYes = true;
    Form().deleteAllItem->trigger();
    EXPECT_EQ(List()->RowCount(), 0);
    EXPECT_EQ(List()->model()->rowCount(), 0);
    EXPECT_EQ(window_->AppendRow("1"), 0);
}

TEST_F(ListActionsOnRows, DoubleClickOpensTheRowsLinkAndNothingBelowTheRowsOrForAnEmptyLink) {
    Fill(3);
    List()->SetCell(2, 2, QString());
    DoubleClickRow(1);
    EXPECT_EQ(desktop_->opened, QStringList{Link(1)});
    DoubleClick(BelowTheLastRow());
    EXPECT_EQ(List()->FirstSelectedRow(), -1);
    DoubleClickRow(2);
    EXPECT_EQ(desktop_->opened, QStringList{Link(1)});
    EXPECT_EQ(Status(), QString());
}

TEST_F(ListActions, DoubleClickOnAnEmptyListDoesNothing) {
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_TRUE(desktop_->opened.isEmpty());
    EXPECT_EQ(Status(), QString());
}

// Text a web page put into a link cell that is not a web address: the desktop would hand it to a
// local program.
const char* const kNotWebAddresses[] = {
    "file:///etc/passwd", "javascript:alert(1)", "/usr/bin/xterm", "steam://run/10", "www.example.com",
};

TEST_F(ListActionsOnRows, LinksThatAreNotWebAddressesAreNotOpenedAndTheStatusBarSaysSo) {
    for (const char* link : kNotWebAddresses) {
        SCOPED_TRACE(link);
        window_->DeleteAllRows();
        Fill(1);
        List()->SetCell(0, 2, QString::fromUtf8(link));
        Form().statusPart0->clear();
        DoubleClickRow(0);
        EXPECT_TRUE(desktop_->opened.isEmpty());
        EXPECT_EQ(Status(), QStringLiteral("有1条链接不是http或https网址，未打开"));
    }
}

TEST_F(ListActionsOnRows, OpenSelectedOpensTheWebAddressesAndCountsTheOthers) {
    Fill(4);
    List()->SetCell(0, 2, "file:///etc/passwd");
    List()->SetCell(2, 2, "javascript:alert(1)");
    Click(0);
    Click(3, Qt::ShiftModifier);
    OpenSelectedLinks(Form(), *desktop_);
    EXPECT_EQ(desktop_->opened, (QStringList{Link(1), Link(3)}));
    EXPECT_EQ(Status(), QStringLiteral("有2条链接不是http或https网址，未打开"));
}

TEST_F(ListActionsOnRows, RightClickPopsTheMenuUpThreePixelsRightOfAndBelowThePointer) {
    Fill(5);
    Click(2);
    const QPoint point = InsideScreenOnRow(2);
    const PopUp popUp = RightClick(point);
    ASSERT_TRUE(popUp.shown);
    EXPECT_EQ(popUp.topLeft, List()->viewport()->mapToGlobal(point) + QPoint(3, 3));
    EXPECT_EQ(Titles().size(), 5) << "closing the menu runs no item";
}

TEST_F(ListActionsOnRows, AnItemChosenFromThePopUpRunsAfterTheMenuHasClosed) {
    Fill(5);
    Click(1);
    Click(3, Qt::ControlModifier);
    RightClick(InsideScreenOnRow(3), Form().deleteSelectedItem);
    EXPECT_EQ(Titles(), (QStringList{Title(0), Title(2), Title(4)}));
    EXPECT_TRUE(NumberedFromOne());

    Click(0);
    ASSERT_TRUE(RightClick(InsideScreenOnRow(0), Form().openSelectedItem).shown);
    EXPECT_EQ(desktop_->opened, QStringList{Link(0)});
    EXPECT_FALSE(desktop_->popUpShownWhileOpening);
}

TEST_F(ListActionsOnRows, NoMenuWithoutASelection) {
    Fill(3);
    EXPECT_FALSE(RightClick(BelowTheLastRow()).shown);
    List()->clearSelection();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(10, 10),
                              List()->viewport()->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(List()->viewport(), &request);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(ListActionsOnRows, ARightClickOnEmptySpaceClearsTheSelectionAndShowsNoMenu) {
    Fill(3);
    Click(1);
    EXPECT_FALSE(RightClick(BelowTheLastRow()).shown);
    EXPECT_EQ(List()->FirstSelectedRow(), -1);
}

TEST_F(ListActionsOnRows, ARightClickKeepsASelectionItFallsOnAndOtherwiseSelectsItsRow) {
    Fill(6);
    Click(1);
    Click(3, Qt::ControlModifier);
    EXPECT_TRUE(RightClick(InsideScreenOnRow(3)).shown);
    EXPECT_EQ(List()->SelectedRowCount(), 2);
    EXPECT_EQ(List()->FirstSelectedRow(), 1);

    EXPECT_TRUE(RightClick(InsideScreenOnRow(4)).shown);
    EXPECT_EQ(List()->SelectedRowCount(), 1);
    EXPECT_EQ(List()->FirstSelectedRow(), 4);
}

TEST_F(ListActions, NoMenuOnAnEmptyList) {
    EXPECT_EQ(List()->RowCount(), 0);
    QTimer guard;
    bool shown = false;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget* popUp = QApplication::activePopupWidget()) {
            shown = true;
            popUp->close();
        }
    });
    guard.start(0);
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(50, 50),
                              List()->viewport()->mapToGlobal(QPoint(50, 50)));
    QApplication::sendEvent(List()->viewport(), &request);
    QCoreApplication::processEvents();
    EXPECT_FALSE(shown);
}

TEST_F(ListActions, TheAdvertAndTheLineUnderTheListOpenTheProjectsHomePage) {
    EXPECT_EQ(Form().AdvertItem->text(), QString::fromUtf8(kAdvertCaption));
    Form().AdvertItem->trigger();
    QTest::mousePress(Form().透明标签2, Qt::LeftButton, {}, QPoint(20, 8));
    QTest::mouseRelease(Form().透明标签2, Qt::LeftButton, {}, QPoint(20, 8));
    QTest::mousePress(Form().透明标签2, Qt::RightButton, {}, QPoint(20, 8));
    EXPECT_EQ(desktop_->opened, QStringList(2, QString::fromUtf8(kMakerSiteUrl)));
    EXPECT_TRUE(WebAddress(QString::fromUtf8(kMakerSiteUrl)).has_value());
}

}  // namespace
