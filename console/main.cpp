// Pelorin: the settings file is opened before any window, the data module (and with it the
// control) comes before the main window, and the settings are written back after both are gone.
#include <QApplication>

#include "console/command_line_switches.h"
#include "console/dm_gsm.h"
#include "console/error_box.h"
#include "console/main_thread_pump.h"
#include "console/pelorin_form.h"
#include "console/settings_file.h"

int main(int argc, char** argv)
{
    SetProgramArguments(argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelorin"));
    TMainThreadPump pump;
    try {
        OpenSettingsFile(SettingsFilePath());
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
        return 1;
    }
    int result = 1;
    {
        TGSMDataModule dataModule;
        // Without the control nothing here can work: the error box has said why.
        if (dataModule.HasControl()) {
            TPelorinForm form(dataModule);
            form.show();
            result = QApplication::exec();
        }
    }
    CloseSettingsFile();
    return result;
}
