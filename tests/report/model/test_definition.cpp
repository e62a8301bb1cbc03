// Report definitions: read, laid out, written back unchanged; malformed ones
// refused with the line that is wrong.
#include "BRReportReader.h"
#include "ModelFixture.h"
#include "SampleReport.h"
#include "TBREvEnvironment.h"
#include "TMemDataSet.h"
#include "ClassRegistry.h"

namespace {
QString replaced(const char* from, const char* to)
{
    QString text = QString::fromUtf8(kSampleReport);
    const QString f = QString::fromUtf8(from);
    EXPECT_TRUE(text.contains(f)) << from;
    return text.replace(f, QString::fromUtf8(to));
}
} // namespace

class Definition : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        brp::RegisterReportModelClasses();
        brp::RegisterClass(QStringLiteral("TBRPrintable"), [](QObject* p) {
            auto* o = new TBRPrintable(qobject_cast<TComponent*>(p));
            return static_cast<QObject*>(o);
        });
        delete report;
        report = nullptr;
    }

    std::unique_ptr<TCustomBandReport> read(const QString& text)
    {
        return std::unique_ptr<TCustomBandReport>(BRReportReader::ReadText(text, nullptr));
    }

    // The message of the failure reading `text`, empty when it was read.
    QString failure(const QString& text)
    {
        try {
            read(text);
        } catch (const PlatformError& e) {
            return e.Message();
        }
        return {};
    }
};

TEST_F(Definition, ReadLaidOutAndWrittenBackUnchanged)
{
    auto r = read(QString::fromUtf8(kSampleReport));
    QStringList names;
    for (TBRCustomBand* b : r->BandList())
        names << b->Name();
    EXPECT_EQ(names, QStringList({QStringLiteral("BRBand1"), QStringLiteral("BRSubDetail1"), QStringLiteral("BRBand2"), QStringLiteral("ChildBand1")}));
    EXPECT_EQ(r->Units(), TBRUnit::MM);
    EXPECT_EQ(r->PreviewInitialState(), wsMaximized);
    EXPECT_EQ(r->Functions()->Count(), 4);
    auto* summary = r->BandList()[2];
    EXPECT_EQ(summary->Font().Style, TFontStyles(fsBold));
    EXPECT_EQ(r->BandList()[1]->Top(), 159);
    EXPECT_EQ(r->BandList()[0]->Printables().size(), 1);
    EXPECT_EQ(r->BandList()[0]->Printables()[0]->Left(), 8);
    EXPECT_EQ(BRDefinitionWriter::Write(*r), QString::fromUtf8(kSampleReport));
}

TEST_F(Definition, PageValuesWinWhateverTheOrder)
{
    // Values before the paper size and orientation: still applied last.
    QString text = replaced("  Page.Values = (100.0 2970.0 100.0 2100.0 100.0 100.0 0.0)\n", "");
    text.replace(QStringLiteral("  Page.PaperSize = A4\n"),
                 QStringLiteral("  Page.PaperSize = A4\n  Page.Orientation = poLandscape\n"));
    text.replace(QStringLiteral("  Units = MM\n"),
                 QStringLiteral("  Units = MM\n  Page.Values = (100.0 2970.0 150.0 2100.0 100.0 100.0 0.0)\n"));
    auto r = read(text);
    EXPECT_EQ(r->Page()->Native(TBRPage::iLength), 2970);
    EXPECT_EQ(r->Page()->Native(TBRPage::iTopMargin), 150);
}

TEST_F(Definition, BandHeightFromPixelsOverridesAfterLoading)
{
    auto r = read(replaced("    Height = 21\n", "    Height = 30\n"));
    EXPECT_EQ(r->BandList()[1]->Height(), 30);
    EXPECT_EQ(r->BandList()[2]->Top(), 159 + 30);
}

