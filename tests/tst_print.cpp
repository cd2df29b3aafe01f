// The printing layer: documents on A4 pages and in PDF files, read back
// with poppler-utils.
#include "print/Error.h"
#include "print/ListDocument.h"
#include "print/Preview.h"
#include "print/Render.h"
#include "support/Pdf.h"
#include "support/Skip.h"
#include "support/TestMain.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QProcess>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

const QString kShop = QStringLiteral("Автосервис «Ёлка»");

// 120 numbered lines of a list with a total, under a shop's head.
print::Document longList() {
    std::vector<QStringList> rows;
    for (int i = 1; i <= 120; ++i)
        rows.push_back({QString::number(i), QStringLiteral("Щёткин Жорж %1").arg(i), QStringLiteral("%1,50").arg(i * 10)});
    print::Document d = print::listDocument(QStringLiteral("Напоминания"), QStringLiteral("с 01.12.2026 по 31.12.2026"),
                                            {{QStringLiteral("№"), Qt::AlignRight, 8},
                                             {QStringLiteral("Клиент")},
                                             {QStringLiteral("Сумма, руб."), Qt::AlignRight, 20}},
                                            rows, {{QString(), QStringLiteral("Итого"), QStringLiteral("72600,00")}});
    d.runningHead = kShop;
    d.field(QStringLiteral("Мастер"), QString()).field(QStringLiteral("Приёмщик"), QStringLiteral("Ильин"));
    d.signature(QStringLiteral("Заказчик"), QStringLiteral("Щёткин Ж."));
    return d;
}

}  // namespace

class TestPrint : public QObject {
    Q_OBJECT
private slots:
    void init() {
        if (!support::havePdfTools()) SKIP_OR_FAIL_UNDER_CI("poppler-utils (pdftotext, pdfinfo) is not installed");
    }

    // Every page carries the head, the column titles and its number; every
    // line and the blank to fill come through in Cyrillic.
    void longTableOverPages() {
        QTemporaryDir dir;
        const QString file = dir.filePath("list.pdf");
        print::writePdf(longList(), file);
        const int pages = support::pdfInfo(file, "Pages").toInt();
        QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
        QCOMPARE(support::pdfInfo(file, "Title"), QStringLiteral("Напоминания"));
        QVERIFY(support::pdfInfo(file, "Page size").startsWith("595 x 842"));  // A4 portrait, in points
        const QStringList text = support::pdfPages(file);
        QCOMPARE(text.size(), pages);
        int listed = 0;  // pages with lines of the list
        for (int p = 0; p < pages; ++p) {
            const QString& page = text[p];
            QVERIFY2(page.contains(kShop), qPrintable(page));
            QVERIFY2(page.contains(QStringLiteral("Страница %1 из %2").arg(p + 1).arg(pages)), qPrintable(page));
            if (!page.contains(QStringLiteral("Щёткин Жорж"))) continue;
            ++listed;
            QVERIFY2(page.contains(QRegularExpression("Клиент +Сумма, руб\\.")), qPrintable(page));
        }
        QVERIFY(listed >= 3);
        const QString all = text.join('\n');
        for (int i = 1; i <= 120; ++i)
            QVERIFY2(all.contains(QRegularExpression(QStringLiteral("\\b%1 +Щёткин Жорж %1 +%2,50").arg(i).arg(i * 10))),
                     qPrintable(QString::number(i)));
        QVERIFY(text.first().contains(QStringLiteral("с 01.12.2026 по 31.12.2026")));
        QVERIFY(all.contains(QRegularExpression("Итого +72600,00")));
        QVERIFY(all.contains(QRegularExpression("Мастер: _{10,}")));
        QVERIFY(all.contains(QStringLiteral("Приёмщик: Ильин")));
        QVERIFY(all.contains(QRegularExpression("Заказчик _+ / Щёткин Ж\\. / +дата _+")));
    }

