#include "configini.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace {

QStringList readLines(const QString &fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(f.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Section name of a "[name]" line, or a null string for any other line.
QString sectionOf(const QString &line) {
    const QString t = line.trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return QString();
}

bool keyOf(const QString &line, QString *key, QString *value) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
        return false;
    const int eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return false;
    *key = t.left(eq).trimmed();
    if (value)
        *value = t.mid(eq + 1).trimmed();
    return true;
}

} // namespace

ConfigIni::ConfigIni(const QString &fileName) : m_fileName(fileName) {}

QString ConfigIni::readString(const QString &section, const QString &key, const QString &def) const {
    bool inSection = false;
    for (const QString &line : readLines(m_fileName)) {
        const QString s = sectionOf(line);
        if (!s.isNull()) {
            inSection = s.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString k, v;
        if (inSection && keyOf(line, &k, &v) && k.compare(key, Qt::CaseInsensitive) == 0)
            return v;
    }
    return def;
}

int ConfigIni::readInteger(const QString &section, const QString &key, int def) const {
    bool ok = false;
    const int v = readString(section, key).toInt(&ok);
    return ok ? v : def;
}

bool ConfigIni::readBool(const QString &section, const QString &key, bool def) const {
    const QString v = readString(section, key).toLower();
    if (v == QLatin1String("true"))
        return true;
    if (v == QLatin1String("false"))
        return false;
    bool ok = false;
    const int n = v.toInt(&ok);
    return ok ? n != 0 : def;
}

bool ConfigIni::writeString(const QString &section, const QString &key, const QString &value) {
    QStringList lines = readLines(m_fileName);
    const QString entry = key + QLatin1Char('=') + value;
    int sectionLine = -1; // header of the first matching section
    int lastOfSection = -1;
    bool inSection = false;
    bool done = false;
    for (int i = 0; i < lines.size() && !done; ++i) {
        const QString s = sectionOf(lines[i]);
        if (!s.isNull()) {
            inSection = s.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection && sectionLine < 0)
                sectionLine = i;
            if (inSection)
                lastOfSection = i;
            continue;
        }
        if (!inSection)
            continue;
        QString k;
        if (keyOf(lines[i], &k, nullptr) && k.compare(key, Qt::CaseInsensitive) == 0) {
            lines[i] = entry;
            done = true;
        } else if (!lines[i].trimmed().isEmpty()) {
            lastOfSection = i;
        }
    }
    if (!done) {
        if (sectionLine < 0) {
            if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
                lines << QString();
            lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
        } else {
            lines.insert(lastOfSection + 1, entry);
        }
    }
    QSaveFile f(m_fileName);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const QByteArray data = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    if (f.write(data) != data.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

bool ConfigIni::writeInteger(const QString &section, const QString &key, int value) {
    return writeString(section, key, QString::number(value));
}

bool ConfigIni::writeBool(const QString &section, const QString &key, bool value) {
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

namespace {
ConfigIni *g_config = nullptr;
}

ConfigIni &configIni() {
    if (!g_config)
        g_config = new ConfigIni(QStringLiteral("config.ini"));
    return *g_config;
}

void setConfigIniPath(const QString &fileName) {
    delete g_config;
    g_config = new ConfigIni(fileName);
}
