// The templates' macros, done as the layer's own code and driven by the
// template's defined names:
// - CleanForm: every line section "<X>" that has a "<X>_Rows" companion
//   is brought back to that many rows (rows that a fill inserted go), then
//   the cells of "CleanCells" (and of "CleanCells2", "CleanCells3"... when
//   a template splits a long list) lose their values; styles stay.
// - Lines: each cell of the selection takes the style of the "LineStyle"
//   sample cell in its column (of the one sample cell when there is one).
#include "office/Templates.h"
#include "office/WorkbookImpl.h"
#include "office/Xml.h"

#include <QFileInfo>

namespace office {

namespace {

QString unquoted(QString s)
{
    s = s.trimmed();
    if (s.size() >= 2 && s.startsWith(u'\'') && s.endsWith(u'\''))
        s = s.mid(1, s.size() - 2);
    return s;
}

} // namespace

bool Workbook::isNamed(const QString& book) const
{
    const QString want = unquoted(book);
    const QString file = name();
    return want.compare(file, Qt::CaseInsensitive) == 0
        || (want + u'x').compare(file, Qt::CaseInsensitive) == 0
        || want.compare(QFileInfo(file).completeBaseName(), Qt::CaseInsensitive) == 0;
}

void Workbook::runMacro(const QString& macro)
{
    QString name = macro.trimmed();
    const qsizetype bang = name.lastIndexOf(u'!');
    if (bang >= 0) {
        if (!isNamed(name.left(bang)))
            throw Error(QStringLiteral("Макрос «%1» недоступен: книга «%2» не открыта")
                            .arg(macro, unquoted(name.left(bang))));
        name = name.mid(bang + 1).trimmed();
    }
    if (name.compare(u"CleanForm", Qt::CaseInsensitive) == 0)
        cleanForm();
    else if (name.compare(u"Lines", Qt::CaseInsensitive) == 0)
        lines();
    else
        throw Error(QStringLiteral("Макрос «%1» недоступен в книге «%2»").arg(macro, this->name()));
}

void Workbook::cleanForm()
{
    const QString cleanCells = QString::fromUtf8(names::CleanCells);
    if (!d->definedName(cleanCells))
        throw Error(QStringLiteral("Макрос «CleanForm» недоступен в книге «%1»: в ней нет имени «%2»")
                        .arg(name(), cleanCells));
    const QString suffix = QString::fromUtf8(names::RowsSuffix);
    QStringList sections, lists;
    for (pugi::xml_node n : children(child(rootElement(d->book), "definedNames"), "definedName")) {
        const QString nm = attr(n, "name");
        if (nm.endsWith(suffix, Qt::CaseInsensitive) && nm.size() > suffix.size())
            sections << nm.left(nm.size() - suffix.size());
        bool numbered = false;
        if (nm.startsWith(cleanCells, Qt::CaseInsensitive) && nm.size() > cleanCells.size())
            nm.mid(cleanCells.size()).toUInt(&numbered);
        if (numbered)
            lists << nm;
    }
    for (const QString& s : sections) {
        bool ok = false;
        const int rows = qs(d->definedName(s + suffix).text().get()).trimmed().toInt(&ok);
        if (!ok || rows < 2)
            continue;
        const Impl::Area area = d->section(s);
        const int extra = area.range.rows() - rows;
        if (extra > 0)
            d->deleteRows(*area.sheet, area.range.first.row + rows - 1, extra);
    }
    lists.prepend(cleanCells);
    for (const QString& list : lists)
        for (const Impl::Area& a : d->areas(list))
            a.sheet->clear(a.range);
}

void Workbook::lines()
{
    const QString lineStyle = QString::fromUtf8(names::LineStyle);
    const auto samples = d->areas(lineStyle);
    if (samples.size() != 1)
        throw Error(QStringLiteral("Макрос «Lines» недоступен в книге «%1»: в ней нет имени «%2»")
                        .arg(name(), lineStyle));
    if (d->selection.isEmpty())
        throw Error(QStringLiteral("Макрос «Lines»: в книге «%1» не выделен диапазон").arg(name()));
    const RangeRef sel = parseRange(d->selection);
    if (qint64(sel.rows()) * (sel.last.col - sel.first.col + 1) > 1000000)
        throw Error(QStringLiteral("Макрос «Lines»: диапазон %1 слишком велик").arg(d->selection));
    const Impl::Area& sample = samples.front();
    for (int c = sel.first.col; c <= sel.last.col; ++c) {
        const int sampleCol = std::clamp(c, sample.range.first.col, sample.range.last.col);
        const int style = sample.sheet->style({sample.range.first.row, sampleCol});
        for (int r = sel.first.row; r <= sel.last.row; ++r)
            d->sheet().setStyle({r, c}, style);
    }
}

int Workbook::fitSection(const QString& section, int lines)
{
    Impl::Area area = d->section(section);
    const int missing = lines - area.range.rows();
    if (missing > 0)
        d->insertRows(*area.sheet, area.range.last.row, missing);
    return d->section(section).range.first.row;
}

} // namespace office
