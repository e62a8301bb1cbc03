#pragma once
// The listing's rows without the documented statement's cost. The statement
// reads the document and note tables in full for every order still in the
// running (its "not exists" tests compare a text made from the order with
// "like" inside an "or", which no index serves), so its time grows with
// orders times documents. Here every table is read a bounded number of times:
// the candidate orders through the plain conditions, then each document and
// note table once; the "not exists" tests are decided in memory with hash
// tables and one multi-pattern search over the observations. The rows are
// those of the documented statement, in its order.

#include "ConsultaPedidos.h"
#include "FbConnection.h"

namespace ConsultaPedidos {

// The documented statement, run on `db`.
FbResult ListagemDocumentada(FbConnection& db, const Filtro& filtro);

// The same rows read the fast way. Where a column the tests compare is of a
// kind this path does not reproduce exactly (a collation other than its
// character set's plain one, text compared with a number) or a read fails,
// it runs the documented statement instead and, when `motivo` is given, says
// why there. A cancel (QueryCancelled) is passed on, never retried.
FbResult ListagemAcelerada(FbConnection& db, const Filtro& filtro, QString* motivo = nullptr);

}
