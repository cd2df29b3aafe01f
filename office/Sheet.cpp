#include "office/Sheet.h"
#include "office/Error.h"
#include "office/Xml.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace office {

namespace {

int rowNumber(const pugi::xml_node& row)
{
    return row.attribute("r").as_int();
}

CellRef cellRef(const pugi::xml_node& c)
{
    CellRef ref;
    tryParseCell(qs(c.attribute("r").value()), ref);
    return ref;
}

bool truthy(const pugi::xml_attribute& a)
{
    const char* v = a.value();
    return std::strcmp(v, "1") == 0 || std::strcmp(v, "true") == 0;
}

// Drops value, inline text and formula; the style stays.
void clearContent(pugi::xml_node c)
{
    for (pugi::xml_node k = c.first_child(); k;) {
        const pugi::xml_node next = k.next_sibling();
        if (isNamed(k, "v") || isNamed(k, "is") || isNamed(k, "f"))
            c.remove_child(k);
        k = next;
    }
    c.remove_attribute("t");
}

// Characters that XML 1.0 cannot carry would break the file.
QString xmlSafe(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar ch : text)
        if (ch.unicode() >= 0x20 || ch == u'\t' || ch == u'\n' || ch == u'\r')
            out += ch;
    return out;
}

QString shiftRefList(const QString& list, RowShift shift)
{
    QStringList out;
    for (const QString& item : list.split(u' ', Qt::SkipEmptyParts)) {
        RangeRef r;
        try {
            r = parseRange(item);
        } catch (const Error&) {
            out << item;
            continue;
        }
        if (shiftRowSpan(r.first.row, r.last.row, shift))
            out << rangeName(r);
    }
    return out.join(u' ');
}

} // namespace

Sheet::Sheet(const QString& name, const QString& part, const QByteArray& xml)
    : name_(name), part_(part)
{
    parseXml(doc_, xml, part);
    sheet_ = rootElement(doc_);
    data_ = child(sheet_, "sheetData");
    if (!isNamed(sheet_, "worksheet") || !data_)
        throw Error(QStringLiteral("Лист «%1» книги повреждён: нет данных листа").arg(name));
    normalize();
    reindex();
}

// Rows and cells without an "r" take the next position, as readers assume;
// shared formulas become ordinary ones so that each cell can move alone.
void Sheet::normalize()
{
    int lastRow = 0;
    struct Master { QString text; CellRef at; };
    std::map<int, Master> masters;
    for (pugi::xml_node row : children(data_, "row")) {
        int r = rowNumber(row);
        if (r <= lastRow)
            r = lastRow + 1;
        lastRow = r;
        setAttr(row, "r", QString::number(r));
        int lastCol = 0;
        for (pugi::xml_node c : children(row, "c")) {
            CellRef ref = cellRef(c);
            if (ref.row != r || ref.col <= lastCol)
                ref = {r, lastCol + 1};
            lastCol = ref.col;
            setAttr(c, "r", cellName(ref));
            pugi::xml_node f = child(c, "f");
            if (f && std::strcmp(f.attribute("t").value(), "shared") == 0 && *f.text().get())
                masters[f.attribute("si").as_int()] = {qs(f.text().get()), ref};
        }
    }
    if (masters.empty())
        return;
    for (pugi::xml_node row : children(data_, "row"))
        for (pugi::xml_node c : children(row, "c")) {
            pugi::xml_node f = child(c, "f");
            if (!f || std::strcmp(f.attribute("t").value(), "shared") != 0)
                continue;
            const auto m = masters.find(f.attribute("si").as_int());
            if (m != masters.end() && !*f.text().get()) {
                const CellRef at = cellRef(c);
                f.text().set(offsetFormula(m->second.text, at.row - m->second.at.row, at.col - m->second.at.col)
                                 .toUtf8()
                                 .constData());
            }
            f.remove_attribute("t");
            f.remove_attribute("ref");
            f.remove_attribute("si");
        }
}

