// The result list's actions: double-click, pop-up menu and its items, the project's home page.
#include "ui/list_actions.h"

#include "ui/link_opening.h"
#include "ui/maker_site.h"

namespace {

// The menu's top left corner lies this far right of and below the pointer.
const QPoint kMenuOffset(3, 3);

void ShowStatus(const MainWindowForm& form, const QString& text) {
    form.statusPart0->setText(text);
}

}  // namespace

void OpenFirstSelectedLink(const MainWindowForm& form, DesktopServices& desktop) {
    const ReportList& list = *form.超级列表框1;
    const QString link = list.Cell(list.FirstSelectedRow(), 2);
    if (link.isEmpty()) {
        return;
    }
    if (OpenWebLinks({link}, desktop) > 0) {
        ShowStatus(form, LinksNotOpenedText(1));
    }
}

void PopUpListMenu(const MainWindowForm& form, const QPoint& pointer) {
    if (form.超级列表框1->FirstSelectedRow() == -1) {
        return;
    }
    form.ListMenu->exec(pointer + kMenuOffset);
}

QStringList WalkedLinks(const ReportList& list) {
    const int count = list.SelectedRowCount();
    const int first = list.FirstSelectedRow();
    QStringList links;
    links.reserve(count);
    for (int i = 0; i < count; ++i) {
        links.append(list.Cell(first + i, 2));
    }
    return links;
}

void OpenSelectedLinks(const MainWindowForm& form, DesktopServices& desktop) {
    const int notOpened = OpenWebLinks(WalkedLinks(*form.超级列表框1), desktop);
    if (notOpened > 0) {
        ShowStatus(form, LinksNotOpenedText(notOpened));
    }
}

void CopySelectedLinks(const MainWindowForm& form, DesktopServices& desktop) {
    const QStringList links = WalkedLinks(*form.超级列表框1);
    if (desktop.PutOnClipboard(links.join(QStringLiteral("\r\n")))) {
        ShowStatus(form, QStringLiteral("已复制%1条结果!").arg(links.size()));
    }
}

void DeleteSelectedRows(const MainWindowForm& form) {
    form.超级列表框1->DeleteSelectedRows();
    form.超级列表框1->Renumber();
}

void DeleteAllRowsAfterConfirmation(const MainWindowForm& form, DesktopServices& desktop) {
    if (desktop.AskYesNo(QStringLiteral("确定删除全部内容？"), QStringLiteral("警告："))) {
        form.超级列表框1->DeleteAllRows();
    }
}

void OpenMakerSite(DesktopServices& desktop) {
    desktop.OpenAddress(QUrl(QString::fromUtf8(kMakerSiteUrl)));
}
