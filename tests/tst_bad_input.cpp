// Awkward input across the windows, with the whole set of windows over a
// real database: names with quotes, %, _ and ; are stored and found as
// typed; text that Windows-1251 cannot hold, impossible numbers and dates are
// refused with their texts before anything is written; no field takes more
// characters than its column holds.
#include "app/DM.h"
#include "program/Windows.h"
#include "app/Lookup.h"
#include "cars/CF2.h"
#include "cars/DC.h"
#include "catalogues/MH.h"
#include "catalogues/SB.h"
#include "catalogues/SE.h"
#include "catalogues/SM.h"
#include "catalogues/SP.h"
#include "catalogues/VR.h"
#include "contracts/CF.h"
#include "contracts/CF3.h"
#include "contracts/CF4.h"
#include "contracts/MF.h"
#include "fb/Cp1251.h"
#include "rtl/Marker.h"
#include "support/Handlers.h"
#include "support/Cars.h"
#include "support/TestDb.h"
#include "support/TestMain.h"
#include "widgets/DateEdit.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"
#include "support/Typing.h"

#include <QLabel>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QToolButton>

#include <functional>

namespace {

using support::typeText;

// Rows of `table` whose `column` equals `value`; the value is bound, so the
// count itself is not fooled by the characters under test.
int rowsWith(const QString& table, const QString& column, const QString& value) {
    fb::Query& q = DM->iSQL2;
    TDM::reset(q, "SELECT COUNT(*) FROM " + table + " WHERE " + column + " = :v");
    q.setString("v", value);
    q.open();
    const int n = q.field(0).asInteger();
    q.close();
    return n;
}

QMap<QString, int> tableCounts() {
    QMap<QString, int> counts;
    for (const char* t : {"Contracts", "Cars", "Works", "Spares", "CT_Works", "CT_Spares", "meh", "dev", "models",
                          "engines", "engine_sp", "body", "body_sp"})
        counts[t] = support::scalar(QString("SELECT COUNT(*) FROM ") + t).toInt();
    return counts;
}

using support::errorOf;

// The row of `grid` whose cell in `col` shows `text` (the lists indent their
// cells with blanks); 0 when none.
int rowShowing(widgets::StringGrid* grid, int col, const QString& text) {
    for (int r = 1; r < grid->rowCount(); ++r) {
        const QString cell = grid->cell(col, r);
        if (cell.endsWith(text) && cell.left(cell.size() - text.size()).trimmed().isEmpty()) return r;
    }
    return 0;
}

TwoLevelDictionary* dictionary(const QString& name) {
    return name == "SM" ? static_cast<TwoLevelDictionary*>(SM) : name == "SE" ? static_cast<TwoLevelDictionary*>(SE) : SB;
}

PricedCatalogue* catalogue(const QString& name) {
    return name == "VR" ? static_cast<PricedCatalogue*>(VR) : SP;
}

LinePicker* picker(const QString& name) { return name == "VR" ? static_cast<LinePicker*>(CF3) : CF4; }

QLineEdit* lineOf(QWidget* field) {
    if (auto* box = qobject_cast<QComboBox*>(field)) return box->lineEdit();
    return qobject_cast<QLineEdit*>(field);
}

int carWith(const QString& owner, const QString& make = QStringLiteral("ЛАДА")) {
    // Every text column set, as the car windows write them: the journal's
    // filters match no NULL.
    return support::addCar({{"dev", make}, {"mod", "НИВА"}, {"gnum", "Т1"}, {"d_year", 2010}, {"vin", ""},
                            {"color", ""}, {"engine", ""}, {"engine2", ""}, {"body", ""}, {"body2", ""},
                            {"km", 5}, {"owner", owner}, {"phone", ""}});
}

widgets::StringGrid* listOf(QWidget* window) { return window->findChild<widgets::StringGrid*>(); }

// The editor open for a new contract with the car `key` taken.
void openNewContract(int car) {
    MF->ToolButton2Click();
    CF2->Car_id->setText(QString::number(car));
    QVERIFY(CF2->AcceptCar());
    CF->EditKm->setText("1000");  // the same at every visit: no question
}

const QString kNotCp1251 = QStringLiteral("ПЕЖО É中");

}  // namespace

