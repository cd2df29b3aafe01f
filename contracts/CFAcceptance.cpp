// The editor's acceptance ("ПРИЁМ": deadline, hand-back, the customer's
// address, the agreed value of the car, the instruction on faults found
// during the work, the notes made at acceptance) and the customer's own
// parts. Each is checked before the save writes anything and written in the
// save's unit with the rest of the contract.
#include "contracts/CF.h"

#include "app/Columns.h"
#include "app/DM.h"
#include "app/SchemaUpgrade.h"
#include "fb/Cp1251.h"
#include "rtl/Convert.h"
#include "rtl/Money.h"
#include "widgets/DateEdit.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const kRules[] = {"", "СОГЛАСОВАТЬ ПО ТЕЛЕФОНУ", "ВЫПОЛНЯТЬ ДО СУММЫ", "НЕ ВЫПОЛНЯТЬ"};
const char* const kLimitRule = "ВЫПОЛНЯТЬ ДО СУММЫ";

constexpr int kAddressLength = app::columns::contracts::cust_address,
              kNoteLength = app::columns::contracts::accept_note, kOwnNameLength = 150, kOwnNoteLength = 200;

QLineEdit* edit(QWidget* parent, const char* name, int maxLength) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    return e;
}

// A text for a column of `length` characters in Windows-1251, or the refusal
// naming the field.
void checkText(const QString& field, const QString& text, int length) {
    char32_t bad = 0;
    if (!fb::fitsCp1251(text, &bad))
        throw rtl::ConvertError(QStringLiteral("%1: символ «%2» не может быть сохранён в базе данных")
                                    .arg(field, QString::fromUcs4(&bad, 1)));
    if (text.size() > length)
        throw rtl::ConvertError(QStringLiteral("%1: не более %2 символов").arg(field).arg(length));
}

// An empty date, or one that is a date: refused in the clerk's words.
QDate checkedDate(const QString& field, const widgets::DateEdit* e) {
    if (e->isEmpty()) return QDate();
    try {
        return rtl::StrToDate(e->text());
    } catch (const rtl::ConvertError&) {
        throw rtl::ConvertError(QStringLiteral("%1: «%2» — не дата").arg(field, e->text().trimmed()));
    }
}

// An empty amount, or money not below zero.
std::optional<double> checkedMoney(const QString& field, const QString& text) {
    if (text.trimmed().isEmpty()) return std::nullopt;
    double v = 0;
    try {
        v = rtl::StrToPrice(text.trimmed());
    } catch (const rtl::ConvertError&) {
        throw rtl::ConvertError(QStringLiteral("%1: «%2» — не денежная сумма").arg(field, text.trimmed()));
    }
    if (v < 0) throw rtl::ConvertError(QStringLiteral("%1: сумма не может быть отрицательной").arg(field));
    return v;
}

int checkedQuantity(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < 1 || v > 99999)
        throw rtl::ConvertError(QStringLiteral("Количество запчасти заказчика: «%1» — не целое число от 1 до 99999")
                                    .arg(text.trimmed()));
    return v;
}

void checkOwnPart(const QStringList& part) {
    if (part.value(0).trimmed().isEmpty())
        throw rtl::ConvertError(QStringLiteral("Запчасть заказчика: укажите наименование"));
    checkText(QStringLiteral("Наименование запчасти заказчика"), part.value(0), kOwnNameLength);
    checkedQuantity(part.value(1));
    checkText(QStringLiteral("Примечание к запчасти заказчика"), part.value(2), kOwnNoteLength);
}

}  // namespace

