// The data walk shared by every controller: child controllers and groups.
#include "TBRCustomBand.h"
#include "TBRCustomController.h"
#include "TBREvaluator.h"
#include "TBRGroup.h"
#include "TCustomBandReport.h"

void TBRCustomController::Run()
{
    if (m_printIfEmpty)
        RunEmpty();
}

void TBRCustomController::RunEmpty()
{
    RunBeforeControllers();
    RunAfterControllers();
}

void TBRCustomController::RunBeforeControllers()
{
    const auto controllers = m_beforeList;
    for (TBRCustomController* c : controllers)
        c->Run();
}

void TBRCustomController::RunAfterControllers()
{
    const auto controllers = m_afterList;
    for (TBRCustomController* c : controllers)
        c->Run();
}

void TBRCustomController::PrepareRun()
{
    m_notifyClients.clear();
    for (TBRCustomController* c : m_beforeList)
        c->PrepareRun();
    for (TBRCustomController* c : m_afterList)
        c->PrepareRun();
    TCustomBandReport* report = ParentReport();
    for (TBRGroup* group : m_groupList) {
        TBREvaluator* evaluator = group->Evaluator();
        evaluator->UseDataSets(report ? report->RunDataSets() : nullptr);
        evaluator->SetScope(report ? report->Functions() : nullptr);
        evaluator->Compile(group->Expression());
        group->HasValue = false;
        group->HeaderPage = 1;
    }
}

void TBRCustomController::UnprepareRun()
{
    for (TBRCustomController* c : m_beforeList)
        c->UnprepareRun();
    for (TBRCustomController* c : m_afterList)
        c->UnprepareRun();
    for (TBRGroup* group : m_groupList) {
        group->Evaluator()->Release();
        // The run's data set list goes with the run.
        group->Evaluator()->UseDataSets(nullptr);
    }
}

bool TBRCustomController::CheckGroups()
{
    for (qsizetype i = 0; i < m_groupList.size(); ++i) {
        m_groupList[i]->EvaluateGroup();
        if (m_groupList[i]->Changed) {
            for (qsizetype j = i + 1; j < m_groupList.size(); ++j)
                m_groupList[j]->RestartGroup();
            return true;
        }
    }
    return false;
}

void TBRCustomController::PrintGroupHeaders()
{
    TCustomBandReport* report = ParentReport();
    if (!report)
        return;
    const auto groups = m_groupList;
    for (TBRGroup* group : groups) {
        if (!group->Changed)
            continue;
        report->PrintBand(group);
        group->InGroup = true;
        group->HeaderPage = report->PageNumber();
    }
}

void TBRCustomController::PrintGroupFooters()
{
    TCustomBandReport* report = ParentReport();
    if (!report)
        return;
    const auto groups = m_groupList;
    for (qsizetype i = groups.size() - 1; i >= 0; --i) {
        TBRGroup* group = groups[i];
        if (!group->Changed)
            continue;
        report->PrintBand(group->FooterBand());
        group->InGroup = false;
    }
}

void TBRCustomController::ReprintGroupHeaders()
{
    // Headers or footers are printing right now: the page break is theirs.
    for (TBRGroup* group : m_groupList)
        if (group->Changed)
            return;
    for (TBRCustomController* c : m_beforeList)
        c->ReprintGroupHeaders();
    bool reprint = false;
    for (qsizetype i = 0; i < m_groupList.size(); ++i) {
        m_groupList[i]->CheckReprint();
        if (m_groupList[i]->Changed) {
            for (qsizetype j = i + 1; j < m_groupList.size(); ++j)
                m_groupList[j]->RestartGroup();
            reprint = true;
            break;
        }
    }
    if (reprint)
        PrintGroupHeaders();
    for (TBRCustomController* c : m_afterList)
        c->ReprintGroupHeaders();
}