void Sheet::reindex()
{
    rows_.clear();
    for (pugi::xml_node row : children(data_, "row"))
        rows_[rowNumber(row)] = row;
}

pugi::xml_node Sheet::findRow(int r) const
{
    const auto it = rows_.find(r);
    return it == rows_.end() ? pugi::xml_node() : it->second;
}

pugi::xml_node Sheet::findCell(CellRef at) const
{
    for (pugi::xml_node c : children(findRow(at.row), "c"))
        if (cellRef(c).col == at.col)
            return c;
    return {};
}

pugi::xml_node Sheet::row(int r)
{
    if (pugi::xml_node found = findRow(r))
        return found;
    const auto next = rows_.upper_bound(r);
    pugi::xml_node row = insertElementBefore(data_, "row", next == rows_.end() ? pugi::xml_node() : next->second);
    setAttr(row, "r", QString::number(r));
    rows_[r] = row;
    return row;
}

pugi::xml_node Sheet::cell(CellRef at)
{
    pugi::xml_node r = row(at.row);
    pugi::xml_node before;
    for (pugi::xml_node c : children(r, "c")) {
        const int col = cellRef(c).col;
        if (col == at.col)
            return c;
        if (col > at.col) {
            before = c;
            break;
        }
    }
    pugi::xml_node c = insertElementBefore(r, "c", before);
    setAttr(c, "r", cellName(at));
    if (const int s = defaultStyle(at.row, at.col))
        setAttr(c, "s", QString::number(s));
    return c;
}

int Sheet::defaultStyle(int r, int col) const
{
    const pugi::xml_node rowNode = findRow(r);
    if (rowNode && truthy(rowNode.attribute("customFormat")))
        return rowNode.attribute("s").as_int();
    for (pugi::xml_node c : children(child(sheet_, "cols"), "col"))
        if (col >= c.attribute("min").as_int() && col <= c.attribute("max").as_int())
            return c.attribute("style").as_int();
    return 0;
}

void Sheet::setText(CellRef at, const QString& text)
{
    pugi::xml_node c = cell(at);
    clearContent(c);
    const QString safe = xmlSafe(text);
    if (safe.isEmpty())
        return;
    setAttr(c, "t", QStringLiteral("inlineStr"));
    pugi::xml_node t = appendElement(appendElement(c, "is"), "t");
    if (safe.front().isSpace() || safe.back().isSpace())
        t.append_attribute("xml:space") = "preserve";
    t.text().set(safe.toUtf8().constData());
}

void Sheet::setNumber(CellRef at, double value)
{
    if (!std::isfinite(value))
        throw Error(QStringLiteral("В ячейку %1 нельзя записать число %2").arg(cellName(at)).arg(value));
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    *res.ptr = '\0';
    pugi::xml_node c = cell(at);
    clearContent(c);
    appendElement(c, "v").text().set(buf);
}

void Sheet::clear(CellRef at)
{
    if (pugi::xml_node c = findCell(at))
        clearContent(c);
}

void Sheet::clear(const RangeRef& range)
{
    for (auto it = rows_.lower_bound(range.first.row); it != rows_.end() && it->first <= range.last.row; ++it)
        for (pugi::xml_node c : children(it->second, "c"))
            if (range.contains(it->first, cellRef(c).col))
                clearContent(c);
}

void Sheet::setStyle(CellRef at, int style)
{
    pugi::xml_node c = cell(at);
    if (style)
        setAttr(c, "s", QString::number(style));
    else
        c.remove_attribute("s");
}

void Sheet::forEachFormula(const std::function<void(pugi::xml_node, CellRef)>& fn)
{
    for (pugi::xml_node row : children(data_, "row"))
        for (pugi::xml_node c : children(row, "c"))
            if (pugi::xml_node f = child(c, "f"))
                fn(f, cellRef(c));
}

