// Parameter lists, statement parameters and the Firebird layers on real
// database files in a temporary folder.
#include "AliasConfig.h"
#include "DatabaseError.h"
#include "FbConnection.h"
#include "FirebirdEnvironment.h"
#include "ParameterList.h"
#include "StatementText.h"
#include "TDatabase.h"
#include "TParams.h"
#include "TQuery.h"
#include "TSQLConnection.h"
#include "TSQLQuery.h"
#include "TSession.h"
#include "TempFirebird.h"
#include "Win1252Text.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <limits>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

TEST(ParameterList, NameValueRules)
{
    ParameterList p{QStringLiteral("DriverName=Informix"), QStringLiteral("DataBase="),
                    QStringLiteral("User_Name=user"), QStringLiteral("Trim Char=False")};
    EXPECT_EQ(p.Value(QStringLiteral("drivername")), QStringLiteral("Informix"));
    EXPECT_EQ(p.Value(QStringLiteral("absent")), QString());
    EXPECT_EQ(p.IndexOfName(QStringLiteral("DATABASE")), 1);

    p.SetValue(QStringLiteral("database"), QStringLiteral("srv:/data/x.fdb"));   // replaced in place
    EXPECT_EQ(p.Lines().at(1), QStringLiteral("database=srv:/data/x.fdb"));
    p.SetValue(QStringLiteral("USER_NAME"), QString());                           // empty removes
    EXPECT_EQ(p.IndexOfName(QStringLiteral("User_Name")), -1);
    p.SetValue(QStringLiteral("USER_NAME"), QString());                           // absent: no effect
    p.SetValue(QStringLiteral("Password"), QStringLiteral("a=b"));                // appended, '=' in value kept
    EXPECT_EQ(p.Value(QStringLiteral("password")), QStringLiteral("a=b"));
    EXPECT_EQ(p.Count(), 4);
    p.Remove(QStringLiteral("Database"));
    EXPECT_EQ(p.Text(), QStringLiteral("DriverName=Informix\r\nTrim Char=False\r\nPassword=a=b\r\n"));
}

TEST(TParams, NamedMarkers)
{
    struct Caso { const char* sql; const char* positional; QStringList names; };
    const Caso casos[] = {
        {"select * from t where a = :A and b = :b", "select * from t where a = ? and b = ?", {QStringLiteral("A"), QStringLiteral("b")}},
        {"x between :D1 and :D2 union x between :d1 and :D2", "x between ? and ? union x between ? and ?",
         {QStringLiteral("D1"), QStringLiteral("D2"), QStringLiteral("d1"), QStringLiteral("D2")}},
        {"where s = ':no' and t = \"a:b\" and u = :Yes", "where s = ':no' and t = \"a:b\" and u = ?", {QStringLiteral("Yes")}},
        {"where s = 'it''s :no' and u = :p_1$", "where s = 'it''s :no' and u = ?", {QStringLiteral("p_1$")}},
        {"cast(x as int)::text, a : b, :", "cast(x as int)::text, a : b, :", {}},
        {"a = :x -- at 10:30\n and b = :y /* :z\n */ and c = :w /* :v", "a = ? -- at 10:30\n and b = ? /* :z\n */ and c = ? /* :v",
         {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("w")}},
        {"a = 1 - -:n / :m", "a = 1 - -? / ?", {QStringLiteral("n"), QStringLiteral("m")}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.sql);
        const ParsedStatement p = TParams::Parse(QString::fromUtf8(c.sql));
        EXPECT_EQ(p.sql, QString::fromUtf8(c.positional));
        EXPECT_EQ(p.occurrences, c.names);
    }

    TParams params;
    params.Rebuild({QStringLiteral("D1"), QStringLiteral("D2"), QStringLiteral("d1")});
    ASSERT_EQ(params.Count(), 2);   // one entry per name, whatever its case
    params.ParamByName(QStringLiteral("d2"))->SetAsDate(QDate(2020, 2, 29));
    params.Rebuild({QStringLiteral("D2"), QStringLiteral("X")});   // a kept name keeps its value
    EXPECT_EQ(params.ParamByName(QStringLiteral("D2"))->AsDate(), QDate(2020, 2, 29));
    EXPECT_TRUE(params.ParamByName(QStringLiteral("X"))->IsNull());
    EXPECT_EQ(params.FindParam(QStringLiteral("D1")), nullptr);
    EXPECT_THROW(params.ParamByName(QStringLiteral("D1")), DatabaseError);
}

