#pragma once
// Helpers shared by the spreadsheet layer's tests: the generated forms and a
// look at the raw XML of a written file.
#include "office/Package.h"
#include "office/Xml.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace officetest {

// A fresh copy of a generated form (Forms/<file> in the build folder).
inline QString formCopy(const QTemporaryDir& dir, const QString& file)
{
    const QString source = QStringLiteral(TORQUIL_BINARY_DIR "/Forms/") + file;
    const QString copy = dir.filePath(file);
    QFile::remove(copy);
    if (!QFile::copy(source, copy))
        qFatal("missing %s: build the target torquil-forms first", qPrintable(source));
    QFile(copy).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return copy;
}

// The root element of one XML part of a written package.
struct RawPart {
    pugi::xml_document doc;
    pugi::xml_node root;
    RawPart(const QString& path, const QString& part)
    {
        const office::Package pkg = office::Package::load(path);
        const QByteArray* bytes = pkg.find(part);
        if (!bytes)
            qFatal("no part %s in %s", qPrintable(part), qPrintable(path));
        office::parseXml(doc, *bytes, part);
        root = office::rootElement(doc);
    }
};

// Cell references of one row of sheet1, in file order.
inline QStringList rowCells(const QString& path, int row, const QString& part = QStringLiteral("xl/worksheets/sheet1.xml"))
{
    RawPart raw(path, part);
    QStringList out;
    for (pugi::xml_node r : office::children(office::child(raw.root, "sheetData"), "row"))
        if (r.attribute("r").as_int() == row)
            for (pugi::xml_node c : office::children(r, "c"))
                out << office::attr(c, "r");
    return out;
}

inline QList<int> rowNumbers(const QString& path, const QString& part = QStringLiteral("xl/worksheets/sheet1.xml"))
{
    RawPart raw(path, part);
    QList<int> out;
    for (pugi::xml_node r : office::children(office::child(raw.root, "sheetData"), "row"))
        out << r.attribute("r").as_int();
    return out;
}

} // namespace officetest
