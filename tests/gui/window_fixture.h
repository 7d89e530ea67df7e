// A shown, active main window over a temporary program folder, for suites that click and type. Its
// desktop services are recorded, so no test opens a browser, fills the clipboard or waits on a box.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "tests/gui/recording_desktop.h"
#include "ui/main_window.h"

class ShownWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window_->show();
        QApplication::setActiveWindow(window_.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }

    template <typename T = QWidget>
    T* Find(const char* name) const {
        return window_->findChild<T*>(QString::fromUtf8(name));
    }

    // Gives `widget` the focus and waits until it has it.
    static void Focus(QWidget* widget) {
        widget->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(QTest::qWaitFor([widget] { return widget->hasFocus(); }, 5000));
    }

    const MainWindowForm& Form() const { return window_->Form(); }
    ReportList* List() const { return window_->Form().超级列表框1; }
    QString Status() const { return window_->Form().statusPart0->text(); }

    QTemporaryDir folder_;
    RecordingDesktop* desktop_ = new RecordingDesktop;
    std::unique_ptr<MainWindow> window_ = std::make_unique<MainWindow>(
        folder_.path().toStdU16String(), std::unique_ptr<DesktopServices>(desktop_));
};

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
