// The contract editor with its lines, against a real database and the whole
// set of windows. The pickers' hand-over is played by the tests: they write
// the car fields and Car_id, or call AppendWork/AppendSpare, as the pickers do.
#include "tst_editor_util.h"

class TestEditor : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    int car1 = 0, car2 = 0;

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        openWindowsWithCars(dir, car1, car2);
    }
    void cleanupTestCase() { program::destroyForms(); }
    void init() { deleteContracts(); }
    void cleanup() { CF->hide(); }

    void newAfterViewClearsEverythingAndPreviewsTheNumber() {
        const int ct = addContract(car1, "05.03.2024", s("ИВАНОВ"), s("СТУК"));
        addWork(ct, s("ЗАМЕНА МАСЛА"), "500");
        addSpare(ct, s("ФИЛЬТР"), "300", 1);
        openView(ct);
        QCOMPARE(CF->MaskEdit1->text(), QString("05.03.2024"));
        QCOMPARE(CF->Box1->text(), s("ВАЗ"));
        QCOMPARE(CF->Edit1->text(), QString("123456"));
        QCOMPARE(CF->Car_id->text(), QString::number(car1));
        QCOMPARE(CF->Label17->text(), QString("800"));
        // View: only the tool bar and the car's history can be used.
        QVERIFY(groupsDisabled());
        QVERIFY(CF->BitBtn9->isEnabled());
        QVERIFY(CF->ToolButton4->isEnabled());
        QVERIFY(CF->ToolButton6->isEnabled());
        QVERIFY(!CF->ToolButton8->isEnabled());
        CF->ToolButton14Click();

        const int generator = support::scalar("select gen_id(gen_doc_num,0) from RDB$DATABASE").toInt();
        openNew();
        QCOMPARE(CF->DocId, -1);
        QCOMPARE(CF->Edit0->text(), QString::number(generator + 1));
        QCOMPARE(CF->MaskEdit1->text(), rtl::DateToStr(QDate::currentDate()));
        for (widgets::UpperCombo* box : {CF->Box0, CF->Box1, CF->Box2, CF->Box3, CF->Box4, CF->Box5, CF->Box6,
                                         CF->Box7, CF->Box8, CF->Box81, CF->Box9, CF->Box91, CF->Box10, CF->Box11})
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        QVERIFY(CF->Memo1->toPlainText().isEmpty());
        QVERIFY(CF->Edit1->text().isEmpty());
        QCOMPARE(CF->Car_id->text(), QString("*"));
        for (widgets::StringGrid* grid : {CF->Grid_work, CF->grid_sp}) {
            QCOMPARE(grid->rowCount(), 2);
            QCOMPARE(column(grid, contracts::kLineKey), QStringList({""}));
            QCOMPARE(column(grid, contracts::kLineName), QStringList({""}));
        }
        QCOMPARE(CF->Grid_work->cell(2, 0), s("Наименование работ"));
        for (QLabel* total : {CF->Label17, CF->Label20, CF->Label21}) QCOMPARE(total->text(), QString("0"));
        QVERIFY(groupsEnabled());
        QVERIFY(!CF->ToolButton4->isEnabled());
        QVERIFY(!CF->ToolButton6->isEnabled());  // nothing to print before the first save
        QVERIFY(!CF->ToolButton8->isEnabled());
        QCOMPARE(CF->Box0->items(), QStringList({s("ИВАНОВ"), s("СИДОРОВ")}));
    }

    void savingWithoutCarWritesNothing() {
        openNew();
        CF->Box0->setText(s("ИВАНОВ"));
        CF->AppendWork(s("ЗАМЕНА МАСЛА"), "500");
        widgets::MessageRecorder messages;
        QCOMPARE(save(), QString());
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.lastText(), s("Выберите машину!"));
        QCOMPARE(messages.lastCaption(), s("Ошибка"));
        QCOMPARE(count("Contracts"), 0);
        QCOMPARE(count("CT_Works"), 0);
        QVERIFY(CF->NewDoc);
        QVERIFY(groupsEnabled());
        QVERIFY(CF->ToolButton8->isEnabled());
        QCOMPARE(CF->Box0->text(), s("ИВАНОВ"));
        QCOMPARE(CF->Grid_work->cell(contracts::kLineName, 1), s("ЗАМЕНА МАСЛА"));
    }

    void badDateWritesNothingAndKeepsTheInput() {
        openNew();
        pickCar(car1);
        CF->Memo1->setPlainText(s("ПРИМЕЧАНИЕ"));
        for (const char* date : {"31.02.2024", "  .  .    ", "12.03.20  "}) {
            CF->MaskEdit1->setText(date);
            const QString shown = CF->MaskEdit1->text();
            QCOMPARE(save(), "'" + shown + "' is not a valid date");
            QCOMPARE(count("Contracts"), 0);
            QVERIFY(CF->NewDoc);
            QVERIFY(groupsEnabled());
            QVERIFY(CF->ToolButton8->isEnabled());
            QCOMPARE(CF->MaskEdit1->text(), shown);
            QCOMPARE(CF->Memo1->toPlainText(), s("ПРИМЕЧАНИЕ"));
            QCOMPARE(CF->Car_id->text(), QString::number(car1));
        }
    }

    void firstSaveInsertsShowsTheStoredNumberAndCannotInsertAgain() {
        openNew();
        const QString preview = CF->Edit0->text();
        pickCar(car2);
        CF->MaskEdit1->setText("15.03.2024");
        CF->Box0->setText(s("СИДОРОВ"));
        CF->Memo1->setPlainText(s("ПЕРВАЯ СТРОКА\nВТОРАЯ"));
        CF->AppendWork(s("ДИАГНОСТИКА"), "1200");
        CF->AppendSpare(s("СВЕЧА"), "4", "150,5");
        QCOMPARE(save(), QString());

        QCOMPARE(count("Contracts"), 1);
        const int key = lastKey("Contracts");
        QCOMPARE(CF->DocId, key);
        const QString where = "pk_id = " + QString::number(key);
        QCOMPARE(support::scalar("SELECT num FROM Contracts WHERE " + where), preview);
        QCOMPARE(CF->Edit0->text(), preview);
        QCOMPARE(support::scalar("SELECT c_date FROM Contracts WHERE " + where), QString("15.03.2024"));
        QCOMPARE(support::scalar("SELECT meh FROM Contracts WHERE " + where), s("СИДОРОВ"));
        QCOMPARE(support::scalar("SELECT rem FROM Contracts WHERE " + where), s("ПЕРВАЯ СТРОКА\nВТОРАЯ"));
        QCOMPARE(support::scalar("SELECT cr_fk FROM Contracts WHERE " + where), QString::number(car2));
        QCOMPARE(count("CT_Works", "ct_fk = " + QString::number(key)), 1);
        QCOMPARE(count("CT_Spares", "ct_fk = " + QString::number(key)), 1);
        // Reloaded: keys, the line sum and the totals.
        QCOMPARE(CF->Grid_work->cell(contracts::kLineKey, 1), QString::number(lastKey("CT_Works")));
        QCOMPARE(CF->Grid_work->cell(contracts::kLineMark, 1), QString::number(key));
        QCOMPARE(CF->grid_sp->cell(contracts::kSpareSum, 1), QString("602"));
        QCOMPARE(CF->Label17->text(), QString("1802"));
        // Now in view mode.
        QVERIFY(!CF->NewDoc);
        QVERIFY(groupsDisabled());
        QVERIFY(CF->ToolButton4->isEnabled());
        QVERIFY(CF->ToolButton6->isEnabled());
        QVERIFY(!CF->ToolButton8->isEnabled());

        // A second save cannot insert it again, nor its lines.
        QCOMPARE(save(), QString());
        QCOMPARE(count("Contracts"), 1);
        QCOMPARE(count("CT_Works"), 1);
        QCOMPARE(count("CT_Spares"), 1);

        // Edit from here updates the same row.
        CF->ToolButton4Click();
        QVERIFY(CF->EditDoc);
        QVERIFY(groupsEnabled());
        CF->Memo1->setPlainText(s("ИЗМЕНЕНО"));
        QVERIFY(CF->ToolButton8->isEnabled());
        QCOMPARE(save(), QString());
        QCOMPARE(count("Contracts"), 1);
        QCOMPARE(support::scalar("SELECT rem FROM Contracts WHERE " + where), s("ИЗМЕНЕНО"));
        QCOMPARE(support::scalar("SELECT num FROM Contracts WHERE " + where), preview);
        QCOMPARE(count("CT_Works"), 1);
    }

    void editModeSavesAgainAndAgain() {
        const int ct = addContract(car1, "01.02.2024", s("ИВАНОВ"), s("А"));
        openEdit(ct);
        QVERIFY(groupsEnabled());
        QVERIFY(!CF->ToolButton8->isEnabled());
        QVERIFY(CF->ToolButton6->isEnabled());
        const QString where = "pk_id = " + QString::number(ct);

        CF->MaskEdit1->setText("12.02.2024");  // the program's own writes do not count
        QTest::keyClick(CF->MaskEdit1, Qt::Key_End);  // a key that changes nothing does not count
        QVERIFY(!CF->ToolButton8->isEnabled());
        CF->MaskEdit1->setCursorPosition(0);
        QTest::keyClick(CF->MaskEdit1, Qt::Key_0);
        QVERIFY(CF->ToolButton8->isEnabled());
        QCOMPARE(save(), QString());
        QCOMPARE(support::scalar("SELECT c_date FROM Contracts WHERE " + where), QString("02.02.2024"));
        QVERIFY(!CF->ToolButton8->isEnabled());
        QVERIFY(groupsEnabled());
        QVERIFY(CF->EditDoc);

        CF->AppendWork(s("РАЗВАЛ"), "800");
        QCOMPARE(save(), QString());
        QCOMPARE(count("CT_Works", "ct_fk = " + QString::number(ct)), 1);
        QCOMPARE(CF->Label20->text(), QString("800"));

        for (const QString& ch : {s("П"), s("Е"), s("Т")})
            QTest::sendKeyEvent(QTest::Click, CF->Box0, Qt::Key_unknown, ch, Qt::NoModifier);
        QVERIFY(CF->ToolButton8->isEnabled());
        QCOMPARE(save(), QString());
        QCOMPARE(support::scalar("SELECT meh FROM Contracts WHERE " + where), CF->Box0->text());
        QCOMPARE(count("Contracts"), 1);
        QCOMPARE(count("CT_Works"), 1);
    }

    void aRefusedUpdateCanBeSavedAgain() {
        // A row held elsewhere refuses the update: nothing of the save is
        // written, so the save button stays available for the next try.
        support::exec("CREATE EXCEPTION busy_row 'busy'");
        support::exec("CREATE TRIGGER contracts_busy FOR Contracts BEFORE UPDATE AS BEGIN "
                      "IF (NEW.rem = 'REFUSE') THEN EXCEPTION busy_row; END");
        const int ct = addContract(car1, "01.03.2024", s("ИВАНОВ"), s("А"));
        openEdit(ct);
        CF->Memo1->setFocus();
        CF->Memo1->selectAll();
        QTest::keyClicks(CF->Memo1, "REFUSE");
        QVERIFY(CF->ToolButton8->isEnabled());
        QVERIFY(save().contains("busy"));
        QVERIFY(CF->ToolButton8->isEnabled());
        QCOMPARE(support::scalar("SELECT rem FROM Contracts WHERE pk_id = " + QString::number(ct)), s("А"));
        QTest::keyClick(CF->Memo1, Qt::Key_Backspace);
        QCOMPARE(save(), QString());
        QCOMPARE(support::scalar("SELECT rem FROM Contracts WHERE pk_id = " + QString::number(ct)), QString("REFUS"));
        QVERIFY(!CF->ToolButton8->isEnabled());
    }

    void aSaveFailingAtItsLastLineWritesNothing() {
        // The contract with its lines is one unit: a refusal at the last line
        // leaves the database and the editor exactly as they were, and the
        // next save writes every line once.
        support::exec("CREATE EXCEPTION line_refused 'line refused'");
        auto refuse = [] {
            support::exec("CREATE TRIGGER spares_refuse FOR CT_Spares BEFORE INSERT AS BEGIN "
                          "IF (NEW.name = 'ОТКАЗ') THEN EXCEPTION line_refused; END");
        };
        auto allow = [] { support::exec("DROP TRIGGER spares_refuse"); };
        auto stored = [] {
            return support::scalar("SELECT COUNT(*) FROM Contracts") + "/" +
                   support::column("SELECT name FROM CT_Works ORDER BY pk_id").join(u',') + "/" +
                   support::column("SELECT name FROM CT_Spares ORDER BY pk_id").join(u',') + "/" +
                   support::column("SELECT rem FROM Contracts").join(u',');
        };

        // Edit mode: a stored line marked for deletion, new lines, a changed remark.
        const int ct = addContract(car1, "01.04.2024", s("ИВАНОВ"), s("А"));
        addWork(ct, s("СТАРАЯ"), "10");
        openEdit(ct);
        CF->Memo1->setPlainText(s("НОВОЕ"));
        CF->Grid_work->setCurrentRow(1);
        CF->BitBtn5Click();  // marks the stored line
        CF->AppendWork(s("ПЕРВАЯ"), "100");
        CF->AppendSpare(s("СВЕЧА"), "1", "50");
        CF->AppendSpare(s("ОТКАЗ"), "2", "25");
        refuse();
        const QString before = stored();
        const QString shown = editorState();
        QVERIFY(save().contains("line refused"));
        QCOMPARE(stored(), before);
        QCOMPARE(editorState(), shown);
        QVERIFY(CF->EditDoc);
        QVERIFY(CF->ToolButton8->isEnabled());
        allow();
        QCOMPARE(save(), QString());
        QCOMPARE(stored(), s("1/ПЕРВАЯ/СВЕЧА,ОТКАЗ/НОВОЕ"));
        QCOMPARE(CF->Label17->text(), QString("200"));

        // New mode: no contract is inserted; the editor stays new.
        CF->hide();
        init();
        refuse();
        openNew();
        pickCar(car2);
        CF->MaskEdit1->setText("02.04.2024");
        CF->AppendWork(s("ВТОРАЯ"), "300");
        CF->AppendSpare(s("ОТКАЗ"), "1", "400");
        const QString shownNew = editorState();
        QVERIFY(save().contains("line refused"));
        QCOMPARE(stored(), QString("0///"));
        QCOMPARE(editorState(), shownNew);
        QVERIFY(CF->NewDoc);
        allow();
        QCOMPARE(save(), QString());
        QVERIFY(!CF->NewDoc);
        QCOMPARE(stored(), s("1/ВТОРАЯ/ОТКАЗ/"));
        QCOMPARE(CF->Label17->text(), QString("700"));
    }

    void amountsOutOfRangeAreRefusedBeforeAnythingIsWritten() {
        openNew();
        pickCar(car1);
        CF->AppendWork(s("ДОРОГО"), "1E15");
        QVERIFY(save().contains(s("«1E15» вне допустимого диапазона")));
        contracts::clearLines(CF->Grid_work, contracts::kWorkLines);
        CF->AppendSpare(s("МНОГО"), "1000000", "1000000000");
        QVERIFY(save().contains(s("«1E15» вне допустимого диапазона")));
        contracts::clearLines(CF->grid_sp, contracts::kSpareLines);
        CF->AppendWork(s("ПОЛОВИНА"), "60000000000");
        CF->AppendSpare(s("ПОЛОВИНА"), "1", "60000000000");
        // Each fits, the total does not.
        QVERIFY(save().startsWith(s("Итог договора: сумма «120000000000» вне допустимого диапазона")));
        QCOMPARE(count("Contracts"), 0);
        QCOMPARE(count("CT_Works") + count("CT_Spares"), 0);
    }

    // A line stored by an older program may hold more than the amounts can:
    // the contract opens with it, and a save is refused before anything is
    // written, naming the line, until that line is deleted.
    void aStoredLinePastTheRangeOpensAndStopsTheSave() {
        const int ct = addContract(car1, "05.03.2024", s("ИВАНОВ"), s("СТУК"));
        addWork(ct, s("ДИАГНОСТИКА"), "500");
        addWork(ct, s("ДОРОГО"), "1E20");
        addSpare(ct, s("ФИЛЬТР"), "300", 2);
        openEdit(ct);
        QCOMPARE(column(CF->Grid_work, contracts::kLineName), QStringList({s("ДИАГНОСТИКА"), s("ДОРОГО")}));
        QCOMPARE(column(CF->Grid_work, contracts::kWorkPrice), QStringList({"500", "1E20"}));
        QCOMPARE(CF->Label20->text(), QString("1E20"));
        QCOMPARE(CF->Label21->text(), QString("600"));
        CF->AppendWork(s("НОВАЯ"), "100");
        QCOMPARE(save(), s("Работа в строке 2 («ДОРОГО»): сумма «1E20» вне допустимого диапазона: "
                           "по модулю она не может превышать 99999999999,9999"));
        QCOMPARE(count("CT_Works"), 2);
        QVERIFY(CF->ToolButton8->isEnabled());
        QCOMPARE(column(CF->Grid_work, contracts::kLineName), QStringList({s("ДИАГНОСТИКА"), s("ДОРОГО"), s("НОВАЯ")}));
        CF->Grid_work->setCurrentRow(2);
        CF->BitBtn5Click();
        QCOMPARE(save(), QString());
        QCOMPARE(column(CF->Grid_work, contracts::kLineName), QStringList({s("ДИАГНОСТИКА"), s("НОВАЯ")}));
        QCOMPARE(CF->Label17->text(), QString("1200"));
    }

    void activatingTheDisabledMainWindowChangesNothing() {
        // A click on the greyed-out journal, the task bar or Alt+Tab while the
        // editor is open is no activation of the main window.
        auto activateMain = [] {
            QEvent activate(QEvent::WindowActivate);
            QApplication::sendEvent(MF, &activate);
        };
        openNew();
        QVERIFY(!MF->isEnabled());
        pickCar(car1);
        CF->AppendWork(s("НОВАЯ"), "100");
        activateMain();
        QVERIFY(CF->NewDoc);
        QCOMPARE(save(), QString());
        QCOMPARE(count("CT_Works"), 1);

        const int ct = lastKey("Contracts");
        CF->hide();
        openEdit(ct);
        CF->Memo1->setPlainText(s("ПРАВКА"));
        CF->ToolButton8->setEnabled(true);
        activateMain();
        QVERIFY(CF->EditDoc);
        QVERIFY(CF->ToolButton8->isEnabled());
        QCOMPARE(save(), QString());
        QCOMPARE(support::scalar("SELECT rem FROM Contracts WHERE pk_id = " + QString::number(ct)), s("ПРАВКА"));
    }

    void theSameCarDoesNotEnableSaveAnotherOneIsSaved() {
        const int ct = addContract(car1, "01.02.2024", s("ИВАНОВ"), QString());
        openEdit(ct);
        pickCar(car1);
        QVERIFY(!CF->ToolButton8->isEnabled());
        pickCar(car2);
        QVERIFY(CF->ToolButton8->isEnabled());
        QCOMPARE(save(), QString());
        QCOMPARE(support::scalar("SELECT cr_fk FROM Contracts WHERE pk_id = " + QString::number(ct)),
                 QString::number(car2));
        QCOMPARE(CF->Box1->text(), s("ГАЗ"));
    }

    void modeIsPreparedOncePerOpening() {
        openNew();
        CF->MaskEdit1->setText("01.01.2024");
        CF->AppendWork(s("ОСТАЁТСЯ"), "1");

        whenModalRuns([] { CF->AppendWork(s("ИЗ ВЫБОРА"), "2"); });
        CF->BitBtn3Click();
        whenModalRuns([this] { pickCar(car2); });
        CF->BitBtn1Click();
        // Another window and back, as when the user comes back from another program.
        widgets::Activation::instance().report(CF2);
        widgets::Activation::instance().report(CF);

        QCOMPARE(CF->MaskEdit1->text(), QString("01.01.2024"));
        QCOMPARE(column(CF->Grid_work, contracts::kLineName), QStringList({s("ОСТАЁТСЯ"), s("ИЗ ВЫБОРА")}));
        QCOMPARE(CF->Car_id->text(), QString::number(car2));
        QCOMPARE(CF->Box1->text(), s("ГАЗ"));
        QVERIFY(CF->ToolButton8->isEnabled());
        QVERIFY(CF->NewDoc);

        CF->ToolButton14Click();
        openNew();
        QCOMPARE(CF->Car_id->text(), QString("*"));
        QCOMPARE(CF->Grid_work->rowCount(), 2);
    }

    void closingReenablesTheMainWindowAndKeepsTheEditor() {
        QPointer<TCF> editor(CF);
        openNew();
        QVERIFY(!MF->isEnabled());
        QVERIFY(CF->isVisible());
        CF->close();
        QVERIFY(editor);
        QVERIFY(!CF->isVisible());
        QVERIFY(MF->isEnabled());
        QVERIFY(!CF->NewDoc);  // the main window was activated again

        openNew();
        QVERIFY(!MF->isEnabled());
        CF->ToolButton14Click();
        QVERIFY(editor);
        QVERIFY(MF->isEnabled());
    }

    void keysTabOrderAndLengths() {
        // The window's own focus widget: no need for the window to be active.
        auto focused = [] {
            QWidget* w = CF->focusWidget();
            while (w && w->objectName().isEmpty() && w->parentWidget()) w = w->parentWidget();  // a combo's edit
            return w ? w->objectName() : QString();
        };
        openNew();
        QStringList order;
        CF->MaskEdit1->setFocus();
        order << focused();
        for (int i = 0; i < 12; ++i) {
            widgets::focusNext(CF->focusWidget());
            order << focused();
        }
        QCOMPARE(order, QStringList({"MaskEdit1", "EditKm", "DateNext", "EditNextKm", "Box0", "Memo1", "BitBtn1",
                                     "Grid_work", "BitBtn3", "BitBtn5", "grid_sp", "BitBtn6", "BitBtn8"}));

        CF->MaskEdit1->setFocus();
        QTest::keyClick(CF->MaskEdit1, Qt::Key_Return);
        QCOMPARE(focused(), QString("EditKm"));
        for (QWidget* field : std::initializer_list<QWidget*>{CF->EditKm, CF->DateNext, CF->EditNextKm})
            QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(focused(), QString("Box0"));
        CF->Memo1->setFocus();
        CF->Memo1->setPlainText(s("ОДНА"));
        QTest::keyClick(CF->Memo1, Qt::Key_Return);
        QCOMPARE(focused(), QString("BitBtn1"));
        QCOMPARE(CF->Memo1->toPlainText(), s("ОДНА"));

        // The remark holds at most 1000 characters, typed or pasted.
        CF->Memo1->setPlainText(QString(998, 'A'));
        CF->Memo1->moveCursor(QTextCursor::End);
        QTest::keyClicks(CF->Memo1, "BCDE");
        QCOMPARE(CF->Memo1->toPlainText(), QString(998, 'A') + "BC");
        CF->Memo1->moveCursor(QTextCursor::Start);
        CF->Memo1->insertPlainText("XYZ");
        QCOMPARE(CF->Memo1->toPlainText().size(), 1000);
        QCOMPARE(CF->Memo1->toPlainText().right(2), QString("BC"));
        QCOMPARE(CF->Box0->maxLength(), 60);
        QCOMPARE(CF->Box10->maxLength(), 100);
        QCOMPARE(CF->Box3->maxLength(), 15);
        QVERIFY(!CF->Box1->isEnabled());
        QCOMPARE(CF->Box1->focusPolicy(), Qt::NoFocus);
    }

    // The keyboard as the clerk uses it (the program's application presses a
    // focused button on Enter): Enter in the remark goes to "Выбрать машину"
    // and the next Enter opens the car picker; Ctrl+S saves only while the
    // save button is enabled. A loaded mechanic longer than the box shows its
    // beginning.
    void enterOnButtonsAndCtrlS() {
        widgets::installButtonEnter();
        const QString meh = s("ВОЛКОВ АНДРЕЙ ПАВЛОВИЧ-ЗАДУНАЙСКИЙ");
        const int ct = addContract(car1, "05.03.2024", meh, s("СТУК"));
        openEdit(ct);
        CF->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(CF));
        QCOMPARE(CF->Box0->text(), meh);
        QCOMPARE(CF->Box0->lineEdit()->cursorPosition(), 0);

        CF->Memo1->setFocus();
        QTest::keyClick(CF->Memo1, Qt::Key_Return);
        QCOMPARE(CF->focusWidget(), CF->BitBtn1);
        QString picker;
        whenModalRuns([&picker] { picker = QApplication::activeModalWidget()->objectName(); });
        QTest::keyClick(CF->BitBtn1, Qt::Key_Return);
        QCOMPARE(picker, QString("CF2"));

        CF->activateWindow();  // offscreen gives it back to no window after the picker
        QVERIFY(QTest::qWaitForWindowActive(CF));
        CF->Memo1->setFocus();
        QVERIFY(!CF->ToolButton8->isEnabled());
        QTest::keyClick(CF->Memo1, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(support::scalar("SELECT rem FROM Contracts WHERE pk_id = " + QString::number(ct)), s("СТУК"));
        CF->Memo1->setPlainText(s("СТУК СПРАВА"));
        QVERIFY(CF->ToolButton8->isEnabled());
        QTRY_VERIFY(CF->isActiveWindow());  // a shortcut acts in the active window only
        QTest::keyClick(CF->Memo1, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(support::scalar("SELECT rem FROM Contracts WHERE pk_id = " + QString::number(ct)), s("СТУК СПРАВА"));
        QVERIFY(!CF->ToolButton8->isEnabled());
        QCOMPARE(CF->Memo1->toPlainText(), s("СТУК СПРАВА"));
    }
};

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
