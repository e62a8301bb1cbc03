#pragma once
// A named parameter of a query: a data type and a value (null until set).

#include "TField.h"

#include <QDate>
#include <QVariant>

class TParam {
public:
    explicit TParam(QString name, TFieldType type = TFieldType::ftUnknown)
        : m_name(std::move(name)), m_type(type) {}

    const QString& Name() const { return m_name; }
    TFieldType DataType() const { return m_type; }
    void SetDataType(TFieldType type) { m_type = type; }

    const QVariant& Value() const { return m_value; }
    bool IsNull() const { return !m_value.isValid() || m_value.isNull(); }
    void Clear() { m_value = QVariant(); }

    // Typed assignment sets the data type along with the value.
    void SetAsString(const QString& v) { m_type = TFieldType::ftString; m_value = v; }
    void SetAsInteger(qint32 v) { m_type = TFieldType::ftInteger; m_value = v; }
    void SetAsFloat(double v) { m_type = TFieldType::ftFloat; m_value = v; }
    void SetAsBoolean(bool v) { m_type = TFieldType::ftBoolean; m_value = v; }
    void SetAsDate(const QDate& v) { m_type = TFieldType::ftDate; m_value = v; }
    void SetAsDateTime(const QDateTime& v) { m_type = TFieldType::ftDateTime; m_value = v; }

    QString AsString() const { return IsNull() ? QString() : m_value.toString(); }
    QDate AsDate() const { return IsNull() ? QDate() : m_value.toDate(); }

private:
    QString m_name;
    TFieldType m_type;
    QVariant m_value;
};
