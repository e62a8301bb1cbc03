#pragma once
// Which way the listing gets its rows, chosen in the program's settings file
// $XDG_CONFIG_HOME/pedidos/pedidos.conf (~/.config/pedidos/pedidos.conf):
//
//   [Listagem]
//   Consulta=acelerada
//
// Without the file, the line or with any other value: the documented
// statement, the one a database administrator sees.

#include <QString>

namespace ConsultaPedidos {

enum class Consulta { Documentada, Acelerada };

QString ArquivoPreferencias();
// Read anew at every call, so a change counts from the next listing.
Consulta ConsultaPreferida();
// "documentada" / "acelerada" (any letter case); false for another text.
bool ConsultaDoTexto(const QString& texto, Consulta* consulta);

}