void TCF::buildAcceptance() {
    GP5 = new QGroupBox(QStringLiteral("ПРИЁМ"), this);
    GP5->setObjectName(QStringLiteral("GP5"));
    MaskEditDeadline = new widgets::DateEdit(GP5);
    MaskEditDeadline->setObjectName(QStringLiteral("MaskEditDeadline"));
    MaskEditDone = new widgets::DateEdit(GP5);
    MaskEditDone->setObjectName(QStringLiteral("MaskEditDone"));
    EditAddress = edit(GP5, "EditAddress", kAddressLength);
    EditCarValue = edit(GP5, "EditCarValue", 20);
    BoxExtraRule = new QComboBox(GP5);
    BoxExtraRule->setObjectName(QStringLiteral("BoxExtraRule"));
    for (const char* r : kRules) BoxExtraRule->addItem(QString::fromUtf8(r));
    EditExtraLimit = edit(GP5, "EditExtraLimit", 20);
    EditAcceptNote = edit(GP5, "EditAcceptNote", kNoteLength);
    EditAcceptNote->setPlaceholderText(QStringLiteral("комплектность, видимые повреждения"));
    auto* g = new QGridLayout(GP5);
    g->setContentsMargins(6, 4, 6, 4);
    g->setVerticalSpacing(3);
    g->addWidget(new QLabel(QStringLiteral("Срок"), GP5), 0, 0);
    g->addWidget(MaskEditDeadline, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Выдан"), GP5), 0, 2);
    g->addWidget(MaskEditDone, 0, 3);
    g->addWidget(new QLabel(QStringLiteral("Адрес"), GP5), 1, 0);
    g->addWidget(EditAddress, 1, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Оценка"), GP5), 2, 0);
    g->addWidget(EditCarValue, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("до суммы"), GP5), 2, 2);
    g->addWidget(EditExtraLimit, 2, 3);
    g->addWidget(new QLabel(QStringLiteral("Доп. работы"), GP5), 3, 0);
    g->addWidget(BoxExtraRule, 3, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Отметки"), GP5), 4, 0);
    g->addWidget(EditAcceptNote, 4, 1, 1, 3);

    GP6 = new QGroupBox(QStringLiteral("Запчасти заказчика"), this);
    GP6->setObjectName(QStringLiteral("GP6"));
    Grid_own = new widgets::StringGrid(GP6);
    Grid_own->setObjectName(QStringLiteral("Grid_own"));
    Grid_own->setColCount(3);
    Grid_own->setColWidth(0, 170);
    Grid_own->setColWidth(1, 50);
    Grid_own->setColWidth(2, 100);
    Grid_own->setDefaultRowHeight(18);
    EditOwnName = edit(GP6, "EditOwnName", kOwnNameLength);
    EditOwnName->setPlaceholderText(QStringLiteral("наименование"));
    EditOwnQty = edit(GP6, "EditOwnQty", 5);
    EditOwnQty->setPlaceholderText(QStringLiteral("кол-во"));
    EditOwnQty->setFixedWidth(52);
    EditOwnNote = edit(GP6, "EditOwnNote", kOwnNoteLength);
    EditOwnNote->setPlaceholderText(QStringLiteral("примечание"));
    BitBtnOwnAdd = new QPushButton(QStringLiteral("Добавить"), GP6);
    BitBtnOwnAdd->setObjectName(QStringLiteral("BitBtnOwnAdd"));
    BitBtnOwnDel = new QPushButton(QStringLiteral("Удалить"), GP6);
    BitBtnOwnDel->setObjectName(QStringLiteral("BitBtnOwnDel"));
    auto* v = new QVBoxLayout(GP6);
    v->setContentsMargins(6, 4, 6, 4);
    v->setSpacing(3);
    v->addWidget(Grid_own, 1);
    auto* typed = new QHBoxLayout;
    typed->addWidget(EditOwnName, 2);
    typed->addWidget(EditOwnQty);
    typed->addWidget(EditOwnNote, 1);
    v->addLayout(typed);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BitBtnOwnAdd);
    buttons->addWidget(BitBtnOwnDel);
    v->addLayout(buttons);
    showOwn();

    for (QLineEdit* e : {static_cast<QLineEdit*>(MaskEditDeadline), static_cast<QLineEdit*>(MaskEditDone), EditAddress,
                         EditCarValue, EditExtraLimit, EditAcceptNote})
        connect(e, &QLineEdit::textEdited, this, &TCF::noteHeaderChange);
    connect(BoxExtraRule, &QComboBox::activated, this, &TCF::noteHeaderChange);
    connect(BitBtnOwnAdd, &QPushButton::clicked, this, &TCF::BitBtnOwnAddClick);
    connect(BitBtnOwnDel, &QPushButton::clicked, this, &TCF::BitBtnOwnDelClick);
    connect(EditOwnNote, &QLineEdit::returnPressed, this, &TCF::BitBtnOwnAddClick);
}

void TCF::showAcceptance() {
    const bool kept = app::hasSchema(3);
    GP5->setVisible(kept);
    GP6->setVisible(kept);
}

void TCF::showOwn() {
    Grid_own->setRowCount(int(own_.size()) + 1 + (own_.empty() ? 1 : 0));
    Grid_own->setTitles({QStringLiteral("Наименование"), QStringLiteral("Кол-во"), QStringLiteral("Примечание")});
    for (int c = 0; c < 3; ++c) Grid_own->setCell(c, 1, QString());
    for (int r = 0; r < int(own_.size()); ++r)
        for (int c = 0; c < 3; ++c) Grid_own->setCell(c, r + 1, own_[r].value(c));
}

void TCF::clearAcceptance() {
    for (QLineEdit* e : {static_cast<QLineEdit*>(MaskEditDeadline), static_cast<QLineEdit*>(MaskEditDone), EditAddress,
                         EditCarValue, EditExtraLimit, EditAcceptNote, EditOwnName, EditOwnQty, EditOwnNote})
        e->clear();
    BoxExtraRule->setCurrentIndex(0);
    own_.clear();
    showOwn();
}

void TCF::loadAcceptance(const QString& key) {
    clearAcceptance();
    if (!app::hasSchema(3)) return;
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("SELECT deadline, done_date, cust_address, car_value, extra_rule, extra_limit, "
                                 "accept_note FROM Contracts WHERE pk_id = :pk_id"));
    q.setString(QStringLiteral("pk_id"), key);
    q.open();
    if (q.eof()) return;
    const QString deadline = q.field(0).asString(), done = q.field(1).asString();
    const QString address = q.field(2).asString(), rule = q.field(4).asString().trimmed(),
                  note = q.field(6).asString();
    const QString value = q.field(3).isNull() ? QString() : rtl::FloatToStr(q.field(3).asFloat());
    const QString limit = q.field(5).isNull() ? QString() : rtl::FloatToStr(q.field(5).asFloat());
    TDM::reset(q, QStringLiteral("SELECT name, quantity, note FROM Ct_Own WHERE ct_fk = :ct_fk ORDER BY pk_id"));
    q.setString(QStringLiteral("ct_fk"), key);
    q.open();
    std::vector<QStringList> own;
    for (; !q.eof(); q.next()) own.push_back({q.field(0).asString(), q.field(1).asString(), q.field(2).asString()});
    q.close();

    MaskEditDeadline->setText(deadline);
    MaskEditDone->setText(done);
    EditAddress->setText(address);
    EditCarValue->setText(value);
    EditExtraLimit->setText(limit);
    EditAcceptNote->setText(note);
    const int at = BoxExtraRule->findText(rule);
    if (at < 0 && !rule.isEmpty()) BoxExtraRule->addItem(rule);  // written by a newer program
    BoxExtraRule->setCurrentIndex(at < 0 ? (rule.isEmpty() ? 0 : BoxExtraRule->count() - 1) : at);
    own_ = std::move(own);
    showOwn();
}

