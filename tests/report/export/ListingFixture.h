#pragma once
// The listing report (BRRelatorio, read from the program's window definition)
// over an in-memory QryRel with the pending-orders columns, on recording
// printers, with the export filters registered.

#include "BRControlClasses.h"
#include "BRExportClasses.h"
#include "BRReportReader.h"
#include "DefinitionReader.h"
#include "FixedExpressionEngine.h"
#include "ListingDefinition.h"
#include "RecordingPrinters.h"
#include "TBRPrinter.h"
#include "TBRUnitBase.h"
#include "TComponent.h"
#include "TCustomBandReport.h"
#include "TMemDataSet.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

// One order as the listing prints it, in the listing's column order.
struct Pedido {
    int empresa, pedido, cliente;
    QString nome, dataPedido, dataFatura, prazo;
    double total;

    // The texts of its detail band, left to right.
    QStringList Texts() const
    {
        const QLocale br(QLocale::Portuguese, QLocale::Brazil);
        return {QString::number(empresa), QString::number(pedido), QString::number(cliente), nome,
                dataPedido, dataFatura, prazo, br.toString(total, 'f', 3)};
    }
};

class ListingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A printer that takes every setting, landscape included.
        m_printers.emplace(QList<RecordedPrinter>{RecordedPrinter::Laser()});
        TBRUnitBase::InitDefaultUnits(QLocale(QLocale::Portuguese, QLocale::Brazil));
        m_engine.emplace(QStringLiteral("Export"));
        brp::RegisterReportControlClasses();
        brp::RegisterExportFilters();
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override
    {
        report.reset();
        form.reset();
        m_engine.reset();
        m_printers.reset();
    }

    // `count` orders; some names carry what CSV must quote and accents.
    static QList<Pedido> pedidos(int count)
    {
        static const QString nomes[] = {QStringLiteral("Comércio São João Ltda"), QStringLiteral("Silva, Souza & Cia"),
                                        QStringLiteral("Loja \"Central\""), QStringLiteral("Açougue Irmãos"),
                                        QStringLiteral("Padaria Pão Quente")};
        QList<Pedido> list;
        for (int i = 0; i < count; ++i) {
            const QString dia = QStringLiteral("%1/03/2024").arg(1 + i % 28, 2, 10, QChar(u'0'));
            list.append({1 + i % 3, 5000 + i, 200 + i % 41, nomes[i % 5] + QStringLiteral(" %1").arg(i), dia, dia,
                         i % 2 ? QStringLiteral("30/60/90") : QStringLiteral("000"), 1234.5 + i * 10.25});
        }
        return list;
    }

    // The listing over `rows`, ready to run.
    TCustomBandReport& listing(const QList<Pedido>& rows)
    {
        report.reset();
        form = std::make_unique<TComponent>();
        form->SetName(QStringLiteral("FPrincipal"));
        auto* qry = new TMemDataSet(form.get());
        qry->SetName(QStringLiteral("QryRel"));
        qry->DefineField(QStringLiteral("CODEMPRESA"), TFieldType::ftInteger);
        qry->DefineField(QStringLiteral("CODPEDIDO"), TFieldType::ftInteger);
        qry->DefineField(QStringLiteral("CODCLIENTE"), TFieldType::ftInteger);
        qry->DefineField(QStringLiteral("NOME"), TFieldType::ftString, 60);
        qry->DefineField(QStringLiteral("DATAPEDIDO"), TFieldType::ftString, 10);
        qry->DefineField(QStringLiteral("DATAFATURA"), TFieldType::ftString, 10);
        qry->DefineField(QStringLiteral("PRAZO"), TFieldType::ftString, 20);
        qry->DefineField(QStringLiteral("TOTALPEDIDO"), TFieldType::ftFloat);
        for (const Pedido& p : rows)
            qry->AppendRecord({p.empresa, p.pedido, p.cliente, p.nome, p.dataPedido, p.dataFatura, p.prazo, p.total});
        qry->Open();

        const QString text = brp::listingWindowDefinitionText();
        EXPECT_FALSE(text.isEmpty());
        const DefinitionObject root = brp::ReadDefinition(text);
        const DefinitionObject* definition = BRReportReader::FindReport(root, QStringLiteral("BRRelatorio"));
        EXPECT_NE(definition, nullptr);
        report.reset(BRReportReader::Read(*definition, form.get()));
        report->SetShowProgress(false);
        report->OnPreview = [](QObject*) {};
        return *report;
    }

    // Runs the listing for the preview and keeps its pages in the target.
    TBRPrinter& preview(const QList<Pedido>& rows)
    {
        listing(rows).Preview();
        TBRPrinter* target = report->OutputTarget();
        EXPECT_TRUE(target && target->State() == jsFinished);
        return *target;
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    static QByteArray readAll(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // A poppler tool's output, or a null string when it is not installed.
    static QString poppler(const QString& tool, const QStringList& args)
    {
        QProcess p;
        p.start(tool, args);
        if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            return QString();
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    QTemporaryDir dir;
    std::unique_ptr<TComponent> form;
    std::unique_ptr<TCustomBandReport> report;

private:
    std::optional<RecordingPrinters> m_printers;
    std::optional<FixedExpressionEngine> m_engine;
};
