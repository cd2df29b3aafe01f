#include "office/Workbook.h"
#include "office/WorkbookImpl.h"
#include "office/Xml.h"

#include <QFileInfo>
#include <cstring>
#include <map>

namespace office {

namespace {

bool endsWith(const pugi::xml_node& rel, const char* suffix)
{
    const char* type = rel.attribute("Type").value();
    const size_t n = std::strlen(type), m = std::strlen(suffix);
    return n >= m && std::strcmp(type + n - m, suffix) == 0;
}

QString relsPartOf(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

QByteArray partBytes(const Package& pkg, const QString& part, const QString& file)
{
    const QByteArray* bytes = pkg.find(part);
    if (!bytes)
        throw Error(QStringLiteral("Книга «%1» повреждена: нет части «%2»").arg(file, part));
    return *bytes;
}

// Elements that come after calcPr in a workbook.
const char* const kAfterCalcPr[] = {"oleSize", "customWorkbookViews", "pivotCaches", "smartTagPr",
                                    "smartTagTypes", "webPublishing", "fileRecoveryPr",
                                    "webPublishObjects", "extLst"};

} // namespace

Workbook::Workbook(const QString& path) : d(std::make_unique<Impl>())
{
    d->path = path;
    d->package = Package::load(path);
    const QString file = QFileInfo(path).fileName();

    pugi::xml_document rootRels;
    parseXml(rootRels, partBytes(d->package, QStringLiteral("_rels/.rels"), file), QStringLiteral("_rels/.rels"));
    for (pugi::xml_node rel : children(rootElement(rootRels), "Relationship"))
        if (endsWith(rel, "/officeDocument"))
            d->bookPart = resolvePartName(QString(), attr(rel, "Target"));
    if (d->bookPart.isEmpty())
        throw Error(QStringLiteral("Файл «%1» не является книгой .xlsx: в нём нет книги").arg(path));
    parseXml(d->book, partBytes(d->package, d->bookPart, file), d->bookPart);
    const pugi::xml_node root = rootElement(d->book);

    // The workbook's relationships: sheets, shared strings, styles. The
    // calculation chain goes: it would name cells that move.
    const QString relsPart = relsPartOf(d->bookPart);
    pugi::xml_document rels;
    parseXml(rels, partBytes(d->package, relsPart, file), relsPart);
    std::map<QString, QString> targets;
    for (pugi::xml_node rel : children(rootElement(rels), "Relationship")) {
        if (std::strcmp(rel.attribute("TargetMode").value(), "External") == 0)
            continue;
        const QString target = resolvePartName(d->bookPart, attr(rel, "Target"));
        if (endsWith(rel, "/worksheet"))
            targets[attr(rel, "Id")] = target;
        else if (endsWith(rel, "/sharedStrings")) {
            pugi::xml_document sst;
            parseXml(sst, partBytes(d->package, target, file), target);
            for (pugi::xml_node si : children(rootElement(sst), "si"))
                d->sharedStrings.push_back(stringItemText(si));
        } else if (endsWith(rel, "/styles"))
            parseXml(d->styles, partBytes(d->package, target, file), target);
        else if (endsWith(rel, "/calcChain")) {
            d->package.remove(target);
            rootElement(rels).remove_child(rel);
            d->package.set(relsPart, serializeXml(rels));
            pugi::xml_document types;
            const QString typesPart = QStringLiteral("[Content_Types].xml");
            parseXml(types, partBytes(d->package, typesPart, file), typesPart);
            for (pugi::xml_node o : children(rootElement(types), "Override"))
                if (attr(o, "PartName").compare(u'/' + target, Qt::CaseInsensitive) == 0)
                    rootElement(types).remove_child(o);
            d->package.set(typesPart, serializeXml(types));
        }
    }

    int tab = 0;
    for (pugi::xml_node s : children(child(root, "sheets"), "sheet")) {
        const auto t = targets.find(qs(prefixedAttribute(s, "id").value()));
        if (t != targets.end()) {
            d->sheets.push_back(std::make_unique<Sheet>(attr(s, "name"), t->second,
                                                        partBytes(d->package, t->second, file)));
            d->tabs.push_back(tab);
        }
        ++tab;
    }
    if (d->sheets.empty())
        throw Error(QStringLiteral("В книге «%1» нет листов").arg(file));
    const int activeTab = child(child(root, "bookViews"), "workbookView").attribute("activeTab").as_int();
    for (size_t i = 0; i < d->tabs.size(); ++i)
        if (d->tabs[i] == activeTab)
            d->active = i;

    // The application recalculates every formula when it opens the file.
    pugi::xml_node calc = child(root, "calcPr");
    if (!calc) {
        pugi::xml_node before;
        for (pugi::xml_node c = root.first_child(); c && !before; c = c.next_sibling())
            for (const char* name : kAfterCalcPr)
                if (office::isNamed(c, name))
                    before = c;
        calc = insertElementBefore(root, "calcPr", before);
    }
    setAttr(calc, "fullCalcOnLoad", QStringLiteral("1"));
}

Workbook::~Workbook() = default;
Workbook::Workbook(Workbook&&) noexcept = default;
Workbook& Workbook::operator=(Workbook&&) noexcept = default;

QString Workbook::path() const { return d->path; }
QString Workbook::name() const { return QFileInfo(d->path).fileName(); }
QString Workbook::sheetName() const { return d->sheet().name(); }

void Workbook::setCell(const QString& cell, const QString& text) { d->sheet().setText(parseCell(cell), text); }
void Workbook::setNumber(const QString& cell, double value) { d->sheet().setNumber(parseCell(cell), value); }
void Workbook::clearCell(const QString& cell) { d->sheet().clear(parseCell(cell)); }

void Workbook::select(const QString& range) { d->selection = rangeName(parseRange(range)); }
QString Workbook::selection() const { return d->selection; }

void Workbook::insertRows(int before, int count) { d->insertRows(d->sheet(), before, count); }
void Workbook::deleteRows(int first, int count) { d->deleteRows(d->sheet(), first, count); }

void Workbook::save() { d->write(d->path); }
void Workbook::saveAs(const QString& path)
{
    d->write(path);
    d->path = path;
}
void Workbook::saveCopy(const QString& path) { d->write(path); }

QString Workbook::cellText(const QString& cell) const { return d->sheet().text(parseCell(cell), d->sharedStrings); }
std::optional<double> Workbook::cellNumber(const QString& cell) const
{
    double v = 0;
    return d->sheet().number(parseCell(cell), v) ? std::optional<double>(v) : std::nullopt;
}
QString Workbook::cellFormula(const QString& cell) const { return d->sheet().formula(parseCell(cell)); }
bool Workbook::hasCachedValue(const QString& cell) const { return d->sheet().hasCachedValue(parseCell(cell)); }
int Workbook::cellStyle(const QString& cell) const { return d->sheet().style(parseCell(cell)); }
QStringList Workbook::mergedRanges() const { return d->sheet().mergedRanges(); }
int Workbook::lastRow() const { return d->sheet().lastRow(); }

static pugi::xml_node cellFormat(const pugi::xml_document& styles, int style)
{
    const auto xfs = children(child(rootElement(styles), "cellXfs"), "xf");
    return style >= 0 && size_t(style) < xfs.size() ? xfs[size_t(style)] : pugi::xml_node();
}

bool Workbook::cellHasBorder(const QString& cell) const
{
    const pugi::xml_node xf = cellFormat(d->styles, cellStyle(cell));
    const auto borders = children(child(rootElement(d->styles), "borders"), "border");
    const int id = xf.attribute("borderId").as_int();
    if (!xf || id < 0 || size_t(id) >= borders.size())
        return false;
    for (const char* side : {"left", "right", "top", "bottom"}) {
        const char* style = child(borders[size_t(id)], side).attribute("style").value();
        if (*style && std::strcmp(style, "none") != 0)
            return true;
    }
    return false;
}

QString Workbook::cellNumberFormat(const QString& cell) const
{
    const int id = cellFormat(d->styles, cellStyle(cell)).attribute("numFmtId").as_int();
    for (pugi::xml_node f : children(child(rootElement(d->styles), "numFmts"), "numFmt"))
        if (f.attribute("numFmtId").as_int() == id)
            return attr(f, "formatCode");
    return id == 0 ? QStringLiteral("General") : QStringLiteral("#%1").arg(id);
}

QString Workbook::definedName(const QString& name) const
{
    return qs(d->definedName(name).text().get());
}

bool Workbook::fullCalcOnLoad() const
{
    const char* v = child(rootElement(d->book), "calcPr").attribute("fullCalcOnLoad").value();
    return std::strcmp(v, "1") == 0 || std::strcmp(v, "true") == 0;
}

// --- Impl

Sheet* Workbook::Impl::sheetNamed(const QString& name) const
{
    for (const auto& s : sheets)
        if (s->name().compare(name, Qt::CaseInsensitive) == 0)
            return s.get();
    return nullptr;
}

pugi::xml_node Workbook::Impl::definedName(const QString& name) const
{
    pugi::xml_node global, local;
    for (pugi::xml_node n : children(child(rootElement(book), "definedNames"), "definedName")) {
        if (attr(n, "name").compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (!n.attribute("localSheetId"))
            global = n;
        else if (n.attribute("localSheetId").as_int() == tabs[active])
            local = n;
    }
    return local ? local : global;
}

std::vector<Workbook::Impl::Area> Workbook::Impl::areas(const QString& name) const
{
    const pugi::xml_node node = definedName(name);
    std::vector<Area> out;
    if (!node)
        return out;
    QString text = qs(node.text().get()).trimmed();
    if (text.startsWith(u'='))
        text.remove(0, 1);
    if (text.startsWith(u'(') && text.endsWith(u')'))
        text = text.mid(1, text.size() - 2);
    auto bad = [&] {
        return Error(QStringLiteral("Имя «%1» книги «%2» не задаёт диапазон ячеек: %3")
                         .arg(name, QFileInfo(path).fileName(), text));
    };
    // Items separated by commas outside quoted sheet names.
    QStringList items;
    QString cur;
    bool quoted = false;
    for (QChar ch : text) {
        if (ch == u'\'')
            quoted = !quoted;
        if (ch == u',' && !quoted) {
            items << cur;
            cur.clear();
        } else {
            cur += ch;
        }
    }
    items << cur;
    for (const QString& item : items) {
        const qsizetype bang = item.lastIndexOf(u'!');
        Sheet* target = const_cast<Sheet*>(&sheet());
        if (bang >= 0) {
            QString sheetName = item.left(bang).trimmed();
            if (sheetName.startsWith(u'\'') && sheetName.endsWith(u'\'') && sheetName.size() >= 2)
                sheetName = sheetName.mid(1, sheetName.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
            target = sheetNamed(sheetName);
            if (!target)
                throw bad();
        }
        try {
            out.push_back({target, parseRange(item.mid(bang + 1))});
        } catch (const Error&) {
            throw bad();
        }
    }
    return out;
}

Workbook::Impl::Area Workbook::Impl::section(const QString& name) const
{
    const auto found = areas(name);
    if (found.size() != 1 || found.front().range.rows() < 2)
        throw Error(QStringLiteral("В книге «%1» нет раздела строк «%2»").arg(QFileInfo(path).fileName(), name));
    return found.front();
}

void Workbook::Impl::shiftDefinedNames(const QString& sheetName, RowShift shift)
{
    for (pugi::xml_node n : children(child(rootElement(book), "definedNames"), "definedName"))
        n.text().set(shiftFormula(qs(n.text().get()), shift, sheetName, false).toUtf8().constData());
}

void Workbook::Impl::insertRows(Sheet& target, int before, int count)
{
    if (count <= 0)
        return;
    target.insertRows(before, count);
    for (const auto& s : sheets)
        if (s.get() != &target)
            s->shiftReferencesTo(target.name(), {before, count});
    shiftDefinedNames(target.name(), {before, count});
}

void Workbook::Impl::deleteRows(Sheet& target, int first, int count)
{
    if (count <= 0)
        return;
    target.deleteRows(first, count);
    for (const auto& s : sheets)
        if (s.get() != &target)
            s->shiftReferencesTo(target.name(), {first, -count});
    shiftDefinedNames(target.name(), {first, -count});
}

void Workbook::Impl::write(const QString& target)
{
    for (const auto& s : sheets) {
        s->dropCachedValues();
        package.set(s->part(), s->serialize());
    }
    package.set(bookPart, serializeXml(book));
    package.save(target);
}

} // namespace office