TEST(TParams, DeclaredTypesSurviveStatementChangesAndBadDeclarationsFail)
{
    TQuery q;
    // Declared before the statement exists, as a definition may order them.
    q.SetParamData({QVariantMap{{QStringLiteral("Name"), QStringLiteral("Sistema")}, {QStringLiteral("DataType"), QStringLiteral("ftString")}, {QStringLiteral("ParamType"), QStringLiteral("ptUnknown")}},
                    QVariantMap{{QStringLiteral("Name"), QStringLiteral("Dia")}, {QStringLiteral("DataType"), QStringLiteral("ftDate")}}});
    q.SetSQLLines({QStringLiteral("select * from T"), QStringLiteral("where Sistema = :SISTEMA and Dia = :Dia and Outro = :Outro")});
    ASSERT_EQ(q.ParamCount(), 3);
    EXPECT_EQ(q.ParamByName(QStringLiteral("Sistema"))->DataType(), TFieldType::ftString);
    EXPECT_EQ(q.ParamByName(QStringLiteral("Dia"))->DataType(), TFieldType::ftDate);
    EXPECT_EQ(q.ParamByName(QStringLiteral("Outro"))->DataType(), TFieldType::ftUnknown);
    EXPECT_TRUE(q.ParamByName(QStringLiteral("Sistema"))->IsNull());
    const QVariantList lidos = q.ParamData();
    ASSERT_EQ(lidos.size(), 3);
    EXPECT_EQ(lidos[1].toMap().value(QStringLiteral("DataType")), QVariant(QStringLiteral("ftDate")));

    const QVariantMap ruins[] = {
        {{QStringLiteral("Name"), QStringLiteral("Sistema")}, {QStringLiteral("DataType"), QStringLiteral("ftText")}},
        {{QStringLiteral("Name"), QStringLiteral("Sistema")}, {QStringLiteral("Size"), 10}},
        {{QStringLiteral("DataType"), QStringLiteral("ftString")}},
    };
    for (const auto& ruim : ruins) {
        EXPECT_THROW(q.SetParamData({ruim}), DatabaseError);
        EXPECT_EQ(q.ParamByName(QStringLiteral("Sistema"))->DataType(), TFieldType::ftString);
    }
}

