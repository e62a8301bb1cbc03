#pragma once
// Date entry routines: completion of partially typed dates, the padding
// helpers it uses, the conditional choice, and the check of a period typed
// into two date fields.

#include <QString>

class TMaskEdit;

// Completes a dd/mm/yyyy field text: missing month and year from today,
// short years with a century. Fails with EConvertError when the year
// positions hold something other than digits and blanks.
QString FormatarData(const QString& texto);

// Trimmed, cut to its last n characters, zero-padded on the left to n.
QString ZerosEsquerda(const QString& texto, int n);
// Last n characters, blank-padded on the left to n.
QString Direita(const QString& texto, int n);
// n blanks (none for n <= 0).
QString Espacos(int n);

template <class T>
T IIF(bool condicao, const T& seVerdadeiro, const T& seFalso)
{
    return condicao ? seVerdadeiro : seFalso;
}

inline QString IIF(bool condicao, const char16_t* seVerdadeiro, const char16_t* seFalso)
{
    return QString::fromUtf16(condicao ? seVerdadeiro : seFalso);
}

// Completes both fields and checks the period from the side of one of them
// ("Ini" or "Fim"); on a problem tells the operator, clears and focuses the
// field concerned and returns false.
bool ValidarPeriodo(TMaskEdit& dataIni, TMaskEdit& dataFim, const QString& rotuloIni, const QString& rotuloFim,
                    const QString& lado);
