#pragma once
// One attachment to a Firebird database through the client's object
// interface. Statements are prepared in SQL dialect 1 (double-quoted text is a
// string constant) and text travels in WIN1252. Failures raise DatabaseError
// with the database's own message text.

#include "TField.h"

#include "DatabaseError.h"

#include <QDate>
#include <QString>
#include <QVariantList>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace Firebird { class IAttachment; class ITransaction; class IStatement; }

struct FbColumn {
    QString name;      // the column's alias, as the database gives it
    TFieldType type;
    int size;
};

// A statement stopped by FbConnection::Cancel.
class QueryCancelled : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

struct FbResult {
    std::vector<FbColumn> columns;
    std::vector<QVariantList> rows;
};

class FbConnection {
public:
    FbConnection();
    ~FbConnection();
    FbConnection(const FbConnection&) = delete;
    FbConnection& operator=(const FbConnection&) = delete;

    // `location` is a local file (embedded engine) or "host:/path" (server).
    void Attach(const QString& location, const QString& user, const QString& password);
    // Creates a dialect 1 database with default character set WIN1252 and
    // stays attached to it. Without forced writes the engine leaves flushing
    // to the system: much faster to fill, for databases that can be made
    // again (tests, benchmarks).
    void Create(const QString& location, const QString& user, const QString& password, int pageSize = 8192,
                bool forcedWrites = true);
    void Detach();
    bool IsAttached() const { return m_attachment != nullptr; }

    // Runs a statement and fetches every row. `params` fill the "?" markers in
    // order and are converted to the types the statement expects; an invalid
    // QVariant, or an empty date, is null.
    FbResult Query(const QString& sql, const QVariantList& params = {});
    // The same, handing each row to `onRow` as it is fetched instead of
    // keeping it (the list is reused from row to row); `onColumns` sees the
    // columns before the first row.
    void ForEachRow(const QString& sql, const QVariantList& params,
                    const std::function<void(const std::vector<FbColumn>&)>& onColumns,
                    const std::function<void(const QVariantList&)>& onRow);

    // Query and ForEachRow may run on another thread than the one that
    // attached, one at a time. Cancel, from any thread, stops the one running
    // (the engine's cancel-operation call): it fails with QueryCancelled, and
    // so does every later one until ClearCancel, so that a cancelled listing
    // made of several statements stops as a whole. ClearCancel is called when
    // no statement runs.
    void Cancel();
    void ClearCancel();
    bool CancelRequested() const { return m_cancelRequested.load(); }

    // Runs a statement without result, in the open batch transaction if there
    // is one, else in its own committed transaction. Statements run in a batch
    // stay prepared, by text, until the connection detaches.
    void Execute(const QString& sql, const QVariantList& params = {});
    void BeginBatch();
    void CommitBatch();
    void RollbackBatch();

private:
    Firebird::ITransaction* StartTransaction(bool readOnly);
    void FinishTransaction(Firebird::ITransaction*& tra, bool commit);
    void Run(const QString& sql, const QVariantList& params,
             const std::function<void(const std::vector<FbColumn>&)>& onColumns,
             const std::function<void(const QVariantList&)>& onRow);
    void AttachWith(const QString& location, const QString& user, const QString& password, bool create, int pageSize,
                    bool forcedWrites = true);

    // Marks the span in which the engine may be told to cancel.
    class RunningScope;

    Firebird::IAttachment* m_attachment = nullptr;
    std::atomic<bool> m_cancelRequested{false};
    std::mutex m_cancelMutex;   // guards the two below against Cancel
    bool m_running = false;
    bool m_cancelSent = false;  // the engine was told while a statement ran
    Firebird::ITransaction* m_batch = nullptr;
    std::map<QString, Firebird::IStatement*> m_cache;
};
