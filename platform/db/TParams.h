#pragma once
// The named parameters of a statement, one entry per distinct name (matched
// without regard to case), in order of first occurrence.

#include "TParam.h"

#include <QStringList>
#include <memory>
#include <vector>

// A statement with its ":Name" markers replaced by positional "?" markers, and
// the name behind each marker in order. A name may occur several times.
struct ParsedStatement {
    QString sql;
    QStringList occurrences;
};

class TParams {
public:
    int Count() const { return static_cast<int>(m_items.size()); }
    TParam* Items(int index) const;
    TParam* FindParam(const QString& name) const;   // null when absent
    TParam* ParamByName(const QString& name) const; // throws when absent
    TParam* CreateParam(const QString& name, TFieldType type = TFieldType::ftUnknown);
    void Clear() { m_items.clear(); }

    // Rebuild the list from the names a statement uses, keeping the type and
    // value of every name that was already there.
    void Rebuild(const QStringList& names);

    // Finds ":Name" markers: a colon followed by a letter, digit, "_" or "$"
    // run. Colons inside quoted text ('...' or "...") and "::" are left alone.
    static ParsedStatement Parse(const QString& sql);

private:
    std::vector<std::unique_ptr<TParam>> m_items;
};
