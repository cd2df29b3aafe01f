// The upper-case combo box: inline completion and its change signal.
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"
#include "support/Typing.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

using namespace widgets;

namespace {

using support::typeText;

// Records the text that each userChanged handler sees.
struct ChangeLog {
    QStringList seen;
    explicit ChangeLog(UpperCombo* box) {
        QObject::connect(box, &UpperCombo::userChanged, box, [this, box] { seen.append(box->text()); });
    }
};

const QStringList makes = {QStringLiteral("АУДИ"), QStringLiteral("БМВ"), QStringLiteral("БЕЛАЗ"),
                           QStringLiteral("Lada"), QStringLiteral("ВАЗ")};

}  // namespace

class TestWidgetsCombo : public QObject {
    Q_OBJECT
private slots:
    void typingCompletesToTheFirstItem();
    void deletingKeysDoNotComplete();
    void noCompletionInTheMiddleOrWithoutItems();
    void programChangesAreSilent();
    void aFilledTextShowsItsBeginning();
    void listChangesKeepTheEditText();
    void choicesFromTheList();
    void leavingTheBoxIsNoChoice();
    void enterAndEscape();
    void choiceOnlyMode();
    void maxLength();
};

void TestWidgetsCombo::typingCompletesToTheFirstItem() {
    UpperCombo box;
    box.setItems(makes);
    ChangeLog log(&box);

    typeText(&box, QStringLiteral("б"));
    QCOMPARE(box.text(), QStringLiteral("БМВ"));  // list order, not the best match
    QCOMPARE(box.lineEdit()->selectedText(), QStringLiteral("МВ"));
    QCOMPARE(log.seen, QStringList{QStringLiteral("БМВ")});  // the handler sees the completed text

    typeText(&box, QStringLiteral("е"));  // replaces the completed tail
    QCOMPARE(box.text(), QStringLiteral("БЕЛАЗ"));
    QCOMPARE(box.lineEdit()->selectedText(), QStringLiteral("ЛАЗ"));
    QCOMPARE(log.seen.last(), QStringLiteral("БЕЛАЗ"));

    // The next letter of the same item leaves the text as it was: no change.
    typeText(&box, QStringLiteral("л"));
    QCOMPARE(box.text(), QStringLiteral("БЕЛАЗ"));
    QCOMPARE(box.lineEdit()->selectedText(), QStringLiteral("АЗ"));
    QCOMPARE(log.seen.size(), 2);

    // A letter that no item continues: the typed text stands.
    typeText(&box, QStringLiteral("ы"));
    QCOMPARE(box.text(), QStringLiteral("БЕЛЫ"));
    QVERIFY(!box.lineEdit()->hasSelectedText());
    QCOMPARE(log.seen.last(), QStringLiteral("БЕЛЫ"));

    // Letter case is not regarded; the item is shown as stored.
    box.clearText();
    typeText(&box, QStringLiteral("l"));
    QCOMPARE(box.text(), QStringLiteral("Lada"));
    QCOMPARE(box.lineEdit()->selectedText(), QStringLiteral("ada"));
    QCOMPARE(box.currentIndex(), 3);

    box.setAutoComplete(false);
    box.clearText();
    typeText(&box, QStringLiteral("б"));
    QCOMPARE(box.text(), QStringLiteral("Б"));
}

