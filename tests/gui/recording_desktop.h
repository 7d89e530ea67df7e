// Desktop services that are recorded instead of reaching the desktop: what would be opened in the
// browser, what the clipboard was given, and which Yes/No boxes were asked, answered as the test
// says. No box ever blocks a test and nothing leaves the machine.
#pragma once

#include <QApplication>
#include <QStringList>
#include <QUrl>
#include <utility>
#include <vector>

#include "ui/desktop_services.h"

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
