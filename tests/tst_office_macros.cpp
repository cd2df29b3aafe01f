// The templates' macros and the application object: a card printed as the
// printout does it (twice), a summary built, what the viewer is handed.
#include "office/Templates.h"
#include "office/Spreadsheet.h"
#include "office/Viewer.h"
#include "office/Workbook.h"
#include "tst_office_util.h"

#include <QtTest>

using namespace office;
using officetest::formCopy;

class TestOfficeMacros : public QObject {
    Q_OBJECT

    QTemporaryDir out;
    RecordingViewer recorder;

private slots:
    void init()
    {
        setOutputDir(out.path());
        recorder = RecordingViewer();
        setViewer(&recorder);
    }
    void cleanup()
    {
        setViewer(nullptr);
        setOutputDir(QString());
    }

    // CleanForm empties exactly the listed cells; labels, styles and the
    // formulas stay.
    void cleanFormClearsListedCells()
    {
        QTemporaryDir dir;
        Workbook book(formCopy(dir, card::File));
        const QStringList listed = {"Q1", "Q2", "E4", "E11", "O4", "O5", "O9", "b14", "r26", "B38", "n27", "P38", "A43"};
        for (const QString& cell : listed)
            book.setCell(cell, "x");
        const int style = book.cellStyle("P38");
        book.runMacro("CLEANFORM");
        for (const QString& cell : listed)
            QVERIFY2(book.cellText(cell).isEmpty(), qPrintable(cell));
        QCOMPARE(book.cellStyle("P38"), style);
        QCOMPARE(book.cellText("A4"), QStringLiteral("Марка, модель"));
        QCOMPARE(book.cellText("N1"), QStringLiteral("ЗАКАЗ-НАРЯД №"));
        QCOMPARE(book.cellFormula("R27"), QStringLiteral("N27*P27"));
        QCOMPARE(book.cellFormula("R41"), QStringLiteral("R39+R40"));
    }

    // Lines gives the selected rows the sample row's styles column by column.
    void linesStylesSelection()
    {
        QTemporaryDir dir;
        Workbook book(formCopy(dir, summary::File));
        book.select("a7:f9");
        QCOMPARE(book.selection(), QStringLiteral("A7:F9"));
        QVERIFY(!book.cellHasBorder("C8"));
        book.runMacro("svod.xls!Lines");
        for (int row = 7; row <= 9; ++row)
            for (const char* column : {"A", "B", "C", "D", "E", "F"}) {
                const QString cell = column + QString::number(row);
                QCOMPARE(book.cellStyle(cell), book.cellStyle(column + QStringLiteral("5")));
                QVERIFY(book.cellHasBorder(cell));
            }
        QCOMPARE(book.cellNumberFormat("F8"), QStringLiteral("[$-419]#,##0.00"));
        QCOMPARE(book.cellNumberFormat("A8"), QStringLiteral("0"));
        QVERIFY(book.cellStyle("A10") != book.cellStyle("A5"));
        QVERIFY(!book.cellHasBorder("C10"));

        Workbook fresh(formCopy(dir, summary::File));
        try {
            fresh.runMacro("Lines");
            QFAIL("Lines without a selection");
        } catch (const Error& e) {
            QCOMPARE(e.text(), QStringLiteral("Макрос «Lines»: в книге «svod.xlsx» не выделен диапазон"));
        }
    }

    // The card as the printout writes it; the second printout clears the
    // first. The template keeps the last card; the viewer gets a fresh file
    // each time, with the card in it.
    void cardPrintedTwice()
    {
        QTemporaryDir dir;
        const QString path = formCopy(dir, card::File);
        auto print = [&](const QString& number, int works) -> QString {
            Spreadsheet xl;
            xl.workbooksOpen(path);
            xl.run(card::CleanForm);
            xl.setVisible(true);
            xl.range(card::Number).setValue(number);
            xl.range(card::Date).setValue("05.03.2024");
            xl.range(card::Remark).setValue("Клиент ждёт");
            int row = card::fitWorkLines(xl.activeWorkbook(), works);
            for (int i = 0; i < works; ++i, ++row) {
                xl.range(card::WorkName + QString::number(row)).setValue("Работа " + QString::number(i + 1));
                xl.range(card::WorkPrice + QString::number(row)).setValue(100.0 * (i + 1));
            }
            row = card::fitSpareLines(xl.activeWorkbook(), 1);
            xl.range(card::SpareName + QString::number(row)).setValue("Фильтр");
            xl.range(card::SpareQuantity + QString::number(row)).setValue(2.0);
            xl.range(card::SparePrice + QString::number(row)).setValue(0.125);
            xl.activeWorkbook().save();
            xl.setOutputStem("card-" + number);
            return xl.release() ? xl.outputPath() : QString();
        };
        const QString first = print("101", 15);
        const QString second = print("102", 2);
        QCOMPARE(recorder.shown, (QStringList{first, second}));
        QVERIFY(!first.isEmpty() && first != second);
        QVERIFY(QFileInfo(first).fileName().startsWith("card-101-"));
        QCOMPARE(QFileInfo(second).absolutePath(), QDir(out.path()).absolutePath());

        Workbook earlier(first);
        QCOMPARE(earlier.cellText("Q1"), QStringLiteral("101"));
        QCOMPARE(earlier.cellText("B28"), QStringLiteral("Работа 15"));
        QCOMPARE(earlier.cellText("B29"), QStringLiteral("Фильтр"));
        QCOMPARE(earlier.cellText("A45"), QStringLiteral("Клиент ждёт"));
        QCOMPARE(earlier.cellFormula("R41"), QStringLiteral("SUM(R14:R28)"));

        for (const QString& file : {path, second}) {
            Workbook book(file);
            QCOMPARE(book.cellText("Q1"), QStringLiteral("102"));
            QCOMPARE(book.cellText("B15"), QStringLiteral("Работа 2"));
            QCOMPARE(book.cellText("B16"), QString()); // first card's lines are gone
            QCOMPARE(book.cellText("B27"), QStringLiteral("Фильтр"));
            QCOMPARE(book.cellNumber("N27"), std::optional<double>(2));
            QCOMPARE(book.cellNumber("P27"), std::optional<double>(0.125));
            QCOMPARE(book.cellText("A43"), QStringLiteral("Клиент ждёт"));
            QCOMPARE(book.cellFormula("R39"), QStringLiteral("SUM(R14:R26)"));
            QCOMPARE(book.lastRow(), 50);
        }
    }

