// The desktop services the list actions reach outside the window: the default browser's "open",
// the clipboard and the Yes/No box. They sit behind one small interface so that tests can watch
// what would be opened or copied and answer the box without anything blocking.
#pragma once

#include <QString>
#include <QUrl>
#include <memory>

class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // Hands `address` to the default browser; whether it opened is not looked at.
    virtual void OpenAddress(const QUrl& address) = 0;
    // Replaces the clipboard's content with `text` as plain text; true when the clipboard took it.
    virtual bool PutOnClipboard(const QString& text) = 0;
    // A modal box without an owner window, with the buttons Yes and No; true for Yes.
    virtual bool AskYesNo(const QString& text, const QString& caption) = 0;
};

// The services of the running desktop.
std::unique_ptr<DesktopServices> SystemDesktopServices();
