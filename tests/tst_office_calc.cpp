// The forms after a round trip through LibreOffice Calc (shared strings,
// renumbered styles, its own XML) still fill, and Calc computes the
// totals of a filled card when it opens it. Skipped without LibreOffice.
// With TORQUIL_CARD_PNG=<file.png> set, also renders a demo card to that
// picture (for the README; needs pdftoppm).
#include "office/Templates.h"
#include "office/Workbook.h"
#include "support/Skip.h"
#include "tst_office_util.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace office;
using officetest::formCopy;

class TestOfficeCalc : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString soffice;

    // Runs soffice headless with a private profile; returns the output path.
    QString convert(const QString& file, const QString& to, const QString& ext)
    {
        const QString outDir = dir.filePath("converted-" + ext);
        QDir().mkpath(outDir);
        QProcess p;
        p.start(soffice, {"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless",
                          "--convert-to", to, "--outdir", outDir, file});
        if (!p.waitForFinished(240000) || p.exitCode() != 0)
            qWarning() << "soffice failed:" << p.readAllStandardError();
        return QDir(outDir).filePath(QFileInfo(file).completeBaseName() + "." + ext);
    }

    // Rows of a CSV export (values as Calc computed them).
    QList<QStringList> csv(const QString& file)
    {
        QFile f(convert(file, "csv:Text - txt - csv (StarCalc):59,34,76,1,,0,false,true,false", "csv"));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QList<QStringList> rows;
        for (const QByteArray& line : f.readAll().split('\n'))
            rows << QString::fromUtf8(line).trimmed().split(u';');
        return rows;
    }

    // A number as the CSV export wrote it (its separators follow the cell's
    // Russian number format or the locale).
    static double value(const QList<QStringList>& rows, int row, int col)
    {
        QString text = rows.value(row - 1).value(col - 1);
        text.remove(u' ').remove(QChar(0x00A0)).replace(u',', u'.');
        bool ok = false;
        const double v = text.toDouble(&ok);
        return ok ? v : -1;
    }

    // A believable contract.
    static void fillDemo(Workbook& book)
    {
        book.runMacro("CleanForm");
        const std::pair<const char*, const char*> head[] = {
            {card::Number, "2417"}, {card::Date, "14.03.2024"}, {card::Car, "LADA VESTA"},
            {card::Plate, "А123ВС 77"}, {card::Year, "2019"}, {card::Vin, "XTAGFL110KY123456"},
            {card::Color, "БЕЛЫЙ"}, {card::Engine, "БЕНЗИНОВЫЙ 1,6 16V"}, {card::Body, "СЕДАН 4 ДВ."},
            {card::Mileage, "86500"}, {card::Owner, "ИВАНОВ ПЁТР СЕРГЕЕВИЧ"}, {card::Phone, "+7 916 555-12-34"},
            {card::Mechanic, "СИДОРОВ А. В."},
            {card::Remark, "Рекомендуется замена задних тормозных колодок при следующем ТО."}};
        for (const auto& [cell, text] : head)
            book.setCell(cell, text);
        const std::pair<const char*, double> works[] = {
            {"ЗАМЕНА МАСЛА В ДВИГАТЕЛЕ", 800}, {"ЗАМЕНА ВОЗДУШНОГО ФИЛЬТРА", 300},
            {"ЗАМЕНА ПЕРЕДНИХ ТОРМОЗНЫХ КОЛОДОК", 1200}, {"ДИАГНОСТИКА ХОДОВОЙ ЧАСТИ", 900},
            {"РЕГУЛИРОВКА РАЗВАЛА-СХОЖДЕНИЯ", 1500}};
        int row = card::fitWorkLines(book, 5);
        for (const auto& [name, price] : works) {
            book.setCell(card::WorkName + QString::number(row), name);
            book.setNumber(card::WorkPrice + QString::number(row++), price);
        }
        struct Spare { const char* name; double quantity, price; };
        const Spare spares[] = {{"МАСЛО МОТОРНОЕ 5W-40, Л", 4, 650}, {"ФИЛЬТР МАСЛЯНЫЙ", 1, 390},
                                {"ФИЛЬТР ВОЗДУШНЫЙ", 1, 520}, {"КОЛОДКИ ТОРМОЗНЫЕ ПЕРЕДНИЕ, КОМПЛ.", 1, 2350.5},
                                {"ОЧИСТИТЕЛЬ ТОРМОЗОВ, 0,5 Л", 1.5, 280}};
        row = card::fitSpareLines(book, 5);
        for (const Spare& s : spares) {
            book.setCell(card::SpareName + QString::number(row), s.name);
            book.setNumber(card::SpareQuantity + QString::number(row), s.quantity);
            book.setNumber(card::SparePrice + QString::number(row++), s.price);
        }
    }