void TestWidgetsCombo::deletingKeysDoNotComplete() {
    UpperCombo box;
    box.setItems(makes);
    ChangeLog log(&box);
    typeText(&box, QStringLiteral("ба"));
    QCOMPARE(box.text(), QStringLiteral("БА"));

    typeText(&box, QStringLiteral("з"));
    QCOMPARE(box.text(), QStringLiteral("БАЗ"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    QCOMPARE(box.text(), QStringLiteral("БА"));
    QCOMPARE(log.seen.last(), QStringLiteral("БА"));

    box.clearText();
    log.seen.clear();
    typeText(&box, QStringLiteral("бе"));
    QCOMPARE(box.text(), QStringLiteral("БЕЛАЗ"));
    QTest::keyClick(&box, Qt::Key_Backspace);  // removes the completed tail
    QCOMPARE(box.text(), QStringLiteral("БЕ"));
    QTest::keyClick(&box, Qt::Key_Backspace);  // "Б" would complete to "БМВ" if typed
    QCOMPARE(box.text(), QStringLiteral("Б"));
    QCOMPARE(log.seen, (QStringList{QStringLiteral("БМВ"), QStringLiteral("БЕЛАЗ"), QStringLiteral("БЕ"),
                                    QStringLiteral("Б")}));

    typeText(&box, QStringLiteral("м"));
    QCOMPARE(box.text(), QStringLiteral("БМВ"));
    QTest::keyClick(&box, Qt::Key_Delete);
    QCOMPARE(box.text(), QStringLiteral("БМ"));
    box.lineEdit()->setCursorPosition(0);
    QTest::keyClick(&box, Qt::Key_Delete);
    QCOMPARE(box.text(), QStringLiteral("М"));
}

void TestWidgetsCombo::noCompletionInTheMiddleOrWithoutItems() {
    UpperCombo box;
    box.setItems(makes);
    box.setText(QStringLiteral("ДИ"));
    box.lineEdit()->setCursorPosition(0);
    typeText(&box, QStringLiteral("ау"));
    QCOMPARE(box.text(), QStringLiteral("АУДИ"));
    QVERIFY(!box.lineEdit()->hasSelectedText());
    QCOMPARE(box.lineEdit()->cursorPosition(), 2);

    box.setText(QStringLiteral("В"));
    box.lineEdit()->setCursorPosition(0);
    typeText(&box, QStringLiteral("б"));
    QCOMPARE(box.text(), QStringLiteral("БВ"));

    UpperCombo plain;
    ChangeLog log(&plain);
    typeText(&plain, QStringLiteral("а123в"));
    QCOMPARE(plain.text(), QStringLiteral("А123В"));
    QCOMPARE(log.seen.size(), 5);
}

void TestWidgetsCombo::programChangesAreSilent() {
    UpperCombo box;
    ChangeLog log(&box);
    box.setItems(makes);
    box.setText(QStringLiteral("БМВ"));
    QCOMPARE(box.currentIndex(), 1);
    box.setText(QStringLiteral("bmw"));  // kept as given, no item chosen
    QCOMPARE(box.text(), QStringLiteral("bmw"));
    QCOMPARE(box.currentIndex(), -1);
    box.clearText();
    box.setItems({QStringLiteral("X5")});
    box.clearItems();
    box.appendItem(QStringLiteral("X6"));
    QCOMPARE(box.text(), QString());
    QVERIFY(log.seen.isEmpty());

    // Typing after the program changed the text reports the change.
    box.setText(QStringLiteral("X"));
    typeText(&box, QStringLiteral("6"));
    QCOMPARE(log.seen, QStringList{QStringLiteral("X6")});
}

void TestWidgetsCombo::aFilledTextShowsItsBeginning() {
    UpperCombo box;
    ChangeLog log(&box);
    box.setFixedWidth(80);
    box.setItems({QStringLiteral("ВОЛКОВ АНДРЕЙ ПАВЛОВИЧ")});
    box.fill(QStringLiteral("ВОЛКОВ АНДРЕЙ ПАВЛОВИЧ"));
    QCOMPARE(box.currentIndex(), 0);
    QCOMPARE(box.lineEdit()->cursorPosition(), 0);
    box.fill(QStringLiteral("СМИРНОВ ВИКТОР СЕРГЕЕВИЧ"));
    QCOMPARE(box.text(), QStringLiteral("СМИРНОВ ВИКТОР СЕРГЕЕВИЧ"));
    QCOMPARE(box.lineEdit()->cursorPosition(), 0);
    QVERIFY(log.seen.isEmpty());
}

void TestWidgetsCombo::listChangesKeepTheEditText() {
    UpperCombo box;
    box.setText(QStringLiteral("ТОЙ"));
    box.setItems(makes);  // the first item of an empty list would be taken by QComboBox
    QCOMPARE(box.text(), QStringLiteral("ТОЙ"));
    QCOMPARE(box.items(), makes);
    box.clearItems();
    QCOMPARE(box.text(), QStringLiteral("ТОЙ"));
    QCOMPARE(box.count(), 0);

    // QComboBox's own list calls keep it too.
    box.addItem(QStringLiteral("ТОЙОТА"));
    box.addItems({QStringLiteral("УАЗ")});
    QCOMPARE(box.text(), QStringLiteral("ТОЙ"));
    box.clear();
    QCOMPARE(box.text(), QStringLiteral("ТОЙ"));

    // A text equal to an item makes it the current one.
    box.setText(QStringLiteral("УАЗ"));
    box.setItems({QStringLiteral("ГАЗ"), QStringLiteral("УАЗ")});
    QCOMPARE(box.currentIndex(), 1);
    QCOMPARE(box.text(), QStringLiteral("УАЗ"));
    box.setItems({QStringLiteral("ГАЗ")});
    QCOMPARE(box.currentIndex(), -1);
    QCOMPARE(box.text(), QStringLiteral("УАЗ"));
}

void TestWidgetsCombo::choicesFromTheList() {
    UpperCombo box;
    box.setItems(makes);
    ChangeLog log(&box);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));

    QTest::keyClick(&box, Qt::Key_Down);
    QCOMPARE(box.text(), QStringLiteral("АУДИ"));
    QTest::keyClick(&box, Qt::Key_Down);
    QCOMPARE(box.text(), QStringLiteral("БМВ"));
    QCOMPARE(log.seen, (QStringList{QStringLiteral("АУДИ"), QStringLiteral("БМВ")}));

    // A choice in the drop-down list.
    box.showPopup();
    QAbstractItemView* list = box.view();
    QTRY_VERIFY(list->isVisible());
    const QModelIndex vaz = box.model()->index(4, 0);
    list->setCurrentIndex(vaz);
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_VERIFY(!list->isVisible());
    QCOMPARE(box.text(), QStringLiteral("ВАЗ"));
    QCOMPARE(log.seen.last(), QStringLiteral("ВАЗ"));
    QCOMPARE(log.seen.size(), 3);

    // Choosing the item already shown changes nothing.
    box.showPopup();
    QTRY_VERIFY(list->isVisible());
    list->setCurrentIndex(vaz);
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_VERIFY(!list->isVisible());
    QCOMPARE(log.seen.size(), 3);

    // After the program changed the text, a choice is reported against it.
    box.setText(QStringLiteral("АУДИ"));
    box.showPopup();
    QTRY_VERIFY(list->isVisible());
    list->setCurrentIndex(vaz);
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_VERIFY(!list->isVisible());
    QCOMPARE(log.seen.size(), 4);
}

