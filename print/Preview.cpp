#include "print/Preview.h"

#include "print/Render.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QToolBar>

#include <memory>

namespace print {

namespace {

QString proposedPdf(const Document& document) {
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty()) docs = QDir::homePath();
    QString name = document.title.trimmed();
    for (const QChar bad : QStringLiteral("/\\:*?\"<>|")) name.replace(bad, QLatin1Char('_'));
    if (name.isEmpty()) name = QStringLiteral("документ");
    return QDir(docs).filePath(name + QStringLiteral(".pdf"));
}

}  // namespace

QPrintPreviewDialog* makePreview(const Document& document, QWidget* parent) {
    auto doc = std::make_shared<const Document>(document);
    // The printer lives as long as the window.
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPageLayout(pageLayout(document));
    printer->setDocName(document.title);
    printer->setCreator(QStringLiteral("Торквиль"));

    auto* dialog = new QPrintPreviewDialog(printer.get(), parent);
    dialog->setObjectName(QStringLiteral("printPreview"));
    dialog->setWindowTitle(QStringLiteral("Просмотр: %1").arg(document.title));
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [doc](QPrinter* p) { render(*doc, *p); });
    QObject::connect(dialog, &QObject::destroyed, [printer] {});

    auto* save = new QAction(QStringLiteral("Сохранить в PDF"), dialog);
    save->setObjectName(QStringLiteral("savePdf"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    save->setToolTip(QStringLiteral("Сохранить в PDF (Ctrl+S)"));
    QObject::connect(save, &QAction::triggered, dialog, [dialog, doc, printer] {
        QString file = QFileDialog::getSaveFileName(dialog, QStringLiteral("Сохранить в PDF"), proposedPdf(*doc),
                                                    QStringLiteral("Документы PDF (*.pdf);;Все файлы (*)"));
        if (file.isEmpty()) return;
        if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".pdf");
        // In the orientation chosen in the preview, always on A4.
        QPageLayout layout = pageLayout(*doc);
        layout.setOrientation(printer->pageLayout().orientation());
        writePdf(*doc, file, layout);
    });
    if (auto* bar = dialog->findChild<QToolBar*>()) {
        bar->addSeparator();
        bar->addAction(save);
    } else {
        dialog->addAction(save);
    }
    return dialog;
}

void preview(const Document& document, QWidget* parent) {
    std::unique_ptr<QPrintPreviewDialog> dialog(makePreview(document, parent));
    dialog->exec();
}

}  // namespace print