// Renumbers the rows and cells below the shift point and moves every
// reference of this sheet: formulas, merged areas, conditional formats,
// validations, hyperlinks and page breaks.
void Sheet::shiftRows(RowShift shift)
{
    for (pugi::xml_node row : children(data_, "row")) {
        const int r = shiftedRow(rowNumber(row), shift);
        if (r == 0 || r == rowNumber(row))
            continue;
        setAttr(row, "r", QString::number(r));
        for (pugi::xml_node c : children(row, "c"))
            setAttr(c, "r", cellName(r, cellRef(c).col));
    }
    forEachFormula([&](pugi::xml_node f, CellRef) {
        f.text().set(shiftFormula(qs(f.text().get()), shift, name_, true).toUtf8().constData());
        if (f.attribute("ref"))
            setAttr(f, "ref", shiftRefList(attr(f, "ref"), shift));
    });
    shiftAreas(shift);
    reindex();
}

void Sheet::shiftAreas(RowShift shift)
{
    if (pugi::xml_node merges = child(sheet_, "mergeCells")) {
        for (pugi::xml_node m : children(merges, "mergeCell")) {
            const QString moved = shiftRefList(attr(m, "ref"), shift);
            if (moved.isEmpty() || !moved.contains(u':'))
                merges.remove_child(m);
            else
                setAttr(m, "ref", moved);
        }
        if (merges.attribute("count"))
            setAttr(merges, "count", QString::number(children(merges, "mergeCell").size()));
    }
    auto shiftSqref = [&](const char* container, const char* item, const char* attribute) {
        for (pugi::xml_node holder : {sheet_, child(sheet_, container)})
            for (pugi::xml_node n : children(holder, item)) {
                const QString moved = shiftRefList(attr(n, attribute), shift);
                if (moved.isEmpty())
                    holder.remove_child(n);
                else
                    setAttr(n, attribute, moved);
            }
    };
    shiftSqref("", "conditionalFormatting", "sqref");
    shiftSqref("dataValidations", "dataValidation", "sqref");
    shiftSqref("hyperlinks", "hyperlink", "ref");
    if (pugi::xml_node breaks = child(sheet_, "rowBreaks"))
        for (pugi::xml_node b : children(breaks, "brk")) {
            const int id = shiftedRow(b.attribute("id").as_int(), shift);
            if (id == 0)
                breaks.remove_child(b);
            else
                setAttr(b, "id", QString::number(id));
        }
}

void Sheet::insertRows(int before, int count)
{
    if (count <= 0)
        return;
    if (before < 1 || lastRow() + count > kMaxRow)
        throw Error(QStringLiteral("Нельзя вставить %1 строк перед строкой %2 листа «%3»").arg(count).arg(before).arg(name_));
    const RowShift shift{before, count};
    QStringList rowMerges;
    for (pugi::xml_node m : children(child(sheet_, "mergeCells"), "mergeCell")) {
        const RangeRef r = parseRange(attr(m, "ref"));
        if (r.first.row == before && r.last.row == before)
            rowMerges << attr(m, "ref");
    }
    shiftRows(shift);

    // Without a row to copy, the new rows are simply empty.
    const pugi::xml_node source = findRow(before + count);
    for (int i = 0; source && i < count; ++i) {
        const int r = before + i;
        pugi::xml_node row = data_.insert_child_before(source.name(), source);
        for (pugi::xml_attribute a = source.first_attribute(); a; a = a.next_attribute())
            row.append_attribute(a.name()) = a.value();
        setAttr(row, "r", QString::number(r));
        for (pugi::xml_node sc : children(source, "c")) {
            const CellRef at{r, cellRef(sc).col};
            pugi::xml_node c = appendElement(row, "c");
            setAttr(c, "r", cellName(at));
            if (sc.attribute("s"))
                setAttr(c, "s", attr(sc, "s"));
            if (pugi::xml_node f = child(sc, "f"))
                appendElement(c, "f").text().set(
                    offsetFormula(qs(f.text().get()), r - (before + count), 0).toUtf8().constData());
        }
    }
    if (!rowMerges.isEmpty()) {
        pugi::xml_node merges = child(sheet_, "mergeCells");
        for (const QString& ref : rowMerges) {
            RangeRef m = parseRange(ref);
            for (int i = 0; i < count; ++i) {
                m.first.row = m.last.row = before + i;
                setAttr(appendElement(merges, "mergeCell"), "ref", rangeName(m));
            }
        }
        if (merges.attribute("count"))
            setAttr(merges, "count", QString::number(children(merges, "mergeCell").size()));
    }
    reindex();
}

