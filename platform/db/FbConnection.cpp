#include "FbConnection.h"
#include "DatabaseError.h"
#include "FirebirdEnvironment.h"
#include "Win1252Text.h"

#include <firebird/Interface.h>

#include <QDateTime>
#include <QHash>
#include <QFile>
#include <cmath>
#include <cstring>
#include <exception>
#include <limits>

using namespace Firebird;

namespace {

constexpr unsigned kDialect = 1;

// Status objects are cheap; one per call keeps the class free of shared state.
struct Status {
    IStatus* raw = FirebirdEnvironment::master()->getStatus();
    ThrowStatusWrapper wrapper{raw};
    ~Status() { raw->dispose(); }
    ThrowStatusWrapper* W() { return &wrapper; }
};

QString describe(const FbException& e)
{
    char buf[2048];
    const unsigned n = FirebirdEnvironment::util()->formatStatus(buf, sizeof buf, e.getStatus());
    return brp::win1252ToQString(buf, static_cast<qsizetype>(std::strlen(buf) < n ? std::strlen(buf) : n)).trimmed();
}

bool isCancellation(const FbException& e)
{
    const ISC_STATUS* v = e.getStatus()->getErrors();
    for (; v && v[0] != isc_arg_end; v += 2)
        if (v[0] == isc_arg_gds && v[1] == isc_cancelled)
            return true;
    return false;
}

template <typename F>
auto guarded(F&& f) -> decltype(f())
{
    try {
        return f();
    } catch (const FbException& e) {
        if (isCancellation(e))
            throw QueryCancelled(describe(e));
        throw DatabaseError(describe(e));
    }
}

struct MetaRelease {
    void operator()(IMessageMetadata* m) const { if (m) m->release(); }
};
using MetaPtr = std::unique_ptr<IMessageMetadata, MetaRelease>;

const QDate kEpoch(1858, 11, 17);   // day 0 of ISC_DATE

ISC_DATE encodeDate(const QDate& d)
{
    return static_cast<ISC_DATE>(kEpoch.daysTo(d));
}

QDate decodeDate(ISC_DATE d)
{
    return kEpoch.addDays(d);
}

ISC_TIME encodeTime(const QTime& t)
{
    return static_cast<ISC_TIME>(t.msecsSinceStartOfDay()) * 10;
}

QTime decodeTime(ISC_TIME t)
{
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(t / 10));
}

QDateTime asDateTime(const QVariant& v)
{
    QDateTime dt;
    if (v.typeId() == QMetaType::QDate) {
        dt = QDateTime(v.toDate(), QTime(0, 0));
    } else if (v.typeId() == QMetaType::QString) {
        // Texts sent as dates follow the day/month/year order.
        const QDate d = QDate::fromString(v.toString().trimmed(), QStringLiteral("dd/MM/yyyy"));
        dt = d.isValid() ? QDateTime(d, QTime(0, 0)) : v.toDateTime();
    } else {
        dt = v.toDateTime();
    }
    // Text that is no date would otherwise be stored as day 0.
    if (!dt.isValid())
        throw DatabaseError(QStringLiteral("conversion error from string \"%1\"").arg(v.toString()));
    return dt;
}

