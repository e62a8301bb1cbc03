#include "UFuncoes.h"

#include "Clock.h"
#include "Convert.h"
#include "EConvertError.h"
#include "MessageService.h"
#include "TMaskEdit.h"
#include "TabPages.h"

namespace {

const QString kDataVazia = QStringLiteral("  /  /    ");

// Blanks and control characters off both ends.
QString Trim(const QString& s)
{
    int start = 0;
    int end = s.size();
    while (start < end && s[start].unicode() <= u' ')
        ++start;
    while (end > start && s[end - 1].unicode() <= u' ')
        --end;
    return s.mid(start, end - start);
}

// Up to n characters from 1-based position p.
QString Copy(const QString& s, int p, int n)
{
    if (p < 1 || p > s.size() || n <= 0)
        return QString();
    return s.mid(p - 1, n);
}

QChar AsciiUpper(QChar c)
{
    return (c >= u'a' && c <= u'z') ? QChar(c.unicode() - 32) : c;
}

QChar AsciiLower(QChar c)
{
    return (c >= u'A' && c <= u'Z') ? QChar(c.unicode() + 32) : c;
}

QString LowerCase(const QString& s)
{
    QString out = s;
    for (auto& c : out)
        c = AsciiLower(c);
    return out;
}

QString Capitalizado(const QString& s)
{
    QString out = LowerCase(s);
    if (!out.isEmpty())
        out[0] = AsciiUpper(out[0]);
    return out;
}

void Alerta(const QString& texto)
{
    MessageService::Instance().Show(QStringLiteral("Alerta"), texto, QMessageBox::Warning, QMessageBox::Ok);
}

void Recusar(TMaskEdit& campo, const QString& texto, bool limpar)
{
    Alerta(texto);
    if (limpar)
        campo.Clear();
    brp::BringTabPageForward(&campo);
    campo.setFocus();
}

bool Habilitado(const TMaskEdit& campo)
{
    return !campo.testAttribute(Qt::WA_ForceDisabled);
}

} // namespace

QString Espacos(int n)
{
    QString out;
    for (int i = 0; i < n; ++i)
        out += u' ';
    return out;
}

QString Direita(const QString& texto, int n)
{
    QString out;
    for (int i = texto.size() - 1; i >= 0 && out.size() < n; --i)
        out.prepend(texto[i]);
    return Espacos(n - static_cast<int>(out.size())) + out;
}

QString ZerosEsquerda(const QString& texto, int n)
{
    QString t = Trim(texto);
    if (n < t.size())
        t = Direita(t, n);
    while (t.size() < n)
        t.prepend(u'0');
    return t;
}

QString FormatarData(const QString& texto)
{
    QString s = texto;
    const QDate hoje = Clock::Today();
    const QString anoAtual = QString::number(hoje.year());
    const QString mesAtual = QString::number(hoje.month());

    const QString a = Copy(Trim(s), 7, 4);
    if (Trim(a).isEmpty()) {
        if (Trim(Copy(s, 1, 2)).isEmpty())
            return texto;
        if (!Trim(Copy(s, 4, 2)).isEmpty())
            s = ZerosEsquerda(Copy(s, 1, 2), 2) + u'/' + ZerosEsquerda(Copy(s, 4, 2), 2) + u'/' + anoAtual;
        else // only the day: a one-digit day may already be followed by its '/'
            s = ZerosEsquerda(Copy(s, 1, Copy(s, 2, 1) == QStringLiteral("/") ? 1 : 2), 2) + u'/' +
                ZerosEsquerda(mesAtual, 2) + u'/' + ZerosEsquerda(anoAtual, 4);
    }

    if (a.size() == 3)
        s = Copy(s, 1, 6) + anoAtual.left(1) + Copy(s, 7, 3);

    // Two typed year digits may sit at 7-8 or, right-aligned, at 9-10.
    int p = 0;
    if (!Trim(Copy(s, 7, 2)).isEmpty())
        p = brp::StrToInt(Trim(Copy(s, 7, 2)));
    if (p == 0 && !Trim(Copy(s, 9, 2)).isEmpty())
        p = brp::StrToInt(Trim(Copy(s, 9, 2)));

    QString semBrancos = s;
    semBrancos.remove(u' ');
    s = Copy(s, 1, 6) + Copy(semBrancos, 7, 4);

    const QString y = Trim(Copy(s, 9, 2));
    if (!y.isEmpty()) {
        if (y.size() == 1)
            Alerta(QStringLiteral("Atenção data suspeita:") + u'\r' + s);
        return s;
    }
    if (Trim(Copy(s, 7, 2)).isEmpty())
        return s;
    if (1900 + p < 1970)
        return Copy(s, 1, 6) + QStringLiteral("20") + ZerosEsquerda(Copy(s, 7, 2), 2);
    return Copy(s, 1, 6) + QStringLiteral("19") + ZerosEsquerda(Copy(s, 7, 2), 2);
}

bool ValidarPeriodo(TMaskEdit& dataIni, TMaskEdit& dataFim, const QString& rotuloIni, const QString& rotuloFim,
                    const QString& lado)
{
    if (!Habilitado(dataIni) || !Habilitado(dataFim))
        return true;

    // A field whose text is no date: blank is asked for, anything else is
    // cleared.
    const auto recusarData = [](TMaskEdit& campo, const QString& rotulo) {
        if (campo.Text() == kDataVazia)
            Recusar(campo, Capitalizado(rotulo) + QStringLiteral(" não pode ficar em branco."), false);
        else
            Recusar(campo, Capitalizado(rotulo) + QStringLiteral(" inválida."), true);
    };

    QDate ini;
    try {
        dataIni.SetText(FormatarData(dataIni.Text()));
        dataFim.SetText(FormatarData(dataFim.Text()));
        ini = brp::StrToDate(dataIni.Text());
    } catch (const EConvertError&) {
        if (lado != QStringLiteral("Ini"))
            return true;
        recusarData(dataIni, rotuloIni);
        return false;
    }

    QDate fim;
    try {
        fim = brp::StrToDate(dataFim.Text());
    } catch (const EConvertError&) {
        if (lado != QStringLiteral("Fim"))
            return true;
        recusarData(dataFim, rotuloFim);
        return false;
    }

    if (fim < ini && lado == QStringLiteral("Ini")) {
        Recusar(dataIni, Capitalizado(rotuloIni) + LowerCase(QStringLiteral(" não pode ser maior que ") + rotuloFim)
                    + u'.', true);
        return false;
    }
    if (fim < ini && lado == QStringLiteral("Fim")) {
        Recusar(dataFim, Capitalizado(rotuloFim) + LowerCase(QStringLiteral(" não pode ser menor que ") + rotuloIni)
                    + u'.', true);
        return false;
    }
    return true;
}
