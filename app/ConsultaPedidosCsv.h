#pragma once
// The listing's rows as CSV (what pedidos-listagem prints), and the
// comparison of the rows two ways of listing gave.

#include "FbConnection.h"

#include <QString>
#include <QStringList>

namespace ConsultaPedidos {

// CODEMPRESA,TIPOPEDIDO,CODPEDIDO,CODCLIENTE,NOME,DATAPEDIDO,DATAFATURA,TOTALPEDIDO,PRAZO
QString CabecalhoCsv();
// One row without its line end: dates as yyyy-mm-dd, the total with three
// decimals and a point, nulls empty, texts quoted when they hold a comma, a
// quote or a line break (RFC 4180). UTF-8 is the caller's business.
QString LinhaCsv(const QVariantList& linha);

// The rows in which `a` and `b` differ, each as "< " (only in a) or "> "
// (only in b) followed by its CSV line. Rows must come by billing date,
// latest first; rows of one date may come in any order. A row out of that
// order is reported as such.
QStringList DiferencasEntre(const FbResult& a, const FbResult& b);

}
