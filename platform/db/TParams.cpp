#include "TParams.h"
#include "DatabaseError.h"

TParam* TParams::Items(int index) const
{
    return index >= 0 && index < Count() ? m_items[static_cast<size_t>(index)].get() : nullptr;
}

TParam* TParams::FindParam(const QString& name) const
{
    for (const auto& p : m_items)
        if (p->Name().compare(name, Qt::CaseInsensitive) == 0)
            return p.get();
    return nullptr;
}

TParam* TParams::ParamByName(const QString& name) const
{
    if (auto* p = FindParam(name))
        return p;
    throw DatabaseError(QStringLiteral("Parameter '%1' not found").arg(name));
}

TParam* TParams::CreateParam(const QString& name, TFieldType type)
{
    m_items.push_back(std::make_unique<TParam>(name, type));
    return m_items.back().get();
}

void TParams::Rebuild(const QStringList& names)
{
    std::vector<std::unique_ptr<TParam>> old;
    old.swap(m_items);
    for (const QString& name : names) {
        if (FindParam(name))
            continue;
        std::unique_ptr<TParam> kept;
        for (auto& o : old)
            if (o && o->Name().compare(name, Qt::CaseInsensitive) == 0) {
                kept = std::move(o);
                break;
            }
        m_items.push_back(kept ? std::move(kept) : std::make_unique<TParam>(name));
    }
}

namespace {
bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}
}

ParsedStatement TParams::Parse(const QString& sql)
{
    ParsedStatement out;
    out.sql.reserve(sql.size());
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            out.sql += c;
            if (c == quote)
                quote = QChar();   // a doubled quote reopens at once: same effect
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            out.sql += c;
            continue;
        }
        // The engine ignores comments, so a colon there ("-- at 10:30") is no
        // marker: one would leave more values than the statement takes.
        const QChar next = i + 1 < sql.size() ? sql[i + 1] : QChar();
        if ((c == QLatin1Char('-') && next == QLatin1Char('-')) || (c == QLatin1Char('/') && next == QLatin1Char('*'))) {
            const bool line = c == QLatin1Char('-');
            qsizetype end = line ? sql.indexOf(QLatin1Char('\n'), i + 2) : sql.indexOf(QStringLiteral("*/"), i + 2);
            end = end < 0 ? sql.size() : (line ? end : end + 2);
            out.sql += QStringView(sql).mid(i, end - i);
            i = end - 1;
            continue;
        }
        if (c == QLatin1Char(':')) {
            if (i + 1 < sql.size() && sql[i + 1] == QLatin1Char(':')) {
                out.sql += QStringLiteral("::");
                ++i;
                continue;
            }
            qsizetype j = i + 1;
            while (j < sql.size() && isNameChar(sql[j]))
                ++j;
            if (j > i + 1) {
                out.occurrences.append(sql.mid(i + 1, j - i - 1));
                out.sql += QLatin1Char('?');
                i = j - 1;
                continue;
            }
        }
        out.sql += c;
    }
    return out;
}
