#pragma once
// Common ground of the two kinds of query (SQL driver layer and alias
// database): the statement lines, the named parameters parsed from them, and
// the fetched rows. Opening fetches every row, so the record count is known;
// the rows are held compactly (CompactRowStore), each value as it came.

#include "CompactRowCursor.h"
#include "CompactRowStore.h"
#include "StatementText.h"
#include "TDataSet.h"
#include "TParams.h"

#include <functional>

class FbConnection;
struct FbResult;

class SqlDataSet : public TDataSet {
    Q_OBJECT
    // "SQL.Strings" in a definition.
    Q_PROPERTY(QStringList SQL READ SQLLines WRITE SetSQLLines)
    // The declared parameters, one map per parameter: "Name", "DataType"
    // ("ftString", ...) and "ParamType" (accepted, not used).
    Q_PROPERTY(QVariantList ParamData READ ParamData WRITE SetParamData)
public:
    explicit SqlDataSet(TComponent* owner = nullptr);

    StatementText& SQL() { return m_sql; }
    const StatementText& SQL() const { return m_sql; }
    QStringList SQLLines() const { return m_sql.Lines(); }
    void SetSQLLines(const QStringList& lines) { m_sql.SetLines(lines); }

    TParams& Params() { return m_params; }
    int ParamCount() const { return m_params.Count(); }
    TParam* ParamByName(const QString& name) const { return m_params.ParamByName(name); }
    QVariantList ParamData() const;
    // Declares each named parameter's type, adding the names the statement
    // does not have yet; values stay null.
    void SetParamData(const QVariantList& items);

    // How opening gets the rows: given the attachment, the statement as sent
    // and its parameter values in order. A runner may run the statement on
    // another thread and wait for it, or produce the same rows another way;
    // the data set itself is only touched on the thread that opens it.
    using Runner = std::function<FbResult(FbConnection&, const QString& sql, const QVariantList& values)>;
    // Opens once with `runner` instead of running the statement here.
    void OpenWith(const Runner& runner);

    int RecordCount() const override { return m_rows.RowCount(); }
    QVariant FieldValue(int index) const override;

protected:
    // The attachment to run the statement on, opened if need be.
    virtual FbConnection& AcquireConnection() = 0;

    void InternalOpen() override;
    void InternalClose() override;
    bool InternalGoto(int record) override;

private:
    StatementText m_sql;
    TParams m_params;
    CompactRowStore m_rows;
    CompactRowCursor m_cursor{m_rows};
    Runner m_runner;
};
