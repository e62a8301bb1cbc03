#pragma once
// A data controller: decides in which order the bands under it print. This
// one has no data set of its own (the report's first controller).

#include "BRModelTypes.h"
#include "TComponent.h"

#include <QList>
#include <QPointer>

class TBRCustomBand;
class TBRGroup;
class TBRPrintable;
class TCustomBandReport;

class TBRCustomController : public TComponent {
    Q_OBJECT
    Q_PROPERTY(TComponent* Master READ Master WRITE SetMaster)
    Q_PROPERTY(bool PrintBefore READ PrintBefore WRITE SetPrintBefore)
    Q_PROPERTY(bool PrintIfEmpty READ PrintIfEmpty WRITE SetPrintIfEmpty)
public:
    // The owner is the report or controller band it is created for; a
    // controller placed on its own is its own SelfCheck.
    explicit TBRCustomController(TComponent* owner = nullptr);
    ~TBRCustomController() override;

    // Virtual operations, in slot order. Run, PrepareRun, UnprepareRun,
    // RunAfterControllers, RunBeforeControllers and RunEmpty are the data
    // walk of a report run; this layer gives them empty bodies.
    // Rebuilds the before-, after- and group lists from the components
    // whose Master is this controller's SelfCheck.
    virtual void CollectChildren();
    virtual void Run();
    virtual void PrepareRun();
    virtual void UnprepareRun();
    virtual void RunAfterControllers();
    virtual void RunBeforeControllers();
    virtual void RunEmpty();
    // Appends the bands in print order (header, groups, before-controllers,
    // detail, after-controllers, group footers innermost first, footer).
    virtual void ListBands(QList<TBRCustomBand*>& bands) const;
    // Adds an open data set to the report's run list, when there is one.
    virtual void ListDataSets() {}
    virtual void SetPrintBefore(bool value) { m_printBefore = value; }

    TComponent* Master() const { return m_master.data(); }
    // A report, another controller or a controller band; never itself.
    void SetMaster(TComponent* master);
    bool PrintBefore() const { return m_printBefore; }
    bool PrintIfEmpty() const { return m_printIfEmpty; }
    void SetPrintIfEmpty(bool value) { m_printIfEmpty = value; }

    TComponent* SelfCheck() const { return m_selfCheck.data(); }
    void SetSelfCheck(TComponent* selfCheck) { m_selfCheck = selfCheck; }
    TCustomBandReport* ParentReport() const;
    void SetParentReport(TCustomBandReport* report);

    const QList<TBRCustomController*>& BeforeList() const { return m_beforeList; }
    const QList<TBRCustomController*>& AfterList() const { return m_afterList; }
    const QList<TBRGroup*>& GroupList() const { return m_groupList; }

    // Printables told of engine events (NotifyDataAdvance), in order.
    void RegisterNotifyClient(TBRPrintable* client);
    void SendNotification(std::uint8_t code);
    const QList<QPointer<TBRPrintable>>& NotifyClients() const { return m_notifyClients; }

    // ---- Data walk (TBRCustomControllerRun.cpp) ----------------------------
    // After every new column or page but the first: headers of the groups
    // that ask for it, and of the groups inside them.
    virtual void ReprintGroupHeaders();
    // Evaluates the groups in order; at the first change every later group
    // starts anew. True when a group changed.
    bool CheckGroups();
    void PrintGroupHeaders();
    void PrintGroupFooters();

    void AddBeforeController(TBRCustomController* controller);
    void AddAfterController(TBRCustomController* controller);

    void Notification(TComponent* component, TOperation operation) override;

protected:
    void ScanChildren(QObject* container, QList<TBRCustomController*>& seen);

    QPointer<TComponent> m_master;
    QList<TBRCustomController*> m_afterList;
    QList<TBRCustomController*> m_beforeList;
    QList<TBRGroup*> m_groupList;
    bool m_printIfEmpty = true;
    QPointer<TComponent> m_selfCheck;
    QPointer<TCustomBandReport> m_parentReport;
    bool m_printBefore = false;
    QList<QPointer<TBRPrintable>> m_notifyClients;
    bool m_collecting = false;
};