    // The summary is not saved: the template stays blank, the viewer gets
    // the filled copy.
    void summaryNotSaved()
    {
        QTemporaryDir dir;
        const QString path = formCopy(dir, summary::File);
        const QByteArray before = [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        Spreadsheet xl;
        xl.workbooksOpen(path);
        xl.run(summary::CleanForm);
        xl.setVisible(true);
        xl.range(summary::Period).setValue("МАРТ 2024 г.");
        for (int r = 7; r <= 9; ++r) {
            xl.range("A" + QString::number(r)).setValue(double(r));
            xl.range("F" + QString::number(r)).setValue(0.375);
        }
        xl.range("A7:F9").select();
        xl.run(summary::Lines);
        xl.range("F10").setValue(1.125);
        xl.range("E10").setValue(summary::TotalLabel);
        QVERIFY(xl.release());
        QVERIFY(!xl.release()); // once only

        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
        QCOMPARE(recorder.shown.size(), 1);
        Workbook shown(recorder.shown.front());
        QVERIFY(QFileInfo(shown.path()).fileName().startsWith("svod-"));
        QCOMPARE(shown.cellText("A4"), QStringLiteral("МАРТ 2024 г."));
        QCOMPARE(shown.cellNumber("A9"), std::optional<double>(9));
        QCOMPARE(shown.cellText("E10"), QStringLiteral("ИТОГО"));
        QCOMPARE(shown.cellNumber("F10"), std::optional<double>(1.125));
        QVERIFY(shown.cellHasBorder("F9"));
        QCOMPARE(shown.cellNumberFormat("F10"), QStringLiteral("[$-419]#,##0.00"));
    }

    // When nothing can show the file, the caller learns it and where the
    // file is; an invisible application shows nothing.
    void viewerOutcomes()
    {
        QTemporaryDir dir;
        const QString path = formCopy(dir, card::File);
        recorder.result = false;
        {
            Spreadsheet xl;
            xl.workbooksOpen(path);
            xl.setVisible(true);
            QVERIFY(!xl.release());
            QVERIFY(QFileInfo(xl.outputPath()).isFile());
            QCOMPARE(recorder.shown, QStringList{xl.outputPath()});
        }
        {
            Spreadsheet xl;
            xl.workbooksOpen(path);
            QVERIFY(!xl.release());
            QVERIFY(xl.outputPath().isEmpty());
            QCOMPARE(recorder.shown.size(), 1);
        }
        DesktopViewer desktop;
        QVERIFY(!desktop.show(dir.filePath("missing.xlsx"), {}));
    }

    void applicationFailures()
    {
        QTemporaryDir dir;
        Spreadsheet xl;
        auto expectError = [](auto&& fn, const QString& text) {
            try {
                fn();
                QFAIL("no error");
            } catch (const Error& e) {
                QCOMPARE(e.text(), text);
            }
        };
        expectError([&] { xl.range("A1").setValue("x"); }, QStringLiteral("Нет открытой книги"));
        xl.workbooksOpen(formCopy(dir, card::File));
        expectError([&] { xl.run("svod.xls!Lines"); },
                    QStringLiteral("Макрос «svod.xls!Lines» недоступен: книга «svod.xls» не открыта"));
        expectError([&] { xl.run("print.xls!Lines2"); },
                    QStringLiteral("Макрос «print.xls!Lines2» недоступен в книге «print.xlsx»"));
        const QString missing = dir.filePath("Forms/svod.xlsx");
        expectError([&] { xl.workbooksOpen(missing); }, QStringLiteral("Файл «%1» не найден").arg(missing));
        QCOMPARE(xl.activeWorkbook().name(), QStringLiteral("print.xlsx"));
    }
};

QTEST_MAIN(TestOfficeMacros)
#include "tst_office_macros.moc"
