// The program's entry: the GUI runtime, the main window with its created handler, the event loop,
// and the can-be-closed handler when the user closes the window.
#include <QApplication>

#include "app/startup.h"
#include "platform/com.h"
#include "ui/main_window.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // The GUI thread's initialisation lasts for the process; the program's own pairs nest in it.
    const platform::com::Scope guiThread;

    const std::filesystem::path programFolder = ProgramFolder();
    MainWindow window(programFolder);
    ConnectCanBeClosedHandler(window, programFolder);
    if (RunCreatedHandler(window, programFolder, ShowErrorReport) != StartupResult::Ready) {
        return 1;
    }
    window.show();
    QApplication::exec();
    return 0;
}
