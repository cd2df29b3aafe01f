#pragma once
// Reading a PDF back with poppler-utils (pdftotext, pdfinfo). Each returns
// an empty result when the tool is missing or fails.
#include <QString>
#include <QStringList>

namespace support {

bool havePdfTools();
// The text of each page, laid out as printed (pdftotext -layout).
QStringList pdfPages(const QString& file);
// A field of pdfinfo: "Pages", "Page size", "Title".
QString pdfInfo(const QString& file, const QString& field);

}  // namespace support
