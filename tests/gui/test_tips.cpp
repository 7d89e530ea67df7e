// The tips: after the welcome text the status bar shows the four tips in turn, one every 20
// seconds, starting with tip 1 at 20 seconds, whatever another handler wrote in between.
#include <QTimerEvent>

#include "tests/gui/window_fixture.h"
#include "ui/tip_index.h"
#include "ui/tips.h"

namespace {

class Tips : public ShownWindow {
protected:
    void SetUp() override {
        ShownWindow::SetUp();
        TipIndex = 1;  // as the window's created handler leaves it
        window_->Form().statusPart0->setText(QStringLiteral("欢迎~"));
    }
    void TearDown() override { TipIndex = 0; }

    // One period of the tips timer, as the timer itself raises it.
    void Period() {
        QTimer* tips = window_->Form().tips;
        QTimerEvent period(tips->timerId());
        QCoreApplication::sendEvent(tips, &period);
    }
};

const QString kTip1 =
    QStringLiteral("拾穗集:列表框可以多选哦~选择上面的行,按着Shift,单击下面的行,或直接按着Ctrl选行~");
const QString kTip2 = QStringLiteral("拾穗集:表头可以直接拖动~~");
const QString kTip3 = QStringLiteral("拾穗集:双击可以直接打开所选行链接哦~");
const QString kTip4 = QStringLiteral("拾穗集:右键列表框可以进行多种操作~");

TEST_F(Tips, TheTimerRaisesAPeriodEveryTwentySeconds) {
    QTimer* tips = window_->Form().tips;
    EXPECT_TRUE(tips->isActive());
    EXPECT_FALSE(tips->isSingleShot());
    EXPECT_EQ(tips->interval(), 20000);
}

TEST_F(Tips, OverAHundredSecondsTheTipsFollowTheWelcomeInTurn) {
    const QString shown[] = {kTip1, kTip2, kTip3, kTip4, kTip1};
    const int next[] = {2, 3, 4, 1, 2};
    EXPECT_EQ(Status(), QStringLiteral("欢迎~"));
    for (int period = 0; period < 5; ++period) {
        SCOPED_TRACE((period + 1) * 20);
        Period();
        EXPECT_EQ(Status(), shown[period]);
        EXPECT_EQ(TipIndex, next[period]);
    }
}

TEST_F(Tips, ATipReplacesWhatAnotherHandlerWrote) {
    Period();
    window_->SetStatusText("copied");
    Period();
    EXPECT_EQ(Status(), kTip2);
}

TEST_F(Tips, BeforeTheWindowIsCreatedNoTipShowsAndTheNextPeriodShowsTipOne) {
    TipIndex = 0;
    Period();
    EXPECT_EQ(Status(), QStringLiteral("欢迎~"));
    EXPECT_EQ(TipIndex, 1);
    Period();
    EXPECT_EQ(Status(), kTip1);
}

TEST(TipTexts, FourTipsNumberedOneToFour) {
    EXPECT_EQ(TipText(1), kTip1);
    EXPECT_EQ(TipText(4), kTip4);
    EXPECT_EQ(TipText(0), QString());
    EXPECT_EQ(TipText(5), QString());
    EXPECT_EQ(TipText(-1), QString());
}

}  // namespace
