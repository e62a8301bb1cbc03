#pragma once
// Compiles an expression text once into a flat prefix list of elements and
// evaluates that list as often as needed.

#include "DataSetListSlot.h"
#include "TBREvValue.h"
#include "TBRFiFo.h"

#include <QString>
#include <memory>
#include <optional>

class TBREvEnvironment;

class TBREvaluator {
public:
    TBREvaluator();
    virtual ~TBREvaluator();
    TBREvaluator(const TBREvaluator&) = delete;
    TBREvaluator& operator=(const TBREvaluator&) = delete;

    // The data sets field names resolve against (not owned); null: environments only.
    void UseDataSets(TBRDataSetList* list) { m_dataSets.Use(list); }
    // The current list; an empty, owned one is created when there is none.
    TBRDataSetList* DataSetList() { return m_dataSets.List(); }

    // The environment names are looked up in before the global one (not owned).
    TBREvEnvironment* Scope() const { return m_scope; }
    void SetScope(TBREvEnvironment* scope) { m_scope = scope; }

    void Compile(const QString& text);
    void Release();
    bool Compiled() const { return m_compiled; }
    TBRFiFo* Elements() const { return m_elements.get(); }

    // Throws ExpressionError("Evaluator not prepared") when not compiled.
    void CurrentValue(TBREvValue& value);
    TBREvValue CurrentValue();
    void Accumulate();
    void ResetAggregates();
    bool HasAggregate() const;
    void EvaluateOnce(const QString& text, TBREvValue& value);
    TBREvValue EvaluateOnce(const QString& text);

protected:
    virtual void CompileFunction(const QString& name, const std::optional<QString>& arguments);
    virtual void CompileName(const QString& name);

    void CompileExpression(const QString& text);
    void CompileSimple(QString text);
    void CompileTerm(QString text);
    void CompileFactor(const QString& text);
    void CompileNumber(const QString& text);
    void CompileCall(const QString& text);
    void CompileScopeName(const QString& name);
    void Append(std::unique_ptr<TBREvElement> element);
    void AppendError(const QString& message);

private:
    friend struct CompileDepth;
    void CompileLevel(QString text, bool additive);
    std::unique_ptr<TBRFiFo> m_elements;
    bool m_compiled = false;
    TBREvEnvironment* m_scope = nullptr;
    DataSetListSlot m_dataSets;
    int m_depth = 0;
};
