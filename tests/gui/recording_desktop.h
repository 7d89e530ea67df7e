// A shown main window whose desktop services are recorded instead of reaching the desktop: what
// would be opened in the browser, what the clipboard was given, and which Yes/No boxes were asked,
// answered as the test says. No box ever blocks a test and nothing leaves the machine.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <utility>

#include "ui/desktop_services.h"
#include "ui/main_window.h"

struct RecordingDesktop : DesktopServices {
    QStringList opened;
    bool popUpShownWhileOpening = false;
    QStringList clipboard;
    bool clipboardTakesText = true;
    std::vector<std::pair<QString, QString>> questions;  // text, caption
    bool answerYes = false;

    void OpenAddress(const QUrl& address) override {
        opened.append(address.toString());
        popUpShownWhileOpening = popUpShownWhileOpening || QApplication::activePopupWidget() != nullptr;
    }
    bool PutOnClipboard(const QString& text) override {
        clipboard.append(text);
        return clipboardTakesText;
    }
    bool AskYesNo(const QString& text, const QString& caption) override {
        questions.emplace_back(text, caption);
        return answerYes;
    }
};

class RecordedWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window_->show();
        QApplication::setActiveWindow(window_.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }

    const MainWindowForm& Form() const { return window_->Form(); }
    ReportList* List() const { return window_->Form().超级列表框1; }
    QString Status() const { return window_->Form().statusPart0->text(); }

    QTemporaryDir folder_;
    RecordingDesktop* desktop_ = new RecordingDesktop;
    std::unique_ptr<MainWindow> window_ = std::make_unique<MainWindow>(
        folder_.path().toStdU16String(), std::unique_ptr<DesktopServices>(desktop_));
};

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
