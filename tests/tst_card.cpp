// The contract card: the template filled from the database, read back from
// the file the user is shown and from the template's own copy.
#include "app/ShopDetails.h"
#include "contracts/CardPrintout.h"
#include "office/Templates.h"
#include "office/Workbook.h"
#include "rtl/Convert.h"
#include "support/Handlers.h"
#include "support/Skip.h"
#include "support/TestMain.h"
#include "support/Unwritable.h"
#include "tst_reports_util.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QStandardPaths>

using namespace reportstest;
using office::Workbook;

namespace {

QByteArray digest(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

QString cell(const char* column, int row) { return QString::fromLatin1(column) + QString::number(row); }

}  // namespace

class TestCard : public QObject {
    Q_OBJECT
    Fixture fx;

    QString printed(int i = -1) const { return i < 0 ? fx.viewer.shown.last() : fx.viewer.shown.value(i); }

    // A contract with two works, two spare parts and a remark.
    QString fullContract(const QDate& date) {
        const QString ct = addContract(addCar("ВАЗ", "2107"), date, 0, "ЗАМЕНА МАСЛА ПО ПРОСЬБЕ КЛИЕНТА");
        support::exec("UPDATE Contracts SET km = 98765 WHERE pk_id = " + ct);
        addWork(ct, "ЗАМЕНА МАСЛА", "1500.5");
        addWork(ct, "ДИАГНОСТИКА", "800");
        addSpare(ct, "МАСЛО 5W40", "450.25", 4);
        addSpare(ct, "ФИЛЬТР", "0.125", 3);
        return ct;
    }

    // The mileage is the visit's (the car's is 123000); none leaves the place empty.
    static void verifyHeader(const Workbook& b, const QString& num, const QDate& date, const QString& km = "98765") {
        QCOMPARE(b.cellText("Q1"), num);
        QVERIFY(!b.cellNumber("Q1"));  // the card cells are texts
        QCOMPARE(b.cellText("Q2"), rtl::DateToStr(date));
        QCOMPARE(b.cellText("E4"), QString("ВАЗ 2107"));
        QCOMPARE(b.cellText("E5"), QString("А123ВС 77"));
        QCOMPARE(b.cellText("E6"), QString("2005"));
        QVERIFY(!b.cellNumber("E6"));
        QCOMPARE(b.cellText("E7"), QString("XTA21070051234567"));
        QCOMPARE(b.cellText("E8"), QString("БЕЛЫЙ"));
        QCOMPARE(b.cellText("E9"), QString("БЕНЗИН 1.6"));
        QCOMPARE(b.cellText("E10"), QString("СЕДАН 4 ДВЕРИ"));
        QCOMPARE(b.cellText("E11"), km);
        QCOMPARE(b.cellText("O4"), QString("ПЕТРОВ П.П."));
        QCOMPARE(b.cellText("O5"), QString("8-900-111-22-33"));
        QCOMPARE(b.cellText("O9"), QString("СИДОРОВ"));
    }

    static void verifyLines(const Workbook& b) {
        QCOMPARE(b.cellText("B14"), QString("ЗАМЕНА МАСЛА"));
        QCOMPARE(b.cellNumber("R14"), std::optional<double>(1500.5));
        QCOMPARE(b.cellText("B15"), QString("ДИАГНОСТИКА"));
        QCOMPARE(b.cellNumber("R15"), std::optional<double>(800));
        QCOMPARE(b.cellText("B16"), QString());
        QVERIFY(!b.cellNumber("R16"));
        QCOMPARE(b.cellText("B27"), QString("МАСЛО 5W40"));
        QCOMPARE(b.cellNumber("N27"), std::optional<double>(4));
        QCOMPARE(b.cellNumber("P27"), std::optional<double>(450.25));
        QCOMPARE(b.cellText("B28"), QString("ФИЛЬТР"));
        QCOMPARE(b.cellNumber("N28"), std::optional<double>(3));
        QCOMPARE(b.cellNumber("P28"), std::optional<double>(0.125));
        QCOMPARE(b.cellText("B29"), QString());
        QVERIFY(!b.cellNumber("N29"));
    }

    static void verifyNoLines(const Workbook& b) {
        for (int r = office::card::WorkFirstRow; r < office::card::SpareFirstRow + office::card::SpareRows; ++r) {
            QCOMPARE(b.cellText(cell("B", r)), QString());
            QVERIFY(!b.cellNumber(cell("N", r)));
            QVERIFY(!b.cellNumber(cell("P", r)));
            if (r < office::card::SpareFirstRow) QVERIFY(!b.cellNumber(cell("R", r)));
        }
    }

