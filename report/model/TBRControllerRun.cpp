// The record loop of a controller over a data set (or over OnNeedData).
#include "TBRController.h"
#include "TBREvEnvironment.h"
#include "TBRGroup.h"
#include "TBRPrinter.h"
#include "TBandReport.h"
#include "TQuery.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLocale>

namespace {
// Pending messages between records: every few milliseconds is as responsive
// as before every record, without polling the window system per row.
void processPendingMessages()
{
    static QElapsedTimer last;
    if (last.isValid() && last.elapsed() < 5)
        return;
    QCoreApplication::processEvents();
    last.start();
}
} // namespace

void TBRController::PrepareRun()
{
    TBRCustomController::PrepareRun();
    UpdateSQLParams = false;
    auto* query = qobject_cast<TQuery*>(m_dataSet.Data());
    TCustomBandReport* report = ParentReport();
    if (!query || !report || query->ParamCount() == 0)
        return;
    for (int i = 0; i < query->ParamCount(); ++i)
        if (report->Functions()->Find(query->Params().Items(i)->Name().toUpper())) {
            UpdateSQLParams = true;
            break;
        }
}

void TBRController::UnprepareRun()
{
    TBRCustomController::UnprepareRun();
    if (m_detail && m_detail->PrintingController == this)
        m_detail->PrintingController = nullptr;
}

void TBRController::RunEmpty()
{
    TCustomBandReport* report = ParentReport();
    if (!report)
        return;
    report->PrintBand(m_header.Data());
    RunBeforeControllers();
    report->PrintBand(m_detail.Data());
    RunAfterControllers();
    report->PrintBand(m_footer.Data());
}

void TBRController::Run()
{
    MoreData = true;
    RecordCount = 1;
    for (TBRGroup* group : m_groupList)
        group->HasValue = false;
    TCustomBandReport* report = ParentReport();
    TDataSet* data = m_dataSet.Data();
    const bool open = data && data->Active();
    if ((!open && !OnNeedData) || !report) {
        if (m_printIfEmpty)
            RunEmpty();
        return;
    }
    HasDataSet = open;
    auto* bandReport = qobject_cast<TBandReport*>(report);
    if (open) {
        if (UpdateSQLParams)
            RefreshQueryParameters(data, *report->Functions());
        data->First();
        MoreData = !data->Eof();
        if (bandReport)
            RecordCount = bandReport->MainRecordCount();
        if (!MoreData && m_printIfEmpty)
            RunEmpty();
    } else if (!IsDesigning()) {
        OnNeedData(SelfCheck(), MoreData);
    }
    DetailNumber = 0;
    if (m_detail)
        m_detail->PrintingController = this;
    if (!MoreData)
        return;

    const bool isMain = report->MainController() == this;
    QCoreApplication::processEvents();
    if (report->Cancelled())
        return;
    if (m_header) {
        report->PrintBand(m_header.Data());
        if (isMain)
            report->SetSkipNextForcedPage(true);
    }
    if (isMain && report->PageNumber() <= 1) {
        TBRCustomBand* columnHeader = report->FindBand(rbColumnHeader);
        if (columnHeader && columnHeader->Enabled()) {
            report->PrintBand(columnHeader);
            report->SetSkipNextForcedPage(true);
        }
    }
    CheckGroups();
    const bool reportsProgress = bandReport && HasDataSet && bandReport->DataSet() == data;
    while (MoreData) {
        processPendingMessages();
        TBRPrinter* target = report->OutputTarget();
        if (!target || target->CancelRequested())
            return;
        ++DetailNumber;
        PrintGroupHeaders();
        RunBeforeControllers();
        report->PrintBand(m_detail.Data());
        RunAfterControllers();
        if (open) {
            data->Next();
            MoreData = !data->Eof();
        } else {
            MoreData = false;
            if (!IsDesigning() && OnNeedData)
                OnNeedData(SelfCheck(), MoreData);
        }
        if (CheckGroups()) {
            // Footers print while the last record of the ended group is current.
            if (open) {
                data->Prior();
                PrintGroupFooters();
                data->Next();
            } else {
                PrintGroupFooters();
            }
        }
        if (reportsProgress && RecordCount != 0)
            target->SetProgress(static_cast<int>(static_cast<qint64>(DetailNumber) * 100 / RecordCount));
    }
    for (TBRGroup* group : m_groupList)
        group->Changed = !group->Changed;
    PrintGroupFooters();
    if (m_footer) {
        if (report->PageNumber() == 0)
            report->StartNewPage();
        report->PrintBand(m_footer.Data());
    }
}

void TBRController::RefreshQueryParameters(TDataSet* dataSet, TBREvEnvironment& functions)
{
    auto* query = qobject_cast<TQuery*>(dataSet);
    if (!query)
        return;
    query->Close();
    const QLocale locale = QLocale::system();
    for (int i = 0; i < query->ParamCount(); ++i) {
        TParam* param = query->Params().Items(i);
        if (!functions.Find(param->Name()))
            continue;
        const TBREvValue value = functions.ValueOf(param->Name());
        switch (param->DataType()) {
        case TFieldType::ftString:
            if (value.ValueKind == evString)
                param->SetAsString(value.TextValue);
            break;
        case TFieldType::ftSmallint:
        case TFieldType::ftInteger:
        case TFieldType::ftWord:
            if (value.ValueKind == evInteger)
                param->SetAsInteger(value.IntegerValue);
            break;
        case TFieldType::ftBoolean:
            if (value.ValueKind == evBoolean)
                param->SetAsBoolean(value.BooleanValue);
            break;
        case TFieldType::ftFloat:
        case TFieldType::ftCurrency:
        case TFieldType::ftBCD:
            if (value.ValueKind == evFloat)
                param->SetAsFloat(value.FloatValue);
            break;
        case TFieldType::ftDate:
            if (value.ValueKind == evString)
                param->SetAsDate(locale.toDate(value.TextValue, QLocale::ShortFormat));
            break;
        case TFieldType::ftTime:
        case TFieldType::ftDateTime:
            if (value.ValueKind == evString)
                param->SetAsDateTime(locale.toDateTime(value.TextValue, QLocale::ShortFormat));
            break;
        default:
            break;
        }
    }
    query->Open();
}
