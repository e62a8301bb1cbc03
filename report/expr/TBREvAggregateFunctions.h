#pragma once
// Aggregates: they take a value only while their list is accumulating and
// otherwise report the state gathered so far.

#include "TBREvElementFunction.h"

class TBREvSumFunction : public TBREvElementFunction {
public:
    TBREvSumFunction() { AggregateFlag = true; }
    void AddCurrent() override;
    void ComputeResult(TBREvValue& value) override;
    void Restart() override { HasFirst = false; }

    TBREvValue Running;
    bool HasFirst = false;
};

class TBREvAverageFunction : public TBREvSumFunction {
public:
    TBREvAverageFunction() { AverageValue.SetFloat(0.0); }
    void AddCurrent() override;
    void ComputeResult(TBREvValue& value) override { value = AverageValue; }
    void Restart() override;

    TBREvValue AverageValue;
    qint32 ItemCount = 0;
};

// MAX and MIN share the step; Greater decides which one keeps the new value.
class TBREvExtremeFunction : public TBREvElementFunction {
public:
    TBREvExtremeFunction() { AggregateFlag = true; }
    void AddCurrent() override;
    void ComputeResult(TBREvValue& value) override;
    void Restart() override { HasFirst = false; }

    TBREvValue Running;
    bool HasFirst = false;

protected:
    virtual bool KeepsGreater() const = 0;
};

class TBREvMaxFunction : public TBREvExtremeFunction {
protected:
    bool KeepsGreater() const override { return true; }
};

class TBREvMinFunction : public TBREvExtremeFunction {
protected:
    bool KeepsGreater() const override { return false; }
};

class TBREvCountFunction : public TBREvElementFunction {
public:
    TBREvCountFunction() { AggregateFlag = true; }
    void Compute(TBRFiFo& list, TBREvValue& value) override;
    void Restart() override { ItemCount = 0; }

    qint32 ItemCount = 0;
};
