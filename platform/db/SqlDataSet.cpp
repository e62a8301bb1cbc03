#include "SqlDataSet.h"
#include "FbConnection.h"

SqlDataSet::SqlDataSet(TComponent* owner) : TDataSet(owner)
{
    m_sql.SetOnChange([this] {
        Close();
        m_params.Rebuild(TParams::Parse(m_sql.Text()).occurrences);
    });
}

QVariant SqlDataSet::FieldValue(int index) const
{
    if (m_current < 0 || m_current >= RecordCount())
        return QVariant();
    const QVariantList& row = m_rows[static_cast<size_t>(m_current)];
    return index >= 0 && index < row.size() ? row[index] : QVariant();
}

void SqlDataSet::InternalOpen()
{
    const ParsedStatement parsed = TParams::Parse(m_sql.Text());
    QVariantList values;
    for (const QString& name : parsed.occurrences)
        values.append(m_params.ParamByName(name)->Value());
    FbResult result = AcquireConnection().Query(parsed.sql, values);
    for (const FbColumn& c : result.columns)
        AddFieldDef(c.name, c.type, c.size);
    m_rows = std::move(result.rows);
    m_current = -1;
}

void SqlDataSet::InternalClose()
{
    m_rows.clear();
    m_current = -1;
}

bool SqlDataSet::InternalGoto(int record)
{
    if (record < 0 || record >= RecordCount())
        return false;
    m_current = record;
    return true;
}
