#pragma once
// Registered functions by name, in registration order. A name registered twice
// keeps both entries; the first one is found.

#include "TBRLibraryEntry.h"

#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

class TBRLibrary {
public:
    virtual ~TBRLibrary() = default;
    TBRLibrary() = default;
    TBRLibrary(const TBRLibrary&) = delete;
    TBRLibrary& operator=(const TBRLibrary&) = delete;

    template <typename Element>
    void RegisterFunction(const QString& name, const QString& helpText, const QString& author,
                          const QString& argumentCode)
    {
        RegisterFunction([] { return std::unique_ptr<TBREvElementFunction>(new Element); }, name, helpText,
                         author, argumentCode);
    }
    void RegisterFunction(std::function<std::unique_ptr<TBREvElementFunction>()> elementClass,
                          const QString& name, const QString& helpText, const QString& author,
                          const QString& argumentCode);

    int Count() const { return static_cast<int>(EntryList.size()); }
    // The entry at a position; null beyond the list.
    const TBRLibraryEntry* EntryAt(int index) const;
    // The first entry registered under a name, ignoring letter case; null when none.
    const TBRLibraryEntry* Find(const QString& name) const;

    std::vector<std::pair<QString, std::unique_ptr<TBRLibraryEntry>>> EntryList;
};

namespace brp {

// The categories the first digit of an argument code indexes.
QStringList FunctionCategories();

} // namespace brp
