// The main window: the form's controls in a fixed, centred frame without a maximize button, the
// keys the window handles (Esc closes it, Enter does nothing), the search button, the result list's
// actions, the input boxes' conveniences, the tips, and the window as the search reads and writes it.
#pragma once

#include <QWidget>
#include <filesystem>
#include <memory>

#include "search/window_controls.h"
#include "ui/desktop_services.h"
#include "ui/main_window_form.h"

class MainWindow : public QWidget, public WindowControls {
    Q_OBJECT
public:
    // `programFolder` holds config.ini. The window is placed centred on its screen, not shown. The
    // list's actions open, copy and ask through `desktop`.
    explicit MainWindow(std::filesystem::path programFolder,
                        std::unique_ptr<DesktopServices> desktop = SystemDesktopServices());

    const MainWindowForm& Form() const { return form_; }

    bool IsSelected(Control control) const override;
    void SetSelected(Control control, bool selected) override;
    std::string Text(Control control) const override;
    void SetText(Control control, const std::string& text) override;
    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;
    DateTime DateValue(Control control) const override;
    void SetDateValue(Control control, const DateTime& value) override;
    int RowCount() const override;
    int AppendRow(const std::string& firstCell) override;
    void SetCell(int row, int column, const std::string& text) override;
    std::string Cell(int row, int column) const override;
    void DeleteAllRows() override;
    void SetStatusText(const std::string& text) override;
    std::string StatusText() const;
    void ProcessPendingEvents() override;
    bool WindowClosed() const override { return windowClosed_; }

signals:
    // The can-be-closed event: the window is about to close, by the close button, the system menu
    // or Esc.
    void closing();
    // The left mouse button went down on a page box, the custom-site box, a date box or the line
    // under the list; the press then goes on to the control as usual.
    void leftButtonPressed(QWidget* control);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void OnSearchClicked();
    void OnTips();
    void OnLeftButtonPressed(QWidget* control);

private:
    void PlaceCentred();
    void WatchLeftButton(QWidget* control);
    void ConnectListActions();

    std::filesystem::path programFolder_;
    std::unique_ptr<DesktopServices> desktop_;
    MainWindowForm form_;
    bool windowClosed_ = false;
};