void Sheet::deleteRows(int first, int count)
{
    if (count <= 0)
        return;
    for (auto it = rows_.lower_bound(first); it != rows_.end() && it->first < first + count; ++it)
        data_.remove_child(it->second);
    reindex();
    shiftRows({first, -count});
}

void Sheet::shiftReferencesTo(const QString& sheet, RowShift shift)
{
    forEachFormula([&](pugi::xml_node f, CellRef) {
        f.text().set(shiftFormula(qs(f.text().get()), shift, sheet, false).toUtf8().constData());
    });
}

void Sheet::dropCachedValues()
{
    forEachFormula([](pugi::xml_node f, CellRef) {
        pugi::xml_node c = f.parent();
        if (pugi::xml_node v = child(c, "v"))
            c.remove_child(v);
        c.remove_attribute("t");
    });
}

QByteArray Sheet::serialize()
{
    if (pugi::xml_node dim = child(sheet_, "dimension")) {
        int r1 = 0, r2 = 0, c1 = 0, c2 = 0;
        for (const auto& [r, row] : rows_)
            for (pugi::xml_node c : children(row, "c")) {
                const int col = cellRef(c).col;
                r1 = r1 ? std::min(r1, r) : r;
                r2 = std::max(r2, r);
                c1 = c1 ? std::min(c1, col) : col;
                c2 = std::max(c2, col);
            }
        setAttr(dim, "ref", r1 ? rangeName({{r1, c1}, {r2, c2}}) : QStringLiteral("A1"));
    }
    return serializeXml(doc_);
}

QString Sheet::text(CellRef at, const std::vector<QString>& sharedStrings) const
{
    const pugi::xml_node c = findCell(at);
    const char* type = c.attribute("t").value();
    if (std::strcmp(type, "inlineStr") == 0)
        return stringItemText(child(c, "is"));
    const QString v = qs(child(c, "v").text().get());
    if (std::strcmp(type, "s") == 0) {
        bool ok = false;
        const int i = v.toInt(&ok);
        return ok && i >= 0 && size_t(i) < sharedStrings.size() ? sharedStrings[size_t(i)] : QString();
    }
    return v;
}

bool Sheet::number(CellRef at, double& value) const
{
    const pugi::xml_node c = findCell(at);
    const char* type = c.attribute("t").value();
    const pugi::xml_node v = child(c, "v");
    if (!v || (*type && std::strcmp(type, "n") != 0))
        return false;
    bool ok = false;
    value = qs(v.text().get()).toDouble(&ok);
    return ok;
}

QString Sheet::formula(CellRef at) const
{
    return qs(child(findCell(at), "f").text().get());
}

bool Sheet::hasCachedValue(CellRef at) const
{
    return bool(child(findCell(at), "v"));
}

int Sheet::style(CellRef at) const
{
    if (const pugi::xml_node c = findCell(at))
        return c.attribute("s").as_int();
    return defaultStyle(at.row, at.col);
}

QStringList Sheet::mergedRanges() const
{
    QStringList out;
    for (pugi::xml_node m : children(child(sheet_, "mergeCells"), "mergeCell"))
        out << attr(m, "ref");
    return out;
}

int Sheet::lastRow() const
{
    return rows_.empty() ? 0 : rows_.rbegin()->first;
}

} // namespace office
