// The plain-text filter on the listing: a page per form feed, each order's
// fields at the columns of their places on the paper.
#include "ListingFixture.h"
#include "TBRTextExportFilter.h"

#include <QRegularExpression>

TEST_F(ListingTest, TextPagesAreSplitByFormFeeds)
{
    const QList<Pedido> rows = pedidos(130);
    TBRTextExportFilter filter(path(QStringLiteral("listagem.txt")));
    listing(rows).ExportThrough(&filter);
    ASSERT_TRUE(filter.Written());
    const QString text = QString::fromUtf8(readAll(filter.FileName()));
    const QStringList pages = text.split(u'\f');
    ASSERT_EQ(pages.size(), report->PageNumber());
    ASSERT_GE(pages.size(), 3);
    // Every page carries its header with its own number; all orders appear once.
    int orders = 0;
    for (qsizetype n = 0; n < pages.size(); ++n) {
        EXPECT_TRUE(pages[n].contains(QStringLiteral("Listagem de pedidos sem contas a receber"))) << "page " << n + 1;
        EXPECT_TRUE(pages[n].contains(QRegularExpression(QStringLiteral("Página:\\s+%1\\n").arg(n + 1))))
            << pages[n].left(600).toStdString();
        for (const Pedido& p : rows)
            orders += pages[n].contains(QStringLiteral(" %1 ").arg(p.pedido));
    }
    EXPECT_EQ(orders, rows.size());
    EXPECT_TRUE(pages.last().contains(QStringLiteral("Observação:")));
}

TEST_F(ListingTest, TextPutsEachFieldAtItsColumn)
{
    const QList<Pedido> rows = pedidos(3);
    TBRTextExportFilter filter(path(QStringLiteral("colunas.txt")));
    listing(rows).ExportThrough(&filter);
    ASSERT_TRUE(filter.Written());
    const QStringList lines = QString::fromUtf8(readAll(filter.FileName())).split(u'\n');
    const Pedido& p = rows[1];
    QString line;
    for (const QString& l : lines)
        if (l.contains(p.nome))
            line = l;
    ASSERT_FALSE(line.isEmpty());
    // The band starts at the left margin (100); the places are the listing's.
    auto column = [](long double left) { return TBRTextExportFilter::Column(100 + left); };
    EXPECT_EQ(line.indexOf(p.nome), column(486.83)) << line.toStdString();
    const QString pedido = QString::number(p.pedido);
    EXPECT_EQ(line.indexOf(pedido), (column(97.9) + column(97.9 + 193.15) - pedido.size()) / 2) << "centred in its box";
    EXPECT_EQ(line.indexOf(p.prazo), column(1304.4)) << line.toStdString();
    // The value is right-aligned: it ends where its box ends.
    const QString total = p.Texts().last();
    EXPECT_EQ(line.indexOf(total) + total.size(), column(1611.3 + 259.3)) << line.toStdString();
    EXPECT_TRUE(line.endsWith(total));
}
