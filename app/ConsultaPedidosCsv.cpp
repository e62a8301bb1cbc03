#include "ConsultaPedidosCsv.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <utility>

namespace ConsultaPedidos {

namespace {

constexpr int kTotal = 7;
constexpr int kDataFatura = 6;

QString texto(const QVariant& v, int coluna)
{
    if (!v.isValid() || v.isNull())
        return QString();
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime: {
        const QDateTime d = v.toDateTime();
        return d.time() == QTime(0, 0) ? d.date().toString(QStringLiteral("yyyy-MM-dd"))
                                       : d.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    }
    case QMetaType::Double: {
        const double d = v.toDouble();
        if (coluna == kTotal)
            return QString::number(d, 'f', 3);
        if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 1e15)
            return QString::number(static_cast<qint64>(d));
        return QString::number(d, 'g', 15);
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
        return coluna == kTotal ? QString::number(v.toDouble(), 'f', 3) : QString::number(v.toLongLong());
    default:
        return v.toString();
    }
}

QString campo(const QString& t)
{
    if (!t.contains(QLatin1Char(',')) && !t.contains(QLatin1Char('"')) && !t.contains(QLatin1Char('\n')) &&
        !t.contains(QLatin1Char('\r')))
        return t;
    QString q = t;
    q.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

// (billing date, CSV line) of every row; `ordemErrada` gets the lines that
// come before a later date.
std::vector<std::pair<QString, QString>> linhas(const FbResult& r, QStringList* ordemErrada)
{
    std::vector<std::pair<QString, QString>> out;
    out.reserve(r.rows.size());
    for (const QVariantList& l : r.rows) {
        const QString data = l.size() > kDataFatura ? texto(l[kDataFatura], kDataFatura) : QString();
        const QString csv = LinhaCsv(l);
        if (!out.empty() && data > out.back().first)
            ordemErrada->append(csv);
        out.emplace_back(data, csv);
    }
    std::sort(out.begin(), out.end(), [](const auto& x, const auto& y) {
        return x.first != y.first ? x.first > y.first : x.second < y.second;
    });
    return out;
}

}

QString CabecalhoCsv()
{
    return QStringLiteral("CODEMPRESA,TIPOPEDIDO,CODPEDIDO,CODCLIENTE,NOME,DATAPEDIDO,DATAFATURA,TOTALPEDIDO,PRAZO");
}

QString LinhaCsv(const QVariantList& linha)
{
    QStringList campos;
    for (int i = 0; i < linha.size(); ++i)
        campos << campo(texto(linha[i], i));
    return campos.join(QLatin1Char(','));
}

QStringList DiferencasEntre(const FbResult& a, const FbResult& b)
{
    QStringList foraDeOrdemA, foraDeOrdemB;
    const auto la = linhas(a, &foraDeOrdemA);
    const auto lb = linhas(b, &foraDeOrdemB);
    QStringList out;
    for (const QString& l : foraDeOrdemA)
        out << QStringLiteral("< out of order: ") + l;
    for (const QString& l : foraDeOrdemB)
        out << QStringLiteral("> out of order: ") + l;
    const auto menor = [](const auto& x, const auto& y) {
        return x.first != y.first ? x.first > y.first : x.second < y.second;
    };
    size_t i = 0, j = 0;
    while (i < la.size() || j < lb.size()) {
        if (j == lb.size() || (i < la.size() && menor(la[i], lb[j]))) {
            out << QStringLiteral("< ") + la[i++].second;
        } else if (i == la.size() || menor(lb[j], la[i])) {
            out << QStringLiteral("> ") + lb[j++].second;
        } else {
            ++i;
            ++j;
        }
    }
    return out;
}

}
