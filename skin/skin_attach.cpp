// The skinning library's one entry point: reads a skin file (a Qt style sheet) and applies it to the
// running application. The library is loaded by the program at start-up and never unloaded.
#include <QApplication>
#include <QFile>
#include <QString>
#include <QtGlobal>

namespace {

// Results of SkinH_AttachEx; the program ignores them, they help whoever debugs a skin.
constexpr int kAttached = 0;
constexpr int kNoApplication = 1;
constexpr int kUnreadableSkin = 2;

}  // namespace

// `skinPath` names the skin file in the platform's narrow encoding; `password` is accepted for the
// caller's sake and unused, since our skins are plain text.
extern "C" Q_DECL_EXPORT int SkinH_AttachEx(const char* skinPath, const char* /*password*/) {
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (application == nullptr) {
        return kNoApplication;
    }
    QFile skin(QFile::decodeName(skinPath == nullptr ? "" : skinPath));
    if (!skin.open(QIODevice::ReadOnly)) {
        return kUnreadableSkin;
    }
    application->setStyleSheet(QString::fromUtf8(skin.readAll()));
    return kAttached;
}
