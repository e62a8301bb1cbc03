#pragma once
// A list of named expressions (names upper-cased, compared ignoring case). A
// report keeps PAGENUMBER, COLUMNNUMBER and REPORTTITLE in one; the global
// environment holds the program's start time, start date and name.

#include "TBREvaluator.h"

#include <QStringList>
#include <memory>
#include <vector>

class TBREvEmbeddedFunction;

class TBREvEnvironment {
public:
    TBREvEnvironment();
    ~TBREvEnvironment();
    TBREvEnvironment(const TBREvEnvironment&) = delete;
    TBREvEnvironment& operator=(const TBREvEnvironment&) = delete;

    // Adds a name (an existing name keeps its text). While compiled, a new
    // name is compiled at once.
    void Define(const QString& name, const QString& expressionText);
    void Undefine(const QString& name);
    void Clear();

    void CompileAll();
    void ReleaseAll();
    bool IsCompiled() const { return m_useCount > 0; }
    int UseCount() const { return m_useCount; }

    void UseDataSets(TBRDataSetList* list) { m_dataSets.Use(list); }
    TBRDataSetList* DataSetList() { return m_dataSets.List(); }

    // A new wrapper for a defined name, or an error element "Unknown function : NAME".
    std::unique_ptr<TBREvElement> ElementFor(const QString& name);
    // The name's current value; an error when it is not defined.
    void ValueOf(const QString& name, TBREvValue& value);
    TBREvValue ValueOf(const QString& name);
    // The first compiled element of a name (null when undefined or not compiled).
    TBREvElement* ConstantElement(const QString& name) const;
    void StoreInteger(TBREvElement* element, qint32 value);
    void StoreText(TBREvElement* element, const QString& text);
    void StoreValue(TBREvElement* element, const TBREvValue& value);

    // The streamed form: names and expression texts in the same order.
    int Count() const { return static_cast<int>(m_entries.size()); }
    QStringList Strings() const;
    QStringList Data() const;
    void SetDefinitions(const QStringList& names, const QStringList& texts);
    TBREvEmbeddedFunction* Find(const QString& name) const;

private:
    struct Entry {
        QString name;
        std::shared_ptr<TBREvEmbeddedFunction> function;
    };
    void CompileEntry(TBREvEmbeddedFunction& f);
    qsizetype IndexOf(const QString& name) const;

    std::vector<Entry> m_entries;
    int m_useCount = 0;
    DataSetListSlot m_dataSets;
};
