#pragma once
// The pending-orders statement and its period, apart from the window so that
// both can be checked on their own.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

class StatementText;
class TParams;

namespace ConsultaPedidos {

// The first half of the union, stored as one line.
QString PrimeiraMetade();
// " Union" and the second half, as fifty pieces of 99 characters in one line.
QString ParteUniao();
// The pieces behind the two texts above, unpadded.
QStringList PecasPrimeiraMetade();
QStringList PecasUniao();

// Rebuilds the whole statement of the listing: both halves, the type
// condition at the end of each when `tiposPedido` is not empty, and the sort.
void MontarInstrucao(StatementText& sql, const QString& tiposPedido);

// The listing never looks before this day, whatever the start field says.
QDate DataMinima();

// Sets DataInicial (the later of the start text and 01/01/2013) and DataFinal
// from dd/mm/yyyy texts; raises EConvertError for a text that is no date.
void DefinirPeriodo(TParams& params, const QString& dataIni, const QString& dataFim);

// The platform's day/month/year conversion (raises EConvertError).
QDate TextoParaData(const QString& text);

// What the listing asks for: the period as the statement's parameters get
// it, and the order-type list (empty, or codes separated by commas).
struct Filtro {
    QDate inicial;
    QDate final;
    QString tipos;
};

// The filter of two dd/mm/yyyy texts and a type list, by the rules of
// DefinirPeriodo (raises EConvertError).
Filtro FiltroDosTextos(const QString& dataIni, const QString& dataFim, const QString& tiposPedido);

// The whole statement as sent to the database ("?" markers) and the value
// of each marker in order.
QString InstrucaoComMarcadores(const Filtro& filtro, QVariantList* valores);

}
