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
    FbConnection& connection = AcquireConnection();
    FbResult result = m_runner ? m_runner(connection, parsed.sql, values) : connection.Query(parsed.sql, values);
    for (const FbColumn& c : result.columns)
        AddFieldDef(c.name, c.type, c.size);
    m_rows = std::move(result.rows);
    m_current = -1;
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