void TCF::checkAcceptance() {
    if (!app::hasSchema(3)) return;
    const QDate accepted = MaskEdit1->isEmpty() ? QDate() : rtl::StrToDate(MaskEdit1->text());
    const QDate deadline = checkedDate(QStringLiteral("Срок исполнения"), MaskEditDeadline);
    const QDate done = checkedDate(QStringLiteral("Дата выдачи"), MaskEditDone);
    if (deadline.isValid() && accepted.isValid() && deadline < accepted)
        throw rtl::ConvertError(QStringLiteral("Срок исполнения %1 раньше даты приёма %2")
                                    .arg(rtl::DateToStr(deadline), rtl::DateToStr(accepted)));
    if (done.isValid() && accepted.isValid() && done < accepted)
        throw rtl::ConvertError(QStringLiteral("Дата выдачи %1 раньше даты приёма %2")
                                    .arg(rtl::DateToStr(done), rtl::DateToStr(accepted)));
    checkText(QStringLiteral("Адрес заказчика"), EditAddress->text(), kAddressLength);
    checkedMoney(QStringLiteral("Стоимость автомобиля"), EditCarValue->text());
    const auto limit = checkedMoney(QStringLiteral("Сумма доп. работ"), EditExtraLimit->text());
    if (BoxExtraRule->currentText() == QString::fromUtf8(kLimitRule) && !limit)
        throw rtl::ConvertError(QStringLiteral("Доп. работы «ВЫПОЛНЯТЬ ДО СУММЫ»: укажите сумму"));
    checkText(QStringLiteral("Отметки при приёме"), EditAcceptNote->text(), kNoteLength);
    for (const QStringList& part : own_) checkOwnPart(part);
}

