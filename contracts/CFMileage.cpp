// The contract editor's mileage at the visit and the next service: shown,
// proposed for a new contract from the shop's intervals, checked before the
// save writes anything, and written with the contract in its write unit.
#include "contracts/CF.h"

#include "app/DM.h"
#include "app/Mileage.h"
#include "app/SchemaUpgrade.h"
#include "app/Settings.h"
#include "fb/Query.h"
#include "rtl/Convert.h"
#include "widgets/DateEdit.h"
#include "widgets/Messages.h"
#include "widgets/UpperEdit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

namespace {

QString kmText(int km) { return km < 0 ? QString() : QString::number(km); }

QDate dateOf(const QString& text) {
    try {
        return rtl::StrToDate(text);
    } catch (const rtl::ConvertError&) {
        return {};
    }
}

}  // namespace

void TCF::buildMileage(QGridLayout* grid, int row) {
    auto* box = new QGridLayout;
    box->setHorizontalSpacing(6);
    box->setVerticalSpacing(6);
    auto caption = [this](const QString& text, const char* name) {
        auto* label = new QLabel(text, GP1);
        label->setObjectName(QString::fromLatin1(name));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return label;
    };
    auto kmEdit = [this](const char* name) {
        auto* edit = new widgets::UpperEdit(GP1);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMaxLength(9);
        edit->setFixedWidth(84);
        edit->setFont(MaskEdit1->font());
        return edit;
    };
    LabelKm = caption(QStringLiteral("ПРОБЕГ ПРИ ПРИЁМЕ"), "LabelKm");
    LabelNext = caption(QStringLiteral("СЛЕДУЮЩЕЕ ТО: ДАТА / ПРОБЕГ"), "LabelNext");
    EditKm = kmEdit("EditKm");
    EditNextKm = kmEdit("EditNextKm");
    DateNext = new widgets::DateEdit(GP1);
    DateNext->setObjectName(QStringLiteral("DateNext"));
    DateNext->setMaxLength(10);
    DateNext->setFixedWidth(92);
    DateNext->setFont(MaskEdit1->font());
    box->addWidget(LabelKm, 0, 0);
    box->addWidget(EditKm, 0, 1);
    box->addWidget(LabelNext, 1, 0);
    box->addWidget(DateNext, 1, 1);
    box->addWidget(EditNextKm, 1, 2);
    box->setColumnStretch(3, 1);
    grid->addLayout(box, row, 0, 1, 3);

    // What the clerk types of the next service is his: no longer proposed.
    connect(EditKm, &QLineEdit::textEdited, this, [this] {
        noteHeaderChange();
        proposeNextService();
    });
    connect(MaskEdit1, &widgets::DateEdit::userChanged, this, &TCF::proposeNextService);
    connect(DateNext, &widgets::DateEdit::userChanged, this, [this] {
        nextDateTyped_ = true;
        noteHeaderChange();
    });
    connect(EditNextKm, &QLineEdit::textEdited, this, [this] {
        nextKmTyped_ = true;
        noteHeaderChange();
    });
    for (widgets::LineEdit* field : std::initializer_list<widgets::LineEdit*>{EditKm, DateNext, EditNextKm})
        connect(field, &widgets::LineEdit::enterPressed, this, [this, field] { focusNextField(field); });
}

void TCF::showMileageFields() {
    mileage_.on = app::hasSchema(1);
    for (QWidget* w : std::initializer_list<QWidget*>{LabelKm, EditKm, LabelNext, DateNext, EditNextKm})
        w->setVisible(mileage_.on);
    if (mileage_.on && NewDoc) {
        mileage_.serviceMonths = app::settingInt(QString::fromLatin1(app::kServiceMonths), app::kDefaultServiceMonths);
        mileage_.serviceKm = app::settingInt(QString::fromLatin1(app::kServiceKm), app::kDefaultServiceKm);
    }
}

void TCF::clearMileage() {
    EditKm->clear();
    DateNext->clear();
    EditNextKm->clear();
    nextDateTyped_ = nextKmTyped_ = false;
}

void TCF::loadMileage(const fb::RowSet& head) {
    clearMileage();
    // A stored contract keeps what it has: nothing is proposed over it.
    nextDateTyped_ = nextKmTyped_ = true;
    if (!mileage_.on) return;
    // Contracts' columns come first: "km" is the visit's, not the car's.
    auto at = [&head](const char* column) { return head.indexOf(QString::fromLatin1(column)); };
    const int km = at("km"), nextDate = at("next_date"), nextKm = at("next_km");
    if (!head.isNull(0, km)) EditKm->setText(QString::number(head.integer(0, km)));
    if (!head.isNull(0, nextDate)) DateNext->setText(rtl::DateToStr(head.date(0, nextDate)));
    if (!head.isNull(0, nextKm)) EditNextKm->setText(QString::number(head.integer(0, nextKm)));
}