TEST(StatementText, LinesAndText)
{
    StatementText s;
    int changes = 0;
    s.SetOnChange([&] { ++changes; });
    s.Add(QStringLiteral("a"));
    s.Add(QStringLiteral("b"));
    EXPECT_EQ(s.Text(), QStringLiteral("a\r\nb\r\n"));
    s.SetText(s.Text() + QStringLiteral("c"));
    EXPECT_EQ(s.Lines(), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    s.SetText(QStringLiteral("x\ny\r\n\r\nz\r"));
    EXPECT_EQ(s.Lines(), (QStringList{QStringLiteral("x"), QStringLiteral("y"), QString(), QStringLiteral("z")}));
    EXPECT_EQ(changes, 4);
}

TEST(Win1252Text, RoundTripAndUnmappable)
{
    const QString text = QStringLiteral("Atenção: São Paulo – 10 € “ok”");
    const QByteArray bytes = brp::qStringToWin1252(text);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(static_cast<unsigned char>(bytes.at(4)), 0xE7);   // ç
    EXPECT_EQ(brp::win1252ToQString(bytes), text);
    EXPECT_EQ(brp::qStringToWin1252(QStringLiteral("ĳ")), QByteArray("?"));
}

TEST(FirebirdEnvironment, LocalOrServer)
{
    struct Caso { const char* location; bool remote; };
    const Caso casos[] = {
        {"/home/ana/kavrano.fdb", false}, {"kavrano.fdb", false}, {"C:\\Kavrano.gdb", false},
        {"c:/dados/k.gdb", false},        {"/dados/a:b.fdb", false}, {"servidor:/dados/k.fdb", true},
        {"servidor:C:\\Kavrano.gdb", true}, {"10.0.0.5/3051:/dados/k.fdb", true}, {"inet://srv/k", true},
        {"srv/gds_db:k", true},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(FirebirdEnvironment::isRemoteLocation(QString::fromLatin1(c.location)), c.remote) << c.location;
}

// The lock folder chosen before the first connection: a folder of the user's
// own under XDG_RUNTIME_DIR, else under the temporary folder, and whatever
// FIREBIRD_LOCK already names left alone.
TEST(FirebirdEnvironment, PrivateLockFolder)
{
    const QString probe = qEnvironmentVariable("BRP_BINARY_DIR") + QStringLiteral("/tests/platform/db/brp_lock_folder_probe");
    QTemporaryDir runtime, temp;
    const QString fallback = temp.filePath(QStringLiteral("firebird-%1").arg(getuid()));
    const QString chosen = temp.filePath(QStringLiteral("chosen"));
    struct Case {
        const char* name;
        QString xdgRuntimeDir; // empty: unset
        QString firebirdLock;  // empty: unset
        QString expected;
    };
    const Case cases[] = {
        {"XDG_RUNTIME_DIR set", runtime.path(), QString(), runtime.filePath(QStringLiteral("firebird"))},
        {"XDG_RUNTIME_DIR unset", QString(), QString(), fallback},
        {"XDG_RUNTIME_DIR not a folder", runtime.filePath(QStringLiteral("missing")), QString(), fallback},
        {"FIREBIRD_LOCK set", runtime.path(), chosen, chosen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(runtime.filePath(QStringLiteral("firebird"))).removeRecursively();
        QDir(fallback).removeRecursively();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        env.remove(QStringLiteral("FIREBIRD_LOCK"));
        env.insert(QStringLiteral("TMPDIR"), temp.path());
        if (!c.xdgRuntimeDir.isEmpty())
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), c.xdgRuntimeDir);
        if (!c.firebirdLock.isEmpty())
            env.insert(QStringLiteral("FIREBIRD_LOCK"), c.firebirdLock);
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(probe);
        ASSERT_TRUE(p.waitForFinished(30000)) << probe.toStdString();
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        EXPECT_EQ(QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed(), c.expected);
        if (c.firebirdLock.isEmpty()) {
            // Only its owner may enter it: another user's engine cannot take it over.
            struct stat st {};
            ASSERT_EQ(::stat(QFile::encodeName(c.expected).constData(), &st), 0);
            EXPECT_TRUE(S_ISDIR(st.st_mode));
            EXPECT_EQ(st.st_mode & 0777, 0700u);
        } else {
            EXPECT_FALSE(QFileInfo::exists(c.firebirdLock)) << "a folder it was given is not made";
            EXPECT_FALSE(QFileInfo::exists(runtime.filePath(QStringLiteral("firebird"))));
            EXPECT_FALSE(QFileInfo::exists(fallback));
        }
    }
}

class FirebirdFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new TempFirebirdDir;
        FbConnection db;
        db.Create(dir->path(QStringLiteral("t.fdb")), QStringLiteral("SYSDBA"), QString());
        db.Execute(QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL, NOME VARCHAR(30), FIXO CHAR(4),"
                                  " DIA DATE, VALOR NUMERIC(15,2), QTD SMALLINT, MEMO BLOB SUB_TYPE 1)"));
        db.Execute(QStringLiteral("INSERT INTO T VALUES (1, \"Ação\", \"ab\", \"10-MAY-2014\", 12.5, 3, \"nota é\")"));
        db.Execute(QStringLiteral("INSERT INTO T (ID) VALUES (2)"));
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }
    static QString file() { return dir->path(QStringLiteral("t.fdb")); }
    static TempFirebirdDir* dir;
};

TempFirebirdDir* FirebirdFiles::dir = nullptr;

