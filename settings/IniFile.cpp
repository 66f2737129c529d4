#include "settings/IniFile.h"

#include "settings/GuardedFile.h"
#include "settings/SettingsText.h"

#include <QDir>
#include <QFileInfo>

IniFile::IniFile(QString path) : m_path(std::move(path)) {
    const guarded_file::Contents contents = guarded_file::read(m_path, MaxFileBytes);
    if (!contents.problem.isEmpty())
        m_problem = QStringLiteral("The settings file '%1' was not read: %2.")
                        .arg(m_path, contents.problem);
    m_document = IniDocument::fromBytes(contents.bytes);
}

QString IniFile::GetIniValue(const QString& section, const QString& key) const {
    return settings_text::leftChars(m_document.value(section, key).value_or(QString()),
                                    MaxValueLength);
}

QString IniFile::GetWholeIniValue(const QString& section, const QString& key) const {
    return m_document.value(section, key).value_or(QString());
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
    if (m_path.isEmpty() || !m_problem.isEmpty() ||
        !QDir().mkpath(QFileInfo(m_path).absolutePath()) ||
        !guarded_file::replace(m_path, m_document.toBytes()))
        return false;
    m_modified = false;
    return true;
}

QString settingsFilePath(const QString& settingsFolder) {
    return settingsFolder + QStringLiteral("Quarix.ini");
}

bool OpenIniFile(const QString& settingsFolder, const ShellOpen& open) {
    return open && open(settingsFilePath(settingsFolder));
}
