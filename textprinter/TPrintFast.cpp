#include "TPrintFast.h"

#include "ClassRegistry.h"
#include "THeaderData.h"
#include "TPrintWin.h"

#include <QDir>
#include <QFile>
#include <QMetaProperty>

namespace {

QString g_outputFileName;
bool g_sharedFlag = false;

// Windows-1252 source and code page 850 target. The masculine ordinal comes
// twice: first with the degree sign, last with its own code; which one wins
// is the translating operation's business.
constexpr unsigned char kTranslation[43][2] = {
    {0xE1, 160}, {0xC1, 181}, {0xE3, 198}, {0xC3, 199}, {0xE2, 131}, {0xC2, 182}, {0xE4, 132}, {0xC4, 142},
    {0xE0, 133}, {0xC0, 183}, {0xE9, 130}, {0xC9, 144}, {0xEA, 136}, {0xCA, 210}, {0xEB, 137}, {0xCB, 211},
    {0xED, 161}, {0xCD, 214}, {0xEE, 140}, {0xCE, 215}, {0xEF, 139}, {0xCF, 216}, {0xF3, 162}, {0xD3, 224},
    {0xF5, 228}, {0xD5, 229}, {0xF4, 147}, {0xD4, 226}, {0xF6, 148}, {0xD6, 153}, {0xFA, 163}, {0xDA, 233},
    {0xFB, 150}, {0xDB, 234}, {0xFC, 129}, {0xDC, 154}, {0xE7, 135}, {0xC7, 128}, {0xBA, 248}, {0xF1, 164},
    {0xD1, 165}, {0xAA, 166}, {0xBA, 167},
};

} // namespace

TPrintFast::TPrintFast(TComponent* owner) : TComponent(owner)
{
    m_pageHeader = true;
    m_preview = false;
    m_utilizarGeradorRelatorios = false;
    m_gerarRelatorioMemoria = false;
    m_printerName = pfEpson9pinos;
    m_headerData = new THeaderData(this);
    m_qtLines = 60;
    m_linesHeader = 0;
    m_linesFooter = 0;
    m_pageWidth = 80;
    m_printerPort.clear();
    g_sharedFlag = false;
    m_forcarGuardarConteudo = false;
    m_lines.clear();
    FillTranslationTable();
    m_headerData->SetFirstPage(1);
    m_headerData->SetPrintDateTime(true);
    m_headerData->SetPrintPageNumber(true);
    m_printerTermic = false;
    m_windows = new TPrintWin(this);
    m_windows->SetLineSpace(20);
    m_windows->SetFont(QFont());
    m_windows->SetPrintForWindows(false);
    m_windows->SetOrientation(TPrintWin::poPortrait);
    m_windows->Font().setFamily(QStringLiteral("Courier New"));
    QString dir = QDir::currentPath();
    if (!dir.endsWith(u'/'))
        dir += u'/';
    m_workingFileName = dir + QStringLiteral("filepage1.txt");
    m_text.clear();
    m_firstFlag = true;
    m_flags[0] = m_flags[1] = m_flags[2] = false;
    m_furtherFlag = false;
}

TPrintFast::~TPrintFast()
{
    if ((m_preview || m_windows->PrintForWindows()) && !g_outputFileName.isEmpty())
        QFile::remove(g_outputFileName);
    delete m_headerData;
    delete m_windows;
    m_lines.clear();
}

void TPrintFast::FillTranslationTable()
{
    m_translationSources.clear();
    m_translationTargets.clear();
    for (const auto& row : kTranslation) {
        m_translationSources.append(QByteArray(1, static_cast<char>(row[0])));
        m_translationTargets.append(QByteArray(1, static_cast<char>(row[1])));
    }
}

void TPrintFast::SetHeaderData(THeaderData* value)
{
    if (!value || value == m_headerData)
        return;
    const QMetaObject* meta = value->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty p = meta->property(i);
        p.write(m_headerData, p.read(value));
    }
}

void TPrintFast::SetWindows(TPrintWin* value)
{
    if (!value || value == m_windows)
        return;
    m_windows->SetPrintForWindows(value->PrintForWindows());
    m_windows->SetFont(value->Font());
    m_windows->SetLineSpace(value->LineSpace());
    m_windows->SetOrientation(value->Orientation());
}

void TPrintFast::Register()
{
    brp::RegisterClass(QStringLiteral("TPrintFast"),
                  [](QObject* parent) -> QObject* { return new TPrintFast(qobject_cast<TComponent*>(parent)); });
}

QString TPrintFast::OutputFileName()
{
    return g_outputFileName;
}

void TPrintFast::SetOutputFileName(const QString& name)
{
    g_outputFileName = name;
}

bool TPrintFast::SharedFlag()
{
    return g_sharedFlag;
}
