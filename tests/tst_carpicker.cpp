// The car picker over a real database, with the whole set of windows.
#include "app/DM.h"
#include "app/DictionaryPair.h"
#include "program/Windows.h"
#include "app/WindowFlow.h"
#include "cars/CF2.h"
#include "contracts/CF.h"
#include "contracts/MF.h"
#include "rtl/Convert.h"
#include "rtl/Marker.h"
#include "support/Cars.h"
#include "support/TestDb.h"
#include "widgets/Activation.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"
#include "support/Typing.h"
#include "support/Modal.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

using support::count;
using support::retype;
using support::typeText;

QString carColumn(int key, const QString& column) {
    return support::scalar("SELECT " + column + " FROM Cars WHERE pk_id = " + QString::number(key));
}

// A stored car; the columns not given get fixed values (a null vin or km
// is stored as NULL).
int addCar(const QString& dev, const QString& mod, const QVariant& vin = "VIN1", const QVariant& km = 1000) {
    return support::addCar({{"dev", dev}, {"mod", mod}, {"vin", vin}, {"km", km}});
}

QStringList keysListed() {
    QStringList keys;
    for (int r = 1; r < CF2->Grid_cars->rowCount(); ++r) keys << CF2->Grid_cars->cell(0, r);
    return keys;
}

