#pragma once
// The print preview of a document: Qt's preview window over the system's
// printers (print, page setup, zoom) with "Сохранить в PDF" beside them.
// Modal; returns when the window is closed. A failed PDF is thrown as
// print::Error into the program's error display.
#include "print/Document.h"

class QPrintPreviewDialog;
class QWidget;

namespace print {

void preview(const Document& document, QWidget* parent);

// The window preview() shows, not yet run: for tests and for callers that
// add to it. It keeps its own copy of the document.
QPrintPreviewDialog* makePreview(const Document& document, QWidget* parent);

}  // namespace print
