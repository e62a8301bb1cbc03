#pragma once
// Where an evaluator or an environment keeps its data-set list: one handed in
// by the caller (not owned), or an empty one made on first request and owned.

#include <QList>
#include <memory>

class TDataSet;

using TBRDataSetList = QList<TDataSet*>;

class DataSetListSlot {
public:
    // Null leaves no list; a list of one's own is freed when replaced.
    void Use(TBRDataSetList* list)
    {
        if (list != m_own.get())
            m_own.reset();
        m_list = list;
    }
    TBRDataSetList* List()
    {
        if (!m_list) {
            m_own = std::make_unique<TBRDataSetList>();
            m_list = m_own.get();
        }
        return m_list;
    }
    TBRDataSetList* Current() const { return m_list; }

private:
    TBRDataSetList* m_list = nullptr;
    std::unique_ptr<TBRDataSetList> m_own;
};