TEST_F(Definition, MalformedDefinitionsNameTheLine)
{
    struct Case {
        const char* from;
        const char* to;
        const char* message;
    } cases[] = {
        {"object BRBand2: TBRBand", "object BRBand2: TNoSuchBand", "line 99: Class TNoSuchBand not found"},
        {"    PrintBefore = False\n", "    PrintAfter = False\n", "line 96: Property PrintAfter does not exist"},
        {"  Zoom = 100\n", "  Zoom = 'big'\n", "line 45: Invalid value for Zoom"},
        {"    BandType = rbSummary\n", "    BandType = rbNothing\n", "line 120: Invalid value for BandType"},
        {"    ParentBand = BRBand2\n", "    ParentBand = NoBand\n", "line 137: ParentBand names NoBand"},
        {"    ParentBand = BRBand2\n", "    ParentBand = BRRelatorio\n", "line 137: Invalid value for ParentBand"},
        {"    ParentBand = BRBand2\n", "    ParentBand = ChildBand1\n", "line 137: Invalid value for ParentBand"},
        {"    'BRSTRINGSBAND1')\n", "    'BRSTRINGSBAND1'\n", "line 26: a value was expected"},
        {"    '''''')\n", "    )\n", "line 26: Functions: 4 names but 3 expressions"},
        {"    Master = BRRelatorio\n", "    Master = BRBand1\n", "line 95: Invalid value for Master"},
        {"      Size.Values = (44.97916666666667", "      Size.Values = ('x'", "line 77: Invalid value for Size.Values"},
    };
    for (const Case& c : cases) {
        const QString message = failure(replaced(c.from, c.to));
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.message))) << c.to << " -> " << message.toStdString();
    }
    EXPECT_TRUE(failure(QString::fromUtf8(kSampleReport) + QStringLiteral("end\n")).contains(QStringLiteral("line 140")));
    QString cut = QString::fromUtf8(kSampleReport);
    cut.chop(4);
    EXPECT_TRUE(failure(cut).contains(QStringLiteral("'end' missing for object BRRelatorio")));
}

TEST_F(Definition, ReportInsideAWindowDefinition)
{
    QString body = QString::fromUtf8(kSampleReport);
    body.replace(QStringLiteral("\n"), QStringLiteral("\n  "));
    const QString window = QStringLiteral("object FPrincipal: TFPrincipal\n  Left = 192\n  object QryRel: TMemDataSet\n  end\n  ")
                         + body.trimmed() + QStringLiteral("\nend\n");
    const DefinitionObject tree = brp::ReadDefinition(window);
    const DefinitionObject* def = BRReportReader::FindReport(tree, QStringLiteral("brrelatorio"));
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(BRReportReader::FindReport(tree, QStringLiteral("Other")), nullptr);
    auto* qry = new TMemDataSet(form.get());
    qry->SetName(QStringLiteral("QryRel"));
    DefinitionObject withData = *def;
    auto dataSet = std::make_shared<DefinitionValue>();
    dataSet->kind = DefinitionValue::Identifier;
    dataSet->text = QStringLiteral("QryRel");
    withData.children[1].properties.append({QStringLiteral("DataSet"), 0, dataSet});
    TCustomBandReport* r = BRReportReader::Read(withData, form.get());
    EXPECT_EQ(r->parent(), form.get());
    auto* sub = qobject_cast<TBRSubDetail*>(r->BandList()[1]);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->DataSet(), qry);
    EXPECT_EQ(sub->parent(), form.get());
    EXPECT_EQ(sub->Master(), r);
}

TEST_F(Definition, SettingsOtherThanTheDefaultsRoundTrip)
{
    const struct {
        const char* after; // the new lines go after this anchor's first line
        const char* insert;
    } cases[] = {
        {"  Page.PaperSize = A4\n", "  Page.Ruler = False\n"},
        {"  Font.Style = []\n", "  Description.Strings = (\n    'Listagem'\n    'de pedidos')\n"},
        {"  PrinterSettings.PrintMetaFile = False\n", "  ReportTitle = 'T'#237'tulo ''A'''\n  ShowProgress = False\n"},
        {"  PreviewInitialState = wsMaximized\n", "  PreviewWidth = 640\n  OnStartPage = InicioPagina\n"},
        {"    ForceNewPage = False\n    Font.Charset", "    LinkBand = BRSubDetail1\n"},
    };
    for (const auto& c : cases) {
        QString text = QString::fromUtf8(kSampleReport);
        const qsizetype at = text.indexOf(QString::fromUtf8(c.after));
        ASSERT_GE(at, 0) << c.after;
        text.insert(text.indexOf(u'\n', at) + 1, QString::fromUtf8(c.insert));
        auto r = read(text);
        EXPECT_EQ(BRDefinitionWriter::Write(*r).toStdString(), text.toStdString()) << c.insert;
    }
    auto r = read(replaced("  Options = [FirstPageHeader, LastPageFooter]", "  Options = [LastPageFooter, Compression]"));
    EXPECT_EQ(r->Options(), unsigned(LastPageFooter | Compression));
}