    // A wide list turns to landscape; a file that cannot be written is
    // refused in words naming it and leaves no file behind.
    void landscapeAndRefusal() {
        QTemporaryDir dir;
        std::vector<print::Column> seven;
        for (int i = 1; i <= 7; ++i) seven.push_back({QStringLiteral("Графа %1").arg(i)});
        const QString wide = dir.filePath("wide.pdf");
        print::writePdf(print::listDocument("Касса", {}, seven, {{"1", "2"}}), wide);
        QVERIFY2(support::pdfInfo(wide, "Page size").startsWith("842 x 595"), qPrintable(support::pdfInfo(wide, "Page size")));
        QCOMPARE(support::pdfPages(wide).value(0).contains("Страница 1 из 1"), true);

        const QString bad = dir.filePath("нет/list.pdf");
        try {
            print::writePdf(longList(), bad);
            QFAIL("written");
        } catch (const print::Error& e) {
            QVERIFY2(e.text().startsWith(QStringLiteral("Не удалось записать файл PDF «%1»").arg(bad)), e.what());
        }
        QVERIFY(!QFileInfo::exists(bad));
    }

    // A picture goes in whole, between the text before and after it.
    void imageBlock() {
        QTemporaryDir dir;
        QImage chart(600, 300, QImage::Format_RGB32);
        chart.fill(Qt::blue);
        print::Document d;
        d.title = QStringLiteral("Выручка");
        d.paragraph(QStringLiteral("До рисунка")).image(chart, 120).paragraph(QStringLiteral("После рисунка"));
        const QString file = dir.filePath("image.pdf");
        print::writePdf(d, file);
        QProcess list;
        list.start("pdfimages", {"-list", file});
        QVERIFY(list.waitForFinished(10000));
        const QStringList lines = QString::fromUtf8(list.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);  // two heading lines, one image
        QVERIFY2(lines[2].contains(QRegularExpression("\\b600 +300\\b")), qPrintable(lines[2]));
        const QString text = support::pdfPages(file).join('\n');
        QVERIFY(text.indexOf("До рисунка") < text.indexOf("После рисунка"));
    }

    // On Qt's "minimal" platform there is no font: the PDF would have no
    // letter in it, so it is refused. Run in a process of its own.
    void refusedWithoutFonts() {
        if (QGuiApplication::platformName() != "minimal") {
            QProcess self;
            self.start(QCoreApplication::applicationFilePath(), {"-platform", "minimal", "refusedWithoutFonts"});
            QVERIFY(self.waitForFinished(60000));
            QVERIFY2(self.exitCode() == 0, self.readAllStandardOutput().constData());
            return;
        }
        QTemporaryDir dir;
        try {
            print::writePdf(longList(), dir.filePath("empty.pdf"));
            QFAIL("written");
        } catch (const print::Error& e) {
            QVERIFY2(e.text().contains("не доступен ни один шрифт"), e.what());
        }
    }

    // The preview draws the pages, and its "Сохранить в PDF" writes the file
    // named in the file dialog, the extension added.
    void previewSavesPdf() {
        QTemporaryDir dir;
        std::unique_ptr<QPrintPreviewDialog> preview(print::makePreview(longList(), nullptr));
        auto* save = preview->findChild<QAction*>("savePdf");
        QVERIFY(save);
        QCOMPARE(save->text(), QStringLiteral("Сохранить в PDF"));
        preview->show();
        QVERIFY(QTest::qWaitForWindowExposed(preview.get()));

        QTimer answer;
        answer.setInterval(10);
        connect(&answer, &QTimer::timeout, [&] {
            if (auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                answer.stop();
                files->selectFile(dir.filePath("заказ"));
                static_cast<QDialog*>(files)->accept();  // as the Save button does
            }
        });
        answer.start();
        save->trigger();
        const QString file = dir.filePath("заказ.pdf");
        QVERIFY(QFileInfo::exists(file));
        auto* pages = preview->findChild<QPrintPreviewWidget*>();
        QVERIFY(pages);
        QCOMPARE(support::pdfInfo(file, "Pages").toInt(), pages->pageCount());
        QVERIFY(support::pdfPages(file).value(0).contains(kShop));
    }
};

TORQUIL_TEST_MAIN(TestPrint)
#include "tst_print.moc"

