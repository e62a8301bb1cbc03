#pragma once
// A field of a data set: a named, typed column read at the data set's current
// record. Data sets supply raw values; every conversion lives here, so all data
// sets agree on how a value reads as text, number, Boolean or date.

#include <QDateTime>
#include <QString>
#include <QVariant>

class TDataSet;

enum class TFieldType {
    ftUnknown, ftString, ftMemo, ftBlob, ftInteger, ftSmallint, ftWord, ftFloat,
    ftCurrency, ftBCD, ftBoolean, ftDate, ftTime, ftDateTime
};

class TField {
public:
    TField(TDataSet* dataSet, QString name, TFieldType type, int index, int size = 0);

    TDataSet* DataSet() const { return m_dataSet; }
    const QString& FieldName() const { return m_name; }
    TFieldType DataType() const { return m_type; }
    int Index() const { return m_index; }
    int Size() const { return m_size; }

    // The raw value at the current record; an invalid/null QVariant is null.
    QVariant Value() const;
    bool IsNull() const;

    // Null reads as empty text, 0 and false.
    QString AsString() const;
    QString DisplayText() const;   // dates in the locale's short date format
    qint32 AsInteger() const;
    double AsFloat() const;
    bool AsBoolean() const;
    QDateTime AsDateTime() const;

    static bool IsStringType(TFieldType t) { return t == TFieldType::ftString || t == TFieldType::ftMemo; }
    static bool IsIntegerType(TFieldType t)
    {
        return t == TFieldType::ftInteger || t == TFieldType::ftSmallint || t == TFieldType::ftWord;
    }
    static bool IsFloatType(TFieldType t)
    {
        return t == TFieldType::ftFloat || t == TFieldType::ftCurrency || t == TFieldType::ftBCD;
    }
    static bool IsDateType(TFieldType t)
    {
        return t == TFieldType::ftDate || t == TFieldType::ftTime || t == TFieldType::ftDateTime;
    }
    // "ftString", ... as stored definitions name the types; ok is false for
    // a name that is none of them.
    static QString TypeName(TFieldType t);
    static TFieldType TypeFromName(const QString& name, bool* ok);

private:
    TDataSet* m_dataSet;
    QString m_name;
    TFieldType m_type;
    int m_index;
    int m_size;
};
