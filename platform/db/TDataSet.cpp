#include "TDataSet.h"
#include "DatabaseError.h"

TDataSet::TDataSet(TComponent* owner) : TComponent(owner) {}

TDataSet::~TDataSet() = default;

void TDataSet::Open()
{
    if (m_active)
        return;
    ClearFieldDefs();
    InternalOpen();
    m_active = true;
    First();
}

void TDataSet::Close()
{
    if (!m_active)
        return;
    InternalClose();
    m_active = false;
    m_eof = m_bof = true;
    m_recNo = -1;
}

bool TDataSet::IsEmpty() const
{
    return !m_active || RecordCount() == 0;
}

void TDataSet::First()
{
    if (!m_active)
        return;
    m_bof = true;
    if (InternalGoto(0)) {
        m_recNo = 0;
        m_eof = false;
    } else {
        m_recNo = -1;
        m_eof = true;
    }
}

void TDataSet::Next()
{
    if (!m_active || m_eof)
        return;
    if (InternalGoto(m_recNo + 1)) {
        ++m_recNo;
        m_bof = false;
    } else {
        m_eof = true;
    }
}

void TDataSet::Prior()
{
    if (!m_active)
        return;
    if (m_recNo > 0 && InternalGoto(m_recNo - 1)) {
        --m_recNo;
        m_eof = false;
        m_bof = false;
    } else {
        m_bof = true;
    }
}

TField* TDataSet::Fields(int index) const
{
    if (index < 0 || index >= FieldCount())
        return nullptr;
    return m_fields[static_cast<size_t>(index)].get();
}

int TDataSet::FieldIndex(const QString& name) const
{
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i]->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

TField* TDataSet::FindField(const QString& name) const
{
    return Fields(FieldIndex(name));
}

TField* TDataSet::FieldByName(const QString& name) const
{
    if (auto* f = FindField(name))
        return f;
    throw DatabaseError(QStringLiteral("%1: Field '%2' not found").arg(Name(), name));
}

void TDataSet::ClearFieldDefs()
{
    m_fields.clear();
}

TField* TDataSet::AddFieldDef(const QString& name, TFieldType type, int size)
{
    m_fields.push_back(std::make_unique<TField>(this, name, type, FieldCount(), size));
    return m_fields.back().get();
}