TEST_F(FirebirdFiles, ValuesTypesAndNulls)
{
    TSQLConnection cn;
    cn.SetDriverName(QStringLiteral("Interbase"));
    cn.Params().SetValue(QStringLiteral("Database"), file());
    cn.Params().SetValue(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
    TSQLQuery q;
    q.SetSQLConnection(&cn);
    // Dialect 1: double quotes make a string constant; one name, two markers.
    q.SQL().Add(QStringLiteral("select * from T where NOME = \"Ação\" or ID = :Id or ID = :id + 1"));
    q.SQL().Add(QStringLiteral("order by ID"));
    ASSERT_EQ(q.ParamCount(), 1);
    q.ParamByName(QStringLiteral("ID"))->SetAsInteger(1);
    EXPECT_FALSE(cn.Connected());
    q.Open();   // opens the connection on the way
    EXPECT_TRUE(cn.Connected());
    ASSERT_EQ(q.RecordCount(), 2);
    EXPECT_EQ(q.FieldByName(QStringLiteral("nome"))->AsString(), QStringLiteral("Ação"));
    EXPECT_EQ(q.FieldByName(QStringLiteral("FIXO"))->AsString(), QStringLiteral("ab  "));
    EXPECT_EQ(q.FieldByName(QStringLiteral("DIA"))->AsDateTime(), QDateTime(QDate(2014, 5, 10), QTime(0, 0)));
    EXPECT_DOUBLE_EQ(q.FieldByName(QStringLiteral("VALOR"))->AsFloat(), 12.5);
    EXPECT_EQ(q.FieldByName(QStringLiteral("QTD"))->DataType(), TFieldType::ftSmallint);
    EXPECT_EQ(q.FieldByName(QStringLiteral("MEMO"))->AsString(), QStringLiteral("nota é"));
    q.Next();
    EXPECT_EQ(q.FieldByName(QStringLiteral("ID"))->AsInteger(), 2);
    EXPECT_EQ(q.FieldByName(QStringLiteral("NOME"))->AsString(), QString());
    EXPECT_EQ(q.FieldByName(QStringLiteral("VALOR"))->AsFloat(), 0.0);
    EXPECT_EQ(q.FieldByName(QStringLiteral("DIA"))->DisplayText(), QString());
    q.Next();
    EXPECT_TRUE(q.Eof());

    // Dates bind as dates.
    q.SQL().SetText(QStringLiteral("select ID from T where DIA between :D and :D"));
    q.ParamByName(QStringLiteral("D"))->SetAsDate(QDate(2014, 5, 10));
    q.Open();
    EXPECT_EQ(q.RecordCount(), 1);
}

TEST_F(FirebirdFiles, FailuresCarryTheDatabaseText)
{
    TSQLConnection cn;
    cn.SetDriverName(QStringLiteral("Interbase"));
    cn.Params().SetValue(QStringLiteral("Database"), dir->path(QStringLiteral("missing.fdb")));
    try {
        cn.Open();
        FAIL() << "opened a missing file";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("missing.fdb"))) << e.Message().toStdString();
    }
    EXPECT_FALSE(cn.Connected());

    cn.Params().SetValue(QStringLiteral("Database"), file());
    TSQLQuery q;
    q.SetSQLConnection(&cn);
    q.SQL().Add(QStringLiteral("select * from SEM_TABELA"));
    try {
        q.Open();
        FAIL() << "opened a missing table";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("Table unknown"))) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains(QStringLiteral("SEM_TABELA")));
    }
    EXPECT_FALSE(q.Active());
    EXPECT_TRUE(q.IsEmpty());

    // A non-database file and a directory fail with a message too.
    TempFirebirdDir::writeFile(dir->path(QStringLiteral("texto.fdb")), QStringLiteral("not a database\n"));
    for (const QString& bad : {dir->path(QStringLiteral("texto.fdb")), dir->path(QString())}) {
        FbConnection db;
        EXPECT_THROW(db.Attach(bad, QStringLiteral("SYSDBA"), QString()), DatabaseError) << bad.toStdString();
    }

    TSQLConnection other;
    other.SetDriverName(QStringLiteral("Informix"));
    other.Params().SetValue(QStringLiteral("Database"), file());
    EXPECT_THROW(other.Open(), DatabaseError);
}

TEST_F(FirebirdFiles, AliasDatabaseAndQueries)
{
    dir->writeAliases(QStringLiteral("# test aliases\n[Kavrano]\nDRIVER=INTRBASE\nSERVER NAME=%1\nUSER NAME=SYSDBA\n\n"
                                     "[Path map]\nC:\\=%2/\nC:\\Dados\\=/nowhere/\n")
                          .arg(file(), dir->path(QString()).chopped(1)));
    EXPECT_EQ(AliasConfig::MapLocation(QStringLiteral("c:\\T.fdb")), dir->path(QStringLiteral("T.fdb")));
    EXPECT_EQ(AliasConfig::MapLocation(QStringLiteral("C:\\Dados\\Sub\\K.gdb")), QStringLiteral("/nowhere/Sub/K.gdb"));
    EXPECT_EQ(AliasConfig::MapLocation(QStringLiteral("srv:/x.fdb")), QStringLiteral("srv:/x.fdb"));

    ParameterList alias;
    TSession::Default()->GetAliasParams(QStringLiteral("kavrano"), alias);
    EXPECT_EQ(alias.Value(QStringLiteral("SERVER NAME")), file());
    EXPECT_THROW(TSession::Default()->GetAliasParams(QStringLiteral("Outro"), alias), DatabaseError);

    auto db = std::make_unique<TDatabase>();
    db->SetAliasName(QStringLiteral("Kavrano"));
    db->SetDatabaseName(QStringLiteral("DbKavrano"));
    db->Params().SetValue(QStringLiteral("USER NAME"), QStringLiteral("SYSDBA"));
    db->Open();   // the alias's server name
    EXPECT_EQ(db->OpenedLocation(), file());

    TQuery q;
    q.SetDatabaseName(QStringLiteral("dbKAVRANO"));
    q.SQL().SetLines({QStringLiteral("select * from T"), QStringLiteral("where ID = :Id or NOME = :Nome")});
    q.ParamByName(QStringLiteral("Id"))->SetDataType(TFieldType::ftString);
    q.Open();   // null parameters match nothing
    EXPECT_TRUE(q.Active());
    EXPECT_TRUE(q.IsEmpty());

    // A parameter written on the component wins over the alias, even empty.
    db->Close();
    db->SetParam(QStringLiteral("SERVER NAME"), QString());
    EXPECT_THROW(db->Open(), DatabaseError);
    db->SetParam(QStringLiteral("SERVER NAME"), QStringLiteral("C:\\t.fdb"));   // through the path map
    db->Open();
    EXPECT_EQ(db->OpenedLocation(), file());
    q.Close();
    q.SQL().SetText(QStringLiteral("select ID from T"));
    q.Open();
    EXPECT_EQ(q.RecordCount(), 2);

    db.reset();
    q.Close();
    EXPECT_THROW(q.Open(), DatabaseError);   // no database of that name any more
}

