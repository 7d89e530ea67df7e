// The desktop services of the running desktop, over Qt's desktop services, clipboard and message box.
#include "ui/desktop_services.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>

namespace {

class SystemServices : public DesktopServices {
public:
    void OpenAddress(const QUrl& address) override { QDesktopServices::openUrl(address); }

    // The clipboard gives no verdict of its own: it took the text when it hands the same text back.
    bool PutOnClipboard(const QString& text) override {
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (clipboard == nullptr) {
            return false;
        }
        clipboard->setText(text);
        return clipboard->text() == text;
    }

    bool AskYesNo(const QString& text, const QString& caption) override {
        return QMessageBox::question(nullptr, caption, text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    }
};

}  // namespace

std::unique_ptr<DesktopServices> SystemDesktopServices() {
    return std::make_unique<SystemServices>();
}
