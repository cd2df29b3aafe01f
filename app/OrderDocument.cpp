#include "app/OrderDocument.h"

#include "app/ShopDetails.h"
#include "app/WorkOrder.h"

namespace app {

namespace {

using print::Column;
using print::Table;

QString joined(const QStringList& parts, const QString& separator = QStringLiteral(" ")) {
    QStringList kept;
    for (const QString& p : parts)
        if (!p.trimmed().isEmpty()) kept << p.trimmed();
    return kept.join(separator);
}

QString moneyOr(const std::optional<rtl::Money>& m) { return m ? m->toString() : QString(); }

QString runningHead(const ShopDetails& shop) {
    const QString line = shop.headLine();
    return line.isEmpty() ? QStringLiteral("Исполнитель: ") + QString(40, u'_') : line;
}

void shopPart(print::Document& d, const ShopDetails& shop) {
    d.heading(QStringLiteral("Исполнитель"))
        .field(QStringLiteral("Наименование"), shop.name)
        .field(QStringLiteral("Организационно-правовая форма"), shop.form)
        .field(QStringLiteral("ИНН"), shop.inn)
        .field(shop.ogrn.trimmed().isEmpty() ? QStringLiteral("ОГРН/ОГРНИП") : shop.ogrnLabel(), shop.ogrn)
        .field(QStringLiteral("Адрес"), shop.address)
        .field(QStringLiteral("Телефон"), shop.phone);
    if (!shop.email.trimmed().isEmpty()) d.field(QStringLiteral("Электронная почта"), shop.email);
    if (!shop.bank.trimmed().isEmpty()) d.field(QStringLiteral("Банковские реквизиты"), shop.bank);
}

void customerPart(print::Document& d, const WorkOrder& o) {
    d.heading(QStringLiteral("Заказчик"))
        .field(QStringLiteral("Ф. И. О."), o.customer)
        .field(QStringLiteral("Телефон"), o.phone)
        .field(QStringLiteral("Адрес"), o.address);
}

void carPart(print::Document& d, const WorkOrder& o) {
    d.heading(QStringLiteral("Автомобиль"))
        .field(QStringLiteral("Марка, модель"), joined({o.make, o.model}))
        .field(QStringLiteral("Год выпуска"), o.year)
        .field(QStringLiteral("Государственный номер, регион"), joined({o.plate, o.region}))
        .field(QStringLiteral("VIN"), o.vin)
        .field(QStringLiteral("Двигатель"), o.engine)
        .field(QStringLiteral("Кузов"), o.body)
        .field(QStringLiteral("Цвет"), o.color)
        .field(QStringLiteral("Пробег при приёме, км"), o.km)
        .field(QStringLiteral("Стоимость автомобиля по соглашению сторон, руб."), o.carValue);
}

QString acceptedAt(const WorkOrder& o) {
    // The time of acceptance when it was kept, else the contract's date.
    return o.accepted.isEmpty() ? o.date : o.accepted;
}

Table ownPartsTable(const WorkOrder& o) {
    Table t;
    t.columns = {{QStringLiteral("№"), Qt::AlignRight, 6},
                 {QStringLiteral("Наименование")},
                 {QStringLiteral("Кол-во"), Qt::AlignRight, 10},
                 {QStringLiteral("Примечание"), Qt::AlignLeft, 30}};
    int n = 0;
    for (const QStringList& r : o.own) t.rows.push_back(QStringList{QString::number(++n)} + r);
    return t;
}

void ownPartsPart(print::Document& d, const WorkOrder& o, const QString& title) {
    d.heading(title);
    if (o.own.empty()) d.paragraph(QStringLiteral("Нет"));
    else d.table(ownPartsTable(o));
}

}  // namespace

print::Document orderDocument(const WorkOrder& o, const ShopDetails& shop) {
    print::Document d;
    d.title = QStringLiteral("Заказ-наряд № %1").arg(o.number);
    d.subtitle = QStringLiteral("от %1").arg(o.date);
    d.runningHead = runningHead(shop);
    shopPart(d, shop);
    customerPart(d, o);
    d.heading(QStringLiteral("Заказ"))
        .field(QStringLiteral("Номер заказ-наряда"), o.number)
        .field(QStringLiteral("Дата и время приёма заказа"), acceptedAt(o))
        .field(QStringLiteral("Срок исполнения"), o.deadline)
        .field(QStringLiteral("Дата выдачи автомобиля"), o.doneDate);
    carPart(d, o);

    d.heading(QStringLiteral("Работы"));
    Table works;
    works.columns = {{QStringLiteral("№"), Qt::AlignRight, 6},
                     {QStringLiteral("Наименование работы")},
                     {QStringLiteral("Цена, руб."), Qt::AlignRight, 15},
                     {QStringLiteral("Сумма, руб."), Qt::AlignRight, 15}};
    int n = 0;
    for (const QStringList& r : o.works) works.rows.push_back({QString::number(++n), r.value(0), r.value(1), r.value(2)});
    works.totals = {{QString(), QStringLiteral("Итого по работам"), QString(), o.worksTotal}};
    d.table(std::move(works));

    d.heading(QStringLiteral("Запасные части и материалы исполнителя"));
    Table spares;
    spares.columns = {{QStringLiteral("№"), Qt::AlignRight, 5},
                      {QStringLiteral("Наименование")},
                      {QStringLiteral("Артикул"), Qt::AlignLeft, 12},
                      {QStringLiteral("Производитель"), Qt::AlignLeft, 17},
                      {QStringLiteral("Кол-во"), Qt::AlignRight, 8},
                      {QStringLiteral("Цена, руб."), Qt::AlignRight, 11},
                      {QStringLiteral("Сумма, руб."), Qt::AlignRight, 12}};
    n = 0;
    for (const QStringList& r : o.spares) spares.rows.push_back(QStringList{QString::number(++n)} + r);
    spares.totals = {{QString(), QStringLiteral("Итого по запчастям"), QString(), QString(), QString(), QString(),
                      o.sparesTotal}};
    d.table(std::move(spares));

    ownPartsPart(d, o, QStringLiteral("Запасные части и материалы заказчика"));

    d.heading(QStringLiteral("Расчёты"))
        .field(QStringLiteral("Стоимость работ, руб."), o.worksTotal)
        .field(QStringLiteral("Стоимость запчастей, руб."), o.sparesTotal)
        .field(QStringLiteral("Всего по заказ-наряду, руб."), o.total)
        .field(QStringLiteral("Оплачено, руб."), moneyOr(o.paid))
        .field(QStringLiteral("К оплате, руб."), moneyOr(o.due))
        .field(QStringLiteral("Порядок оплаты"), shop.terms);

    d.heading(QStringLiteral("Неисправности, выявленные при выполнении работ"))
        .field(QStringLiteral("Указание заказчика"), extraRuleText(o));
    d.heading(QStringLiteral("Гарантия"))
        .field(QStringLiteral("Гарантийные обязательства исполнителя"), shop.warranty);
    if (!o.remark.isEmpty()) d.field(QStringLiteral("Примечание"), o.remark);

    d.heading(QStringLiteral("Подписи"))
        .field(QStringLiteral("Заказ принял"), joined({shop.takerPosition, shop.takerName}))
        .field(QStringLiteral("Мастер"), o.mechanic)
        .signature(QStringLiteral("Исполнитель"), shop.takerName)
        .signature(QStringLiteral("Заказчик"), o.customer);
    return d;
}

print::Document actDocument(const WorkOrder& o, const ShopDetails& shop) {
    print::Document d;
    d.title = QStringLiteral("Приёмосдаточный акт к заказ-наряду № %1").arg(o.number);
    d.subtitle = QStringLiteral("от %1").arg(o.date);
    d.runningHead = runningHead(shop);
    d.heading(QStringLiteral("Стороны"))
        .field(QStringLiteral("Исполнитель"), joined({shop.form, shop.name}))
        .field(QStringLiteral("Адрес исполнителя"), shop.address)
        .field(QStringLiteral("Заказчик"), o.customer)
        .field(QStringLiteral("Телефон заказчика"), o.phone);
    d.heading(QStringLiteral("Автомобиль"))
        .field(QStringLiteral("Марка, модель"), joined({o.make, o.model}))
        .field(QStringLiteral("Государственный номер, регион"), joined({o.plate, o.region}))
        .field(QStringLiteral("VIN"), o.vin)
        .field(QStringLiteral("Пробег при приёме, км"), o.km)
        .field(QStringLiteral("Дата и время приёма"), acceptedAt(o))
        .field(QStringLiteral("Дата выдачи"), o.doneDate);
    d.heading(QStringLiteral("Отметки при приёме (комплектность, видимые повреждения)"))
        .field(QStringLiteral("Отметки"), o.acceptNote);
    ownPartsPart(d, o, QStringLiteral("Запасные части и материалы, переданные заказчиком"));
    d.paragraph(QStringLiteral("Автомобиль и перечисленное выше заказчик передал, исполнитель принял. "
                               "Претензий к комплектности и состоянию, кроме отмеченных, стороны не имеют."));
    d.signature(QStringLiteral("Сдал (заказчик)"), o.customer)
        .signature(QStringLiteral("Принял (исполнитель)"), shop.takerName);
    return d;
}

PrintedOrder contractDocument(int key, OrderPaper paper) {
    const WorkOrder order = readWorkOrder(key);
    const ShopDetails shop = shopDetails();
    PrintedOrder p;
    p.document = paper == OrderPaper::Order ? orderDocument(order, shop) : actDocument(order, shop);
    p.missing = missingShopDetails(shop);
    if (paper == OrderPaper::Act) {
        // The act prints the shop's name, form and address only.
        const QStringList printed = {QStringLiteral("наименование"), QStringLiteral("организационно-правовая форма"),
                                     QStringLiteral("адрес")};
        p.missing.removeIf([&printed](const QString& m) { return !printed.contains(m); });
    }
    return p;
}

QString missingDetailsText(const QStringList& missing) {
    return QStringLiteral("Не заполнены реквизиты автосервиса: %1. В документе для них оставлены пустые строки; "
                          "заполните их в окне «Реквизиты автосервиса» (меню «Сервис»).")
        .arg(missing.join(QStringLiteral(", ")));
}

}  // namespace app
