// Link texts checked before they reach the default browser.
#include "ui/link_opening.h"

std::optional<QUrl> WebAddress(const QString& link) {
    const QUrl address(link, QUrl::TolerantMode);
    if (!address.isValid() || address.isRelative() || address.host().isEmpty()) {
        return std::nullopt;
    }
    if (address.scheme() != QLatin1String("http") && address.scheme() != QLatin1String("https")) {
        return std::nullopt;
    }
    return address;
}

int OpenWebLinks(const QStringList& links, DesktopServices& desktop) {
    int notOpened = 0;
    for (const QString& link : links) {
        if (link.isEmpty()) {
            continue;
        }
        if (const std::optional<QUrl> address = WebAddress(link)) {
            desktop.OpenAddress(*address);
        } else {
            ++notOpened;
        }
    }
    return notOpened;
}

QString LinksNotOpenedText(int count) {
    return QStringLiteral("有%1条链接不是http或https网址，未打开").arg(count);
}