// Writes `v` into the input message field `i`.
void putValue(IMessageMetadata* meta, unsigned i, unsigned char* buf, const QVariant& v)
{
    Status st;
    const unsigned type = meta->getType(st.W(), i) & ~1u;
    const unsigned off = meta->getOffset(st.W(), i);
    const unsigned nullOff = meta->getNullOffset(st.W(), i);
    const int scale = meta->getScale(st.W(), i);
    const unsigned len = meta->getLength(st.W(), i);
    auto* null = reinterpret_cast<short*>(buf + nullOff);
    // A date or time left empty (invalid) is no value, not day 0.
    const bool emptyDate = (v.typeId() == QMetaType::QDate && !v.toDate().isValid())
        || (v.typeId() == QMetaType::QDateTime && !v.toDateTime().isValid())
        || (v.typeId() == QMetaType::QTime && !v.toTime().isValid());
    if (!v.isValid() || v.isNull() || emptyDate) {
        *null = -1;
        return;
    }
    *null = 0;
    unsigned char* p = buf + off;
    // Exact integers go through unchanged so that large BIGINTs keep every digit.
    // `bits` is the width of the column's integer; its range is [-2^(bits-1), 2^(bits-1)).
    const auto integral = [&](int bits) -> qint64 {
        const qint64 hi = bits == 64 ? std::numeric_limits<qint64>::max() : (qint64(1) << (bits - 1)) - 1;
        const qint64 lo = -hi - 1;
        bool ok = false;
        if (scale == 0 && (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int)) {
            const qint64 x = v.toLongLong(&ok);
            if (x >= lo && x <= hi)
                return x;
            throw DatabaseError(QStringLiteral("arithmetic exception, numeric overflow, or string truncation\n"
                                               "-numeric value is out of range"));
        }
        const double d = v.toDouble(&ok);
        if (!ok && !(v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty()))
            throw DatabaseError(QStringLiteral("conversion error from string \"%1\"").arg(v.toString()));
        const double scaled = std::round(d * std::pow(10.0, -scale));
        // A value that does not fit would otherwise be stored wrapped around.
        if (!(scaled >= double(lo) && scaled < -double(lo)))
            throw DatabaseError(QStringLiteral("arithmetic exception, numeric overflow, or string truncation\n"
                                               "-numeric value is out of range"));
        return static_cast<qint64>(scaled);
    };
    switch (type) {
    case SQL_VARYING:
    case SQL_TEXT: {
        QString text;
        if (v.typeId() == QMetaType::QDate)
            text = v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
        else if (v.typeId() == QMetaType::QDateTime)
            text = v.toDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
        else
            text = v.toString();
        const QByteArray bytes = brp::qStringToWin1252(text);
        if (static_cast<unsigned>(bytes.size()) > len)
            throw DatabaseError(QStringLiteral("arithmetic exception, numeric overflow, or string truncation\n"
                                               "-string right truncation"));
        if (type == SQL_VARYING) {
            const auto n = static_cast<unsigned short>(bytes.size());
            std::memcpy(p, &n, sizeof n);
            std::memcpy(p + sizeof n, bytes.constData(), n);
        } else {
            std::memset(p, ' ', len);
            std::memcpy(p, bytes.constData(), static_cast<size_t>(bytes.size()));
        }
        break;
    }
    case SQL_SHORT: { const auto x = static_cast<short>(integral(16)); std::memcpy(p, &x, sizeof x); break; }
    case SQL_LONG: { const auto x = static_cast<ISC_LONG>(integral(32)); std::memcpy(p, &x, sizeof x); break; }
    case SQL_INT64: { const auto x = static_cast<ISC_INT64>(integral(64)); std::memcpy(p, &x, sizeof x); break; }
    case SQL_FLOAT: { const auto x = static_cast<float>(v.toDouble()); std::memcpy(p, &x, sizeof x); break; }
    case SQL_DOUBLE:
    case SQL_D_FLOAT: { const double x = v.toDouble(); std::memcpy(p, &x, sizeof x); break; }
    case SQL_BOOLEAN: { const FB_BOOLEAN x = v.toBool() ? FB_TRUE : FB_FALSE; std::memcpy(p, &x, sizeof x); break; }
    case SQL_TYPE_DATE: { const ISC_DATE x = encodeDate(asDateTime(v).date()); std::memcpy(p, &x, sizeof x); break; }
    case SQL_TYPE_TIME: {
        const QTime t = v.toTime();
        if (!t.isValid())
            throw DatabaseError(QStringLiteral("conversion error from string \"%1\"").arg(v.toString()));
        const ISC_TIME x = encodeTime(t);
        std::memcpy(p, &x, sizeof x);
        break;
    }
    case SQL_TIMESTAMP: {
        const QDateTime dt = asDateTime(v);
        ISC_TIMESTAMP x;
        x.timestamp_date = encodeDate(dt.date());
        x.timestamp_time = encodeTime(dt.time());
        std::memcpy(p, &x, sizeof x);
        break;
    }
    default:
        throw DatabaseError(QStringLiteral("Unsupported parameter type %1").arg(type));
    }
}

