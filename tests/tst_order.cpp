// The work order and the acceptance act the program prints itself, read
// back from the PDF; the shop's details they print, as the window of the
// shop's details checks and stores them.
#include "app/DM.h"
#include "app/OrderDocument.h"
#include "app/Settings.h"
#include "app/ShopDetails.h"
#include "contracts/CF.h"
#include "contracts/RQ.h"
#include "print/Render.h"
#include "program/Windows.h"
#include "rtl/Convert.h"
#include "support/Pdf.h"
#include "support/Skip.h"
#include "support/TestDb.h"
#include "support/TestMain.h"
#include "widgets/Messages.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A car and its contract number 777 with every field of the order filled,
// `works` work lines and `spares` spare lines; returns the contract's key.
int makeContract(int works, int spares) {
    support::exec("INSERT INTO Cars (dev, mod, gnum, region, d_year, vin, color, engine, engine2, body, body2, km, "
                  "owner, phone) VALUES ('ЛАДА', 'ВЕСТА', 'А123ВС', '69', 2019, 'XTAGFK330KY123456', 'СЕРЕБРИСТЫЙ', "
                  "'ВАЗ-21129', '1.6 16V', 'СЕДАН', '4 ДВЕРИ', 99000, 'ЩЕРБАКОВ ЮРИЙ ФЁДОРОВИЧ', '+7 920 111-22-33')");
    const int car = support::lastKey("Cars");
    support::exec(QStringLiteral(
                      "INSERT INTO Contracts (num, c_date, meh, rem, cr_fk, km, deadline, done_date, accepted, "
                      "cust_address, car_value, extra_rule, extra_limit, accept_note) VALUES (777, '2026-12-01', "
                      "'ВОЛКОВ АНДРЕЙ', 'СТУК СПРАВА', %1, 87654, '2026-12-05', '2026-12-04', '2026-12-01 09:35:00', "
                      "'г. Тверь, ул. Лесная, 3', 750000, 'ВЫПОЛНЯТЬ ДО СУММЫ', 3500, 'Царапина на левом крыле')")
                      .arg(car));
    const int ct = support::lastKey("Contracts");
    for (int i = 1; i <= works; ++i)
        support::exec(QStringLiteral("INSERT INTO CT_Works (ct_fk, name, price) VALUES (%1, 'РАБОТА %2', %3)")
                          .arg(ct).arg(i).arg(100 + i * 0.25));
    for (int i = 1; i <= spares; ++i)
        support::exec(QStringLiteral("INSERT INTO CT_Spares (ct_fk, name, price, num, art, maker) "
                                     "VALUES (%1, 'ДЕТАЛЬ %2', %3, %4, 'ART-%2', 'ФИРМА %2')")
                          .arg(ct).arg(i).arg(10 + i * 0.5).arg(1 + i % 3));
    support::exec(QStringLiteral("INSERT INTO Ct_Own (ct_fk, name, quantity, note) VALUES (%1, 'МАСЛО 5W40', 4, 'своё')")
                      .arg(ct));
    return ct;
}

app::ShopDetails fullShop() {
    app::ShopDetails s;
    s.name = QStringLiteral("Автосервис «Ёлка»");
    s.form = QStringLiteral("ООО");
    s.inn = QStringLiteral("7707083893");
    s.ogrn = QStringLiteral("1027700132195");
    s.address = QStringLiteral("г. Тверь, ул. Заводская, 7");
    s.phone = QStringLiteral("+7 4822 55-66-77");
    s.takerPosition = QStringLiteral("Мастер-приёмщик");
    s.takerName = QStringLiteral("Ильин И. И.");
    s.warranty = QStringLiteral("Гарантия на работы 6 месяцев или 10000 км");
    s.terms = QStringLiteral("Оплата при выдаче автомобиля");
    return s;
}

QString pdfText(const print::Document& d, const QString& file) {
    print::writePdf(d, file);
    return support::pdfPages(file).join(QLatin1Char('\f'));
}

}  // namespace

