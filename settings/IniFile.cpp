#include "settings/IniFile.h"

#include "settings/SettingsText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

IniFile::IniFile(QString path) : m_path(std::move(path)) {
    QFile file(m_path);
    if (file.open(QIODevice::ReadOnly))
        m_document = IniDocument::fromBytes(file.readAll());
}

QString IniFile::GetIniValue(const QString& section, const QString& key) const {
    return settings_text::leftChars(m_document.value(section, key).value_or(QString()),
                                    MaxValueLength);
}

void IniFile::SetIniValue(const QString& section, const QString& key, const QString& value) {
    if (m_document.value(section, key) == value)
        return;
    m_document.setValue(section, key, value);
    m_modified = true;
}

bool IniFile::save() {
    if (!m_modified)
        return true;
    if (m_path.isEmpty() || !QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = m_document.toBytes();
    if (file.write(bytes) != bytes.size() || !file.commit())
        return false;
    m_modified = false;
    return true;
}

QString settingsFilePath(const QString& settingsFolder) {
    return settingsFolder + QStringLiteral("Quarix.ini");
}

void OpenIniFile(const QString& settingsFolder, const ShellOpen& open) {
    if (open)
        open(settingsFilePath(settingsFolder));
}