    // Runs LibreOffice Calc on a file and returns its CSV export, "" without Calc.
    QList<QStringList> calc(const QString& file) {
        const QString soffice = QStandardPaths::findExecutable("soffice");
        if (soffice.isEmpty()) return {};
        const QString out = fx.dir->filePath("csv");
        QProcess p;
        p.start(soffice, {"-env:UserInstallation=file://" + fx.dir->filePath("profile"), "--headless", "--convert-to",
                          "csv:Text - txt - csv (StarCalc):59,34,76,1,,0,false,true,false", "--outdir", out, file});
        if (!p.waitForFinished(240000) || p.exitCode() != 0) qWarning() << "soffice failed:" << p.readAllStandardError();
        QFile f(QDir(out).filePath(QFileInfo(file).completeBaseName() + ".csv"));
        if (!f.open(QIODevice::ReadOnly)) return {};
        QList<QStringList> rows;
        for (const QByteArray& line : f.readAll().split('\n')) rows << QString::fromUtf8(line).trimmed().split(u';');
        return rows;
    }
    static double value(const QList<QStringList>& rows, int row, int col) {
        QString text = rows.value(row - 1).value(col - 1);
        text.remove(u' ').remove(QChar(0x00A0)).replace(u',', u'.');
        bool ok = false;
        const double v = text.toDouble(&ok);
        return ok ? v : -1;
    }

private slots:
    void init() { fx.setUp(); }
    void cleanup() { fx.tearDown(); }

    void cardCellsAndLinesFromTheJournal() {
        const QDate date = QDate::currentDate();  // within the journal's period
        const QString ct = fullContract(date);
        const QString num = support::scalar("SELECT num FROM Contracts WHERE pk_id = " + ct);
        MF->show();
        MF->FormActivate();
        QCOMPARE(MF->Grid_doc->cell(0, MF->Grid_doc->currentRow()), ct);
        MF->ToolButton8Click();

        QCOMPARE(fx.viewer.shown.size(), 1);
        QCOMPARE(QFileInfo(printed()).absolutePath(), QFileInfo(fx.outDir()).absoluteFilePath());
        QVERIFY(QFileInfo(printed()).fileName().startsWith("Заказ-наряд-" + num + "-"));
        const Workbook shown(printed());
        verifyHeader(shown, num, date);
        verifyLines(shown);
        QCOMPARE(shown.cellText("A43"), QString("ЗАМЕНА МАСЛА ПО ПРОСЬБЕ КЛИЕНТА"));
        // The spare sums and the totals are the template's formulas, left for
        // the spreadsheet to compute when it opens the file.
        QVERIFY(shown.fullCalcOnLoad());
        QCOMPARE(shown.cellFormula("R27"), QString("N27*P27"));
        for (const char* total : {"R27", "R39", "R40", "R41"}) {
            QVERIFY2(!shown.cellFormula(total).isEmpty(), total);
            QVERIFY2(!shown.hasCachedValue(total), total);
        }
        // The template's own copy holds the same card.
        const Workbook tmpl(fx.formPath("print.xlsx"));
        verifyHeader(tmpl, num, date);
        verifyLines(tmpl);
    }

    // The shop's name and address from its details; a header typed into the
    // form by hand is kept, and the form keeps its blanks for new details.
    void shopHeaderFromTheDetails() {
        app::ShopDetails shop;
        shop.name = "ООО «РОМАШКА»";
        shop.address = "г. Тверь, ул. Лесная, 5";
        shop.phone = "8-4822-11-22-33";
        app::storeShopDetails(shop);
        const QString ct = fullContract(QDate(2024, 3, 5));
        contracts::PrintContractCard(ct);
        const Workbook shown(printed());
        QCOMPARE(shown.cellText("A1"), shop.name);
        QCOMPARE(shown.cellText("A2"), QString("Адрес: г. Тверь, ул. Лесная, 5   Тел.: 8-4822-11-22-33"));
        {
            Workbook tmpl(fx.formPath("print.xlsx"));
            QCOMPARE(tmpl.cellText("A1"), QString::fromUtf8(office::ShopBlank));
            tmpl.setCell("A1", "АВТОМАСТЕРСКАЯ У ВОКЗАЛА");
            tmpl.save();
        }
        contracts::PrintContractCard(ct);
        const Workbook again(printed());
        QCOMPARE(again.cellText("A1"), QString("АВТОМАСТЕРСКАЯ У ВОКЗАЛА"));
        QCOMPARE(again.cellText("A2"), shown.cellText("A2"));
        app::storeShopDetails({});
    }