TEST_F(FirebirdFiles, IntegerParametersKeepTheirValueOrFail)
{
    FbConnection db;
    db.Attach(file(), QStringLiteral("SYSDBA"), QString());
    // Dialect 1 keeps NUMERIC(4,2) in a small integer scaled by 100.
    db.Execute(QStringLiteral("CREATE TABLE N (P SMALLINT, I INTEGER, D NUMERIC(4,2))"));
    const QString insert = QStringLiteral("INSERT INTO N VALUES (?, ?, ?)");
    db.Execute(insert, {32767, QStringLiteral(" -2147483648 "), 99.994});
    const FbResult r = db.Query(QStringLiteral("SELECT P, I, D FROM N"));
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0][0].toInt(), 32767);
    EXPECT_EQ(r.rows[0][1].toInt(), std::numeric_limits<int>::min());
    EXPECT_DOUBLE_EQ(r.rows[0][2].toDouble(), 99.99);

    // Values that do not fit, or are no number, are refused instead of stored wrapped or as zero.
    const QVariantList bad[] = {
        {32768, 0, 0},
        {-32768.6, 0, 0},
        {0, 2147483648.0, 0},
        {0, qint64(1) << 40, 0},
        {0, QStringLiteral("abc"), 0},
        {0, 0, 327.68},
    };
    for (size_t i = 0; i < std::size(bad); ++i)
        EXPECT_THROW(db.Execute(insert, bad[i]), DatabaseError) << "case " << i;
    db.BeginBatch();
    EXPECT_THROW(db.Execute(insert, bad[0]), DatabaseError);
    db.Execute(insert, {1, 2, 3});
    db.CommitBatch();
    EXPECT_EQ(db.Query(QStringLiteral("SELECT COUNT(*) FROM N")).rows[0][0].toInt(), 2);
}

TEST_F(FirebirdFiles, DateParametersAreDatesOrNothing)
{
    FbConnection db;
    db.Attach(file(), QStringLiteral("SYSDBA"), QString());
    db.Execute(QStringLiteral("CREATE TABLE DT (D DATE, H TIMESTAMP)"));
    const QString insert = QStringLiteral("INSERT INTO DT VALUES (?, ?)");
    db.Execute(insert, {QStringLiteral("28/02/2020"), QDateTime(QDate(2020, 2, 28), QTime(13, 5))});
    db.Execute(insert, {QDate(), QDateTime()});   // empty values go in as null
    const FbResult r = db.Query(QStringLiteral("SELECT D, H FROM DT ORDER BY D"));
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_TRUE(r.rows[0][0].isNull() && r.rows[0][1].isNull());
    EXPECT_EQ(r.rows[1][0].toDate(), QDate(2020, 2, 28));
    EXPECT_EQ(r.rows[1][1].toDateTime(), QDateTime(QDate(2020, 2, 28), QTime(13, 5)));

    // Text that is no date fails instead of landing on the calendar's first day.
    const QVariantList bad[] = {
        {QStringLiteral("31/02/2020"), QVariant()},
        {QVariant(), QStringLiteral("ontem")},
    };
    for (size_t i = 0; i < std::size(bad); ++i)
        EXPECT_THROW(db.Execute(insert, bad[i]), DatabaseError) << "case " << i;
    EXPECT_EQ(db.Query(QStringLiteral("SELECT COUNT(*) FROM DT")).rows[0][0].toInt(), 2);
}
