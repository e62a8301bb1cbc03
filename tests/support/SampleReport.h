#pragma once
// A hand-written report definition in the form the writer produces: a page
// header with one printable, a sub-detail, a summary with its own font and a
// child band of the summary.

inline const char* const kSampleReport = R"(object BRRelatorio: TBandReport
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
    'REPORTTITLE'
    'BRSTRINGSBAND1')
  Functions.DATA = (
    '0'
    '0'
    ''''''
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
    Frame.DrawBottom = True
    Frame.DrawLeft = False
    Frame.DrawRight = False
    Frame.Style = psDash
    Frame.Width = 2
    AlignToBottom = False
    Color = clWhite
    ForceNewColumn = False
    ForceNewPage = False
    Size.Values = (320.1458333333333 1899.708333333333)
    BandType = rbPageHeader
    object BRLabel8: TBRPrintable
      Left = 8
      Top = 92
      Width = 28
      Height = 17
      Frame.Color = clBlack
      Frame.DrawTop = False
      Frame.DrawBottom = False
      Frame.DrawLeft = False
      Frame.DrawRight = False
      Size.Values = (44.97916666666667 21.16666666666667 243.4166666666667 74.08333333333333)
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
    PrintBefore = False
    PrintIfEmpty = True
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
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
    Size.Values = (203.7291666666667 1899.708333333333)
    BandType = rbSummary
  end
  object ChildBand1: TBRChildBand
    Left = 38
    Top = 257
    Width = 718
    Height = 40
    Frame.Color = clBlack
    Frame.DrawTop = False
    Frame.DrawBottom = False
    Frame.DrawLeft = False
    Frame.DrawRight = False
    AlignToBottom = False
    Color = clWhite
    ForceNewColumn = False
    ForceNewPage = False
    Size.Values = (105.8333333333333 1899.708333333333)
    ParentBand = BRBand2
  end
end
)";
