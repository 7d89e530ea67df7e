// End to end: the real window, a keyword typed, the search button clicked, rows from the loopback
// search service in the list and the totals in the status bar; and a window closed during an
// automatic run, which ends the run at once.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "platform/codepage.h"
#include "tests/gui/window_fixture.h"
#include "tests/support/fake_search_service.h"

namespace {

using platform::codepage::Utf8ToText;

class WindowSearch : public ShownWindow {
protected:
    void ChooseManualPageOne() {
        QTest::mouseClick(Find<QRadioButton>("单选框EX4"), Qt::LeftButton);
        window_->SetText(Control::编辑框2, "1");
        QTest::mouseClick(Find<QRadioButton>("单选框EX3"), Qt::LeftButton);  // the whole web
    }

    void TypeKeyword(const char* keyword) {
        auto* box = Find<QPlainTextEdit>("编辑框1");
        Focus(box);
        QTest::keyClicks(box, keyword);
    }

    testsupport::FakeSearchService service_;
};

TEST_F(WindowSearch, AClickOnTheButtonFillsTheListAndTellsTheTotals) {
    ChooseManualPageOne();
    TypeKeyword("qt");
    QTest::mouseClick(Find<QPushButton>("按钮EX1"), Qt::LeftButton);

    ASSERT_EQ(service_.Searches().size(), 1u);
    EXPECT_EQ(service_.Searches()[0].wd, "qt");
    ASSERT_EQ(window_->RowCount(), 10);
    for (int row = 0; row < 10; ++row) {
        SCOPED_TRACE(row);
        const std::string id = "1-" + std::to_string(row + 1);
        EXPECT_EQ(window_->Cell(row, 0), std::to_string(row + 1));
        EXPECT_EQ(window_->Cell(row, 1), Utf8ToText("结果 " + id));
        EXPECT_EQ(window_->Cell(row, 2), testsupport::FakeSearchService::Target(id));
    }
    EXPECT_EQ(window_->StatusText(), Utf8ToText("本次获取到10个结果，以上共计10个结果!"));
    EXPECT_EQ(window_->Caption(), "SO");
}

TEST_F(WindowSearch, ClosingTheWindowDuringAnAutomaticRunEndsTheRun) {
    window_->SetText(Control::编辑框5, "1");
    window_->SetText(Control::编辑框6, "50");
    TypeKeyword("qt");
    // The close arrives at the search's first event-processing point.
    QTimer::singleShot(0, window_.get(), [this] { window_->close(); });
    QTest::mouseClick(Find<QPushButton>("按钮EX1"), Qt::LeftButton);

    EXPECT_TRUE(window_->WindowClosed());
    EXPECT_LE(service_.PagesAsked().size(), 1u) << "no page is fetched after the window closed";
    EXPECT_LT(window_->RowCount(), 10);
}

}  // namespace