TEST_F(Definition, PrintableWithoutValuesKeepsItsPixelBounds)
{
    auto r = read(replaced(
        "      Size.Values = (44.97916666666667 21.16666666666667 243.4166666666667 74.08333333333333)\n", ""));
    TBRPrintable* p = r->BandList()[0]->Printables()[0];
    // Only bounds still 0 take the pixels read; the size keeps the 10 x 10 of creation.
    EXPECT_EQ(p->Bounds(), QRect(8, 92, 10, 10));
    r->SetUnits(TBRUnit::Native);
    EXPECT_NEAR(p->Size()->Top(), 243.4166666666667, 1e-9);
}

TEST_F(Definition, LengthsOutOfRangeAreRefused)
{
    for (const auto& [from, to] : {std::pair{"  Zoom = 100\n", "  Zoom = 100\n  Page.Columns = 2147483647\n"},
                                   std::pair{"    Height = 121\n", "    Height = 99999999\n"},
                                   std::pair{"(55.5625 1899.708333333333)", "(1e300 1899.708333333333)"}}) {
        const QString message = failure(replaced(from, to));
        if (QString::fromUtf8(to).contains(QStringLiteral("Columns")))
            EXPECT_TRUE(message.isEmpty()) << message.toStdString(); // many columns: narrow, not an error
        else
            EXPECT_TRUE(message.contains(QStringLiteral("Invalid value"))) << to << message.toStdString();
    }
}

// A negative size (band height, printable width, margin) is refused with its
// line, as an absurdly large one is; a printable placed before the band's
// origin is not a size and stays allowed.
TEST_F(Definition, NegativeSizesAreRefused)
{
    struct Case {
        const char* from;
        const char* to;
        int line; // of the definition text; 0: read
    };
    const Case cases[] = {
        {"(320.1458333333333 1899.708333333333)", "(-320.1458333333333 1899.708333333333)", 65},
        {"(55.5625 1899.708333333333)", "(55.5625 -1.0)", 94},
        {"(44.97916666666667 21.16666666666667 243.4166666666667 74.08333333333333)",
         "(44.97916666666667 21.16666666666667 243.4166666666667 -74.0)", 77},
        {"(100.0 2970.0 100.0 2100.0 100.0 100.0 0.0)", "(100.0 2970.0 -100.0 2100.0 100.0 100.0 0.0)", 12},
        {"    Height = 121\n", "    Height = -121\n", 53},
        {"      Width = 28\n", "      Width = -28\n", 70},
        {"    Height = 121\n", "    Height = 121\n    Size.Height = -5\n", 54},
        // Places, not sizes.
        {"(44.97916666666667 21.16666666666667 243.4166666666667 74.08333333333333)",
         "(44.97916666666667 -21.0 -3.0 74.08333333333333)", 0},
        {"      Left = 8\n", "      Left = -8\n", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to);
        const QString message = failure(replaced(c.from, c.to));
        if (c.line == 0) {
            EXPECT_TRUE(message.isEmpty()) << message.toStdString();
        } else {
            EXPECT_TRUE(message.startsWith(QStringLiteral("Definition error on line %1: Invalid value").arg(c.line)))
                << message.toStdString();
            EXPECT_TRUE(message.contains(QStringLiteral("negative"))) << message.toStdString();
        }
    }
}
