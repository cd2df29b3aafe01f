#pragma once
// Putting a document on pages: the running head on top of every page, the
// body laid out by QTextDocument, "Страница N из M" at the bottom. Needs a
// QGuiApplication on a platform with fonts: a program without a display
// runs one on the offscreen platform (QT_QPA_PLATFORM=offscreen); without
// one, or on the "minimal" platform (no fonts), print::Error says so.
#include "print/Document.h"

#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;

namespace print {

// A4 in the document's orientation, with the printout's margins.
QPageLayout pageLayout(const Document& document);

// Paints every page on `device` as its page layout stands (a printer may
// have been turned to the other orientation in the preview). Returns the
// number of pages. Throws print::Error when the device cannot be painted on.
int render(const Document& document, QPagedPaintDevice& device);

// Writes the document as a PDF file in its own page layout. The file is
// replaced only once the whole document is written; throws print::Error,
// naming the file, when it cannot be written.
void writePdf(const Document& document, const QString& file);
// The same in a page layout of the caller's.
void writePdf(const Document& document, const QString& file, const QPageLayout& layout);

}  // namespace print