class TestOrder : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() {
        if (!support::havePdfTools()) SKIP_OR_FAIL_UNDER_CI("poppler-utils (pdftotext, pdfinfo) is not installed");
        support::openWindows(dir);
    }
    void cleanupTestCase() { program::destroyForms(); }
    void init() { support::exec("DELETE FROM Settings WHERE name STARTING WITH 'shop_'"); }

    // ИНН and ОГРН/ОГРНИП by their control digits: a wrong one is refused
    // naming the field, with nothing stored; right ones are stored and read back.
    void shopDetailsChecked() {
        widgets::MessageRecorder messages;
        struct Case { const char* inn; const char* ogrn; const char* field; };
        const Case wrong[] = {{"7707083894", "1027700132195", "ИНН"},
                              {"770708389", "", "ИНН"},
                              {"500100732258", "304500100000211", "ИНН"},
                              {"7707083893", "1027700132196", "ОГРН"},
                              {"500100732259", "304500100000212", "ОГРН"},
                              {"7707083893", "304500100000211", "ОГРН"},  // an organisation's ИНН with an ОГРНИП
                              {"7707083893", "10277001321", "ОГРН"}};
        for (const Case& c : wrong) {
            RQ->EditInn->setText(QString::fromUtf8(c.inn));
            RQ->EditOgrn->setText(QString::fromUtf8(c.ogrn));
            RQ->EditShopName->setText(QStringLiteral("Ёлка"));
            try {
                RQ->BitBtnRqSaveClick();
                QFAIL(c.inn);
            } catch (const rtl::ConvertError& e) {
                QVERIFY2(e.text().startsWith(QString::fromUtf8(c.field)), qPrintable(e.text()));
            }
            QCOMPARE(support::count("Settings", "name STARTING WITH 'shop_'"), 0);
        }
        RQ->EditInn->setText("7707083893");
        RQ->EditOgrn->setText("1027700132195");
        RQ->MemoTerms->setPlainText(QStringLiteral("Оплата 漢 наличными"));  // not in Windows-1251
        try {
            RQ->BitBtnRqSaveClick();
            QFAIL("stored");
        } catch (const rtl::ConvertError& e) {
            QVERIFY2(e.text().contains("порядок оплаты"), qPrintable(e.text()));
        }
        QCOMPARE(support::count("Settings", "name STARTING WITH 'shop_'"), 0);
        RQ->MemoTerms->setPlainText(QStringLiteral("Оплата при выдаче"));

        for (auto [inn, ogrn] : {std::pair{"7707083893", "1027700132195"}, std::pair{"500100732259", "304500100000211"}}) {
            RQ->EditInn->setText(QString::fromUtf8(inn));
            RQ->EditOgrn->setText(QString::fromUtf8(ogrn));
            RQ->BitBtnRqSaveClick();
            QCOMPARE(app::shopDetails().inn, QString::fromUtf8(inn));
            QCOMPARE(app::shopDetails().ogrn, QString::fromUtf8(ogrn));
        }
        QCOMPARE(app::shopDetails().name, QStringLiteral("Ёлка"));
        QCOMPARE(app::shopDetails().ogrnLabel(), QStringLiteral("ОГРНИП"));
        RQ->LoadDetails();
        QCOMPARE(RQ->MemoTerms->toPlainText(), QStringLiteral("Оплата при выдаче"));
    }

    // Every item the order must hold is printed, the totals as the editor
    // shows them; the act holds the acceptance notes, the customer's parts
    // and both signatures.
    void orderAndActHoldEveryItem() {
        app::storeShopDetails(fullShop());
        const int ct = makeContract(2, 2);
        const app::PrintedOrder order = app::contractDocument(ct, app::OrderPaper::Order);
        QVERIFY(order.missing.isEmpty());
        const QString text = pdfText(order.document, dir.filePath("order.pdf"));
        CF->LoadDoc(QString::number(ct));
        const QStringList items = {
            "Автосервис «Ёлка»", "ООО", "7707083893", "ОГРН: 1027700132195", "г. Тверь, ул. Заводская, 7",
            "+7 4822 55-66-77", "ЩЕРБАКОВ ЮРИЙ ФЁДОРОВИЧ", "+7 920 111-22-33", "г. Тверь, ул. Лесная, 3",
            "Заказ-наряд № 777", "01.12.2026 9:35:00", "Срок исполнения: 05.12.2026", "Дата выдачи автомобиля: 04.12.2026",
            "ЛАДА ВЕСТА", "2019", "А123ВС 69", "XTAGFK330KY123456", "ВАЗ-21129 1.6 16V", "СЕДАН 4 ДВЕРИ", "СЕРЕБРИСТЫЙ",
            "при приёме, км: 87654", "750000", "РАБОТА 1", "100,25", "ДЕТАЛЬ 2", "ART-2", "ФИРМА 2", "МАСЛО 5W40", "своё",
            "Итого по работам", "Стоимость работ, руб.: " + CF->Label20->text(),
            "Стоимость запчастей, руб.: " + CF->Label21->text(), "Всего по заказ-наряду, руб.: " + CF->Label17->text(),
            "Оплачено, руб.:", "К оплате, руб.:", "Оплата при выдаче автомобиля", "до суммы 3500 руб.",
            "Гарантия на работы 6 месяцев", "Мастер-приёмщик Ильин И. И.", "ВОЛКОВ АНДРЕЙ", "Исполнитель ____",
            "Заказчик ____", "Страница 1 из"};
        for (const QString& item : items) QVERIFY2(text.contains(item), qPrintable(item + "\n" + text));

        const QString act = pdfText(app::contractDocument(ct, app::OrderPaper::Act).document, dir.filePath("act.pdf"));
        for (const char* item : {"Приёмосдаточный акт к заказ-наряду № 777", "Царапина на левом крыле", "МАСЛО 5W40",
                                 "Сдал (заказчик)", "Принял (исполнитель)", "Ильин И. И.", "ЩЕРБАКОВ ЮРИЙ ФЁДОРОВИЧ"})
            QVERIFY2(act.contains(QString::fromUtf8(item)), item);
    }

    // A long order runs over several pages: the shop on top of each, the
    // spare lines' titles again on each page they continue, "Страница N из M",
    // and the totals equal to the editor's.
    void longOrderOverPages() {
        app::storeShopDetails(fullShop());
        const int ct = makeContract(10, 120);
        const QString file = dir.filePath("long.pdf");
        print::writePdf(app::contractDocument(ct, app::OrderPaper::Order).document, file);
        const QStringList pages = support::pdfPages(file);
        const int n = support::pdfInfo(file, "Pages").toInt();
        QVERIFY2(n >= 3, qPrintable(QString::number(n)));
        QCOMPARE(pages.size(), n);
        for (int p = 0; p < n; ++p) {
            QVERIFY(pages[p].contains("Автосервис «Ёлка», г. Тверь"));
            QVERIFY2(pages[p].contains(QStringLiteral("Страница %1 из %2").arg(p + 1).arg(n)), qPrintable(pages[p]));
        }
        for (int p = 1; p + 1 < n; ++p) QVERIFY2(pages[p].contains("Артикул"), qPrintable(pages[p]));
        QVERIFY(pages.join("").contains("ДЕТАЛЬ 120"));
        CF->LoadDoc(QString::number(ct));
        const QString all = pages.join("");
        QVERIFY(all.contains(QRegularExpression("Итого по запчастям\\s+" + QRegularExpression::escape(CF->Label21->text()))));
        QVERIFY(all.contains("Всего по заказ-наряду, руб.: " + CF->Label17->text()));
    }

    // Without the shop's details the order prints with a line for each, and
    // torquil-db says once which are missing.
    void missingDetailsLeaveBlanks() {
        const int ct = makeContract(1, 1);
        const app::PrintedOrder order = app::contractDocument(ct, app::OrderPaper::Order);
        QVERIFY(order.missing.contains("ИНН"));
        QVERIFY(order.missing.contains("наименование"));
        const QString text = pdfText(order.document, dir.filePath("blank.pdf"));
        QVERIFY(text.contains("ИНН: ____"));
        QVERIFY(text.contains("Исполнитель: ____"));

        const QString db = DM->IBDbase.databaseName;
        support::dropDataModule();  // the embedded engine admits one process per file
        QProcess tool;
        tool.start(TORQUIL_BINARY_DIR "/torquil-db", {"order", db, "777", dir.filePath("tool.pdf")});
        QVERIFY(tool.waitForFinished(60000));
        const QString err = QString::fromUtf8(tool.readAllStandardError());
        QCOMPARE(tool.exitCode(), 0);
        QCOMPARE(err.count("Не заполнены реквизиты"), 1);
        QVERIFY(support::pdfPages(dir.filePath("tool.pdf")).join("").contains("Заказ-наряд № 777"));
        tool.start(TORQUIL_BINARY_DIR "/torquil-db", {"act", db, "999999", dir.filePath("none.pdf")});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 1);
        QVERIFY(!QFile::exists(dir.filePath("none.pdf")));
        support::connectDataModule(db);
    }
};

TORQUIL_TEST_MAIN(TestOrder)
#include "tst_order.moc"
