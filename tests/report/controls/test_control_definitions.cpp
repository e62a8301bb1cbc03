// Report definitions holding the listing's controls: created by class name,
// their properties set (the stored point size after loading), written back
// unchanged; bad values refused with their line.
#include "BRReportReader.h"
#include "ControlsFixture.h"
#include "TBREvEnvironment.h"
#include "TMemDataSet.h"

namespace {
const char* const kReport = R"(object BRRelatorio: TBandReport
  Left = 200
  Top = 232
  Width = 794
  Height = 1123
  Frame.Color = clBlack
  Frame.DrawTop = False
  Frame.DrawBottom = False
  Frame.DrawLeft = False
  Frame.DrawRight = False
  Units = MM
  Page.Values = (100.0 2970.0 100.0 2100.0 100.0 100.0 0.0)
  Page.Columns = 1
  Page.Orientation = poPortrait
  Page.PaperSize = A4
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -13
  Font.Name = 'Arial'
  Font.Style = []
  Functions.Strings = (
    'PAGENUMBER'
    'COLUMNNUMBER'
    'REPORTTITLE')
  Functions.DATA = (
    '0'
    '0'
    '''''')
  Options = [FirstPageHeader, LastPageFooter]
  PrintIfEmpty = True
  PrinterSettings.Copies = 1
  PrinterSettings.OutputBin = Auto
  PrinterSettings.Duplex = False
  PrinterSettings.FirstPage = 0
  PrinterSettings.LastPage = 0
  PrinterSettings.ExtendedDuplex = 0
  PrinterSettings.UseStandardprinter = False
  PrinterSettings.UseCustomBinCode = False
  PrinterSettings.CustomBinCode = 0
  PrinterSettings.UseCustomPaperCode = False
  PrinterSettings.CustomPaperCode = 0
  PrinterSettings.PrintMetaFile = False
  Zoom = 100
  SnapToGrid = True
  PrevFormStyle = fsNormal
  PreviewInitialState = wsMaximized
  object BRBand1: TBRBand
    Left = 38
    Top = 38
    Width = 718
    Height = 121
    Frame.Color = clBlack
    Frame.DrawTop = False
    Frame.DrawBottom = False
    Frame.DrawLeft = False
    Frame.DrawRight = False
    AlignToBottom = False
    Color = clWhite
    ForceNewColumn = False
    ForceNewPage = False
    Size.Values = (320.1458333333333 1899.708333333333)
    BandType = rbPageHeader
    object BRLTipo: TBRLabel
      Left = 347
      Top = 51
      Width = 51
      Height = 17
      Frame.Color = clBlack
      Frame.DrawTop = False
      Frame.DrawBottom = False
      Frame.DrawLeft = False
      Frame.DrawRight = False
      Size.Values = (44.97916666666667 918.1041666666667 134.9375 134.9375)
      Alignment = taLeftJustify
      AlignToBand = False
      AutoSize = True
      AutoStretch = False
      Caption = 'BRLTipo'
      Color = clWhite
      OnPrint = BRLTipoPrint
      Transparent = False
      WordWrap = True
      FontSize = 10
    end
    object BRLabel1: TBRLabel
      Left = 192
      Top = 7
      Width = 327
      Height = 20
      Frame.Color = clBlack
      Frame.DrawTop = False
      Frame.DrawBottom = False
      Frame.DrawLeft = False
      Frame.DrawRight = False
      Size.Values = (52.91666666666667 508.0 18.52083333333333 865.1875)
      Alignment = taLeftJustify
      AlignToBand = False
      AutoSize = True
      AutoStretch = False
      Caption = 'Listagem de pedidos sem contas a receber'
      Color = clWhite
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clWindowText
      Font.Height = -16
      Font.Name = 'Arial'
      Font.Style = [fsBold]
      ParentFont = False
      Transparent = False
      WordWrap = True
      FontSize = 12
    end
    object BRShape1: TBRShape
      Left = 8
      Top = 112
      Width = 700
      Height = 9
      Frame.Color = clBlack
      Frame.DrawTop = False
      Frame.DrawBottom = False
      Frame.DrawLeft = False
      Frame.DrawRight = False
      Size.Values = (23.8125 21.16666666666667 296.3333333333333 1852.083333333333)
      Pen.Style = psDash
      Shape = brsHorLine
      VertAdjust = 0
    end
    object BRExpr1: TBRExpr
      Left = 8
      Top = 8
      Width = 35
      Height = 17
      Frame.Color = clBlack
      Frame.DrawTop = False
      Frame.DrawBottom = False
      Frame.DrawLeft = False
      Frame.DrawRight = False
      Size.Values = (44.97916666666667 21.16666666666667 21.16666666666667 92.60416666666667)
      Alignment = taLeftJustify
      AlignToBand = False
      AutoSize = True
      AutoStretch = False
      Color = clWhite
      ResetAfterPrint = False
      Transparent = False
      WordWrap = True
      Expression = 'DATE'
      FontSize = 10
    end
    object BRLabel3: TBRLabel
      Left = 604
      Top = 7
      Width = 45
      Height = 17
      Frame.Color = clBlack
      Frame.DrawTop = False
      Frame.DrawBottom = False
      Frame.DrawLeft = False
      Frame.DrawRight = False
      Size.Values = (44.97916666666667 1598.083333333333 18.52083333333333 119.0625)
      Alignment = taLeftJustify
      AlignToBand = False
      AutoSize = True
      AutoStretch = False
      Caption = 'P'#225'gina:'
      Color = clWhite
      Transparent = False
      WordWrap = True
      FontSize = 10
    end
  end
  object BRSubDetail1: TBRSubDetail
    Left = 38
    Top = 159
    Width = 718
    Height = 21
    Frame.Color = clBlack
    Frame.DrawTop = False
    Frame.DrawBottom = False
    Frame.DrawLeft = False
    Frame.DrawRight = False
    AlignToBottom = False
    Color = clWhite
    ForceNewColumn = False
    ForceNewPage = False
    Size.Values = (55.5625 1899.708333333333)
    Master = BRRelatorio
    DataSet = QryRel
    PrintBefore = False
    PrintIfEmpty = True
    object BRDBText6: TBRDBText
      Left = 609
      Top = 0
      Width = 98
      Height = 17
      Frame.Color = clBlack
      Frame.DrawTop = False
      Frame.DrawBottom = False
      Frame.DrawLeft = False
      Frame.DrawRight = False
      Size.Values = (44.97916666666667 1611.3125 0.0 259.2916666666667)
      Alignment = taRightJustify
      AlignToBand = False
      AutoSize = False
      AutoStretch = False
      Color = clWhite
      DataSet = QryRel
      DataField = 'TOTALPEDIDO'
      Mask = '#,##0.000'
      Transparent = False
      WordWrap = True
      FontSize = 10
    end
  end
  object BRBand2: TBRBand
    Left = 38
    Top = 180
    Width = 718
    Height = 77
    Frame.Color = clBlack
    Frame.DrawTop = False
    Frame.DrawBottom = False
    Frame.DrawLeft = False
    Frame.DrawRight = False
    AlignToBottom = False
    Color = clWhite
    ForceNewColumn = False
    ForceNewPage = False
    Size.Values = (203.7291666666667 1899.708333333333)
    BandType = rbSummary
    object BRLabel14: TBRLabel
      Left = 8
      Top = 16
      Width = 698
      Height = 57
      Frame.Color = clBlack
      Frame.DrawTop = False
      Frame.DrawBottom = False
      Frame.DrawLeft = False
      Frame.DrawRight = False
      Size.Values = (150.8125 21.16666666666667 42.33333333333333 1846.791666666667)
      Alignment = taLeftJustify
      AlignToBand = False
      AutoSize = False
      AutoStretch = False
      Caption = 'Observa'#231#227'o: Somente s'#227'o listados os pedidos'
      Color = clWhite
      Transparent = False
      WordWrap = True
      FontSize = 10
    end
  end
end
)";

