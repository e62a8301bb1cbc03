// Start-up connection, the listing query and the report hand-over.
#include "UPrincipal.h"

void TFPrincipal::FormCreate() {}

void TFPrincipal::ConectarBanco() {}

void TFPrincipal::BuscarPedidos() {}

void TFPrincipal::MostrarRelatorio() {}

bool TFPrincipal::ConsultaVazia()
{
    return true;
}

void TFPrincipal::FecharConsulta() {}
