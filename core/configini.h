#pragma once
#include <QString>

// The program's profile file (config.ini): "[section]" headers and "key=value" lines.
// Section and key names compare without regard to case. Every read takes a default, so a
// missing file or key is never an error; every write goes to the file at once.
class ConfigIni {
public:
    explicit ConfigIni(const QString &fileName);

    QString fileName() const { return m_fileName; }

    // The trimmed value of key in section, or def when the file, section or key is missing.
    QString readString(const QString &section, const QString &key, const QString &def = QString()) const;
    // The value as a whole number; def when missing or not a number.
    int readInteger(const QString &section, const QString &key, int def) const;
    // The value as yes/no ("1"/"0", "true"/"false"); def when missing or unreadable.
    bool readBool(const QString &section, const QString &key, bool def) const;

    // Writes the value at once, keeping every other line of the file. False when the file
    // cannot be written (read-only folder, full disk); the old file is then left untouched.
    bool writeString(const QString &section, const QString &key, const QString &value);
    bool writeInteger(const QString &section, const QString &key, int value);
    bool writeBool(const QString &section, const QString &key, bool value);

private:
    QString m_fileName;
};

// The one profile file of the running program, set once at start-up.
ConfigIni &configIni();
void setConfigIniPath(const QString &fileName);
