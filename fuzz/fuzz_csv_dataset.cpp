// libFuzzer target for the CSV data set reader (the data `brptool run` and
// `brptool eval` read): any bytes either load, with every value readable
// afterwards (floats finite, dates from year 1), or give a message naming the
// file and line.
#include "CsvDataSet.h"
#include "TField.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One scratch file per process, removed when the fuzzer exits.
    static const struct Scratch {
        QString name = QDir::tempPath() + QStringLiteral("/fuzz_csv_dataset_%1.csv").arg(::getpid());
        ~Scratch() { QFile::remove(name); }
    } scratch;
    {
        QFile f(scratch.name);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    TMemDataSet ds;
    ds.SetName(QStringLiteral("QryRel"));
    const QString error = brp::LoadCsvDataSet(scratch.name, ds);
    if (!error.isEmpty()) {
        if (!error.startsWith(scratch.name))
            std::abort(); // every refusal names the file
        return 0;
    }
    if (!ds.Active())
        std::abort();
    for (ds.First(); !ds.Eof(); ds.Next()) {
        for (int i = 0; i < ds.FieldCount(); ++i) {
            const TField* f = ds.Fields(i);
            (void)f->DisplayText();
            if (!f->IsNull()) {
                (void)f->AsInteger();
                (void)f->AsFloat();
                (void)f->AsBoolean();
                // What no report can print is refused, never loaded.
                if (f->DataType() == TFieldType::ftFloat && !std::isfinite(f->AsFloat()))
                    std::abort();
                if (f->DataType() == TFieldType::ftDate && f->AsDateTime().date().year() < 1)
                    std::abort();
            }
        }
    }
    return 0;
}