void TestWidgetsCombo::leavingTheBoxIsNoChoice() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* box = new UpperCombo(&window);
    auto* other = new QLineEdit(&window);
    layout->addWidget(box);
    layout->addWidget(other);
    box->setItems(makes);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    ChangeLog log(box);
    QSignalSpy activated(box, &QComboBox::activated);

    // The program puts an item's text over another current item; leaving the
    // box makes QComboBox pick that item and report it as activated.
    box->setFocus();
    box->setCurrentIndex(0);
    box->setEditText(QStringLiteral("ВАЗ"));
    other->setFocus();
    QVERIFY(other->hasFocus());
    QCOMPARE(activated.count(), 1);
    QCOMPARE(box->currentIndex(), 4);
    QVERIFY(log.seen.isEmpty());

    // Typed text equal to an item: leaving reports nothing more either.
    box->setFocus();
    box->lineEdit()->selectAll();
    typeText(box, QStringLiteral("бмв"));
    QCOMPARE(log.seen, QStringList{QStringLiteral("БМВ")});
    other->setFocus();
    QCOMPARE(log.seen.size(), 1);
}

void TestWidgetsCombo::enterAndEscape() {
    QDialog dialog;
    auto* box = new UpperCombo(&dialog);
    auto* next = new QLineEdit(&dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(box);
    layout->addWidget(next);
    layout->addWidget(ok);
    box->setItems(makes);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QSignalSpy enter(box, &UpperCombo::enterPressed);
    QSignalSpy escape(box, &UpperCombo::escapePressed);
    QSignalSpy okClicked(ok, &QPushButton::clicked);
    ChangeLog log(box);

    // Keys through the window reach the box as its focus widget.
    box->setFocus();
    QTest::sendKeyEvent(QTest::Click, dialog.windowHandle(), Qt::Key_unknown, QStringLiteral("б"), Qt::NoModifier);
    QCOMPARE(box->text(), QStringLiteral("БМВ"));
    QCOMPARE(box->lineEdit()->selectedText(), QStringLiteral("МВ"));
    box->clearText();

    typeText(box, QStringLiteral("x"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(enter.count(), 1);
    QCOMPARE(okClicked.count(), 0);
    QCOMPARE(box->count(), makes.size());  // nothing inserted
    QCOMPARE(box->text(), QStringLiteral("X"));
    QCOMPARE(log.seen, (QStringList{QStringLiteral("БМВ"), QStringLiteral("X")}));  // clearText told nobody

    box->setEnterMovesFocus(true);
    QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(next->hasFocus());

    QTest::keyClick(box, Qt::Key_Escape);
    QCOMPARE(escape.count(), 1);
    QVERIFY(dialog.isVisible());
    box->setEscapePropagates(true);
    QTest::keyClick(box, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
}

void TestWidgetsCombo::choiceOnlyMode() {
    UpperCombo period;
    period.setChoiceOnly(true);
    QVERIFY(!period.isEditable());
    QCOMPARE(period.edit(), nullptr);
    period.setItems({QStringLiteral("10 ДНЕЙ"), QStringLiteral("30 ДНЕЙ"), QStringLiteral("МЕСЯЦ"),
                     QStringLiteral("ГОД"), QStringLiteral("ВСЕ")});
    ChangeLog log(&period);
    period.setCurrentIndex(3);
    QCOMPARE(period.text(), QStringLiteral("ГОД"));
    QVERIFY(log.seen.isEmpty());

    QTest::keyClick(&period, Qt::Key_Down);
    QCOMPARE(period.currentIndex(), 4);
    QCOMPARE(log.seen, QStringList{QStringLiteral("ВСЕ")});

    period.setText(QStringLiteral("МЕСЯЦ"));
    QCOMPARE(period.currentIndex(), 2);
    QCOMPARE(log.seen.size(), 1);

    // Back to an editable box, with capitals again.
    period.setChoiceOnly(false);
    QVERIFY(period.edit());
    period.clearText();
    typeText(&period, QStringLiteral("го"));
    QCOMPARE(period.text(), QStringLiteral("ГОД"));
}

void TestWidgetsCombo::maxLength() {
    UpperCombo box;
    box.setMaxLength(3);
    typeText(&box, QStringLiteral("абвгд"));
    QCOMPARE(box.text(), QStringLiteral("АБВ"));
    box.setItems({QStringLiteral("ЖИГУЛИ")});
    box.clearText();
    typeText(&box, QStringLiteral("ж"));
    QCOMPARE(box.text(), QStringLiteral("ЖИГ"));
    QCOMPARE(box.lineEdit()->selectedText(), QStringLiteral("ИГ"));
}

QTEST_MAIN(TestWidgetsCombo)
#include "tst_widgets_combo.moc"
