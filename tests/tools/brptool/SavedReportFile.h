#pragma once
// Saved reports for the tool to read: pages recorded as the engine records
// them, written by the page store.

#include "TBRPageList.h"
#include "TMetafileCanvas.h"

#include <QString>
#include <memory>
#include <vector>

namespace brp {

// A recorded A4 page at 96 pixels per inch: a title, a rule and a few cells.
inline QByteArray listingPage(const QString& title)
{
    TMetafileCanvas canvas(794, 1123);
    TFont font;
    font.SetSize(16);
    canvas.SetFont(font);
    canvas.TextOut(60, 40, title);
    canvas.MoveTo(60, 80);
    canvas.LineTo(734, 80);
    font.SetSize(9);
    canvas.SetFont(font);
    for (int row = 0; row < 5; ++row)
        canvas.TextOut(60, 100 + row * 20, QStringLiteral("Pedido %1   12/03/2024   1.234,560").arg(row + 1));
    return canvas.Finish();
}

inline void writeSavedReport(const QString& file, const std::vector<QByteArray>& pages, bool compressed)
{
    TBRPageList list;
    list.SetCompressed(compressed);
    list.SetStore(std::make_unique<TBRStream>(100000));
    for (const auto& p : pages)
        list.AppendPage(p);
    list.WriteHeader();
    list.WriteToFile(file);
}

} // namespace brp