TFieldType fieldTypeOf(unsigned type, int scale, int subType)
{
    switch (type) {
    case SQL_VARYING:
    case SQL_TEXT: return TFieldType::ftString;
    case SQL_SHORT: return scale < 0 ? TFieldType::ftBCD : TFieldType::ftSmallint;
    case SQL_LONG: return scale < 0 ? TFieldType::ftBCD : TFieldType::ftInteger;
    case SQL_INT64: return scale < 0 ? TFieldType::ftBCD : TFieldType::ftFloat;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return TFieldType::ftFloat;
    case SQL_BOOLEAN: return TFieldType::ftBoolean;
    case SQL_TYPE_DATE: return TFieldType::ftDate;
    case SQL_TYPE_TIME: return TFieldType::ftTime;
    case SQL_TIMESTAMP: return TFieldType::ftDateTime;
    case SQL_BLOB: return subType == 1 ? TFieldType::ftMemo : TFieldType::ftBlob;
    default: return TFieldType::ftUnknown;
    }
}

QByteArray readBlob(IAttachment* att, ITransaction* tra, ISC_QUAD id)
{
    Status st;
    IBlob* blob = att->openBlob(st.W(), tra, &id, 0, nullptr);
    QByteArray out;
    char chunk[16384];
    try {
        for (;;) {
            unsigned got = 0;
            const int r = blob->getSegment(st.W(), sizeof chunk, chunk, &got);
            if (r == IStatus::RESULT_OK || r == IStatus::RESULT_SEGMENT)
                out.append(chunk, static_cast<qsizetype>(got));
            else
                break;
        }
        blob->close(st.W());
    } catch (...) {
        // close() releases only when it succeeds.
        blob->release();
        throw;
    }
    return out;
}

// Where and how an output column lies in the message, read once per statement.
struct OutColumn {
    unsigned type, offset, nullOffset, length;
    int scale, subType;
    double factor;
};

std::vector<OutColumn> describeOutput(IMessageMetadata* meta)
{
    Status st;
    std::vector<OutColumn> cols;
    const unsigned n = meta->getCount(st.W());
    for (unsigned i = 0; i < n; ++i) {
        OutColumn c;
        c.type = meta->getType(st.W(), i) & ~1u;
        c.offset = meta->getOffset(st.W(), i);
        c.nullOffset = meta->getNullOffset(st.W(), i);
        c.length = meta->getLength(st.W(), i);
        c.scale = meta->getScale(st.W(), i);
        c.subType = meta->getSubType(st.W(), i);
        c.factor = std::pow(10.0, c.scale);
        cols.push_back(c);
    }
    return cols;
}

// Timestamps already made during one statement. A local date-time costs
// several microseconds to build (the C library looks at the time zone file
// each time), and the rows of a statement share few distinct days.
using TimestampCache = QHash<quint64, QDateTime>;

QVariant getValue(IAttachment* att, ITransaction* tra, const OutColumn& c, const unsigned char* buf,
                  TimestampCache& timestamps)
{
    const unsigned type = c.type;
    if (*reinterpret_cast<const short*>(buf + c.nullOffset))
        return QVariant();
    const unsigned char* p = buf + c.offset;
    const int scale = c.scale;
    const double factor = c.factor;
    switch (type) {
    case SQL_VARYING: {
        unsigned short n;
        std::memcpy(&n, p, sizeof n);
        return brp::win1252ToQString(reinterpret_cast<const char*>(p + sizeof n), n);
    }
    case SQL_TEXT:
        return brp::win1252ToQString(reinterpret_cast<const char*>(p), c.length);
    case SQL_SHORT: { short x; std::memcpy(&x, p, sizeof x); return scale < 0 ? QVariant(x * factor) : QVariant(int(x)); }
    case SQL_LONG: { ISC_LONG x; std::memcpy(&x, p, sizeof x); return scale < 0 ? QVariant(x * factor) : QVariant(int(x)); }
    case SQL_INT64: { ISC_INT64 x; std::memcpy(&x, p, sizeof x); return scale < 0 ? QVariant(double(x) * factor) : QVariant(qint64(x)); }
    case SQL_FLOAT: { float x; std::memcpy(&x, p, sizeof x); return double(x); }
    case SQL_DOUBLE:
    case SQL_D_FLOAT: { double x; std::memcpy(&x, p, sizeof x); return x; }
    case SQL_BOOLEAN: return *p != 0;
    case SQL_TYPE_DATE: { ISC_DATE x; std::memcpy(&x, p, sizeof x); return decodeDate(x); }
    case SQL_TYPE_TIME: { ISC_TIME x; std::memcpy(&x, p, sizeof x); return decodeTime(x); }
    case SQL_TIMESTAMP: {
        ISC_TIMESTAMP x;
        std::memcpy(&x, p, sizeof x);
        const quint64 key = (static_cast<quint64>(static_cast<quint32>(x.timestamp_date)) << 32) | x.timestamp_time;
        auto it = timestamps.constFind(key);
        if (it == timestamps.cend()) {
            if (timestamps.size() > 100000)
                timestamps.clear();
            it = timestamps.insert(key, QDateTime(decodeDate(x.timestamp_date), decodeTime(x.timestamp_time)));
        }
        return *it;
    }
    case SQL_BLOB: {
        ISC_QUAD id;
        std::memcpy(&id, p, sizeof id);
        const QByteArray bytes = readBlob(att, tra, id);
        if (c.subType == 1)
            return brp::win1252ToQString(bytes);
        return bytes;
    }
    default:
        return QVariant();
    }
}

