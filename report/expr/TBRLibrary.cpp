#include "TBRLibrary.h"

void TBRLibrary::RegisterFunction(std::function<std::unique_ptr<TBREvElementFunction>()> elementClass,
                                  const QString& name, const QString& helpText, const QString& author,
                                  const QString& argumentCode)
{
    auto entry = std::make_unique<TBRLibraryEntry>();
    entry->HelpText = helpText;
    entry->ArgumentCode = argumentCode;
    entry->ElementClass = std::move(elementClass);
    entry->FunctionName = name.toUpper();
    entry->Author = author;
    EntryList.emplace_back(name, std::move(entry));
}

const TBRLibraryEntry* TBRLibrary::EntryAt(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return EntryList[static_cast<size_t>(index)].second.get();
}

const TBRLibraryEntry* TBRLibrary::Find(const QString& name) const
{
    for (const auto& [entryName, entry] : EntryList)
        if (entryName.compare(name, Qt::CaseInsensitive) == 0)
            return entry.get();
    return nullptr;
}

namespace brp {

QStringList FunctionCategories()
{
    return {QStringLiteral("All"), QStringLiteral("Date & time"), QStringLiteral("Math & trig"),
            QStringLiteral("Statistical"), QStringLiteral("Database"), QStringLiteral("Logical"),
            QStringLiteral("Information"), QStringLiteral("Other")};
}

} // namespace brp