void TCF::saveAcceptance(int key) {
    if (!app::hasSchema(3)) return;
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("UPDATE Contracts SET deadline = :deadline, done_date = :done, cust_address = :address, "
                                 "car_value = :value, extra_rule = :rule, extra_limit = :limit, accept_note = :note, "
                                 "accepted = COALESCE(accepted, CURRENT_TIMESTAMP) WHERE pk_id = :pk_id"));
    auto date = [&q](const char* name, const widgets::DateEdit* e) {
        if (e->isEmpty()) q.setNull(QString::fromLatin1(name));
        else q.setDate(QString::fromLatin1(name), rtl::StrToDate(e->text()));
    };
    auto money = [&q](const char* name, const QString& text) {
        if (text.trimmed().isEmpty()) q.setNull(QString::fromLatin1(name));
        else q.setFloat(QString::fromLatin1(name), rtl::StrToPrice(text.trimmed()));
    };
    auto text = [&q](const char* name, const QString& value) {
        if (value.trimmed().isEmpty()) q.setNull(QString::fromLatin1(name));
        else q.setString(QString::fromLatin1(name), value.trimmed());
    };
    date("deadline", MaskEditDeadline);
    date("done", MaskEditDone);
    text("address", EditAddress->text());
    money("value", EditCarValue->text());
    text("rule", BoxExtraRule->currentText());
    money("limit", EditExtraLimit->text());
    text("note", EditAcceptNote->text());
    q.setInteger(QStringLiteral("pk_id"), key);
    DM->execCommit(q);

    // The parts as the editor holds them replace the stored ones.
    TDM::reset(q, QStringLiteral("DELETE FROM Ct_Own WHERE ct_fk = :ct_fk"));
    q.setInteger(QStringLiteral("ct_fk"), key);
    DM->execCommit(q);
    TDM::reset(q, QStringLiteral("INSERT INTO Ct_Own (ct_fk, name, quantity, note) VALUES (:ct_fk, :name, :quantity, :note)"));
    for (const QStringList& part : own_) {
        q.setInteger(QStringLiteral("ct_fk"), key);
        q.setString(QStringLiteral("name"), part.value(0).trimmed());
        q.setInteger(QStringLiteral("quantity"), checkedQuantity(part.value(1)));
        text("note", part.value(2));
        DM->execCommit(q);
    }
}

void TCF::proposeAddress(const QString& carKey) {
    if (!app::hasSchema(3) || !EditAddress->text().trimmed().isEmpty()) return;
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("SELECT FIRST 1 cust_address FROM Contracts WHERE cr_fk = :cr_fk AND "
                                 "cust_address IS NOT NULL ORDER BY c_date DESC, pk_id DESC"));
    q.setString(QStringLiteral("cr_fk"), carKey);
    q.open();
    if (!q.eof()) EditAddress->setText(q.field(0).asString());
    q.close();
}

void TCF::BitBtnOwnAddClick() {
    const QStringList part = {EditOwnName->text().trimmed(),
                              EditOwnQty->text().trimmed().isEmpty() ? QStringLiteral("1") : EditOwnQty->text().trimmed(),
                              EditOwnNote->text().trimmed()};
    checkOwnPart(part);
    own_.push_back(part);
    showOwn();
    for (QLineEdit* e : {EditOwnName, EditOwnQty, EditOwnNote}) e->clear();
    EditOwnName->setFocus();
    noteHeaderChange();
}

void TCF::BitBtnOwnDelClick() {
    const int row = Grid_own->currentRow();
    if (row < 1 || row > int(own_.size())) return;
    own_.erase(own_.begin() + (row - 1));
    showOwn();
    noteHeaderChange();
}
