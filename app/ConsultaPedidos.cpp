#include "ConsultaPedidos.h"

#include "Convert.h"
#include "StatementText.h"
#include "TParams.h"

namespace ConsultaPedidos {

namespace {

constexpr int kPeca = 99;

// The select list, joins and conditions shared by both halves, up to the
// billing condition.
QStringList inicio()
{
    return {
        QStringLiteral("Select Pedidoc.CodEmpresa,"),
        QStringLiteral("       Pedidoc.tipopedido,"),
        QStringLiteral("       Pedidoc.CodPedido,"),
        QStringLiteral("       Pedidoc.CodCliente,"),
        QStringLiteral("       Cliente.nome,"),
        QStringLiteral("       Pedidoc.datapedido,"),
        QStringLiteral("       Pedidoc.datafatura,"),
        QStringLiteral("       pedidoc.totalpedido,"),
        QStringLiteral("       (Select CondPag.descricao From CondPag Where CondPag.CodPrazo = Pedidoc.CodPrazo) As Prazo"),
        QStringLiteral("From Pedidoc"),
        QStringLiteral("Inner Join CdOperc On Pedidoc.CodOper = CdOperc.CodOper"),
        QStringLiteral("Inner Join Cliente On Pedidoc.codcliente = Cliente.CodCliente"),
        QStringLiteral("Where Pedidoc.CodPrazo <> \"000\""),
    };
}

// Everything after the billing condition. `agrupados` and `nfSaidc` are the
// two identifiers each half spells in its own letter case.
QStringList fim(const QString& agrupados, const QString& nfSaidc)
{
    return {
        QStringLiteral("  And Pedidoc.datafatura between :DataInicial And :DataFinal"),
        QStringLiteral("  And Pedidoc.totalpedido > 0"),
        QStringLiteral("  And CdOperc.gerarec = \"S\""),
        QStringLiteral("  And Not Exists (Select Docurec.CodDocto From Docurec"),
        QStringLiteral("                  Where NumDocOrig = Pedidoc.TipoPedido || Pedidoc.CodPedido"),
        QStringLiteral("                  or (DOCUREC.OBSERVACAO LIKE \"%\" || Pedidoc.TipoPedido"),
        QStringLiteral("                    || Pedidoc.CodPedido || \"%\")"),
        QStringLiteral("                    And Docurec.CodEmpresa = Pedidoc.CodEmpresa)"),
        QStringLiteral("  And Not Exists (Select docagrupados.CodDocto From docagrupados"),
        QStringLiteral("                  Where DocAgrupados.numdocorig = Pedidoc.TipoPedido || Pedidoc.CodPedido"),
        QStringLiteral("                  or (%1.OBSERVACAO LIKE \"%\" || Pedidoc.TipoPedido").arg(agrupados),
        QStringLiteral("                    || Pedidoc.CodPedido || \"%\")"),
        QStringLiteral("                    And docagrupados.codempresa = Pedidoc.CodEmpresa)"),
        QStringLiteral("  And Not Exists (Select docurecfatura.CodDocto From docurecfatura"),
        QStringLiteral("                  Where docurecfatura.numdocorig = Pedidoc.TipoPedido || Pedidoc.CodPedido"),
        QStringLiteral("                  or (docurecfatura.OBSERVACAO LIKE \"%\" || Pedidoc.TipoPedido"),
        QStringLiteral("                    || Pedidoc.CodPedido || \"%\")"),
        QStringLiteral("                    And docurecfatura.codempresa = Pedidoc.CodEmpresa)"),
        QStringLiteral("  And Not Exists (Select NfEPedi.CodPedido From nfepedi"),
        QStringLiteral("                  Inner Join NfSaidc On NfEpedi.codempresa = NFSaidc.codempresa"),
        QStringLiteral("                                    And NfEPedi.numnf = NfSaidc.numnf"),
        QStringLiteral("                                    And NfEPedi.serie = NfSaidc.serie"),
        QStringLiteral("                  Where NfEPedi.codpedido = Pedidoc.codpedido"),
        QStringLiteral("                    And NfEPedi.tipopedido = Pedidoc.tipopedido"),
        QStringLiteral("                  or (%1.OBSERVACAO LIKE \"%\" || Pedidoc.TipoPedido").arg(nfSaidc),
        QStringLiteral("                    || Pedidoc.CodPedido || \"%\")"),
        QStringLiteral("                    And NfSaidc.cancelado <> \"S\")"),
        QStringLiteral("  And Not Exists (Select NFS.numnf From NfSaidc NFS"),
        QStringLiteral("                  Where NFS.codempresa = Pedidoc.codempresa"),
        QStringLiteral("                    And NFS.CodPedido = Pedidoc.CodPedido"),
        QStringLiteral("                    And NFS.TipoPedido = pedidoc.TipoPedido"),
        QStringLiteral("                  or (NFS.OBSERVACAO LIKE \"%\" || Pedidoc.TipoPedido"),
        QStringLiteral("                    || Pedidoc.CodPedido || \"%\")"),
        // The last piece of the first half is stored without padding.
        QStringLiteral("                           And NfS.cancelado <> \"S\")"),
    };
}

QString juntar(const QStringList& pecas, bool preencherUltima)
{
    QString out;
    out.reserve(pecas.size() * kPeca);
    for (qsizetype i = 0; i < pecas.size(); ++i)
        out += (i + 1 < pecas.size() || preencherUltima) ? pecas[i].leftJustified(kPeca, QLatin1Char(' ')) : pecas[i];
    return out;
}

} // namespace

QStringList PecasPrimeiraMetade()
{
    return inicio() + QStringList{QStringLiteral("  And Pedidoc.faturado = \"S\"")}
        + fim(QStringLiteral("docagrupados"), QStringLiteral("NFSaidc"));
}

QStringList PecasUniao()
{
    return QStringList{QStringLiteral(" Union")} + inicio()
        + QStringList{QStringLiteral("  And Pedidoc.faturado = \"N\""), QStringLiteral("  And Pedidoc.statuspedido = \"09\"")}
        + fim(QStringLiteral("DocAgrupados"), QStringLiteral("NfSaidc"));
}

QString PrimeiraMetade()
{
    static const QString texto = juntar(PecasPrimeiraMetade(), false);
    return texto;
}

QString ParteUniao()
{
    static const QString texto = juntar(PecasUniao(), true);
    return texto;
}

void MontarInstrucao(StatementText& sql, const QString& tiposPedido)
{
    sql.Clear();
    sql.Add(PrimeiraMetade());
    if (!tiposPedido.isEmpty())
        sql.Add(QStringLiteral(" And Pedidoc.TipoPedido In(") + tiposPedido + QStringLiteral(")"));
    sql.SetText(sql.Text() + ParteUniao());
    if (!tiposPedido.isEmpty())
        sql.Add(QStringLiteral(" And Pedidoc.TipoPedido In(") + tiposPedido + QStringLiteral(") "));
    sql.Add(QStringLiteral("  Order By 7 Desc  "));
}

QDate DataMinima()
{
    return QDate(2013, 1, 1);
}

QDate TextoParaData(const QString& text)
{
    return brp::StrToDate(text);
}

void DefinirPeriodo(TParams& params, const QString& dataIni, const QString& dataFim)
{
    const QDate inicio = TextoParaData(dataIni);
    const QDate minima = DataMinima();
    params.ParamByName(QStringLiteral("DataInicial"))->SetAsDate(minima > inicio ? minima : inicio);
    params.ParamByName(QStringLiteral("DataFinal"))->SetAsDate(TextoParaData(dataFim));
}

Filtro FiltroDosTextos(const QString& dataIni, const QString& dataFim, const QString& tiposPedido)
{
    const QDate inicio = TextoParaData(dataIni);
    return {DataMinima() > inicio ? DataMinima() : inicio, TextoParaData(dataFim), tiposPedido};
}

QString InstrucaoComMarcadores(const Filtro& filtro, QVariantList* valores)
{
    StatementText sql;
    MontarInstrucao(sql, filtro.tipos);
    const ParsedStatement parsed = TParams::Parse(sql.Text());
    if (valores) {
        valores->clear();
        for (const QString& nome : parsed.occurrences)
            valores->append(nome.compare(QLatin1String("DataInicial"), Qt::CaseInsensitive) == 0 ? filtro.inicial
                                                                                                  : filtro.final);
    }
    return parsed.sql;
}

}