class ControlDefinitions : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        // The window's own report is not used: the definition brings one.
        delete report;
        report = nullptr;
        window = std::make_unique<TComponent>();
        window->SetName(QStringLiteral("FrmPrincipal"));
        data = new TMemDataSet(window.get());
        data->SetName(QStringLiteral("QryRel"));
    }
    void TearDown() override
    {
        target.reset();
        window.reset();
        ControlsTest::TearDown();
    }
    TCustomBandReport* read(const QString& text)
    {
        return BRReportReader::Read(ReadDefinition(text), window.get(), [this](QObject*, const QString& event,
                                                                              const QString& handler) {
            events << event + u'=' + handler;
        });
    }
    template <class T>
    T* find(const QString& name) const
    {
        return window->findChild<T*>(name);
    }

    std::unique_ptr<TComponent> window;
    TMemDataSet* data = nullptr;
    QStringList events;
};

} // namespace

TEST_F(ControlDefinitions, EveryControlOfTheListingIsReadAndWrittenBackUnchanged)
{
    const QString text = QString::fromUtf8(kReport);
    TCustomBandReport* r = read(text);
    ASSERT_NE(r, nullptr);

    auto* title = find<TBRLabel>(QStringLiteral("BRLabel1"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->Caption(), QStringLiteral("Listagem de pedidos sem contas a receber"));
    EXPECT_EQ(title->Font().Style, TFontStyles(fsBold));
    EXPECT_EQ(title->Font().Size(), 12);
    EXPECT_EQ(find<TBRLabel>(QStringLiteral("BRLabel3"))->Caption(), QStringLiteral("Página:"));
    EXPECT_EQ(events, QStringList{QStringLiteral("OnPrint=BRLTipoPrint")});

    auto* rule = find<TBRShape>(QStringLiteral("BRShape1"));
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->Shape(), brsHorLine);
    EXPECT_EQ(rule->Pen().Style, TPenStyle::psDash);
    EXPECT_EQ(rule->Height(), 9);

    auto* date = find<TBRExpr>(QStringLiteral("BRExpr1"));
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->Expression(), QStringLiteral("DATE"));
    EXPECT_EQ(date->Caption(), QStringLiteral("DATE"));

    auto* total = find<TBRDBText>(QStringLiteral("BRDBText6"));
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->DataSet(), data);
    EXPECT_EQ(total->DataField(), QStringLiteral("TOTALPEDIDO"));
    EXPECT_EQ(total->Mask(), QStringLiteral("#,##0.000"));
    EXPECT_EQ(total->Alignment(), taRightJustify);
    EXPECT_FALSE(total->AutoSize());

    auto* note = find<TBRLabel>(QStringLiteral("BRLabel14"));
    ASSERT_NE(note, nullptr);
    EXPECT_FALSE(note->AutoSize());
    EXPECT_TRUE(note->WordWrap());
    EXPECT_EQ(note->Bounds(), QRect(8, 16, 698, 57));

    EXPECT_EQ(BRDefinitionWriter::Write(*r), text);
}

