#pragma once
// Test helpers for real Firebird database files: a private temporary folder
// (also used as the embedded engine's lock folder and as XDG_CONFIG_HOME, so
// the alias file of a test never touches the user's own).

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

class TempFirebirdDir {
public:
    TempFirebirdDir()
    {
        m_oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/config")));
        QDir().mkpath(m_dir.path() + QStringLiteral("/config/pedidos"));
    }
    ~TempFirebirdDir()
    {
        if (m_oldConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", m_oldConfig);
    }
    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QString aliasFile() const { return path(QStringLiteral("config/pedidos/aliases.conf")); }
    void writeAliases(const QString& text) const { writeFile(aliasFile(), text); }

    static void writeFile(const QString& file, const QString& text)
    {
        QFile f(file);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(text.toUtf8());
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldConfig;
};
