#pragma once
// What the tool's tests feed it: a listing definition over a CSV data set
// named QryRel, rows for it, and small files written and read back.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A page header with a title, a detail band with a name and a value.
inline const char* const kListing = R"(object Rel: TBandReport
  Units = MM
  Page.Values = (100.0 2970.0 100.0 2100.0 100.0 100.0 0.0)
  Page.PaperSize = A4
  DataSet = QryRel
  object Cab: TBRBand
    BandType = rbPageHeader
    Size.Values = (100.0 1900.0)
    object Titulo: TBRLabel
      Caption = 'Listagem'
      Size.Values = (50.0 0.0 0.0 500.0)
    end
  end
  object Det: TBRBand
    BandType = rbDetail
    Size.Values = (50.0 1900.0)
    object Nome: TBRDBText
      DataSet = QryRel
      DataField = 'NOME'
      Size.Values = (45.0 0.0 0.0 600.0)
    end
    object Valor: TBRDBText
      DataSet = QryRel
      DataField = 'VALOR'
      Mask = '0.00'
      Size.Values = (45.0 700.0 0.0 400.0)
    end
  end
end
)";

namespace brp {

// n rows "Cliente i" with the value i.5.
inline QByteArray csvRows(int n)
{
    QByteArray csv = "NOME,VALOR:float\n";
    for (int i = 1; i <= n; ++i)
        csv += "Cliente " + QByteArray::number(i) + "," + QByteArray::number(i) + ".5\n";
    return csv;
}

inline QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
    return path;
}

inline QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    return writeFile(dir.filePath(name), bytes);
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

} // namespace brp
