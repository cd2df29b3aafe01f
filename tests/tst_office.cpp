// The workbook layer: addresses, formula references, filling cells, rows,
// saving, and the failures it reports.
#include "office/CellRef.h"
#include "office/Templates.h"
#include "office/Formula.h"
#include "office/Workbook.h"
#include "tst_office_util.h"

#include <QtTest>
#include <cstring>

using namespace office;
using officetest::formCopy;

class TestOffice : public QObject {
    Q_OBJECT
private slots:
    void addresses()
    {
        QCOMPARE(parseCell("b14"), parseCell("B14"));
        QCOMPARE(parseCell("$A$1"), (CellRef{1, 1}));
        QCOMPARE(parseCell("xfd1048576"), (CellRef{kMaxRow, kMaxCol}));
        QCOMPARE(cellName(27, 28), QStringLiteral("AB27"));
        const RangeRef r = parseRange("f9:a7");
        QCOMPARE(rangeName(r), QStringLiteral("A7:F9"));
        for (const char* bad : {"", "A0", "A01", "1A", "XFE1", "A1048577", "Б2", "A 1", "A1B"}) {
            try {
                parseCell(bad);
                QFAIL(bad);
            } catch (const Error& e) {
                QCOMPARE(e.text(), QStringLiteral("Неверный адрес ячейки «%1»").arg(bad));
            }
        }
    }