TEST_F(ControlDefinitions, PropertiesOffTheirDefaultsAreWrittenBackToo)
{
    const struct {
        const char* from;
        const char* to;
    } cases[] = {
        {"      Shape = brsHorLine\n", "      Shape = brsRoundRect\n      RoundFactor = 0.1\n"},
        {"      Pen.Style = psDash\n",
         "      Brush.Color = clSilver\n      Brush.Style = bsClear\n      Pen.Color = clRed\n      Pen.Style = psDot\n"
         "      Pen.Width = 3\n"},
        {"      AutoStretch = False\n      Caption = 'BRLTipo'\n",
         "      AutoStretch = True\n      BiDiMode = bdRightToLeft\n      ParentBiDiMode = False\n"
         "      Caption = 'BRLTipo'\n"},
        {"      Alignment = taRightJustify\n", "      Alignment = taCenter\n"},
        {"      Expression = 'DATE'\n", "      Expression = 'PAGENUMBER'\n      Mask = '000'\n"},
        {"      Height = 57\n", "      Height = 57\n      Enabled = False\n"},
    };
    for (const auto& c : cases) {
        QString text = QString::fromUtf8(kReport);
        ASSERT_TRUE(text.contains(QString::fromUtf8(c.from))) << c.from;
        text.replace(QString::fromUtf8(c.from), QString::fromUtf8(c.to));
        std::unique_ptr<TCustomBandReport> r(read(text));
        EXPECT_EQ(BRDefinitionWriter::Write(*r), text) << c.to;
    }
}