class TestBadInput : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    int car = 0;  // a car for the contracts of the tests
    std::unique_ptr<widgets::MessageRecorder> quiet;  // no box ever waits for a click

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        quiet = std::make_unique<widgets::MessageRecorder>();
        program::createForms();
        MF->FirstActivation = false;
        support::connectDataModule(support::makeDatabase(dir));
        car = carWith("ВЛАДЕЛЕЦ");
    }
    void cleanupTestCase() { program::destroyForms(); }
    void cleanup() {
        if (CF->isVisible()) CF->ToolButton14Click();
    }

    // ---- Quotes, %, _ and ; in every kind of name --------------------------------

    void specialNames_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("apostrophe") << "О'КЕЙ";
        QTest::newRow("double quotes") << "\"ЛУЧ\" И 'ТЕНЬ'";
        QTest::newRow("percent") << "СКИДКА 50%";
        QTest::newRow("underscore") << "А_Б";
        QTest::newRow("statement") << "Х'); DELETE FROM MEH; --";
        QTest::newRow("all at once") << "%_';\"";
    }

    void mechanicNames_data() { specialNames_data(); }
    void mechanicNames() {
        QFETCH(QString, name);
        MH->FormActivate();
        MH->ToolButton2Click();
        typeText(MH->Edit1, name);
        MH->ToolButton8Click();
        QCOMPARE(rowsWith("meh", "name", name), 1);
        QVERIFY(rowShowing(MH->Grid_meh, 1, name) > 0);
        // The editor's list of mechanics offers it as stored.
        app::FillNameCombo(CF->Box0, "meh");
        QVERIFY(CF->Box0->items().contains(name));
    }

    void dictionaryNames_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("name");
        for (const char* w : {"SM", "SE", "SB"}) {
            QTest::newRow(qPrintable(QString(w) + " apostrophe")) << w << "О'КЕЙ";
            QTest::newRow(qPrintable(QString(w) + " percent")) << w << "50% ГАЗ";
            QTest::newRow(qPrintable(QString(w) + " underscore")) << w << "В_Г";
            QTest::newRow(qPrintable(QString(w) + " all at once")) << w << "%_';\"";
        }
    }
    void dictionaryNames() {
        QFETCH(QString, window);
        QFETCH(QString, name);
        TwoLevelDictionary* w = dictionary(window);
        const QString detail = name + " ;2";
        w->FormActivate();
        w->BitBtn11Click();
        typeText(w->Edit1, name);
        w->BitBtn13Click();
        const int row = rowShowing(w->Grid_dev, 1, name);
        QVERIFY(row > 0);
        w->Grid_dev->setCurrentRow(row);
        w->Grid_devClick();
        w->BitBtn21Click();
        typeText(w->Edit2, detail);
        w->BitBtn23Click();
        QVERIFY(rowShowing(w->Grid_mod, 1, detail) > 0);

        // Stored as typed, and found by the journal's filter: the master's
        // name typed there lists its details.
        struct Tables {
            const char *master, *detail, *link;
            widgets::UpperCombo *masterBox, *detailBox;
        };
        const Tables t = window == "SM"   ? Tables{"dev", "models", "dv_fk", MF->Box1, MF->Box2}
                         : window == "SE" ? Tables{"engines", "engine_sp", "en_fk", MF->Box8, MF->Box81}
                                          : Tables{"body", "body_sp", "bd_fk", MF->Box9, MF->Box91};
        QCOMPARE(rowsWith(t.master, "name", name), 1);
        const int key = app::masterKey(t.master, name);
        QVERIFY(key > 0);
        QCOMPARE(app::detailNames(t.detail, t.link, key), QStringList{detail});
        t.masterBox->setText(QString());
        typeText(t.masterBox->lineEdit(), name);
        QCOMPARE(t.masterBox->text(), name);
        QCOMPARE(t.detailBox->items(), QStringList{detail});
        MF->BitBtn1->click();
    }

    void catalogueNames_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("name");
        for (const char* w : {"VR", "SP"}) {
            QTest::newRow(qPrintable(QString(w) + " apostrophe")) << w << "РАЗВАЛ 'СХОЖДЕНИЕ'";
            QTest::newRow(qPrintable(QString(w) + " percent")) << w << "МАСЛО 100%";
            QTest::newRow(qPrintable(QString(w) + " underscore")) << w << "ФИЛЬТР_1";
            QTest::newRow(qPrintable(QString(w) + " statement")) << w << "Х'); DELETE FROM WORKS; --";
        }
    }
    void catalogueNames() {
        QFETCH(QString, window);
        QFETCH(QString, name);
        PricedCatalogue* w = catalogue(window);
        const QString table = window == "VR" ? "Works" : "Spares";
        w->FormActivate();
        w->ToolButton2Click();
        typeText(w->Box1->lineEdit(), name);
        typeText(w->Edit1, "100,5");
        w->ToolButton8Click();
        QCOMPARE(rowsWith(table, "name", name), 1);
        QVERIFY(rowShowing(listOf(w), 1, name) > 0);

        // The picker finds it by its name as typed, and hands it over unchanged.
        LinePicker* p = picker(window);
        p->FormActivate();
        typeText(p->Box1->lineEdit(), name);
        const int row = rowShowing(p->grid(), 1, name);
        QVERIFY(row > 0);
        p->grid()->setCurrentRow(row);
        p->PickRow();
        if (p->Edit2) p->Edit2->setText("1");
        QString handed;
        LinePicker::watchHandOver([&](const QString& n, const QString&, const QString&) { handed = n; });
        p->AddLine();
        LinePicker::watchHandOver({});
        QCOMPARE(handed, name);
        QCOMPARE(rowsWith(table, "name", name), 1);  // taken from the catalogue, not added again
    }

    void carNames_data() { specialNames_data(); }
    void carNames() {
        QFETCH(QString, name);
        DC->FormActivate();
        DC->ToolButton2Click();
        typeText(DC->Box1->lineEdit(), name);
        typeText(DC->Box3->lineEdit(), name.left(15));
        typeText(DC->Box5->lineEdit(), "2010");
        typeText(DC->Box10->lineEdit(), name);
        typeText(DC->Box11->lineEdit(), name);
        DC->ToolButton8Click();
        QVERIFY(!DC->Adding);
        fb::Query& q = DM->iSQL2;
        TDM::reset(q, "SELECT pk_id FROM Cars WHERE dev = :v AND gnum = :g AND owner = :v AND phone = :v");
        q.setString("v", name);
        q.setString("g", name.left(15));
        q.open();
        QCOMPARE(q.recordCount(), 1);
        const QString key = q.field(0).asString();
        q.close();
        QCOMPARE(rowsWith("dev", "name", name), 1);  // the new make went to the dictionary

        // The car picker finds it by the owner as typed.
        CF2->FormActivate();
        typeText(CF2->Box10->lineEdit(), name);
        const int row = rowShowing(CF2->Grid_cars, 8, name);
        QVERIFY(row > 0);
        QCOMPARE(CF2->Grid_cars->cell(0, row), key);
    }

    void contractTexts_data() { specialNames_data(); }
    void contractTexts() {
        QFETCH(QString, name);
        const int owner = carWith(name, name);
        const QString remark = name + "\n" + name;
        openNewContract(owner);
        CF->Box0->setText(name);
        CF->Memo1->setPlainText(remark);
        CF->AppendWork(name, "1");
        CF->ToolButton8Click();
        const int key = CF->DocId;
        QCOMPARE(rowsWith("Contracts", "rem", remark), 1);
        QCOMPARE(rowsWith("Contracts", "meh", name), 1);
        QCOMPARE(rowsWith("CT_Works", "name", name), 1);
        QCOMPARE(CF->Memo1->toPlainText(), remark);  // reloaded as stored
        CF->ToolButton14Click();

        // The journal's filter finds it by the make as typed.
        MF->BitBtn1->click();
        typeText(MF->Box1->lineEdit(), name);
        const int row = rowShowing(MF->Grid_doc, 5, name);
        QVERIFY(row > 0);
        QCOMPARE(MF->Grid_doc->cell(0, row), QString::number(key));
        QCOMPARE(MF->Grid_doc->cell(7, row), "  " + name);
        MF->BitBtn1->click();
    }

    // ---- Text that Windows-1251 cannot hold ---------------------------------------

    void outsideTheCodePage_data() {
        QTest::addColumn<QString>("path");
        for (const char* p : {"mechanic", "make", "model", "work", "spare", "work picker", "car directory",
                              "car picker", "contract remark", "contract edit"})
            QTest::newRow(p) << p;
    }
    void outsideTheCodePage() {
        QFETCH(QString, path);
        // A contract to edit, made before the counts are taken.
        openNewContract(car);
        CF->ToolButton8Click();
        const int contract = CF->DocId;
        CF->ToolButton14Click();
        support::exec("INSERT INTO dev (name) VALUES ('МАРКА')");

        const QMap<QString, int> before = tableCounts();
        widgets::MessageRecorder shown;
        const std::map<QString, std::function<void()>> actions = {
            {"mechanic", [] { MH->FormActivate(); MH->ToolButton2Click(); MH->Edit1->setText(kNotCp1251); MH->ToolButton8Click(); }},
            {"make", [] { SM->FormActivate(); SM->BitBtn11Click(); SM->Edit1->setText(kNotCp1251); SM->BitBtn13Click(); }},
            {"model",
             [] {
                 SM->FormActivate();
                 SM->Grid_dev->setCurrentRow(rowShowing(SM->Grid_dev, 1, "МАРКА"));
                 SM->Grid_devClick();
                 SM->BitBtn21Click();
                 SM->Edit2->setText(kNotCp1251);
                 SM->BitBtn23Click();
             }},
            {"work", [] { VR->FormActivate(); VR->ToolButton2Click(); VR->Box1->setText(kNotCp1251); VR->Edit1->setText("1"); VR->ToolButton8Click(); }},
            {"spare", [] { SP->FormActivate(); SP->ToolButton2Click(); SP->Box1->setText(kNotCp1251); SP->Edit1->setText("1"); SP->ToolButton8Click(); }},
            {"work picker", [] { CF3->Box1->setText(kNotCp1251); CF3->Edit1->setText("1"); CF3->work_id->setText("*"); CF3->AddLine(); }},
            {"car directory",
             [] {
                 DC->FormActivate();
                 DC->ToolButton2Click();
                 DC->Box5->setText("2010");
                 DC->Box10->setText(kNotCp1251);
                 DC->ToolButton8Click();
             }},
            {"car picker",
             [] {
                 cars::CarValues v;
                 v.owner = kNotCp1251;
                 v.d_year = "2010";
                 CF2->setValues(v);
                 CF2->Car_id->setText("*");
                 CF2->AcceptCar();
             }},
            {"contract remark",
             [this] {
                 openNewContract(car);
                 CF->Memo1->setPlainText(kNotCp1251);
                 CF->AppendWork("РАБОТА", "1");
                 CF->ToolButton8Click();
             }},
            {"contract edit",
             [contract] {
                 MF->RefillJournal();
                 MF->Grid_doc->setCurrentRow(rowShowing(MF->Grid_doc, 0, QString::number(contract)));
                 MF->ToolButton4Click();
                 CF->Memo1->setPlainText(kNotCp1251);
                 CF->AppendWork("РАБОТА", "1");
                 CF->ToolButton8Click();
             }},
        };
        QString error = errorOf(actions.at(path));
        if (error.isEmpty() && !shown.isEmpty()) error = shown.lastText();  // through the error display
        QCOMPARE(error, fb::EncodingError(U'É').text());
        QCOMPARE(tableCounts(), before);
        MF->BitBtn1->click();
    }

    // A filter writes nothing: a character the database cannot hold is in no
    // stored name, so the list is empty, with no message at each key.
    void filterOutsideTheCodePage_data() {
        QTest::addColumn<QString>("window");
        for (const char* w : {"MF", "CF2", "CF3", "CF4"}) QTest::newRow(w) << w;
    }
    void filterOutsideTheCodePage() {
        QFETCH(QString, window);
        openNewContract(car);  // a contract of today for the journal
        CF->ToolButton8Click();
        CF->ToolButton14Click();
        for (const char* table : {"Works", "Spares"})
            support::exec(QString("INSERT INTO %1 (name, price) SELECT 'ФИЛЬТР', 1 FROM RDB$DATABASE "
                                  "WHERE NOT EXISTS (SELECT 1 FROM %1)").arg(table));
        widgets::UpperCombo* box = nullptr;
        widgets::StringGrid* grid = nullptr;
        if (window == "MF") {
            MF->BitBtn1->click();
            box = MF->Box1, grid = MF->Grid_doc;
        } else if (window == "CF2") {
            CF2->FormActivate();
            box = CF2->Box1, grid = CF2->Grid_cars;
        } else {
            LinePicker* p = picker(window == "CF3" ? "VR" : "SP");
            p->FormActivate();
            box = p->Box1, grid = p->grid();
        }
        QVERIFY(!grid->cell(0, 1).isEmpty());

        widgets::MessageRecorder shown;
        typeText(box->lineEdit(), "É");
        QTest::sendKeyEvent(QTest::Click, box->lineEdit(), Qt::Key_unknown, QString::fromUtf8("😀"), Qt::NoModifier);
        QCOMPARE(box->text(), QString::fromUtf8("É😀"));
        QVERIFY2(shown.isEmpty(), qPrintable(shown.lastText()));
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->cell(0, 1), QString());

        box->lineEdit()->selectAll();
        QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
        QVERIFY(!grid->cell(0, 1).isEmpty());
        QVERIFY(shown.isEmpty());
    }

    // ---- Text longer than its column ---------------------------------------------------

    void columnLengths_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("column");  // TABLE.COLUMN
        auto row = [](const char* w, const char* f, const char* c) {
            QTest::newRow(qPrintable(QString(w) + "." + f)) << w << f << c;
        };
        row("MH", "Edit1", "MEH.NAME");
        for (const auto& [w, m, d] : {std::tuple{"SM", "DEV.NAME", "MODELS.NAME"},
                                      std::tuple{"SE", "ENGINES.NAME", "ENGINE_SP.NAME"},
                                      std::tuple{"SB", "BODY.NAME", "BODY_SP.NAME"}}) {
            row(w, "Edit1", m);
            row(w, "Edit2", d);
        }
        row("VR", "Box1", "WORKS.NAME");
        row("SP", "Box1", "SPARES.NAME");
        row("CF3", "Box1", "WORKS.NAME");
        row("CF4", "Box1", "SPARES.NAME");
        row("CF", "Box0", "CONTRACTS.MEH");
        const std::pair<const char*, const char*> carFields[] = {
            {"Box1", "CARS.DEV"},     {"Box2", "CARS.MOD"},     {"Box3", "CARS.GNUM"},  {"Box4", "CARS.REGION"},
            {"Box5", "CARS.D_YEAR"},  {"Edit1", "CARS.KM"},     {"Box6", "CARS.VIN"},   {"Box7", "CARS.COLOR"},
            {"Box8", "CARS.ENGINE"},  {"Box81", "CARS.ENGINE2"}, {"Box9", "CARS.BODY"}, {"Box91", "CARS.BODY2"},
            {"Box10", "CARS.OWNER"},  {"Box11", "CARS.PHONE"}};
        for (const char* w : {"CF2", "DC", "CF"})
            for (const auto& [f, c] : carFields) row(w, f, c);
        for (const auto& [f, c] : carFields)
            if (QString(f) != "Box5" && QString(f) != "Edit1" && QString(f) != "Box7" && QString(f) != "Box10" &&
                QString(f) != "Box11")
                row("MF", f, c);
    }
    void columnLengths() {
        QFETCH(QString, window);
        QFETCH(QString, field);
        QFETCH(QString, column);
        QWidget* w = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == window)
                for (QWidget* c : top->findChildren<QWidget*>(field))
                    if (c->window() == top) w = c;  // not a field of a picker it owns
        QVERIFY2(w, qPrintable(window + "." + field));
        QLineEdit* edit = lineOf(w);
        QVERIFY(edit);
        // Whole numbers take at most the eleven characters of -2147483648.
        const QStringList c = column.split('.');
        const QString type = support::scalar("SELECT f.rdb$field_type FROM rdb$relation_fields rf JOIN rdb$fields f "
                                             "ON f.rdb$field_name = rf.rdb$field_source WHERE rf.rdb$relation_name = '" +
                                             c[0] + "' AND rf.rdb$field_name = '" + c[1] + "'");
        QVERIFY2(!type.isEmpty(), qPrintable(column));
        const int length = type == "8" ? 11
                                       : support::scalar("SELECT f.rdb$character_length FROM rdb$relation_fields rf "
                                                         "JOIN rdb$fields f ON f.rdb$field_name = rf.rdb$field_source "
                                                         "WHERE rf.rdb$relation_name = '" +
                                                         c[0] + "' AND rf.rdb$field_name = '" + c[1] + "'")
                                             .toInt();
        auto* box = qobject_cast<widgets::UpperCombo*>(w);
        QCOMPARE(box ? box->maxLength() : edit->maxLength(), length);
        // Pasting does not go past it either. The windows' change handlers
        // stay out of this: the text is not theirs to filter by.
        const QSignalBlocker quietBox(w), quietEdit(edit);
        const QString kept = edit->text();
        edit->setText(QString());
        edit->insert(QString(length + 5, u'Ж'));
        const qsizetype pasted = edit->text().size();
        edit->setText(kept);
        QCOMPARE(pasted, qsizetype(length));
    }

    void fullLengthTextIsStored() {
        // The longest text a field takes fits its column.
        MH->FormActivate();
        MH->ToolButton2Click();
        typeText(MH->Edit1, QString(70, u'Ж'));
        QCOMPARE(MH->Edit1->text().size(), 60);
        MH->ToolButton8Click();
        QCOMPARE(rowsWith("meh", "name", QString(60, u'Ж')), 1);

        openNewContract(car);
        CF->Memo1->setPlainText(QString(990, u'Я'));
        CF->Memo1->moveCursor(QTextCursor::End);
        CF->Memo1->insertPlainText(QString(20, u'Ю'));
        QCOMPARE(CF->Memo1->toPlainText().size(), 1000);
        CF->AppendWork("РАБОТА", "1");
        CF->ToolButton8Click();
        QCOMPARE(rowsWith("Contracts", "rem", QString(990, u'Я') + QString(10, u'Ю')), 1);
    }

    void markerFitsItsColumn() {
        // A workstation's tag never makes the row marker outgrow sysinfo.
        const QDateTime late(QDate(2026, 12, 31), QTime(23, 59, 59));
        rtl::setMarkerTag("#123456789012345678901234");
        const QString marker = rtl::SysInfoMarker(late);
        rtl::setMarkerTag(QString());
        QCOMPARE(marker, QString("31.12.202623:59:59345678901234"));  // the tag's end, to 30 characters
        QCOMPARE(rtl::SysInfoMarker(late), QString("31.12.202623:59:59"));
    }

    // ---- Impossible numbers and dates ------------------------------------------------------

    void impossibleValues_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("text");
        QTest::newRow("work price, two commas") << "work price" << "12,3,4";
        QTest::newRow("spare price, decimal point") << "spare price" << "12.5";
        QTest::newRow("picker price, letter O") << "picker price" << "1O0";
        QTest::newRow("spare quantity, fraction") << "spare quantity" << "2,5";
        QTest::newRow("car year, letter I") << "car year" << "20I9";
        QTest::newRow("car mileage, too big") << "car mileage" << "99999999999";
        QTest::newRow("contract date, 31 February") << "contract date" << "31.02.2026";
        QTest::newRow("contract date, 29 February 2025") << "contract date" << "29.02.2025";
        QTest::newRow("contract date, month 13") << "contract date" << "01.13.2026";
        QTest::newRow("contract date, empty") << "contract date" << "";
    }
    void impossibleValues() {
        QFETCH(QString, path);
        QFETCH(QString, text);
        const QMap<QString, int> before = tableCounts();
        QString shownText = text;  // the text as the conversion sees it
        const std::map<QString, std::function<void()>> actions = {
            {"work price", [&] { VR->FormActivate(); VR->ToolButton2Click(); VR->Box1->setText("РАБОТА"); VR->Edit1->setText(text); VR->ToolButton8Click(); }},
            {"spare price", [&] { SP->FormActivate(); SP->ToolButton2Click(); SP->Box1->setText("ЗАПЧАСТЬ"); SP->Edit1->setText(text); SP->ToolButton8Click(); }},
            {"picker price", [&] { CF3->Box1->setText("НОВАЯ РАБОТА"); CF3->Edit1->setText(text); CF3->work_id->setText("*"); CF3->AddLine(); }},
            {"spare quantity",
             [&] {
                 openNewContract(car);
                 CF->AppendSpare("ЗАПЧАСТЬ", text, "10");
                 CF->ToolButton8Click();
             }},
            {"car year",
             [&] { DC->FormActivate(); DC->ToolButton2Click(); DC->Box5->setText(text); DC->ToolButton8Click(); }},
            {"car mileage",
             [&] {
                 cars::CarValues v;
                 v.d_year = "2010";
                 v.km = text;
                 CF2->setValues(v);
                 CF2->Car_id->setText("*");
                 CF2->AcceptCar();
             }},
            {"contract date",
             [&] {
                 openNewContract(car);
                 CF->MaskEdit1->setText(text);
                 shownText = CF->MaskEdit1->text();
                 CF->AppendWork("РАБОТА", "1");
                 CF->ToolButton8Click();
             }},
        };
        const QString error = errorOf(actions.at(path));
        const char* kind = path.contains("price") ? "floating point value" : path.contains("date") ? "date"
                                                                                                   : "integer value";
        QCOMPARE(error, QString("'%1' is not a valid %2").arg(shownText, kind));
        QCOMPARE(tableCounts(), before);
    }
};

TORQUIL_TEST_MAIN(TestBadInput)
#include "tst_bad_input.moc"