void fillInput(IMessageMetadata* meta, std::vector<unsigned char>& buf, const QVariantList& params)
{
    Status st;
    const unsigned count = meta->getCount(st.W());
    if (count != static_cast<unsigned>(params.size()))
        throw DatabaseError(QStringLiteral("Statement expects %1 parameters, %2 given").arg(count).arg(params.size()));
    buf.assign(meta->getMessageLength(st.W()), 0);
    for (unsigned i = 0; i < count; ++i)
        putValue(meta, i, buf.data(), params[static_cast<qsizetype>(i)]);
}

} // namespace

FbConnection::FbConnection() = default;

FbConnection::~FbConnection()
{
    try {
        Detach();
    } catch (...) {
    }
}

void FbConnection::AttachWith(const QString& location, const QString& user, const QString& password, bool create,
                              int pageSize, bool forcedWrites)
{
    Detach();
    guarded([&] {
        Status st;
        IMaster* master = FirebirdEnvironment::master();
        // Released on every path, a failure while filling them included.
        const std::unique_ptr<IXpbBuilder, void (*)(IXpbBuilder*)> dpb(
            FirebirdEnvironment::util()->getXpbBuilder(st.W(), IXpbBuilder::DPB, nullptr, 0),
            [](IXpbBuilder* b) { b->dispose(); });
        dpb->insertString(st.W(), isc_dpb_config, FirebirdEnvironment::providerConfig(location).toUtf8().constData());
        dpb->insertString(st.W(), isc_dpb_lc_ctype, "WIN1252");
        if (!user.isEmpty())
            dpb->insertString(st.W(), isc_dpb_user_name, brp::qStringToWin1252(user).constData());
        if (!password.isEmpty())
            dpb->insertString(st.W(), isc_dpb_password, brp::qStringToWin1252(password).constData());
        dpb->insertInt(st.W(), isc_dpb_sql_dialect, kDialect);
        if (create) {
            dpb->insertInt(st.W(), isc_dpb_page_size, pageSize);
            dpb->insertString(st.W(), isc_dpb_set_db_charset, "WIN1252");
            if (!forcedWrites)
                dpb->insertInt(st.W(), isc_dpb_force_write, 0);
        }
        const std::unique_ptr<IProvider, void (*)(IProvider*)> prov(master->getDispatcher(),
                                                                     [](IProvider* p) { p->release(); });
        const QByteArray path = QFile::encodeName(location);
        m_attachment = create
            ? prov->createDatabase(st.W(), path.constData(), dpb->getBufferLength(st.W()), dpb->getBuffer(st.W()))
            : prov->attachDatabase(st.W(), path.constData(), dpb->getBufferLength(st.W()), dpb->getBuffer(st.W()));
        return 0;
    });
}

void FbConnection::Attach(const QString& location, const QString& user, const QString& password)
{
    AttachWith(location, user, password, false, 0);
}

void FbConnection::Create(const QString& location, const QString& user, const QString& password, int pageSize,
                          bool forcedWrites)
{
    AttachWith(location, user, password, true, pageSize, forcedWrites);
}

void FbConnection::Detach()
{
    for (auto& [sql, stmt] : m_cache) {
        try { Status st; stmt->free(st.W()); } catch (...) { stmt->release(); }
    }
    m_cache.clear();
    // A failed rollback still detaches, then reports: otherwise the
    // destructor, which swallows the failure, would leak the attachment.
    std::exception_ptr rollbackFailure;
    try {
        RollbackBatch();
    } catch (...) {
        rollbackFailure = std::current_exception();
    }
    if (m_attachment) {
        IAttachment* att = m_attachment;
        m_attachment = nullptr;
        guarded([&] {
            Status st;
            try {
                att->detach(st.W());
            } catch (...) {
                att->release();
                throw;
            }
            return 0;
        });
    }
    if (rollbackFailure)
        std::rethrow_exception(rollbackFailure);
}

