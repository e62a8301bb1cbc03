#pragma once
// A band that owns a data controller printing it as its detail band.

#include "TBRCustomBand.h"

class TBRController;

class TBRControllerBand : public TBRCustomBand {
    Q_OBJECT
    Q_PROPERTY(TComponent* Master READ Master WRITE SetMaster)
public:
    explicit TBRControllerBand(TComponent* owner = nullptr);
    ~TBRControllerBand() override;

    TBRController* Controller() const { return m_controller; }

    // The report or the controller band this band hangs under.
    TComponent* Master() const;
    // Refused when it is the band itself or would close a circle of masters.
    virtual void SetMaster(TComponent* master);

    void SetParentReport(TCustomBandReport* report) override;
    void Notification(TComponent* component, TOperation operation) override;
    void WriteProperties(BRDefinitionWriter& writer) const override;

protected:
    // Called by the constructor: the controller whose detail is this band.
    virtual TBRController* CreateController();

private:
    TBRController* m_controller = nullptr; // owned (a child component)
};