    void printingTwiceAndAContractWithoutLines() {
        const QString a = fullContract(QDate(2024, 3, 5));
        const QString b = addContract(addCar("ВАЗ", "2107"), QDate(2024, 3, 6), 77);
        contracts::PrintContractCard(a);
        contracts::PrintContractCard(b);
        QCOMPARE(fx.viewer.shown.size(), 2);
        QVERIFY(printed(0) != printed(1));
        QCOMPARE(fx.written().size(), 2);
        // The second card shows its own cells and no lines of the first one.
        const Workbook second(printed(1));
        verifyHeader(second, "77", QDate(2024, 3, 6), "");
        QCOMPARE(second.cellText("A43"), QString());
        verifyNoLines(second);
        // The first file is left as it was shown; the template holds the second.
        verifyLines(Workbook(printed(0)));
        const Workbook tmpl(fx.formPath("print.xlsx"));
        verifyHeader(tmpl, "77", QDate(2024, 3, 6), "");
        verifyNoLines(tmpl);
        // A key that names no contract: every card cell an empty text.
        contracts::PrintContractCard("999999");
        const Workbook none(printed());
        for (const char* c : {"Q1", "Q2", "E4", "E5", "E6", "E9", "E10", "E11", "O4", "O5", "O9", "A43"})
            QVERIFY2(none.cellText(c).isEmpty(), c);
        verifyNoLines(none);
    }

    void theBlankJournalRowDoesNothing() {
        const QByteArray before = digest(fx.formPath("print.xlsx"));
        MF->show();
        MF->FormActivate();
        QCOMPARE(MF->Grid_doc->cell(0, MF->Grid_doc->currentRow()), QString());
        widgets::MessageRecorder rec;
        MF->ToolButton8Click();
        contracts::PrintContractCard(QString());
        QVERIFY(fx.viewer.shown.isEmpty());
        QVERIFY(fx.written().isEmpty());
        QVERIFY(rec.isEmpty());
        QCOMPARE(digest(fx.formPath("print.xlsx")), before);
    }

    void moreLinesThanTheTemplateHoldsGrowTheSections() {
        const QString ct = addContract(addCar("ВАЗ", "2107"), QDate(2024, 3, 5), 0, "ПРИМЕЧАНИЕ");
        const int works = 20, spares = 15;  // the template holds 13 and 12
        double expected = 0;
        for (int i = 1; i <= works; ++i) {
            addWork(ct, QString("РАБОТА %1").arg(i), QString::number(100 * i));
            expected += 100 * i;
        }
        for (int i = 1; i <= spares; ++i) {
            addSpare(ct, QString("ДЕТАЛЬ %1").arg(i), "10.5", i);
            expected += 10.5 * i;
        }
        contracts::PrintContractCard(ct);
        const Workbook b(printed());
        for (int i = 1; i <= works; ++i) {
            QCOMPARE(b.cellText(cell("B", 13 + i)), QString("РАБОТА %1").arg(i));
            QCOMPARE(b.cellNumber(cell("R", 13 + i)), std::optional<double>(100 * i));
        }
        // The spare parts start below the last work and keep their sums.
        const int spareFirst = 14 + works;
        for (int i = 1; i <= spares; ++i) {
            const int r = spareFirst + i - 1;
            QCOMPARE(b.cellText(cell("B", r)), QString("ДЕТАЛЬ %1").arg(i));
            QCOMPARE(b.cellNumber(cell("N", r)), std::optional<double>(i));
            QCOMPARE(b.cellFormula(cell("R", r)), QString("N%1*P%1").arg(r));
        }
        // Everything below moved down by the rows that were added.
        const int grown = (works - 13) + (spares - 12);
        QCOMPARE(b.cellText(cell("A", 43 + grown)), QString("ПРИМЕЧАНИЕ"));
        QCOMPARE(b.cellText("A43"), QString());
        QCOMPARE(b.cellFormula(cell("R", 39 + grown)), QString("SUM(R14:R%1)").arg(spareFirst - 1));
        QCOMPARE(b.cellFormula(cell("R", 40 + grown)), QString("SUM(R%1:R%2)").arg(spareFirst).arg(spareFirst + spares - 1));

        // The next card starts again from the template's size.
        const QString small = fullContract(QDate(2024, 3, 6));
        contracts::PrintContractCard(small);
        const Workbook again(printed());
        verifyLines(again);
        QCOMPARE(again.cellText("A43"), QString("ЗАМЕНА МАСЛА ПО ПРОСЬБЕ КЛИЕНТА"));
        QCOMPARE(again.cellFormula("R39"), QString("SUM(R14:R26)"));

        // The spreadsheet computes the totals of the grown card when it opens it.
        const QList<QStringList> rows = calc(printed(0));
        if (rows.isEmpty()) {
            if (QStandardPaths::findExecutable("soffice").isEmpty())
                SKIP_OR_FAIL_UNDER_CI(QStringLiteral("LibreOffice Calc is not installed"));
            QFAIL("LibreOffice Calc did not convert the card");
        }
        QCOMPARE(value(rows, 41 + grown, 18), expected);
        QCOMPARE(value(rows, spareFirst + 2, 18), 31.5);
    }

