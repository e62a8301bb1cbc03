// libFuzzer target: any expression text must compile and evaluate (plainly,
// accumulating and after a reset) without crashing, hanging or reading out of
// bounds. The input is also tried as a numeric and as a date mask.
#include "BRExpr.h"
#include "TMemDataSet.h"

#include <cstddef>
#include <cstdint>

namespace {

struct Fixture {
    TMemDataSet rel, aux;
    TBRDataSetList list;
    TBREvEnvironment report;

    Fixture()
    {
        brp::SetExpressionLocale(QLocale(QStringLiteral("pt_BR")));
        brp::StartExpressionEngine(QStringLiteral("fuzz"));
        rel.SetName(QStringLiteral("QryRel"));
        rel.DefineField(QStringLiteral("NUMERO"), TFieldType::ftInteger);
        rel.DefineField(QStringLiteral("TOTALPEDIDO"), TFieldType::ftFloat);
        rel.DefineField(QStringLiteral("CLIENTE"), TFieldType::ftString);
        rel.DefineField(QStringLiteral("DATA PEDIDO"), TFieldType::ftDate);
        rel.DefineField(QStringLiteral("ATIVO"), TFieldType::ftBoolean);
        rel.DefineField(QStringLiteral("OBS"), TFieldType::ftMemo);
        rel.AppendRecord({7, 10.25, QStringLiteral("Ana"), QDate(2005, 2, 1), true, QStringLiteral("m")});
        rel.AppendRecord({QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()});
        rel.Open();
        aux.SetName(QStringLiteral("QryAux"));
        aux.DefineField(QStringLiteral("X-Y"), TFieldType::ftInteger);
        aux.AppendRecord({-2147483647 - 1});
        aux.Open();
        list = {&rel, &aux};
        report.UseDataSets(&list);
        report.Define(QStringLiteral("PAGENUMBER"), QStringLiteral("0"));
        report.Define(QStringLiteral("REPORTTITLE"), QStringLiteral("''"));
        report.Define(QStringLiteral("LOOP"), QStringLiteral("LOOP + 1"));
        report.Define(QStringLiteral("PING"), QStringLiteral("PONG"));
        report.Define(QStringLiteral("PONG"), QStringLiteral("PING * 2"));
        report.Define(QStringLiteral("TOTAL"), QStringLiteral("SUM(TOTALPEDIDO) + PAGENUMBER"));
        report.CompileAll();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Fixture fx;
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    TBREvaluator e;
    e.UseDataSets(&fx.list);
    e.SetScope(&fx.report);
    e.Compile(text);
    TBREvValue v;
    fx.rel.First();
    e.CurrentValue(v);
    e.Accumulate();
    fx.rel.Next();
    e.Accumulate();
    e.CurrentValue(v);
    e.ResetAggregates();
    e.CurrentValue(v);
    if (v.ValueKind != evError)
        (void)ValueToText(v);
    e.Release();

    bool ok = false;
    (void)brp::FormatNumericMask(text, 1234.5678, QLocale(QStringLiteral("pt_BR")), &ok);
    (void)brp::FormatNumericMask(text, -0.004, QLocale::c(), &ok);
    (void)brp::FormatNumericMask(text, 9.99e17, QLocale::c(), &ok);
    (void)brp::FormatDateTimeMask(text, QDateTime(QDate(2005, 2, 1), QTime(14, 7, 3)), QLocale(QStringLiteral("pt_BR")));
    (void)brp::FormatDateTimeMask(text, QDateTime(), QLocale::c());
    return 0;
}
