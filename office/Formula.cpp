#include "office/Formula.h"
#include "office/CellRef.h"

#include <functional>

namespace office {

int shiftedRow(int row, RowShift s)
{
    if (s.count >= 0)
        return row >= s.at ? row + s.count : row;
    const int gone = -s.count;
    if (row < s.at)
        return row;
    return row < s.at + gone ? 0 : row - gone;
}

bool shiftRowSpan(int& first, int& last, RowShift s)
{
    if (s.count >= 0) {
        first = shiftedRow(first, s);
        last = shiftedRow(last, s);
        return true;
    }
    const int a = shiftedRow(first, s);
    const int b = shiftedRow(last, s);
    if (a == 0 && b == 0)
        return false;
    first = a ? a : s.at;
    last = b ? b : s.at - 1;
    return first <= last;
}

namespace {

// One end of a reference: a cell, a whole column or a whole row.
struct Part {
    int row = 0; // 0: no row (column reference)
    int col = 0; // 0: no column (row reference)
    bool absRow = false;
    bool absCol = false;
};

struct Ref {
    QString sheet;     // as written, quotes removed
    bool hasSheet = false;
    Part a, b;
    bool range = false;
};

bool isNameChar(QChar ch)
{
    return ch.isLetterOrNumber() || ch == u'_' || ch == u'.' || ch == u'$' || ch == u'\\';
}

bool asciiLetter(QChar ch) { return (ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z'); }
bool asciiDigit(QChar ch) { return ch >= u'0' && ch <= u'9'; }

// Reads one part at i; returns false when there is none.
bool readPart(const QString& f, qsizetype& i, Part& p)
{
    qsizetype j = i;
    p = {};
    if (j < f.size() && f[j] == u'$') {
        p.absCol = true;
        ++j;
    }
    const qsizetype l0 = j;
    while (j < f.size() && asciiLetter(f[j]))
        ++j;
    if (j > l0) {
        p.col = columnNumber(QStringView(f).mid(l0, j - l0));
        if (p.col == 0)
            return false;
        if (j < f.size() && f[j] == u'$') {
            p.absRow = true;
            ++j;
        }
    } else {
        p.absRow = p.absCol;
        p.absCol = false;
    }
    const qsizetype d0 = j;
    while (j < f.size() && asciiDigit(f[j]))
        ++j;
    if (j > d0) {
        bool ok = false;
        p.row = QStringView(f).mid(d0, j - d0).toInt(&ok);
        if (!ok || p.row < 1 || p.row > kMaxRow || f[d0] == u'0')
            return false;
    } else if (p.absRow && p.col) {
        return false; // "A$" alone
    }
    if (p.row == 0 && p.col == 0)
        return false;
    i = j;
    return true;
}

// A reference starting at i (after any sheet prefix); sets end.
bool readRef(const QString& f, qsizetype i, Ref& r, qsizetype& end)
{
    if (!readPart(f, i, r.a))
        return false;
    const bool cell = r.a.row && r.a.col;
    if (i < f.size() && f[i] == u':') {
        qsizetype j = i + 1;
        Part b;
        if (readPart(f, j, b)) {
            const bool sameKind = (cell && b.row && b.col) || (!r.a.row && !b.row) || (!r.a.col && !b.col);
            if (sameKind) {
                r.b = b;
                r.range = true;
                i = j;
            }
        }
    }
    if (!r.range && !cell)
        return false;
    if (i < f.size() && (isNameChar(f[i]) || f[i] == u'(' || f[i] == u'!'))
        return false;
    if (!r.range)
        r.b = r.a;
    end = i;
    return true;
}

QString partText(const Part& p)
{
    QString s;
    if (p.col)
        s += (p.absCol ? QStringLiteral("$") : QString()) + columnLetters(p.col);
    if (p.row)
        s += (p.absRow ? QStringLiteral("$") : QString()) + QString::number(p.row);
    return s;
}

QString refText(const Ref& r)
{
    return r.range ? partText(r.a) + u':' + partText(r.b) : partText(r.a);
}

// Calls edit for each reference; edit rewrites the ref in place and
// returns false when it became invalid (#REF!).
QString rewrite(const QString& f, const std::function<bool(Ref&)>& edit)
{
    QString out;
    out.reserve(f.size() + 8);
    qsizetype i = 0;
    const qsizetype n = f.size();
    auto emitRef = [&](qsizetype start, qsizetype refStart, Ref& r) {
        const QString prefix = f.mid(start, refStart - start);
        out += prefix + (edit(r) ? refText(r) : QStringLiteral("#REF!"));
    };
    while (i < n) {
        const QChar ch = f[i];
        if (ch == u'"') {
            qsizetype j = i + 1;
            while (j < n) {
                if (f[j] == u'"') {
                    if (j + 1 < n && f[j + 1] == u'"') {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += f.mid(i, j + 1 - i);
            i = j + 1;
            continue;
        }
        if (ch == u'[') {
            qsizetype j = i;
            int depth = 0;
            for (; j < n; ++j) {
                if (f[j] == u'[')
                    ++depth;
                else if (f[j] == u']' && --depth == 0)
                    break;
            }
            out += f.mid(i, j + 1 - i);
            i = j + 1;
            continue;
        }
        if (ch == u'\'') {
            qsizetype j = i + 1;
            QString name;
            while (j < n) {
                if (f[j] == u'\'') {
                    if (j + 1 < n && f[j + 1] == u'\'') {
                        name += u'\'';
                        j += 2;
                        continue;
                    }
                    break;
                }
                name += f[j++];
            }
            Ref r;
            qsizetype end = 0;
            if (j + 1 < n && f[j + 1] == u'!' && readRef(f, j + 2, r, end)) {
                r.sheet = name;
                r.hasSheet = true;
                emitRef(i, j + 2, r);
                i = end;
            } else {
                out += f.mid(i, j + 1 - i);
                i = j + 1;
            }
            continue;
        }
        if (isNameChar(ch) && (i == 0 || !isNameChar(f[i - 1]))) {
            qsizetype j = i;
            while (j < n && isNameChar(f[j]))
                ++j;
            Ref r;
            qsizetype end = 0;
            if (j < n && f[j] == u'!') {
                if (readRef(f, j + 1, r, end)) {
                    r.sheet = f.mid(i, j - i);
                    r.hasSheet = true;
                    emitRef(i, j + 1, r);
                    i = end;
                    continue;
                }
            } else if (readRef(f, i, r, end)) {
                emitRef(i, i, r);
                i = end;
                continue;
            }
            out += f.mid(i, j - i);
            i = j;
            continue;
        }
        out += ch;
        ++i;
    }
    return out;
}

} // namespace

QString shiftFormula(const QString& formula, RowShift shift, const QString& sheet,
                     bool unqualifiedIsSheet)
{
    return rewrite(formula, [&](Ref& r) {
        const bool ours = r.hasSheet ? r.sheet.compare(sheet, Qt::CaseInsensitive) == 0
                                     : unqualifiedIsSheet;
        if (!ours || r.a.row == 0)
            return true; // other sheet, or whole columns
        if (!r.range) {
            r.a.row = shiftedRow(r.a.row, shift);
            r.b = r.a;
            return r.a.row != 0;
        }
        return shiftRowSpan(r.a.row, r.b.row, shift);
    });
}

QString offsetFormula(const QString& formula, int dRow, int dCol)
{
    if (dRow == 0 && dCol == 0)
        return formula;
    return rewrite(formula, [&](Ref& r) {
        for (Part* p : {&r.a, &r.b}) {
            if (p->row && !p->absRow) {
                p->row += dRow;
                if (p->row < 1 || p->row > kMaxRow)
                    return false;
            }
            if (p->col && !p->absCol) {
                p->col += dCol;
                if (p->col < 1 || p->col > kMaxCol)
                    return false;
            }
        }
        return true;
    });
}

} // namespace office
