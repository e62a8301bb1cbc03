#include "AliasConfig.h"
#include "DatabaseError.h"

#include <QRegularExpression>
#include <QFile>
#include <QStandardPaths>
#include <QTextStream>
#include <map>

namespace {

// Section name (upper case) -> its lines, in file order.
std::map<QString, ParameterList> readFile()
{
    std::map<QString, ParameterList> sections;
    QFile f(AliasConfig::FilePath());
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return sections;
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    ParameterList* current = nullptr;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            current = &sections[line.mid(1, line.size() - 2).trimmed().toUpper()];
            continue;
        }
        if (!current)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        current->SetValue(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return sections;
}

}

namespace AliasConfig {

QString FilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/pedidos/aliases.conf");
}

std::optional<ParameterList> AliasParams(const QString& alias)
{
    auto sections = readFile();
    auto it = sections.find(alias.trimmed().toUpper());
    if (it == sections.end() || it->first == QStringLiteral("PATH MAP"))
        return std::nullopt;
    return it->second;
}

QString MapLocation(const QString& location)
{
    auto sections = readFile();
    auto it = sections.find(QStringLiteral("PATH MAP"));
    if (it == sections.end())
        return location;
    const ParameterList& map = it->second;
    // Longest matching prefix wins.
    int best = -1;
    for (int i = 0; i < map.Count(); ++i)
        if (location.startsWith(map.Name(i), Qt::CaseInsensitive)
            && (best < 0 || map.Name(i).size() > map.Name(best).size()))
            best = i;
    if (best < 0)
        return location;
    QString rest = location.mid(map.Name(best).size());
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return map.ValueFromIndex(best) + rest;
}

QString ResolveLocation(const QString& location)
{
    const QString mapped = MapLocation(location);
    static const QRegularExpression drive(QStringLiteral("^\\s*[A-Za-z]:[\\\\/]"));
    if (drive.match(mapped).hasMatch())
        throw DatabaseError(QStringLiteral("Cannot open database \"%1\": no local folder for its drive in the"
                                           " [Path map] of %2").arg(location, FilePath()));
    return mapped;
}

}