// A press and release, then the double-click event, as a real double click.
void doubleClick(widgets::StringGrid* grid, int row) {
    const QPoint at = grid->visualRect(grid->model()->index(row - 1, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void openPicker() {
    CF2->show();
    QApplication::setActiveWindow(CF2);
    QVERIFY(QTest::qWaitForWindowActive(CF2));
    CF2->FormActivate();
}

// Types a whole new car into the picker's fields.
void typeCar(const QString& make, const QString& year = "2020", const QString& km = "15000") {
    typeText(CF2->Box1, make);
    typeText(CF2->Box2, "ВЕСТА");
    typeText(CF2->Box3, "В777ОР");
    typeText(CF2->Box4, "178");
    typeText(CF2->Box5, year);
    typeText(CF2->Edit1, km);
    typeText(CF2->Box9, "СЕДАН");
    typeText(CF2->Box10, "о'нил");
}

using support::whenModal;

}  // namespace

class TestCarPicker : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        support::openWindows(dir);
    }
    void cleanupTestCase() { program::destroyForms(); }

    void init() {
        for (const char* t : {"Cars", "dev", "models", "engines", "engine_sp", "body", "body_sp"})
            support::exec(QString("DELETE FROM ") + t);
        CF2->Car_id->setText("*");
        for (widgets::UpperCombo* box : {CF2->Box2, CF2->Box81, CF2->Box91}) box->clearItems();
        cars::CarFields::of(CF).clear();
        CF->Car_id->setText("*");
        CF->ToolButton8->setEnabled(false);
    }
    void cleanup() {
        CF2->hide();
        QTest::qWait(10);  // the platform's activation changes settle
    }

    void fieldsCaptionsLengthsAndEnterOrder() {
        openPicker();
        QStringList captions;
        for (QLabel* l : CF2->captions) captions << l->text();
        QCOMPARE(captions, QStringList({"МАРКА, МОДЕЛЬ", "ГОС. НОМЕР", "ГОД ВЫПУСКА", "ПРОБЕГ", "VIN", "ЦВЕТ",
                                        "ДВИГАТЕЛЬ", "КУЗОВ", "ВЛАДЕЛЕЦ", "ТЕЛЕФОН"}));
        // Each caption stands at the start of its fields' row.
        const QList<QList<QWidget*>> rows = {{CF2->Box1, CF2->Box2}, {CF2->Box3, CF2->Box4}, {CF2->Box5},
                                             {CF2->Edit1}, {CF2->Box6}, {CF2->Box7}, {CF2->Box8, CF2->Box81},
                                             {CF2->Box9, CF2->Box91}, {CF2->Box10}, {CF2->Box11}};
        for (int i = 0; i < rows.size(); ++i)
            for (QWidget* f : rows[i]) {
                QVERIFY(qAbs(f->geometry().center().y() - CF2->captions[i]->geometry().center().y()) <= 3);
                QVERIFY(f->geometry().left() > CF2->captions[i]->geometry().right());
            }
        // The maximum lengths are those of the columns.
        const std::pair<widgets::UpperCombo*, const char*> columns[] = {
            {CF2->Box1, "DEV"},      {CF2->Box2, "MOD"},     {CF2->Box3, "GNUM"},    {CF2->Box4, "REGION"},
            {CF2->Box6, "VIN"},      {CF2->Box7, "COLOR"},   {CF2->Box8, "ENGINE"},  {CF2->Box81, "ENGINE2"},
            {CF2->Box9, "BODY"},     {CF2->Box91, "BODY2"},  {CF2->Box10, "OWNER"},  {CF2->Box11, "PHONE"}};
        for (const auto& [box, column] : columns)
            QCOMPARE(box->maxLength(), support::scalar(QString("SELECT f.rdb$character_length FROM "
                                                               "rdb$relation_fields r JOIN rdb$fields f ON "
                                                               "f.rdb$field_name = r.rdb$field_source WHERE "
                                                               "r.rdb$relation_name = 'CARS' AND "
                                                               "r.rdb$field_name = '") + column + "'").toInt());
        QCOMPARE(CF2->Box7->count(), 101);
        QCOMPARE(CF2->Box7->itemText(0), QString("БЕЖЕВО-ЖЁЛТЫЙ"));
        QCOMPARE(CF2->Box7->itemText(100), QString("ЯРКО-ФИОЛЕТОВЫЙ"));
        for (auto* box : {CF2->Box3, CF2->Box4, CF2->Box5, CF2->Box6, CF2->Box10, CF2->Box11}) QCOMPARE(box->count(), 0);

        // Capitals as typed; a colour completes from the list.
        typeText(CF2->Box10, "петров d'or");
        QCOMPARE(CF2->Box10->text(), QString("ПЕТРОВ D'OR"));
        typeText(CF2->Box7, "чё");
        QCOMPARE(CF2->Box7->text(), QString("ЧЁРНЫЙ"));

        // Enter walks the fields in tab order, then the buttons follow.
        QCOMPARE(QApplication::focusWidget(), CF2->Box1);
        QList<QWidget*> walked;
        for (int i = 0; i < 14; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            walked << QApplication::focusWidget();
        }
        QList<QWidget*> expected = CF2->inTabOrder().mid(1);
        expected << CF2->BitBtn1;
        QCOMPARE(walked, expected);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), CF2->BitBtn2);
    }

    void activationListsCarsAndKeepsChoice() {
        const int b = addCar("ВАЗ", "2109");
        const int a = addCar("ВАЗ", "2107", "XTA", QVariant());
        addCar("ГАЗ", "3110", QVariant());  // NULL never matches LIKE
        const int low = addCar("лада", "калина");
        support::exec("INSERT INTO dev (name) VALUES ('ВАЗ')");
        CF2->Car_id->setText(QString::number(b));
        CF2->Box2->setItems({"СТАРАЯ"});
        openPicker();
        QCOMPARE(keysListed(), QStringList({QString::number(a), QString::number(b), QString::number(low)}));
        const QStringList row = [] {
            QStringList cells;
            for (int c = 0; c < 10; ++c) cells << CF2->Grid_cars->cell(c, 1);
            return cells;
        }();
        QCOMPARE(row, QStringList({QString::number(a), "  ВАЗ 2107", "  А001АА 77", "  2005", "  ", "  БЕЛЫЙ",
                                   "  БЕНЗИН 1.6", "  СЕДАН 4Д", "  ИВАНОВ", "  123"}));
        QCOMPARE(CF2->Grid_cars->cell(4, 2), QString("  1000"));
        QCOMPARE(CF2->Car_id->text(), QString::number(b));
        QCOMPARE(CF2->Box1->items(), QStringList({"ВАЗ"}));
        QCOMPARE(CF2->Box2->items(), QStringList({"СТАРАЯ"}));  // dependent lists stay

        // Prefixes, case-sensitive; the mileage never filters.
        typeText(CF2->Box1, "В");
        QCOMPARE(CF2->Box1->text(), QString("ВАЗ"));
        typeText(CF2->Box2, "2107");
        QCOMPARE(keysListed(), QStringList({QString::number(a)}));
        typeText(CF2->Edit1, "99");
        QCOMPARE(keysListed(), QStringList({QString::number(a)}));
        QCOMPARE(CF2->Car_id->text(), QString::number(b));
        retype(CF2->Box1, "Л");
        QCOMPARE(keysListed(), QStringList({""}));
        QCOMPARE(CF2->Car_id->text(), QString("*"));
        // A text that fills its column is still a valid filter.
        CF2->Box1->setText(QString(40, QChar(u'Ж')));
        CF2->FilterCars();
        QCOMPARE(keysListed(), QStringList({""}));
    }

    void emptyListAcceptInsertsTypedCarWithItsNames() {
        openPicker();
        QCOMPARE(keysListed(), QStringList({""}));
        QCOMPARE(CF2->Car_id->text(), QString("*"));
        typeCar("ЛАДА");
        typeText(CF2->Box7, "КРАСНЫЙ");
        CF2->BitBtn1Click();
        QVERIFY(!CF2->isVisible());
        QCOMPARE(CF2->result(), int(QDialog::Accepted));

        QCOMPARE(count("Cars"), 1);
        const int key = support::scalar("SELECT pk_id FROM Cars").toInt();
        QCOMPARE(CF2->Car_id->text(), QString::number(key));
        QCOMPARE(carColumn(key, "dev || '|' || mod || '|' || gnum || '|' || region || '|' || d_year || '|' || km || "
                                "'|' || color || '|' || owner || '|' || engine || '|' || body2"),
                 QString("ЛАДА|ВЕСТА|В777ОР|178|2020|15000|КРАСНЫЙ|О'НИЛ||"));
        QVERIFY(!carColumn(key, "sysinfo").isEmpty());
        // Handed over.
        QCOMPARE(CF->Box1->text(), QString("ЛАДА"));
        QCOMPARE(CF->Box10->text(), QString("О'НИЛ"));
        QCOMPARE(CF->Edit1->text(), QString("15000"));
        QCOMPARE(CF->Box8->text(), QString());
        QCOMPARE(CF->Car_id->text(), QString::number(key));
        QVERIFY(CF->ToolButton8->isEnabled());
        // The names went to their dictionaries, empty ones included.
        QCOMPARE(count("dev d JOIN models m ON m.dv_fk = d.pk_id", "d.name = 'ЛАДА' AND m.name = 'ВЕСТА'"), 1);
        QCOMPARE(count("engines e JOIN engine_sp s ON s.en_fk = e.pk_id", "e.name = '' AND s.name = ''"), 1);
        QCOMPARE(count("body b JOIN body_sp s ON s.bd_fk = b.pk_id", "b.name = 'СЕДАН' AND s.name = ''"), 1);
        QCOMPARE(count("engines") + count("engine_sp") + count("body") + count("body_sp"), 4);
    }

    void typedPrefixOfStoredCarHandsOverTheEarlierChoice() {
        const int a = addCar("ВАЗ", "2107");
        const int b = addCar("ВАЗ", "2109", "VIN2", 5000);
        openPicker();
        CF2->Grid_cars->setCurrentRow(2);
        QTest::keyClick(CF2->Grid_cars, Qt::Key_Return);  // Enter takes the row
        QCOMPARE(CF2->Car_id->text(), QString::number(b));
        QCOMPARE(CF2->Box2->text(), QString("2109"));
        QCOMPARE(CF2->Edit1->text(), QString("5000"));
        QCOMPARE(keysListed(), QStringList({QString::number(b)}));  // the mileage change filtered by the car itself
        QCOMPARE(QApplication::focusWidget(), CF2->BitBtn1);
        CF2->BitBtn1Click();
        QCOMPARE(CF->Car_id->text(), QString::number(b));
        QVERIFY(CF->ToolButton8->isEnabled());

        // Another opening: a new car typed as a prefix of stored ones keeps the list, and the key.
        CF->ToolButton8->setEnabled(false);
        openPicker();
        typeText(CF2->Box2, "210");
        QCOMPARE(keysListed(), QStringList({QString::number(a), QString::number(b)}));
        CF2->BitBtn1Click();
        QCOMPARE(count("Cars"), 2);
        QCOMPARE(CF->Car_id->text(), QString::number(b));
        QCOMPARE(CF->Box2->text(), QString("2109"));
        QVERIFY(!CF->ToolButton8->isEnabled());  // the editor held that car already
    }

    void changingTheMakeFiltersWithTheOldModelFirst() {
        addCar("ВАЗ", "2107");
        const int gaz = addCar("ГАЗ", "3110");
        app::EnsureDictionaryPair("ВАЗ", "2107", "dev", "models", "dv_fk");
        app::EnsureDictionaryPair("ГАЗ", "3110", "dev", "models", "dv_fk");
        openPicker();
        typeText(CF2->Box1, "В");
        QCOMPARE(CF2->Box2->items(), QStringList({"2107"}));
        typeText(CF2->Box2, "2");
        QCOMPARE(CF2->Box2->text(), QString("2107"));
        CF2->Car_id->setText(QString::number(gaz));
        retype(CF2->Box1, "Г");
        QCOMPARE(CF2->Box1->text(), QString("ГАЗ"));
        // ГАЗ with model 2107 finds nothing; only then is the model emptied.
        QCOMPARE(keysListed(), QStringList({""}));
        QCOMPARE(CF2->Car_id->text(), QString("*"));
        QCOMPARE(CF2->Box2->text(), QString());
        QCOMPARE(CF2->Box2->items(), QStringList({"3110"}));
    }

    void dictionaryPairs() {
        app::EnsureDictionaryPair("ВАЗ", "2107", "dev", "models", "dv_fk");
        CF2->EnsureDictionaryPair("ВАЗ", "2109", "dev", "models", "dv_fk");
        app::EnsureDictionaryPair("ГАЗ", "2107", "dev", "models", "dv_fk");  // known under another make
        const QString vaz = support::scalar("SELECT pk_id FROM dev WHERE name = 'ВАЗ'");
        QCOMPARE(count("dev"), 2);
        QCOMPARE(count("models"), 2);
        QCOMPARE(count("models", "dv_fk = " + vaz), 2);
        for (int i = 0; i < 2; ++i) {
            app::EnsureDictionaryPair("Д'АРТ", "О'КЕЙ", "engines", "engine_sp", "en_fk");
            app::EnsureDictionaryPair("", "", "body", "body_sp", "bd_fk");
        }
        QCOMPARE(count("engines e JOIN engine_sp s ON s.en_fk = e.pk_id", "e.name = 'Д''АРТ' AND s.name = 'О''КЕЙ'"), 1);
        QCOMPARE(count("engines") + count("engine_sp"), 2);
        QCOMPARE(count("body", "name = ''") + count("body_sp", "name = ''"), 2);
    }

    void twoNewCarsInOneSecond() {
        for (int attempt = 0; attempt < 5; ++attempt) {
            init();
            while (QTime::currentTime().msec() > 300) QTest::qWait(5);
            const QString marker = rtl::SysInfoMarker();
            QStringList handed;
            for (const char* make : {"ПЕРВАЯ", "ВТОРАЯ"}) {
                openPicker();
                typeCar(make);
                CF2->BitBtn1Click();
                handed << CF->Car_id->text() + " " + CF->Box1->text();
            }
            if (rtl::SysInfoMarker() != marker) continue;  // the second changed: try again
            QCOMPARE(count("Cars", "sysinfo = '" + marker + "'"), 2);
            const QString first = support::scalar("SELECT pk_id FROM Cars WHERE dev = 'ПЕРВАЯ'");
            const QString second = support::scalar("SELECT pk_id FROM Cars WHERE dev = 'ВТОРАЯ'");
            QCOMPARE(handed, QStringList({first + " ПЕРВАЯ", second + " ВТОРАЯ"}));
            return;
        }
        QFAIL("no two inserts within one second");
    }

    void blankRowTakesNothing() {
        openPicker();
        typeText(CF2->Box1, "НЕТ ТАКОЙ");
        QCOMPARE(keysListed(), QStringList({""}));
        doubleClick(CF2->Grid_cars, 1);
        QTest::keyClick(CF2->Grid_cars, Qt::Key_Return);
        QCOMPARE(CF2->Box1->text(), QString("НЕТ ТАКОЙ"));
        QCOMPARE(CF2->Car_id->text(), QString("*"));
        QVERIFY(CF2->isVisible());
    }

    void quotesInNamesAreLetters() {
        openPicker();
        typeCar("Д'ОР");
        CF2->BitBtn1Click();
        QCOMPARE(count("dev", "name = 'Д''ОР'"), 1);
        QCOMPARE(count("Cars", "dev = 'Д''ОР' AND owner = 'О''НИЛ'"), 1);
        openPicker();
        typeText(CF2->Box1, "Д'");
        QCOMPARE(CF2->Box1->text(), QString("Д'ОР"));
        typeText(CF2->Box10, "О'");
        QCOMPARE(keysListed(), QStringList({CF->Car_id->text()}));
    }

    void escapeAnywhereCancels() {
        addCar("ВАЗ", "2107");
        CF->Box1->setText("ПРЕЖНЯЯ");
        for (int where = 0; where < 3; ++where) {
            QWidget* field = QList<QWidget*>{CF2->Box3, CF2->Edit1, CF2->Grid_cars}[where];
            whenModal(CF2, [field] {
                CF2->Grid_cars->setCurrentRow(1);
                field->setFocus();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            });
            QCOMPARE(app::openModal(CF2, CF), int(QDialog::Rejected));
            QCOMPARE(CF->Box1->text(), QString("ПРЕЖНЯЯ"));
            QCOMPARE(CF->Car_id->text(), QString("*"));
        }
    }

    // A car deleted since it was chosen is not handed over: the user is told,
    // Car_id goes back to "*", and the picker stays open.
    void deletedCarIsNotHandedOver() {
        const int a = addCar("ВАЗ", "2107");
        openPicker();
        doubleClick(CF2->Grid_cars, 1);
        QCOMPARE(CF2->Car_id->text(), QString::number(a));
        support::exec("DELETE FROM Cars WHERE pk_id = " + QString::number(a));
        widgets::MessageRecorder messages;
        CF2->BitBtn1Click();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.lastText(), TCF2::carGoneMessage());
        QCOMPARE(messages.lastCaption(), QString("Ошибка"));
        QVERIFY(CF2->isVisible());
        QCOMPARE(CF2->Car_id->text(), QString("*"));
        QCOMPARE(keysListed(), QStringList({""}));
        QCOMPARE(CF->Box1->text(), QString());
        QCOMPARE(CF->Car_id->text(), QString("*"));
        QVERIFY(!CF->ToolButton8->isEnabled());
        // The fields still describe the car; accepting now enters it anew.
        CF2->BitBtn1Click();
        QVERIFY(!CF2->isVisible());
        QCOMPARE(count("Cars", "dev = 'ВАЗ' AND mod = '2107'"), 1);
        QCOMPARE(CF->Car_id->text(), CF2->Car_id->text());
    }

    // No mileage is stored as NULL; a year or mileage that is no whole number
    // stops the insert before anything is written, and the window closes.
    void yearAndMileage() {
        openPicker();
        typeCar("БЕЗ ПРОБЕГА", "2001", "");
        CF2->BitBtn1Click();
        const int key = CF->Car_id->text().toInt();
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM Cars WHERE km IS NULL AND d_year = 2001"), QString("1"));
        QCOMPARE(CF->Edit1->text(), QString());
        openPicker();
        QCOMPARE(keysListed(), QStringList({QString::number(key)}));
        QCOMPARE(CF2->Grid_cars->cell(4, 1), QString("  "));
        // The year filters as text; a letter in it matches no car, Cyrillic included.
        for (const char* year : {"2Я", "Ё", "2001X"}) {
            CF2->Box5->setText(QString::fromUtf8(year));
            CF2->FilterCars();
            QCOMPARE(keysListed(), QStringList({QString()}));
        }
        CF2->Box5->setText("20");
        CF2->FilterCars();
        QCOMPARE(keysListed(), QStringList({QString::number(key)}));
        CF2->Box5->setText(QString());

        const std::pair<const char*, const char*> bad[] = {{"", "100"}, {"20X1", "100"}, {"2001", "12 345"}};
        for (const auto& [year, km] : bad) {
            CF->ToolButton8->setEnabled(false);
            openPicker();
            typeCar("ДРУГАЯ", year, km);
            const QString wrong = QString(year) == "2001" ? QString(km) : QString(year);
            try {
                CF2->BitBtn1Click();
                QFAIL("no error");
            } catch (const rtl::ConvertError& e) {
                QCOMPARE(e.text(), "'" + wrong + "' is not a valid integer value");
            }
            QVERIFY(!CF2->isVisible());
            QCOMPARE(count("Cars"), 1);
            QCOMPARE(CF->Box1->text(), QString("БЕЗ ПРОБЕГА"));
            QVERIFY(!CF->ToolButton8->isEnabled());
        }
    }
};

QTEST_MAIN(TestCarPicker)
#include "tst_carpicker.moc"