private slots:
    void initTestCase()
    {
        soffice = QStandardPaths::findExecutable("soffice");
        if (soffice.isEmpty())
            SKIP_OR_FAIL_UNDER_CI(QStringLiteral("LibreOffice (soffice) is not installed"));
    }

    // The card as a shop keeps it: its name, address and phone typed over the
    // blanks of A1 and A2, saved by Calc.
    void resavedCardFills()
    {
        const QString shop = QStringLiteral("Автосервис «Колесо»");
        const QString address = QStringLiteral("Адрес: г. Тула, ул. Заводская, 12   Тел.: +7 4872 55-12-34");
        const QString edited = formCopy(dir, card::File);
        {
            Workbook book(edited);
            book.setCell("A1", shop);
            book.setCell("A2", address);
            book.save();
        }
        const QString resaved = convert(edited, "xlsx", "xlsx");
        QVERIFY(QFileInfo(resaved).isFile());
        officetest::RawPart types(resaved, "[Content_Types].xml");
        QVERIFY(QString::fromUtf8(office::serializeXml(types.doc)).contains("sharedStrings"));
        QDir().mkpath(dir.filePath("filled"));
        const QString path = dir.filePath("filled/print.xlsx");
        QVERIFY(QFile::copy(resaved, path));
        {
            Workbook book(path);
            QCOMPARE(book.cellText("N1"), QStringLiteral("ЗАКАЗ-НАРЯД №"));
            QVERIFY(!book.definedName("CleanCells2").isEmpty());
            const int priceStyle = book.cellStyle("R14");
            book.setCell("A43", "старое");
            fillDemo(book);
            QCOMPARE(book.cellStyle("R14"), priceStyle);
            // More works than the card has rows: the spare section moves down.
            QCOMPARE(card::fitWorkLines(book, 15), card::WorkFirstRow);
            book.setCell("b28", "ЕЩЁ ОДНА РАБОТА");
            book.setNumber("r28", 0.375);
            book.save();
        }
        Workbook book(path);
        QCOMPARE(book.cellText("A1"), shop);
        QCOMPARE(book.cellText("A2"), address);
        QCOMPARE(book.cellText("Q1"), QStringLiteral("2417"));
        QCOMPARE(book.cellText("B29"), QStringLiteral("МАСЛО МОТОРНОЕ 5W-40, Л"));
        QCOMPARE(book.cellText("A45"), QStringLiteral("Рекомендуется замена задних тормозных колодок при следующем ТО."));
        QCOMPARE(book.cellFormula("R41"), QStringLiteral("SUM(R14:R28)"));
        QVERIFY(!book.hasCachedValue("R29"));
        QVERIFY(book.fullCalcOnLoad());

        // Calc computes what the card shows: 4700.375 for the works,
        // 2600 + 390 + 520 + 2350.5 + 420 for the parts.
        const QList<QStringList> rows = csv(path);
        QVERIFY(rows.size() >= 43);
        QCOMPARE(value(rows, 29, 18), 2600.0); // R29 = N29 * P29
        QCOMPARE(value(rows, 33, 18), 420.0);
        QCOMPARE(value(rows, 41, 18), 4700.375);
        QCOMPARE(value(rows, 42, 18), 6280.5);
        QCOMPARE(value(rows, 43, 18), 10980.875);
    }

    void resavedSummaryFills()
    {
        const QString resaved = convert(formCopy(dir, summary::File), "xlsx", "xlsx");
        QDir().mkpath(dir.filePath("filled"));
        const QString path = dir.filePath("filled/svod.xlsx");
        QVERIFY(QFile::copy(resaved, path));
        Workbook book(path);
        book.runMacro(summary::CleanForm);
        book.setCell(summary::Period, "период с 01.03.2024 по 07.03.2024 г.");
        for (int r = 7; r <= 9; ++r) {
            book.setNumber("A" + QString::number(r), 100 + r);
            book.setCell("C" + QString::number(r), "ВАЗ 2107");
            book.setNumber("F" + QString::number(r), 1500.25);
        }
        book.select("A7:F9");
        book.runMacro(summary::Lines);
        book.setNumber("F10", 4500.75);
        book.setCell("E10", summary::TotalLabel);
        book.saveAs(dir.filePath("summary-filled.xlsx"));

        Workbook filled(dir.filePath("summary-filled.xlsx"));
        QCOMPARE(filled.cellText("E10"), QStringLiteral("ИТОГО"));
        QCOMPARE(filled.cellText("A6"), QStringLiteral("№ договора"));
        QCOMPARE(filled.cellStyle("F9"), filled.cellStyle("F5"));
        QVERIFY(filled.cellHasBorder("C8"));
        QVERIFY(filled.cellNumberFormat("F8").contains("#,##0.00"));
        const QList<QStringList> rows = csv(filled.path());
        QVERIFY(rows.size() >= 10);
        QCOMPARE(rows.value(3).value(0), QStringLiteral("период с 01.03.2024 по 07.03.2024 г."));
        QCOMPARE(value(rows, 9, 1), 109.0);
        QCOMPARE(value(rows, 10, 6), 4500.75);
    }

    void renderDemoCard()
    {
        const QString png = qEnvironmentVariable("TORQUIL_CARD_PNG");
        // A tool to look at the card, not a check: nothing to do unless asked.
        if (png.isEmpty()) {
            if (!support::underCi()) QSKIP("set TORQUIL_CARD_PNG=<file.png> to render the demo card");
            return;
        }
        const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
        QVERIFY2(!pdftoppm.isEmpty(), "pdftoppm (poppler-utils) is not installed");
        const QString path = dir.filePath("demo/card-2417.xlsx");
        QDir().mkpath(dir.filePath("demo"));
        QVERIFY(QFile::copy(formCopy(dir, card::File), path));
        {
            Workbook book(path);
            fillDemo(book);
            book.save();
        }
        const QString pdf = convert(path, "pdf", "pdf");
        const QString stem = dir.filePath("card");
        QCOMPARE(QProcess::execute(pdftoppm, {"-png", "-r", "80", "-singlefile", pdf, stem}), 0);
        QFile::remove(png);
        QVERIFY(QFile::copy(stem + ".png", png));
    }
};

QTEST_MAIN(TestOfficeCalc)
#include "tst_office_calc.moc"
