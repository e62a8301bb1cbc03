#include "SqlDataSet.h"
#include "DatabaseError.h"
#include "FbConnection.h"

SqlDataSet::SqlDataSet(TComponent* owner) : TDataSet(owner)
{
    m_sql.SetOnChange([this] {
        Close();
        m_params.Rebuild(TParams::Parse(m_sql.Text()).occurrences);
    });
}

QVariantList SqlDataSet::ParamData() const
{
    QVariantList items;
    for (int i = 0; i < m_params.Count(); ++i) {
        const TParam* p = m_params.Items(i);
        items << QVariantMap{{QStringLiteral("Name"), p->Name()},
                             {QStringLiteral("DataType"), TField::TypeName(p->DataType())}};
    }
    return items;
}

void SqlDataSet::SetParamData(const QVariantList& items)
{
    for (const QVariant& item : items) {
        const QVariantMap properties = item.toMap();
        QString name;
        TFieldType type = TFieldType::ftUnknown;
        for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
            const QString key = it.key();
            if (key.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0) {
                name = it.value().toString();
            } else if (key.compare(QLatin1String("DataType"), Qt::CaseInsensitive) == 0) {
                bool ok = false;
                type = TField::TypeFromName(it.value().toString(), &ok);
                if (!ok)
                    throw DatabaseError(QStringLiteral("Invalid parameter data type %1").arg(it.value().toString()));
            } else if (key.compare(QLatin1String("ParamType"), Qt::CaseInsensitive) != 0) {
                throw DatabaseError(QStringLiteral("Parameter property %1 does not exist").arg(key));
            }
        }
        if (name.isEmpty())
            throw DatabaseError(QStringLiteral("Parameter without a name"));
        if (TParam* p = m_params.FindParam(name))
            p->SetDataType(type);
        else
            m_params.CreateParam(name, type);
    }
}

QVariant SqlDataSet::FieldValue(int index) const
{
    return m_cursor.Value(index);
}

void SqlDataSet::InternalOpen()
{
    const ParsedStatement parsed = TParams::Parse(m_sql.Text());
    QVariantList values;
    for (const QString& name : parsed.occurrences)
        values.append(m_params.ParamByName(name)->Value());
    FbConnection& connection = AcquireConnection();
    FbResult result = m_runner ? m_runner(connection, parsed.sql, values) : connection.Query(parsed.sql, values);
    for (const FbColumn& c : result.columns)
        AddFieldDef(c.name, c.type, c.size);
    // Each fetched row is let go as soon as it is held compactly, so the two
    // forms are never both held in full; a failure holds nothing.
    CompactRowStore rows(static_cast<int>(result.columns.size()));
    for (QVariantList& row : result.rows) {
        rows.AppendRow(row);
        row = QVariantList();
    }
    m_rows = std::move(rows);
    m_cursor.Reset();
}

void SqlDataSet::OpenWith(const Runner& runner)
{
    struct Restore {
        Runner& slot;
        ~Restore() { slot = nullptr; }
    } restore{m_runner};
    m_runner = runner;
    Open();
}

void SqlDataSet::InternalClose()
{
    m_rows.Reset(0);
    m_cursor.Reset();
}

bool SqlDataSet::InternalGoto(int record)
{
    return m_cursor.MoveTo(record);
}
