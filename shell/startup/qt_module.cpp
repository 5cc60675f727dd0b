// The Qt part of Quorlane.scr (see shell_modules.h): everything that needs Qt.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>

#include "shell/dialog/product_page.h"
#include "shell/dialog/qt_translations.h"
#include "shell/dialog/settings_dialog.h"
#include "shell/platform/picture_file.h"
#include "shell/platform/qt_on_x.h"
#include "shell/platform/renderer_process.h"
#include "shell/settings/settings_file.h"
#include "shell/settings/settings_location.h"
#include "shell/show/preview_window.h"
#include "shell/startup/shell_modules.h"

namespace {

int runSettingsDialog(const char* program, quorlane::SettingsValues& settings) {
    using namespace quorlane;
    QtOnXArguments arguments(program);
    QApplication application(arguments.argc(), arguments.argv());
    // Qt's file chooser writes its history and last folder into the user's QtProject.conf
    // as it closes; ours starts where its box says and needs none of it, so that goes to a
    // folder that goes with the dialog.
    QTemporaryDir chooserState;
    if (chooserState.isValid()) {
        for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat}) {
            QSettings::setPath(format, QSettings::UserScope, chooserState.path());
        }
    }
    QApplication::setFont(SettingsDialog::dialogFont());  // message boxes and the chooser too
    QTranslator qtJapanese;
    installQtJapanese(qtJapanese);  // without it the chooser and the warning stay English
    const std::string folder = runningProgramFolder();
    const bool installed = isInstalledCopy(folder);
    SettingsDialog dialog(settings, {folder, settingsFilePath(settingsFolder(folder)),
                                     productPagePath(folder, installed), installed});
    dialog.load();
    dialog.exec();
    return 0;
}

}  // namespace

extern "C" const quorlane::QtModule quorlane_qt_module = {
    runSettingsDialog,
    quorlane::runPreviewWindow,
    quorlane::decodePictureFile,
    quorlane::decodePreviewStill,
};