void TCF::proposeNextService() {
    if (!mileage_.on || !NewDoc) return;
    if (!nextDateTyped_) {
        const QDate date = dateOf(MaskEdit1->text());
        if (date.isValid() && mileage_.serviceMonths > 0)
            DateNext->setText(rtl::DateToStr(date.addMonths(mileage_.serviceMonths)));
        else
            DateNext->clear();
    }
    if (!nextKmTyped_) {
        const std::optional<int> km = app::parseMileage(EditKm->text());
        const bool propose = km && *km >= 0 && mileage_.serviceKm > 0;
        EditNextKm->setText(propose ? kmText(std::min(*km + mileage_.serviceKm, app::kMaxMileage)) : QString());
    }
}

bool TCF::checkMileage() {
    mileage_.km = mileage_.nextKm = -1;
    mileage_.nextDate = QDate();
    if (!mileage_.on) return true;
    auto refuse = [](QWidget* field, const QString& text) {
        widgets::showMessage(text, QStringLiteral("Ошибка"));
        field->setFocus();
        return false;
    };
    const std::optional<int> km = app::parseMileage(EditKm->text());
    if (!km) return refuse(EditKm, QStringLiteral("Пробег при приёме должен быть целым числом от 0 до 9 999 999."));
    const std::optional<int> nextKm = app::parseMileage(EditNextKm->text());
    if (!nextKm)
        return refuse(EditNextKm, QStringLiteral("Пробег следующего ТО должен быть целым числом от 0 до 9 999 999."));
    const QDate nextDate = DateNext->isEmpty() ? QDate() : dateOf(DateNext->text());
    if (!DateNext->isEmpty() && !nextDate.isValid())
        return refuse(DateNext, QStringLiteral("Дата следующего ТО указана неверно."));

    // A contract without a valid date or a car is refused by the save itself.
    const QDate date = dateOf(MaskEdit1->text());
    if (date.isValid() && Car_id->text() != QStringLiteral("*")) {
        if (nextDate.isValid() && nextDate < date)
            return refuse(DateNext, QStringLiteral("Дата следующего ТО не может быть раньше даты договора (%1).")
                                        .arg(rtl::DateToStr(date)));
        if (NewDoc && *km < 0 && !widgets::askYesNo(QStringLiteral("Пробег не указан. Сохранить без пробега?"))) {
            EditKm->setFocus();
            return false;
        }
        if (*km >= 0) {
            const app::Visit before = app::earlierVisit(rtl::StrToInt(Car_id->text()), date, NewDoc ? -1 : DocId);
            if (before.km > *km &&
                !widgets::askYesNo(QStringLiteral("Пробег меньше, чем при визите %1 (%2 км). Сохранить?")
                                       .arg(rtl::DateToStr(before.date))
                                       .arg(before.km))) {
                EditKm->setFocus();
                return false;
            }
        }
    }
    mileage_.km = *km;
    mileage_.nextKm = *nextKm;
    mileage_.nextDate = nextDate;
    return true;
}

void TCF::saveMileage(int key) {
    if (!mileage_.on) return;
    fb::Query q(&DM->IBDbase, &DM->IBTrans);
    q.setSQL({QStringLiteral("UPDATE Contracts SET km = :km, next_date = :next_date, next_km = :next_km "
                             "WHERE pk_id = :pk_id")});
    auto bindKm = [&q](const QString& name, int km) {
        if (km < 0)
            q.setNull(name);
        else
            q.setInteger(name, km);
    };
    bindKm(QStringLiteral("km"), mileage_.km);
    bindKm(QStringLiteral("next_km"), mileage_.nextKm);
    if (mileage_.nextDate.isValid())
        q.setDate(QStringLiteral("next_date"), mileage_.nextDate);
    else
        q.setNull(QStringLiteral("next_date"));
    q.setInteger(QStringLiteral("pk_id"), key);
    DM->execCommit(q);
    if (mileage_.km < 0) return;
    // The car's field keeps the highest mileage known.
    fb::Query car(&DM->IBDbase, &DM->IBTrans);
    car.setSQL({QStringLiteral("UPDATE Cars SET km = :km WHERE pk_id = (SELECT cr_fk FROM Contracts WHERE pk_id = "
                               ":pk_id) AND (km IS NULL OR km < :km2)")});
    car.setInteger(QStringLiteral("km"), mileage_.km);
    car.setInteger(QStringLiteral("km2"), mileage_.km);
    car.setInteger(QStringLiteral("pk_id"), key);
    DM->execCommit(car);
}
