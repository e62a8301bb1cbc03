#pragma once
// One listing-like page drawn on any canvas: a bold title, the page number, the
// period line, a rule and 45 lines of 8 text cells (the last right-aligned).
// Shared by the benchmarks that record, play and show such pages.

#include "TCanvas.h"

#include <QString>

namespace brp {

inline void DrawListingPage(TCanvas& c, int page)
{
    c.Font.Name = QStringLiteral("Arial");
    c.Font.SetSize(12);
    c.Font.Style = fsBold;
    c.SetBkMode(TRANSPARENT);
    c.SetTextAlign(TA_LEFT | TA_TOP);
    c.TextOut(38, 38, QStringLiteral("Listagem de Pedidos sem Contas a Receber"));
    c.Font.SetSize(8);
    c.Font.Style = 0;
    c.SetTextAlign(TA_RIGHT | TA_TOP);
    c.TextOut(756, 42, QStringLiteral("Página %1").arg(page));
    c.SetTextAlign(TA_LEFT | TA_TOP);
    c.TextOut(38, 64, QStringLiteral("Período: 01/03/2024 a 31/03/2024   Tipos: 51 - NF, 55 - PDV"));
    c.Pen.Width = 1;
    c.MoveTo(38, 82);
    c.LineTo(756, 82);

    static const int columns[8] = {38, 108, 178, 338, 418, 498, 578, 756};
    const int lineHeight = c.TextHeight(QStringLiteral("W")) + 5;
    for (int line = 0; line < 45; ++line) {
        const int y = 90 + line * lineHeight;
        const int n = page * 45 + line;
        const QString cells[8] = {
            QString::number(100000 + n), QStringLiteral("%1/03/2024").arg(1 + n % 28, 2, 10, QChar(u'0')),
            QStringLiteral("Cliente Comércio Ltda %1").arg(n % 97), QStringLiteral("%1").arg(51 + n % 6),
            QStringLiteral("30/60/90"), QStringLiteral("Venda à vista"), QStringLiteral("%1").arg(n % 13),
            QStringLiteral("%1,%2").arg(1000 + n * 37 % 9000).arg(n % 100, 2, 10, QChar(u'0'))};
        for (int k = 0; k < 8; ++k) {
            c.SetTextAlign(k == 7 ? (TA_RIGHT | TA_TOP) : (TA_LEFT | TA_TOP));
            c.TextOut(columns[k], y, cells[k]);
        }
    }
    c.RemoveClipRegion();
}

} // namespace brp
