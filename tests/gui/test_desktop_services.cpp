// The desktop's own services: the clipboard takes the links as plain text, line breaks included,
// and the Yes/No box shows its text and caption, has no owner window and tells which button was
// pressed. The box is answered by the test as soon as it shows.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>

#include "ui/desktop_services.h"

namespace {

TEST(SystemDesktop, TheClipboardTakesThePlainTextAndReplacesWhatItHeld) {
    const std::unique_ptr<DesktopServices> desktop = SystemDesktopServices();
    QGuiApplication::clipboard()->setText("earlier");
    const QString links = QStringLiteral("http://a.example/1\r\nhttp://b.example/二\r\n\r\nc");
    ASSERT_TRUE(desktop->PutOnClipboard(links));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), links);
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasText());
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasHtml());
}

struct BoxSeen {
    QString text;
    QString caption;
    bool hasOwner = true;
    int buttons = 0;
};

// Presses `button` on the message box once it is up, and tells what the box showed.
BoxSeen Answer(QMessageBox::StandardButton button, const std::function<bool()>& ask, bool& answer) {
    BoxSeen seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        poll.stop();
        seen = {box->text(), box->windowTitle(), box->parentWidget() != nullptr,
                static_cast<int>(box->buttons().size())};
        box->button(button)->click();
    });
    poll.start(10);
    answer = ask();
    return seen;
}

TEST(SystemDesktop, TheYesNoBoxShowsItsTextAndCaptionAndTellsTheAnswer) {
    const std::unique_ptr<DesktopServices> desktop = SystemDesktopServices();
    const auto ask = [&] {
        return desktop->AskYesNo(QStringLiteral("确定删除全部内容？"), QStringLiteral("警告："));
    };
    bool answer = true;
    const BoxSeen seen = Answer(QMessageBox::No, ask, answer);
    EXPECT_FALSE(answer);
    EXPECT_EQ(seen.text, QStringLiteral("确定删除全部内容？"));
    EXPECT_EQ(seen.caption, QStringLiteral("警告："));
    EXPECT_FALSE(seen.hasOwner);
    EXPECT_EQ(seen.buttons, 2);

    Answer(QMessageBox::Yes, ask, answer);
    EXPECT_TRUE(answer);
}

}  // namespace
