// A shown, active main window over a temporary program folder, for suites that click and type.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

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

    QTemporaryDir folder_;
    std::unique_ptr<MainWindow> window_ = std::make_unique<MainWindow>(folder_.path().toStdU16String());
};

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