    void whenNothingCanShowTheCardTheUserIsToldWhereItIs() {
        const QString ct = fullContract(QDate(2024, 3, 5));
        fx.viewer.result = false;
        widgets::MessageRecorder rec;
        contracts::PrintContractCard(ct);
        QCOMPARE(fx.viewer.shown.size(), 1);
        QVERIFY(QFileInfo::exists(printed()));
        QCOMPARE(rec.count(), 1);
        QVERIFY2(rec.lastText().contains(QDir::toNativeSeparators(printed())), qPrintable(rec.lastText()));
    }

    // The desktop's opener is judged by its exit code, whenever it ends: 0
    // shows the card; a failure to start, "nothing opens .xlsx" (3) or a
    // failed application (4), at once or after a while, gets the message with
    // the file's place; an opener still running (the application in the
    // foreground) keeps the program going meanwhile.
    void theOpenersExitCodeDecides() {
        const QString ct = fullContract(QDate(2024, 3, 5));
        const QString log = fx.dir->filePath("opened.txt");
        auto opener = [&](const QString& name, const QString& body) {
            const QString path = fx.dir->filePath(name);
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write(("#!/bin/sh\necho \"$1\" >> '" + log + "'\n" + body + "\n").toUtf8());
            f.close();
            f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            return path;
        };
        const struct {
            QString opener;
            bool shown;
        } cases[] = {{opener("ok.sh", "exit 0"), true},
                     {opener("nothing.sh", "exit 3"), false},
                     {opener("failed.sh", "exit 4"), false},
                     {fx.dir->filePath("no-such-opener"), false},
                     {opener("foreground.sh", "sleep 1"), true},
                     {opener("late.sh", "sleep 2.5; exit 3"), false}};
        int opened = 0;
        for (const auto& c : cases) {
            office::DesktopViewer desktop(c.opener);
            office::setViewer(&desktop);
            widgets::MessageRecorder rec;
            contracts::PrintContractCard(ct);
            office::setViewer(&fx.viewer);
            const QString file = QDir(fx.outDir()).entryInfoList({"*.xlsx"}, QDir::Files, QDir::Time).first().filePath();
            QVERIFY(QFileInfo(file).fileName().startsWith("Заказ-наряд-"));
            QVERIFY(support::openersEnded());
            if (QFileInfo(c.opener).exists()) ++opened;
            QFile l(log);
            l.open(QIODevice::ReadOnly);
            QCOMPARE(QString::fromUtf8(l.readAll()).split(u'\n', Qt::SkipEmptyParts).size(), opened);
            if (c.shown) {
                QVERIFY2(rec.isEmpty(), qPrintable(c.opener));
            } else {
                QCOMPARE(rec.count(), 1);
                QVERIFY2(rec.lastText().contains("Файл сохранён: " + QDir::toNativeSeparators(file)), qPrintable(rec.lastText()));
            }
        }
    }

    // An installed program's folder is not the clerk's to write: the card is
    // shown all the same, and the template stays as it is.
    void aReadOnlyFormsFolderStillShowsTheCard() {
        const QString ct = fullContract(QDate::currentDate());  // within the journal's period
        const QString forms = fx.dir->filePath("Forms");
        const QByteArray before = digest(fx.formPath("print.xlsx"));
        {
            support::UnwritableFile file(fx.formPath("print.xlsx"));
            support::UnwritableFile folder(forms);
            QVERIFY2(!QFileInfo(forms).isWritable(), "the folder stays writable for this user (chattr +i refused?)");
            widgets::MessageRecorder rec;
            MF->show();
            MF->FormActivate();
            QCOMPARE(MF->Grid_doc->cell(0, MF->Grid_doc->currentRow()), ct);
            MF->ToolButton8Click();
            QVERIFY2(rec.isEmpty(), qPrintable(rec.lastText()));
            QCOMPARE(fx.viewer.shown.size(), 1);
            verifyLines(Workbook(printed()));
            QCOMPARE(QDir(forms).entryList(QDir::Files), (QStringList{"print.xlsx", "svod.xlsx"}));
        }
        QCOMPARE(digest(fx.formPath("print.xlsx")), before);
    }

    void aMissingTemplateStopsThePrintout() {
        const QString ct = fullContract(QDate(2024, 3, 5));
        QVERIFY(QFile::remove(fx.formPath("print.xlsx")));
        QVERIFY_THROWS_EXCEPTION(office::Error, contracts::PrintContractCard(ct));
        QVERIFY(fx.viewer.shown.isEmpty());
        QVERIFY(fx.written().isEmpty());
    }
};

TORQUIL_TEST_MAIN(TestCard)
#include "tst_card.moc"
