#include "settings/SettingsDialogPreview.h"

#include "settings/frmSettings.h"

QImage renderSettingsDialogPreview() {
    SettingsValues values;
    LoadSettings(IniFile(), values, SettingsWindowPort{});
    values.WindowState = QStringLiteral("0");
    SettingsLocation location;
    location.SettingsFolder = QStringLiteral("/var/lib/quarix/");

    frmSettings dialog(values, location, SettingsEnvironment::system(), SettingsDialogPort{});
    dialog.setAttribute(Qt::WA_DeleteOnClose, false);
    dialog.adjustSize();
    return dialog.grab().toImage();
}
