#pragma once
// The fetched result of a query, packed: each row keeps only the bytes its
// values use, and a value is converted only when it is read.
#include <QDate>
#include <QByteArrayView>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace Firebird { class IMessageMetadata; }

namespace fb {

struct Column {
    QString name;       // the alias as the engine reports it (upper case)
    unsigned type = 0;  // SQL_* without the nullable bit
    int scale = 0;
    unsigned length = 0;
    unsigned offset = 0, nullOffset = 0;  // in the engine's message
};

class RowSet {
public:
    RowSet() = default;
    RowSet(const RowSet&) = default;
    RowSet& operator=(const RowSet&) = default;
    RowSet(RowSet&& other) noexcept;  // leaves `other` empty
    RowSet& operator=(RowSet&& other) noexcept;

    // Takes the columns (all, or just the named ones in the order given:
    // names as for indexOf, an unknown one throws fb::Error); no rows.
    void reset(Firebird::IMessageMetadata* meta, const QStringList& keep = {});
    void clear();                                   // drops columns and rows
    void append(const unsigned char* message);      // one row in the engine's layout

    int rowCount() const { return rows_; }
    int columnCount() const { return int(cols_.size()); }
    const Column& column(int c) const { return cols_[size_t(c)]; }
    int indexOf(const QString& name) const;  // ignoring case; first match; -1

    bool isNull(int row, int col) const;
    QString text(int row, int col) const;    // NULL → ""
    // The stored bytes of a CHAR or VARCHAR value (Windows-1251), unconverted;
    // empty for NULL and for other types. Valid while the rows are.
    QByteArrayView bytes(int row, int col) const;
    qint64 integer(int row, int col) const;  // NULL → 0; text is converted
    double number(int row, int col) const;   // NULL → 0
    // The value in units of 10^scale (scale <= 0): exact for integers and
    // NUMERIC (more decimals than asked are rounded half to even; a value
    // that does not fit 64 bits throws fb::Error); doubles rounded once.
    qint64 scaledInteger(int row, int col, int scale) const;
    QDateTime dateTime(int row, int col) const;  // NULL → invalid
    QDate date(int row, int col) const;  // NULL → invalid; no QDateTime made for a DATE

private:
    static constexpr std::uint32_t kNull = 0xFFFFFFFFu;
    const unsigned char* at(int row, int col) const;

    std::vector<Column> cols_;
    QHash<QString, int> byName_;
    std::vector<unsigned char> data_;
    std::vector<std::uint32_t> offsets_;  // rows × columns; kNull for NULL
    int rows_ = 0;
};

}  // namespace fb