ITransaction* FbConnection::StartTransaction(bool readOnly)
{
    Status st;
    const unsigned char tpb[] = {isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_nowait,
                                 static_cast<unsigned char>(readOnly ? isc_tpb_read : isc_tpb_write)};
    return m_attachment->startTransaction(st.W(), sizeof tpb, tpb);
}

void FbConnection::FinishTransaction(ITransaction*& tra, bool commit)
{
    if (!tra)
        return;
    // Whatever happens the handle is gone afterwards: a failed commit must not
    // be followed by a rollback of a released transaction.
    ITransaction* t = tra;
    tra = nullptr;
    Status st;
    try {
        if (commit)
            t->commit(st.W());
        else
            t->rollback(st.W());
    } catch (...) {
        t->release();
        throw;
    }
}

class FbConnection::RunningScope {
public:
    explicit RunningScope(FbConnection& c) : m_c(c)
    {
        const std::lock_guard<std::mutex> lock(m_c.m_cancelMutex);
        if (m_c.m_cancelRequested.load())
            throw QueryCancelled(QStringLiteral("operation was cancelled"));
        m_c.m_running = true;
    }
    ~RunningScope()
    {
        const std::lock_guard<std::mutex> lock(m_c.m_cancelMutex);
        m_c.m_running = false;
    }

private:
    FbConnection& m_c;
};

void FbConnection::Cancel()
{
    m_cancelRequested.store(true);
    const std::lock_guard<std::mutex> lock(m_cancelMutex);
    if (!m_running || !m_attachment)
        return;
    m_cancelSent = true;
    try {
        Status st;
        m_attachment->cancelOperation(st.W(), fb_cancel_raise);
    } catch (const FbException&) {
        // Nothing was running any more.
    }
}

void FbConnection::ClearCancel()
{
    bool sent = false;
    {
        const std::lock_guard<std::mutex> lock(m_cancelMutex);
        sent = m_cancelSent;
        m_cancelSent = false;
    }
    // A cancel that reached the engine after the statement's last call
    // would stop the next one: a round trip takes it now.
    if (sent && m_attachment) {
        try {
            Status st;
            m_attachment->ping(st.W());
        } catch (const FbException&) {
        }
    }
    m_cancelRequested.store(false);
}

FbResult FbConnection::Query(const QString& sql, const QVariantList& params)
{
    FbResult result;
    ForEachRow(sql, params, [&](const std::vector<FbColumn>& columns) { result.columns = columns; },
               [&](const QVariantList& row) { result.rows.push_back(row); });
    return result;
}

void FbConnection::ForEachRow(const QString& sql, const QVariantList& params,
                              const std::function<void(const std::vector<FbColumn>&)>& onColumns,
                              const std::function<void(const QVariantList&)>& onRow)
{
    if (!m_attachment)
        throw DatabaseError(QStringLiteral("Database not connected"));
    const RunningScope running(*this);
    try {
        Run(sql, params, onColumns, onRow);
    } catch (const QueryCancelled&) {
        throw;
    } catch (const DatabaseError& e) {
        // A cancel may surface as another failure of the call it stopped.
        if (m_cancelRequested.load())
            throw QueryCancelled(e.Message());
        throw;
    }
}

