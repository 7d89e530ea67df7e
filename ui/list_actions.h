// What the user does with the rows of the result list: open the first selected row's link with a
// double-click; through the pop-up menu open or copy the links of as many rows as are selected,
// counted from the first selected one, delete the selected rows, or delete every row after a
// Yes/No box; open the project's home page. The handlers keep no state between events.
#pragma once

#include <QPoint>
#include <QStringList>

#include "ui/desktop_services.h"
#include "ui/main_window_form.h"

// Double-click: goes by the selection, not by the point clicked; an empty link opens nothing.
void OpenFirstSelectedLink(const MainWindowForm& form, DesktopServices& desktop);

// Right-click: pops up ListMenu 3 pixels right of and below `pointer` (global coordinates) when a
// row is selected, and waits until the menu closes.
void PopUpListMenu(const MainWindowForm& form, const QPoint& pointer);

// The links of the rows the menu's open and copy walk: as many rows as are selected, one after
// the other from the first selected row. For a scattered selection that takes in unselected rows
// in between and leaves out selected rows further down.
QStringList WalkedLinks(const ReportList& list);

// "打开所选链接"
void OpenSelectedLinks(const MainWindowForm& form, DesktopServices& desktop);
// "复制所选链接": the walked links joined by "\r\n", none after the last.
void CopySelectedLinks(const MainWindowForm& form, DesktopServices& desktop);
// "删除所选": every selected row goes, then "序号" numbers the rest from 1.
void DeleteSelectedRows(const MainWindowForm& form);
// "删除全部", after the box "确定删除全部内容？" is answered Yes.
void DeleteAllRowsAfterConfirmation(const MainWindowForm& form, DesktopServices& desktop);
// AdvertItem, and a press on the line under the list.
void OpenMakerSite(DesktopServices& desktop);
