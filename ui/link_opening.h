// Which link texts the list hands to the default browser. A cell holds whatever a web page put
// there, and the desktop's "open" would start a local program for a file: address, a path or a
// handler scheme; so only absolute http and https addresses with a host are ever opened.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

#include "ui/desktop_services.h"

// The address `link` names when it is an absolute http or https address with a host.
std::optional<QUrl> WebAddress(const QString& link);

// Opens each web address of `links` in order. Empty links are passed over; any other link is not
// opened and counted. Returns the number of links that were not opened.
int OpenWebLinks(const QStringList& links, DesktopServices& desktop);

// The status text that says that `count` links were not opened.
QString LinksNotOpenedText(int count);
