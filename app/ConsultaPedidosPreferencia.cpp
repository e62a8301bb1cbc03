#include "ConsultaPedidosPreferencia.h"

#include <QFile>
#include <QStandardPaths>
#include <QTextStream>

namespace ConsultaPedidos {

QString ArquivoPreferencias()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/pedidos/pedidos.conf");
}

bool ConsultaDoTexto(const QString& texto, Consulta* consulta)
{
    const QString t = texto.trimmed();
    if (t.compare(QLatin1String("documentada"), Qt::CaseInsensitive) == 0)
        *consulta = Consulta::Documentada;
    else if (t.compare(QLatin1String("acelerada"), Qt::CaseInsensitive) == 0)
        *consulta = Consulta::Acelerada;
    else
        return false;
    return true;
}

Consulta ConsultaPreferida()
{
    QFile arquivo(ArquivoPreferencias());
    if (!arquivo.open(QIODevice::ReadOnly | QIODevice::Text))
        return Consulta::Documentada;
    // Names are matched without regard to case; "#" and ";" start comments,
    // as in the alias file.
    QTextStream in(&arquivo);
    bool naSecao = false;
    Consulta escolha = Consulta::Documentada;
    while (!in.atEnd()) {
        const QString linha = in.readLine().trimmed();
        if (linha.isEmpty() || linha.startsWith(QLatin1Char('#')) || linha.startsWith(QLatin1Char(';')))
            continue;
        if (linha.startsWith(QLatin1Char('[')) && linha.endsWith(QLatin1Char(']'))) {
            naSecao = linha.mid(1, linha.size() - 2).trimmed().compare(QLatin1String("Listagem"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype igual = linha.indexOf(QLatin1Char('='));
        if (!naSecao || igual <= 0)
            continue;
        if (linha.left(igual).trimmed().compare(QLatin1String("Consulta"), Qt::CaseInsensitive) != 0)
            continue;
        Consulta c;
        escolha = ConsultaDoTexto(linha.mid(igual + 1), &c) ? c : Consulta::Documentada;
    }
    return escolha;
}

}
