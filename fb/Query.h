#pragma once
// A statement on the program's connection and transaction: text as lines,
// named parameters, the whole result fetched at open, fields by name.
#include "fb/Error.h"
#include "fb/InputMessage.h"
#include "fb/ParamText.h"
#include "fb/RowSet.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>
#include <vector>

namespace Firebird { class IStatement; }

namespace fb {

class Connection;
class Transaction;
class Query;

// The number of rows the statement's last execution changed; a count the
// engine cannot give throws fb::Error in its own words, never reads as 0.
qint64 affectedRows(Firebird::IStatement* stmt);

// A value of the current row, looked up by name.
class Field {
public:
    Field(const Query* q, int col) : q_(q), col_(col) {}
    QString asString() const;
    int asInteger() const;
    qint64 asInt64() const;
    double asFloat() const;
    // The value in units of 10^scale (scale 0 or negative), exact for a
    // NUMERIC or an integer; a value with more decimals is rounded half to
    // even, a double is rounded once. NULL → 0.
    qint64 asScaled(int scale) const;
    bool isNull() const;

private:
    const Query* q_;
    int col_;
};

class Query {
public:
    Query(Connection* db, Transaction* tr);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    // Text. Changing it drops the parameter values. The statements prepared
    // for the last texts are kept, so a text that comes back (a query used in
    // turn for several statements) is not prepared again.
    void clearSQL();
    void addSQL(const QString& line);
    void setSQL(const QStringList& lines);
    const QStringList& sql() const { return lines_; }
    QString text() const { return lines_.join(u'\n'); }
    const QStringList& paramNames() const { return translated_.names; }
    // Frees the statements kept prepared (a table they use can then be dropped).
    void freeStatements();

    // Parameters; a name may stand several times in the text. Unset → NULL.
    void setString(const QString& name, const QString& value);  // throws EncodingError; over 65,535 bytes, Error
    void setInteger(const QString& name, qint64 value);
    void setFloat(const QString& name, double value);
    // An exact decimal, value × 10^scale (scale 0 or negative).
    void setScaled(const QString& name, qint64 value, int scale);
    void setDateTime(const QString& name, const QDateTime& value);
    void setDate(const QString& name, const QDate& value) { setDateTime(name, QDateTime(value, QTime(0, 0))); }
    void setNull(const QString& name);
    void clearParams();

    void open();      // executes and fetches every row; positions on the first
    // The same, keeping only the named columns, in that order (a long list
    // keeps just what it shows); an unknown name throws fb::Error.
    void open(const QStringList& columns);
    void execSQL();   // executes a statement without a result set
    void close();     // drops the rows (keeps the prepared statement)
    bool isOpen() const { return open_; }

    // Navigation over the fetched rows.
    int recordCount() const { return rows_.rowCount(); }
    void first() { cur_ = 0; }
    void last() { cur_ = rows_.rowCount() > 0 ? rows_.rowCount() - 1 : 0; }
    void next() { if (cur_ < rows_.rowCount()) ++cur_; }
    int row() const { return cur_; }
    bool eof() const { return cur_ >= rows_.rowCount(); }
    // The rows the last statement changed; throws fb::Error when the engine
    // could not say.
    int rowsAffected() const;

    Field field(const QString& name) const;  // throws when the name is unknown
    Field field(int col) const { return Field(this, col); }
    const RowSet& rows() const { return rows_; }
    RowSet takeRows();  // hands the fetched rows over; the query is closed

private:
    friend class Field;
    using Value = ParamValue;

    struct Prepared {
        QString sql;  // as sent, parameters translated
        Firebird::IStatement* stmt;
        unsigned long long serial;  // Connection::serial() of the attachment it was prepared on
    };
    static constexpr size_t kPreparedKept = 16;
    static void drop(const Prepared& p);

    void prepare();
    void run(bool wantRows, const QStringList& keep = {});
    void runOnce(bool wantRows, const QStringList& keep);
    int paramIndex(const QString& name) const;
    void setValue(const QString& name, Value v);

    Connection* db_;
    Transaction* tr_;
    QStringList lines_;
    ParamText translated_;
    bool translatedValid_ = false;
    QHash<QString, Value> values_;
    Firebird::IStatement* stmt_ = nullptr;  // one of prepared_
    unsigned long long stmtSerial_ = 0;     // the attachment stmt_ belongs to
    std::vector<Prepared> prepared_;        // least recently used first
    RowSet rows_;
    int cur_ = 0;
    int affected_ = 0;
    std::optional<Error> countError_;
    bool open_ = false;
};

}  // namespace fb
