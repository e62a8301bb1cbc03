// Statement texts and parameter lists from arbitrary bytes: marker parsing
// never loses track of quoting (a parsed statement holds no further markers),
// and text round-trips through the line list.
#include "ParameterList.h"
#include "StatementText.h"
#include "TParams.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const ParsedStatement parsed = TParams::Parse(text);
    if (!TParams::Parse(parsed.sql).occurrences.isEmpty())
        std::abort();
    TParams params;
    params.Rebuild(parsed.occurrences);
    for (const QString& name : parsed.occurrences)
        if (!params.FindParam(name))
            std::abort();

    StatementText sql;
    sql.SetText(text);
    StatementText again;
    again.SetText(sql.Text());
    if (again.Lines() != sql.Lines())
        std::abort();

    ParameterList list;
    list.SetLines(sql.Lines());
    for (int i = 0; i < list.Count(); ++i) {
        const QString name = list.Name(i);
        if (name.contains(QLatin1Char('=')))
            std::abort();
        list.SetValue(name, QStringLiteral("x"));
        if (list.Value(name) != QStringLiteral("x"))
            std::abort();
    }
    return 0;
}