TEST_F(ControlDefinitions, StoredPointSizeWinsOverTheStoredHeight)
{
    const struct {
        const char* from;
        const char* to;
        int size;
        bool parentFont;
    } cases[] = {
        {"      Font.Height = -16\n", "      Font.Height = -27\n", 12, false},
        {"      FontSize = 12\n", "      FontSize = 8\n", 8, false},
        {"      FontSize = 12\n", "", 12, false},
    };
    for (const auto& c : cases) {
        QString text = QString::fromUtf8(kReport);
        text.replace(QString::fromUtf8(c.from), QString::fromUtf8(c.to));
        std::unique_ptr<TCustomBandReport> r(read(text));
        auto* title = find<TBRLabel>(QStringLiteral("BRLabel1"));
        EXPECT_EQ(title->Font().Size(), c.size) << c.to;
        EXPECT_EQ(title->ParentFont(), c.parentFont);
    }
    // A label that follows the report's font keeps following it when the
    // stored size is the report's.
    std::unique_ptr<TCustomBandReport> r(read(QString::fromUtf8(kReport)));
    EXPECT_TRUE(find<TBRLabel>(QStringLiteral("BRLabel3"))->ParentFont());
}

TEST_F(ControlDefinitions, BadValuesAreRefusedWithTheirLine)
{
    const struct {
        const char* from;
        const char* to;
        const char* message;
    } cases[] = {
        {"Shape = brsHorLine", "Shape = brsTriangle", "Invalid value for Shape: brsTriangle"},
        {"Pen.Style = psDash", "Pen.Style = 3", "Invalid value for Style: 3"},
        {"Alignment = taRightJustify", "Alignment = taJustify", "Invalid value for Alignment: taJustify"},
        {"DataSet = QryRel\n      DataField", "DataSet = QryNada\n      DataField", "QryNada, which does not exist"},
        {"Expression = 'DATE'", "Expression = DATE", "Invalid value for Expression: DATE"},
        {"WordWrap = True\n      FontSize = 12", "WordWrap = True\n      FontSize = 'doze'", "Invalid value for FontSize"},
    };
    for (const auto& c : cases) {
        QString text = QString::fromUtf8(kReport);
        ASSERT_TRUE(text.contains(QString::fromUtf8(c.from))) << c.from;
        text.replace(QString::fromUtf8(c.from), QString::fromUtf8(c.to));
        QString message;
        try {
            delete read(text);
        } catch (const PlatformError& e) {
            message = e.Message();
        }
        EXPECT_TRUE(message.startsWith(QStringLiteral("Definition error on line "))) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.message))) << message.toStdString();
    }
}

TEST_F(ControlDefinitions, TheListingsControlsPrintFromTheDefinition)
{
    data->DefineField(QStringLiteral("TOTALPEDIDO"), TFieldType::ftFloat);
    data->AppendRecord({1234.5});
    data->Open();
    data->First();
    report = static_cast<TBandReport*>(read(QString::fromUtf8(kReport)));
    report->Functions()->CompileAll();
    find<TBRLabel>(QStringLiteral("BRLTipo"))->OnPrint = [](TBRCustomLabel*, QString& text) { text = QStringLiteral("TODOS"); };
    QList<TBRPrintable*> all;
    for (TBRCustomBand* b : report->BandList())
        all << b->Printables();
    startPage();
    for (TBRPrintable* p : all)
        p->BeginOutput();
    for (TBRCustomBand* b : report->BandList())
        for (TBRPrintable* p : b->Printables())
            p->PrintAt(100, 100);
    for (TBRPrintable* p : all)
        p->EndOutput();
    report->Functions()->ReleaseAll();
    const RecordedPage page = finishPage();
    EXPECT_EQ(page.Texts(), QStringList({"TODOS", "Listagem de pedidos sem contas a receber", "15/03/2026",
                                         "Página:", "1.234,500", "Observação: Somente são listados os pedidos"}));
    EXPECT_EQ(page.lines.size(), 1);
}
