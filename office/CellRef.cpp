#include "office/CellRef.h"
#include "office/Error.h"

namespace office {

int columnNumber(QStringView letters)
{
    if (letters.isEmpty() || letters.size() > 3)
        return 0;
    int col = 0;
    for (QChar ch : letters) {
        const char16_t u = ch.toUpper().unicode();
        if (u < u'A' || u > u'Z')
            return 0;
        col = col * 26 + (u - u'A' + 1);
    }
    return col <= kMaxCol ? col : 0;
}

QString columnLetters(int col)
{
    QString s;
    while (col > 0) {
        const int d = (col - 1) % 26;
        s.prepend(QChar(u'A' + d));
        col = (col - 1) / 26;
    }
    return s;
}

bool tryParseCell(QStringView name, CellRef& out)
{
    qsizetype i = 0;
    const qsizetype n = name.size();
    if (i < n && name[i] == u'$')
        ++i;
    const qsizetype letters = i;
    while (i < n && name[i].isLetter() && name[i].unicode() < 128)
        ++i;
    const int col = columnNumber(name.mid(letters, i - letters));
    if (col == 0)
        return false;
    if (i < n && name[i] == u'$')
        ++i;
    const qsizetype digits = i;
    while (i < n && name[i].isDigit() && name[i].unicode() < 128)
        ++i;
    if (i != n || i == digits || name[digits] == u'0' || i - digits > 7)
        return false;
    const int row = name.mid(digits).toInt();
    if (row < 1 || row > kMaxRow)
        return false;
    out = {row, col};
    return true;
}

CellRef parseCell(const QString& name)
{
    CellRef c;
    if (!tryParseCell(QStringView(name).trimmed(), c))
        throw Error(QStringLiteral("Неверный адрес ячейки «%1»").arg(name));
    return c;
}

RangeRef parseRange(const QString& name)
{
    const QStringView text = QStringView(name).trimmed();
    const qsizetype colon = text.indexOf(u':');
    CellRef a, b;
    const bool ok = colon < 0
        ? tryParseCell(text, a) && (b = a, true)
        : tryParseCell(text.left(colon), a) && tryParseCell(text.mid(colon + 1), b);
    if (!ok)
        throw Error(QStringLiteral("Неверный адрес диапазона «%1»").arg(name));
    return {{std::min(a.row, b.row), std::min(a.col, b.col)},
            {std::max(a.row, b.row), std::max(a.col, b.col)}};
}

QString cellName(int row, int col)
{
    return columnLetters(col) + QString::number(row);
}

QString rangeName(const RangeRef& r)
{
    return r.first == r.last ? cellName(r.first) : cellName(r.first) + u':' + cellName(r.last);
}

} // namespace office
