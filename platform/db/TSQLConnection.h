#pragma once
// The SQL driver layer's connection: driver settings and a parameter list
// ("DataBase", "User_Name", "Password" and the driver's own). Only the
// InterBase-family driver exists here; it talks to the Firebird client.
// The driver's own parameters (BlobSize, LocaleCode, Trim Char, ...) are
// kept and passed on unchanged; this driver reads none of them.

#include "FbConnection.h"
#include "ParameterList.h"
#include "TComponent.h"

#include <memory>

class TSQLConnection : public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString ConnectionName READ ConnectionName WRITE SetConnectionName)
    Q_PROPERTY(QString DriverName READ DriverName WRITE SetDriverName)
    Q_PROPERTY(QString GetDriverFunc READ GetDriverFunc WRITE SetGetDriverFunc)
    Q_PROPERTY(QString LibraryName READ LibraryName WRITE SetLibraryName)
    Q_PROPERTY(QString VendorLib READ VendorLib WRITE SetVendorLib)
    Q_PROPERTY(bool LoginPrompt READ LoginPrompt WRITE SetLoginPrompt)
    Q_PROPERTY(bool Connected READ Connected WRITE SetConnected)
    // "Params.Strings" in a definition.
    Q_PROPERTY(QStringList Params READ ParamLines WRITE SetParamLines)
public:
    explicit TSQLConnection(TComponent* owner = nullptr);
    ~TSQLConnection() override;

    QString ConnectionName() const { return m_connectionName; }
    void SetConnectionName(const QString& v) { m_connectionName = v; }
    QString DriverName() const { return m_driverName; }
    void SetDriverName(const QString& v) { m_driverName = v; }
    QString GetDriverFunc() const { return m_getDriverFunc; }
    void SetGetDriverFunc(const QString& v) { m_getDriverFunc = v; }
    QString LibraryName() const { return m_libraryName; }
    void SetLibraryName(const QString& v) { m_libraryName = v; }
    QString VendorLib() const { return m_vendorLib; }
    void SetVendorLib(const QString& v) { m_vendorLib = v; }
    bool LoginPrompt() const { return m_loginPrompt; }
    void SetLoginPrompt(bool v) { m_loginPrompt = v; }

    ParameterList& Params() { return m_params; }
    const ParameterList& Params() const { return m_params; }
    QStringList ParamLines() const { return m_params.Lines(); }
    void SetParamLines(const QStringList& lines) { m_params.SetLines(lines); }

    bool Connected() const { return m_connection != nullptr; }
    void SetConnected(bool v) { v ? Open() : Close(); }
    void Open();
    void Close();

    FbConnection& Connection();

private:
    QString m_connectionName;
    QString m_driverName;
    QString m_getDriverFunc;
    QString m_libraryName;
    QString m_vendorLib;
    bool m_loginPrompt = false;
    ParameterList m_params;
    std::unique_ptr<FbConnection> m_connection;
};