    void formulaReferences_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("expected");
        QTest::newRow("range grows inside") << "SUM(R14:R26)" << 26 << 3 << "SUM(R14:R29)";
        QTest::newRow("insert after range") << "SUM(R14:R26)" << 27 << 3 << "SUM(R14:R26)";
        QTest::newRow("below moves") << "N27*P27" << 26 << 2 << "N29*P29";
        QTest::newRow("absolute too") << "$R$39+R$40" << 30 << 1 << "$R$40+R$41";
        QTest::newRow("strings and functions stay") << "IF(A30=\"B30\",LOG10(A30),0)" << 1 << 1
                                                    << "IF(A31=\"B30\",LOG10(A31),0)";
        QTest::newRow("other sheet stays") << "Other!A30+'Карточка'!A30+A30" << 2 << 1
                                           << "Other!A30+'Карточка'!A31+A31";
        QTest::newRow("whole rows") << "SUM($6:$6)+SUM(B:B)" << 6 << 1 << "SUM($7:$7)+SUM(B:B)";
        QTest::newRow("delete shrinks") << "SUM(R14:R29)" << 26 << -3 << "SUM(R14:R26)";
        QTest::newRow("deleted cell") << "A27+A30" << 26 << -3 << "#REF!+A27";
        QTest::newRow("names and numbers stay") << "CleanCells+2.5+1E5+TRUE" << 1 << 5 << "CleanCells+2.5+1E5+TRUE";
    }

    void formulaReferences()
    {
        QFETCH(QString, formula);
        QFETCH(int, at);
        QFETCH(int, count);
        QFETCH(QString, expected);
        QCOMPARE(shiftFormula(formula, {at, count}, QStringLiteral("Карточка"), true), expected);
    }

    void formulaCopy()
    {
        QCOMPARE(offsetFormula("N38*P38", -3, 0), QStringLiteral("N35*P35"));
        QCOMPARE(offsetFormula("$A1+B$1+SUM(C1:C3)", 2, 1), QStringLiteral("$A3+C$1+SUM(D3:D5)"));
        QCOMPARE(offsetFormula("A1", -1, 0), QStringLiteral("#REF!"));
    }

    // Text and numbers keep the cell's style; names ignore letter case; the
    // file on disk has the values after save and the formulas lost their
    // cached results.
    void fillAndReadBack()
    {
        QTemporaryDir dir;
        const QString path = formCopy(dir, card::File);
        int numberStyle = 0, priceStyle = 0;
        {
            Workbook book(path);
            numberStyle = book.cellStyle("Q1");
            priceStyle = book.cellStyle("R14");
            QVERIFY(numberStyle != 0 && priceStyle != 0);
            QVERIFY(book.hasCachedValue("R39"));
            book.setCell("q1", "2417");
            book.setCell("E4", "  ВАЗ 2107 ");
            book.setCell("b14", "Замена масла");
            book.setNumber("r14", 1250.5);
            book.setNumber("R15", 0.1);
            book.setCell("A43", "Строка 1\nСтрока 2");
            book.save();
        }
        Workbook book(path);
        QCOMPARE(book.cellText("Q1"), QStringLiteral("2417"));
        QCOMPARE(book.cellText("e4"), QStringLiteral("  ВАЗ 2107 "));
        QCOMPARE(book.cellText("B14"), QStringLiteral("Замена масла"));
        QCOMPARE(book.cellNumber("R14"), std::optional<double>(1250.5));
        QCOMPARE(book.cellNumber("R15"), std::optional<double>(0.1));
        QCOMPARE(book.cellText("R15"), QStringLiteral("0.1"));
        QCOMPARE(book.cellText("A43"), QStringLiteral("Строка 1\nСтрока 2"));
        QCOMPARE(book.cellText("N13"), QStringLiteral("Кол-во")); // shared string of the template
        QCOMPARE(book.cellStyle("Q1"), numberStyle);
        QCOMPARE(book.cellStyle("R14"), priceStyle);
        QCOMPARE(book.cellFormula("R39"), QStringLiteral("SUM(R14:R26)"));
        for (const char* cell : {"R27", "R38", "R39", "R40", "R41"})
            QVERIFY2(!book.hasCachedValue(cell), cell);
        QVERIFY(book.fullCalcOnLoad());

        officetest::RawPart sheet(path, "xl/worksheets/sheet1.xml");
        const pugi::xml_node q1 = sheet.root.select_node("//c[@r='Q1']").node();
        QCOMPARE(q1.attribute("t").value(), "inlineStr");
        QCOMPARE(q1.select_node("is/t").node().text().get(), "2417");
        QCOMPARE(sheet.root.select_node("//c[@r='E4']/is/t").node().attribute("xml:space").value(), "preserve");
    }

    // New cells and rows go where they belong, whatever the order of writing.
    void order()
    {
        QTemporaryDir dir;
        const QString path = formCopy(dir, summary::File);
        {
            Workbook book(path);
            book.setCell("F9", "f9");
            book.setCell("A9", "a9");
            book.setCell("C9", "c9");
            book.setCell("B7", "b7");
            book.setCell("D3", "d3"); // a row that the template has, before its cells
            book.setCell("AA9", "aa9");
            book.save();
        }
        QCOMPARE(officetest::rowCells(path, 9), (QStringList{"A9", "C9", "F9", "AA9"}));
        const QList<int> rows = officetest::rowNumbers(path);
        QVERIFY(std::is_sorted(rows.begin(), rows.end()));
        QVERIFY(rows.contains(7) && rows.contains(9) && !rows.contains(8));
        Workbook book(path);
        QCOMPARE(book.cellText("D3"), QStringLiteral("d3"));
        // A new cell takes its column's style: the total row of the summary.
        QCOMPARE(book.cellNumberFormat("F9"), QStringLiteral("[$-419]#,##0.00"));
        QCOMPARE(book.cellNumberFormat("F6"), QStringLiteral("General"));
    }

    // Each save writes the whole file again; the second one holds the second
    // values and no temporary file is left behind.
    void saveInPlaceTwice()
    {
        QTemporaryDir dir;
        const QString path = formCopy(dir, card::File);
        for (const char* number : {"1", "2"}) {
            Workbook book(path);
            book.runMacro("CleanForm");
            book.setCell("Q1", number);
            book.save();
        }
        QCOMPARE(Workbook(path).cellText("Q1"), QStringLiteral("2"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{card::File});

        Workbook book(path);
        book.setCell("Q1", "3");
        const QString other = dir.filePath("other.xlsx");
        book.saveCopy(other);
        QCOMPARE(book.path(), path);
        book.saveAs(dir.filePath("moved.xlsx"));
        QCOMPARE(book.name(), QStringLiteral("moved.xlsx"));
        QCOMPARE(Workbook(other).cellText("Q1"), QStringLiteral("3"));
        QCOMPARE(Workbook(path).cellText("Q1"), QStringLiteral("2"));
    }

    // Rows inserted inside a line section: the section, everything below it,
    // merged areas, formulas and defined names move; the new rows look like
    // the section's rows. CleanForm brings the template back.
    void growAndRestoreSections()
    {
        QTemporaryDir dir;
        const QString path = formCopy(dir, card::File);
        {
            Workbook book(path);
            book.setCell(card::Remark, "после строк");
            QCOMPARE(card::fitWorkLines(book, 13), card::WorkFirstRow); // fits: nothing moves
            QCOMPARE(book.lastRow(), 50);
            QCOMPARE(card::fitWorkLines(book, 16), card::WorkFirstRow);
            QCOMPARE(card::fitSpareLines(book, 14), card::SpareFirstRow + 3);
            for (int row = 14; row < 14 + 16; ++row)
                book.setCell("b" + QString::number(row), "Работа " + QString::number(row));
            book.setNumber("n43", 2); // the last spare line: 27 + 3 + 14 - 1
            book.setNumber("p43", 150);
            book.save();
        }
        {
            Workbook book(path);
            QCOMPARE(book.cellText("B29"), QStringLiteral("Работа 29"));
            QCOMPARE(book.cellText("A48"), QStringLiteral("после строк"));   // remark moved by 5
            QCOMPARE(book.cellFormula("R30"), QStringLiteral("N30*P30"));     // first spare row
            QCOMPARE(book.cellFormula("R43"), QStringLiteral("N43*P43"));     // a copied row
            QCOMPARE(book.cellFormula("R44"), QStringLiteral("SUM(R14:R29)")); // works total
            QCOMPARE(book.cellFormula("R45"), QStringLiteral("SUM(R30:R43)"));
            QCOMPARE(book.cellFormula("R46"), QStringLiteral("R44+R45"));
            QCOMPARE(book.cellStyle("R43"), book.cellStyle("R41"));
            QCOMPARE(book.cellStyle("B28"), book.cellStyle("B20"));
            const QStringList merges = book.mergedRanges();
            for (const char* m : {"A14:A29", "A30:A43", "B28:M28", "R28:S28", "B43:M43", "A48:S50", "O53:S53"})
                QVERIFY2(merges.contains(m), m);
            QVERIFY(!merges.contains("A14:A26"));
            QCOMPARE(book.definedName("_xlnm.Print_Area"), QStringLiteral("'Карточка'!$A$1:$S$55"));
            QCOMPARE(book.definedName(card::SpareSection), QStringLiteral("'Карточка'!$A$30:$S$43"));
            QCOMPARE(book.lastRow(), 55);

            book.runMacro("print.xls!CleanForm");
            QCOMPARE(book.lastRow(), 50);
            QCOMPARE(book.definedName(card::WorkSection), QStringLiteral("'Карточка'!$A$14:$S$26"));
            QCOMPARE(book.definedName(card::SpareSection), QStringLiteral("'Карточка'!$A$27:$S$38"));
            QCOMPARE(book.cellFormula("R27"), QStringLiteral("N27*P27"));
            QCOMPARE(book.cellFormula("R38"), QStringLiteral("N38*P38"));
            QCOMPARE(book.cellFormula("R39"), QStringLiteral("SUM(R14:R26)"));
            QCOMPARE(book.cellFormula("R41"), QStringLiteral("R39+R40"));
            QVERIFY(book.mergedRanges().contains("A14:A26"));
            QVERIFY(!book.mergedRanges().contains("B39:M39"));
            QCOMPARE(book.cellText("B26"), QString());
            QCOMPARE(book.cellText("A43"), QString());
            QCOMPARE(book.cellText("A42"), QStringLiteral("Примечание:"));
            QCOMPARE(book.definedName("_xlnm.Print_Area"), QStringLiteral("'Карточка'!$A$1:$S$50"));
        }
    }

    // Files written by other programs: prefixed elements, rows and cells
    // without "r", shared formulas, a workbook that is not at xl/.
    void foreignFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("foreign.xlsx");
        const char* ns = "xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                         "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";
        Package pkg;
        pkg.set("[Content_Types].xml", "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>");
        pkg.set("_rels/.rels", "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                               "<Relationship Id=\"a\" Type=\"http://purl.oclc.org/ooxml/officeDocument/relationships/officeDocument\" Target=\"/book/main.xml\"/>"
                               "</Relationships>");
        pkg.set("book/main.xml", QByteArray("<x:workbook ") + ns + "><x:sheets><x:sheet name=\"Лист1\" sheetId=\"1\" r:id=\"s1\"/></x:sheets></x:workbook>");
        pkg.set("book/_rels/main.xml.rels", "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                                            "<Relationship Id=\"s1\" Type=\"http://x/worksheet\" Target=\"../sheets/one.xml\"/>"
                                            "<Relationship Id=\"t\" Type=\"http://x/sharedStrings\" Target=\"strings.xml\"/>"
                                            "</Relationships>");
        pkg.set("book/strings.xml", QByteArray("<x:sst ") + ns + "><x:si><x:t>первая</x:t></x:si>"
                                    "<x:si><x:r><x:t>вто</x:t></x:r><x:r><x:t>рая</x:t></x:r></x:si></x:sst>");
        pkg.set("sheets/one.xml", QByteArray("<x:worksheet ") + ns + "><x:sheetData>"
                                  "<x:row><x:c t=\"s\"><x:v>0</x:v></x:c><x:c t=\"s\"><x:v>1</x:v></x:c></x:row>"
                                  "<x:row><x:c><x:v>2</x:v></x:c><x:c><x:f t=\"shared\" ref=\"B2:B4\" si=\"0\">A2*2</x:f><x:v>4</x:v></x:c></x:row>"
                                  "<x:row r=\"4\"><x:c r=\"B4\"><x:f t=\"shared\" si=\"0\"/><x:v>0</x:v></x:c></x:row>"
                                  "</x:sheetData></x:worksheet>");
        pkg.save(path);
        {
            Workbook book(path);
            QCOMPARE(book.sheetName(), QStringLiteral("Лист1"));
            QCOMPARE(book.cellText("A1"), QStringLiteral("первая"));
            QCOMPARE(book.cellText("B1"), QStringLiteral("вторая"));
            QCOMPARE(book.cellFormula("B4"), QStringLiteral("A4*2"));
            book.setCell("C1", "новая");
            book.setCell("A3", "между");
            book.insertRows(2, 1);
            book.save();
        }
        Workbook book(path);
        QCOMPARE(book.cellText("C1"), QStringLiteral("новая"));
        QCOMPARE(book.cellText("A4"), QStringLiteral("между"));
        QCOMPARE(book.cellFormula("B3"), QStringLiteral("A3*2"));
        QCOMPARE(book.cellFormula("B5"), QStringLiteral("A5*2"));
        QVERIFY(!book.hasCachedValue("B3"));
        QVERIFY(book.fullCalcOnLoad());
        officetest::RawPart sheet(path, "sheets/one.xml");
        QCOMPARE(office::child(office::child(sheet.root, "sheetData"), "row").first_child().name(), "x:c");
        QCOMPARE(officetest::rowNumbers(path, "sheets/one.xml"), (QList<int>{1, 2, 3, 4, 5}));
    }

    void failures()
    {
        QTemporaryDir dir;
        auto textOf = [](auto&& fn) -> QString {
            try {
                fn();
            } catch (const Error& e) {
                // what() is UTF-8 for the error display
                if (QString::fromUtf8(e.what()) != e.text())
                    return QStringLiteral("what() is not UTF-8");
                return e.text();
            }
            return QStringLiteral("no error");
        };
        const QString missing = dir.filePath("Forms/print.xlsx");
        QCOMPARE(textOf([&] { Workbook{missing}; }), QStringLiteral("Файл «%1» не найден").arg(missing));

        const QString junk = dir.filePath("junk.xlsx");
        QFile f(junk);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a zip at all");
        f.close();
        QVERIFY(textOf([&] { Workbook{junk}; }).startsWith(QStringLiteral("Файл «%1» не является книгой .xlsx").arg(junk)));

        Workbook book(formCopy(dir, card::File));
        QCOMPARE(textOf([&] { book.runMacro("print.xls!Print"); }),
                 QStringLiteral("Макрос «print.xls!Print» недоступен в книге «print.xlsx»"));
        QCOMPARE(textOf([&] { book.runMacro("svod.xls!CleanForm"); }),
                 QStringLiteral("Макрос «svod.xls!CleanForm» недоступен: книга «svod.xls» не открыта"));
        QCOMPARE(textOf([&] { book.runMacro("Lines"); }),
                 QStringLiteral("Макрос «Lines» недоступен в книге «print.xlsx»: в ней нет имени «LineStyle»"));
        QCOMPARE(textOf([&] { book.setCell("Q 1", "x"); }), QStringLiteral("Неверный адрес ячейки «Q 1»"));
        QCOMPARE(textOf([&] { book.select("A7:F"); }), QStringLiteral("Неверный адрес диапазона «A7:F»"));
        QCOMPARE(textOf([&] { book.setNumber("A1", std::nan("")); }), QStringLiteral("В ячейку A1 нельзя записать число nan"));
        QCOMPARE(textOf([&] { book.fitSection("Nowhere", 3); }),
                 QStringLiteral("В книге «print.xlsx» нет раздела строк «Nowhere»"));

        // A save that cannot happen leaves the file as it was.
        const QString target = dir.filePath("no/such/folder/card.xlsx");
        QVERIFY(textOf([&] { book.saveAs(target); }).startsWith(QStringLiteral("Не удалось сохранить книгу «%1»").arg(target)));
        QCOMPARE(book.path(), dir.filePath(card::File));
    }
};

QTEST_MAIN(TestOffice)
#include "tst_office.moc"