void FbConnection::Run(const QString& sql, const QVariantList& params,
                       const std::function<void(const std::vector<FbColumn>&)>& onColumns,
                       const std::function<void(const QVariantList&)>& onRow)
{
    guarded([&] {
        Status st;
        ITransaction* tra = m_batch ? m_batch : StartTransaction(true);
        IStatement* stmt = nullptr;
        IResultSet* rs = nullptr;
        try {
            const QByteArray text = brp::qStringToWin1252(sql);
            stmt = m_attachment->prepare(st.W(), tra, 0, text.constData(), kDialect, IStatement::PREPARE_PREFETCH_METADATA);
            MetaPtr in(stmt->getInputMetadata(st.W()));
            std::vector<unsigned char> inBuf;
            fillInput(in.get(), inBuf, params);
            MetaPtr out(stmt->getOutputMetadata(st.W()));
            const unsigned cols = out->getCount(st.W());
            std::vector<FbColumn> columns;
            for (unsigned i = 0; i < cols; ++i) {
                const char* alias = out->getAlias(st.W(), i);
                const char* field = out->getField(st.W(), i);
                FbColumn c;
                const char* name = alias && *alias ? alias : field;
                c.name = brp::win1252ToQString(name, static_cast<qsizetype>(std::strlen(name)));
                c.type = fieldTypeOf(out->getType(st.W(), i) & ~1u, out->getScale(st.W(), i), out->getSubType(st.W(), i));
                c.size = static_cast<int>(out->getLength(st.W(), i));
                columns.push_back(c);
            }
            if (onColumns)
                onColumns(columns);
            if (cols > 0) {
                rs = stmt->openCursor(st.W(), tra, in.get(), inBuf.empty() ? nullptr : inBuf.data(), out.get(), 0);
                std::vector<unsigned char> row(out->getMessageLength(st.W()));
                const std::vector<OutColumn> layout = describeOutput(out.get());
                QVariantList values;
                values.reserve(static_cast<qsizetype>(cols));
                TimestampCache timestamps;
                while (rs->fetchNext(st.W(), row.data()) == IStatus::RESULT_OK) {
                    values.clear();
                    for (unsigned i = 0; i < cols; ++i)
                        values.append(getValue(m_attachment, tra, layout[i], row.data(), timestamps));
                    onRow(values);
                }
                rs->close(st.W());
                rs = nullptr;
            } else {
                stmt->execute(st.W(), tra, in.get(), inBuf.empty() ? nullptr : inBuf.data(), nullptr, nullptr);
            }
            stmt->free(st.W());
            stmt = nullptr;
            if (!m_batch)
                FinishTransaction(tra, true);
        } catch (...) {
            if (rs)
                rs->release();
            if (stmt)
                stmt->release();
            if (!m_batch) {
                try { FinishTransaction(tra, false); } catch (...) {}
            }
            throw;
        }
        return 0;
    });
}

void FbConnection::Execute(const QString& sql, const QVariantList& params)
{
    if (!m_attachment)
        throw DatabaseError(QStringLiteral("Database not connected"));
    guarded([&] {
        Status st;
        if (!m_batch) {
            ITransaction* tra = StartTransaction(false);
            try {
                const QByteArray text = brp::qStringToWin1252(sql);
                IStatement* stmt = m_attachment->prepare(st.W(), tra, 0, text.constData(), kDialect, 0);
                try {
                    MetaPtr in(stmt->getInputMetadata(st.W()));
                    std::vector<unsigned char> inBuf;
                    fillInput(in.get(), inBuf, params);
                    stmt->execute(st.W(), tra, in.get(), inBuf.empty() ? nullptr : inBuf.data(), nullptr, nullptr);
                    stmt->free(st.W());
                } catch (...) {
                    // free() releases only when it succeeds.
                    stmt->release();
                    throw;
                }
                FinishTransaction(tra, true);
            } catch (...) {
                try { FinishTransaction(tra, false); } catch (...) {}
                throw;
            }
            return 0;
        }
        IStatement*& stmt = m_cache[sql];
        if (!stmt) {
            const QByteArray text = brp::qStringToWin1252(sql);
            try {
                stmt = m_attachment->prepare(st.W(), m_batch, 0, text.constData(), kDialect, 0);
            } catch (...) {
                m_cache.erase(sql);
                throw;
            }
        }
        MetaPtr in(stmt->getInputMetadata(st.W()));
        std::vector<unsigned char> inBuf;
        fillInput(in.get(), inBuf, params);
        stmt->execute(st.W(), m_batch, in.get(), inBuf.empty() ? nullptr : inBuf.data(), nullptr, nullptr);
        return 0;
    });
}

void FbConnection::BeginBatch()
{
    if (!m_attachment)
        throw DatabaseError(QStringLiteral("Database not connected"));
    if (!m_batch)
        m_batch = guarded([&] { return StartTransaction(false); });
}

void FbConnection::CommitBatch()
{
    ITransaction* tra = m_batch;
    m_batch = nullptr;
    guarded([&] { FinishTransaction(tra, true); return 0; });
}

void FbConnection::RollbackBatch()
{
    ITransaction* tra = m_batch;
    m_batch = nullptr;
    guarded([&] { FinishTransaction(tra, false); return 0; });
}
