// The main window: frame, keys, search button and the operations the search uses.
#include "ui/main_window.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>

#include "search/search_run.h"
#include "ui/input_conveniences.h"
#include "ui/list_actions.h"
#include "ui/program_text.h"
#include "ui/tips.h"

namespace {

// Multi-line boxes hand their lines out joined by "\r\n", as the search and the settings file
// expect of a multi-line box.
QString ToWindowsLineBreaks(QString text) {
    return text.replace(u'\n', QStringLiteral("\r\n"));
}
QString ToQtLineBreaks(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

MainWindow::MainWindow(std::filesystem::path programFolder, std::unique_ptr<DesktopServices> desktop)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      programFolder_(std::move(programFolder)),
      desktop_(std::move(desktop)),
      form_(BuildMainWindowForm(this)) {
    if (desktop_ == nullptr) {
        desktop_ = SystemDesktopServices();
    }
    setObjectName("MainWindow");
    setWindowTitle("拾穗集搜索采集器 v1.0");
    setFixedSize(kClientSize);
    PlaceCentred();

    // The same road as the close button, from whichever control has the focus.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    connect(form_.按钮EX1, &QPushButton::clicked, this, &MainWindow::OnSearchClicked);
    connect(form_.tips, &QTimer::timeout, this, &MainWindow::OnTips);
    ConnectListActions();
    // Direct, so the step runs before the control handles the press.
    connect(this, &MainWindow::leftButtonPressed, this, &MainWindow::OnLeftButtonPressed,
            Qt::DirectConnection);
    for (QWidget* control :
         {static_cast<QWidget*>(form_.编辑框2), static_cast<QWidget*>(form_.编辑框5),
          static_cast<QWidget*>(form_.编辑框6), static_cast<QWidget*>(form_.编辑框4),
          static_cast<QWidget*>(form_.日期框_起始), static_cast<QWidget*>(form_.日期框_截止),
          static_cast<QWidget*>(form_.透明标签2)}) {
        WatchLeftButton(control);
    }
    form_.tips->start();
}

void MainWindow::ConnectListActions() {
    ReportList* list = form_.超级列表框1;
    connect(list, &ReportList::listDoubleClicked, this, [this] { OpenFirstSelectedLink(form_, *desktop_); });
    connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& pointer) {
        PopUpListMenu(form_, list->viewport()->mapToGlobal(pointer));
    });
    connect(form_.openSelectedItem, &QAction::triggered, this,
            [this] { OpenSelectedLinks(form_, *desktop_); });
    connect(form_.copySelectedItem, &QAction::triggered, this,
            [this] { CopySelectedLinks(form_, *desktop_); });
    connect(form_.deleteSelectedItem, &QAction::triggered, this, [this] { DeleteSelectedRows(form_); });
    connect(form_.deleteAllItem, &QAction::triggered, this,
            [this] { DeleteAllRowsAfterConfirmation(form_, *desktop_); });
    connect(form_.AdvertItem, &QAction::triggered, this, [this] { OpenMakerSite(*desktop_); });
}

void MainWindow::PlaceCentred() {
    const QRect screenArea = screen()->geometry();
    move(screenArea.left() + (screenArea.width() - kOuterSize.width()) / 2,
         screenArea.top() + (screenArea.height() - kOuterSize.height()) / 2);
}

// A date box hands the press to the inner parts it is made of, so they are watched too.
void MainWindow::WatchLeftButton(QWidget* control) {
    control->installEventFilter(this);
    for (QWidget* part : control->findChildren<QWidget*>()) {
        part->installEventFilter(this);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        QWidget* control = qobject_cast<QWidget*>(watched);
        while (control != nullptr && control->parentWidget() != nullptr &&
               qobject_cast<QGroupBox*>(control->parentWidget()) == nullptr &&
               control->parentWidget() != this) {
            control = control->parentWidget();
        }
        emit leftButtonPressed(control);
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    windowClosed_ = true;
    emit closing();
    event->accept();
}

void MainWindow::OnSearchClicked() {
    SearchRun(*this, programFolder_);
}

void MainWindow::OnTips() {
    ShowNextTip(form_);
}

void MainWindow::OnLeftButtonPressed(QWidget* control) {
    if (control == form_.透明标签2) {
        OpenMakerSite(*desktop_);
        return;
    }
    RunInputConvenience(form_, control);
}

bool MainWindow::IsSelected(Control control) const {
    const auto* button = qobject_cast<const QAbstractButton*>(form_.Widget(control));
    return button != nullptr && button->isChecked();
}

void MainWindow::SetSelected(Control control, bool selected) {
    if (auto* button = qobject_cast<QAbstractButton*>(form_.Widget(control))) {
        button->setChecked(selected);
    }
}

std::string MainWindow::Text(Control control) const {
    QWidget* widget = form_.Widget(control);
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) {
        return ToProgramText(line->text());
    }
    if (const auto* lines = qobject_cast<const QPlainTextEdit*>(widget)) {
        return ToProgramText(ToWindowsLineBreaks(lines->toPlainText()));
    }
    return {};
}

void MainWindow::SetText(Control control, const std::string& text) {
    QWidget* widget = form_.Widget(control);
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->setText(ToQString(text));
    } else if (auto* lines = qobject_cast<QPlainTextEdit*>(widget)) {
        lines->setPlainText(ToQtLineBreaks(ToQString(text)));
    }
}

std::string MainWindow::Caption() const {
    return ToProgramText(form_.按钮EX1->text());
}

void MainWindow::SetCaption(const std::string& caption) {
    form_.按钮EX1->setText(ToQString(caption));
}

DateTime MainWindow::DateValue(Control control) const {
    if (const auto* date = dynamic_cast<const DateBox*>(form_.Widget(control))) {
        return date->Value();
    }
    return {};
}

void MainWindow::SetDateValue(Control control, const DateTime& value) {
    if (auto* date = dynamic_cast<DateBox*>(form_.Widget(control))) {
        date->SetValue(value);
    }
}

int MainWindow::RowCount() const {
    return form_.超级列表框1->RowCount();
}

int MainWindow::AppendRow(const std::string& firstCell) {
    return form_.超级列表框1->AppendRow(ToQString(firstCell));
}

void MainWindow::SetCell(int row, int column, const std::string& text) {
    form_.超级列表框1->SetCell(row, column, ToQString(text));
}

std::string MainWindow::Cell(int row, int column) const {
    return ToProgramText(form_.超级列表框1->Cell(row, column));
}

void MainWindow::DeleteAllRows() {
    form_.超级列表框1->DeleteAllRows();
}

void MainWindow::SetStatusText(const std::string& text) {
    form_.statusPart0->setText(ToQString(text));
}

std::string MainWindow::StatusText() const {
    return ToProgramText(form_.statusPart0->text());
}

void MainWindow::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}
