#include "cars/CarFields.h"

#include "app/Columns.h"
#include "app/Dictionaries.h"
#include "app/DictionaryPair.h"
#include "app/Lookup.h"
#include "fb/Query.h"
#include "rtl/Convert.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

namespace cars {

namespace {

// Lengths of the columns of Cars; the two integer columns get the length of
// the widest INTEGER text.
namespace col = app::columns::cars;
using app::columns::kInteger;
constexpr int kDev = col::dev, kMod = col::mod, kGnum = col::gnum, kRegion = col::region, kVin = col::vin,
              kColor = col::color, kEngine = col::engine, kEngine2 = col::engine2, kBody = col::body,
              kBody2 = col::body2, kOwner = col::owner, kPhone = col::phone;

const char* const kColours[] = {
    "БЕЖЕВО-ЖЁЛТЫЙ", "БЕЖЕВО-КРАСНЫЙ МЕТАЛЛИК", "БЕЖЕВО-РОЗОВЫЙ", "БЕЖЕВЫЙ", "БЕЛАЯ ДВУХСЛОЙНАЯ", "БЕЛО-ЖЁЛТЫЙ",
    "БЕЛО-ЗЕЛЁНЫЙ МЕТАЛЛИК", "БЕЛЫЙ", "БЕЛЫЙ МЕТАЛЛИК", "ВИШНЁВЫЙ", "ГОЛУБОЙ", "ГОЛУБОЙ МЕТАЛЛИК",
    "ГРАФИТОВЫЙ МЕТАЛЛИК", "ЖЁЛТО-ЗЕЛЁНЫЙ", "ЖЁЛТО-ЗЕЛЁНЫЙ МЕТАЛЛИК", "ЖЁЛТЫЙ", "ЗЕЛЁНО-ГОЛУБОЙ", "ЗЕЛЁНО-СИНИЙ",
    "ЗЕЛЁНЫЙ", "ЗОЛОТИСТО-ЗЕЛЁНЫЙ", "ЗОЛОТИСТО-КОРИЧНЕВЫЙ", "ЗОЛОТИСТО-СЕРЫЙ", "ЗОЛОТИСТЫЙ КРАСНО-КОРИЧН",
    "ЗОЛОТИСТЫЙ ТЁМНО-ЗЕЛЁНЫЙ", "ЗОЛОТОЙ", "КОРИЧНЕВЫЙ", "КРАСНО-КОРИЧНЕВЫЙ", "КРАСНО-ОРАНЖЕВЫЙ", "КРАСНЫЙ",
    "КРАСНЫЙ МЕТАЛЛИК", "МЕТАЛЛИК СЕРО-БЕЖЕВЫЙ", "МОЛОЧНО-БЕЛЫЙ СЕРЕБРИСТЫЙ", "ОРАНЖЕВЫЙ", "ОТТЕНОК ТЁМНО-СИНЕГО",
    "ОТТЕНОК ЧЁРНОГО", "СВЕТЛО-БЕЖЕВЫЙ", "СВЕТЛО-ЖЁЛТЫЙ", "СВЕТЛО-ЗЕЛЁНО-ГОЛУБОЙ", "СВЕТЛО-ЗЕЛЁНЫЙ",
    "СВЕТЛО-СЕРЕБРИСТЫЙ МЕТАЛЛ", "СВЕТЛО-СЕРЫЙ", "СВЕТЛО-ФИОЛЕТОВЫЙ", "СЕРЕБРИСТО-БЕЖЕВЫЙ", "СЕРЕБРИСТО-ГОЛУБОЙ",
    "СЕРЕБРИСТО-ЖЁЛТЫЙ", "СЕРЕБРИСТО-ЗЕЛЁНЫЙ", "СЕРЕБРИСТО-СИНИЙ", "СЕРЕБРИСТО-ТЕМНО-СИНИЙ", "СЕРЕБРИСТО-ЧЁРНЫЙ",
    "СЕРЕБРИСТЫЙ", "СЕРЕБРИСТЫЙ ЖЁЛТО-ЗЕЛЁНЫЙ", "СЕРЕБРИСТЫЙ ЗЕЛЁНО-ГОЛУБОЙ", "СЕРЕБРИСТЫЙ КОРИЧНЕВО-ЗЕЛЁНЫЙ",
    "СЕРЕБРИСТЫЙ КРАСНЫЙ", "СЕРЕБРИСТЫЙ ОРАНЖЕВЫЙ", "СЕРЕБРИСТЫЙ СЕРО-ЗЕЛЁНЫЙ", "СЕРЕБРИСТЫЙ СИНЕ-ЗЕЛЁНЫЙ",
    "СЕРЕБРИСТЫЙ СИНЕ-ФИОЛЕТОВЫЙ", "СЕРЕБРИСТЫЙ ТЁМНО-БОРДОВЫЙ", "СЕРЕБРИСТЫЙ ТЁМНО-ЗЕЛЁНЫЙ",
    "СЕРЕБРИСТЫЙ ТЁМНО-КРАСНЫЙ", "СЕРЕБРИСТЫЙ ТЁМНО-СИНИЙ", "СЕРЕБРИСТЫЙ ТЁМНО-ФИОЛЕТОВЫЙ", "СЕРЕБРИСТЫЙ ТЁМНЫЙ",
    "СЕРЕБРИСТЫЙ ФИОЛЕТОВЫЙ", "СЕРЕБРИСТЫЙ ЯРКО-ЗЕЛЁНЫЙ", "СЕРЕБРИСТЫЙ ЯРКО-КРАСНЫЙ", "СЕРЕБРИСТЫЙ ЯРКО-СИНИЙ",
    "СЕРО-БЕЖЕВЫЙ", "СЕРО-БЕЖЕВЫЙ МЕТАЛЛИК", "СЕРО-БЕЛЫЙ", "СЕРО-ГОЛУБОЙ", "СЕРО-ЗЕЛЁНЫЙ", "СЕРО-ЗЕЛЁНЫЙ МЕТАЛЛИК",
    "СЕРО-СИНЕ-ЗЕЛЁНЫЙ", "СЕРО-СИНИЙ", "СЕРО-ФИОЛЕТОВЫЙ", "СИНЕ-ЗЕЛЁНЫЙ", "СИНИЙ", "СЛИВОЧНО-БЕЛЫЙ",
    "СРЕДНИЙ СЕРО-ЗЕЛЁНЫЙ МЕТАЛЛИК", "ТЁМНО-БЕЖЕВЫЙ", "ТЁМНО-БОРДОВЫЙ", "ТЁМНО-ГОЛУБОЙ", "ТЁМНО-ЗЕЛЁНЫЙ",
    "ТЁМНО-КОРИЧНЕВЫЙ", "ТЁМНО-КРАСНЫЙ", "ТЁМНО-СЕРО-БЕЖЕВЫЙ", "ТЁМНО-СЕРЫЙ", "ТЁМНО-СЕРЫЙ МЕТАЛЛИК", "ТЁМНО-СИНИЙ",
    "ТЁМНЫЙ СЕРО-СИНИЙ МЕТАЛИК", "ФИОЛЕТОВО-СИНИЙ МЕТАЛЛИК", "ФИОЛЕТОВО-ЧЁРНЫЙ", "ФИОЛЕТОВЫЙ", "ЧЁРНЫЙ",
    "ЯРКО-БЕЛЫЙ", "ЯРКО-ЖЁЛТЫЙ", "ЯРКО-КРАСНЫЙ", "ЯРКО-СИНИЙ", "ЯРКО-ФИОЛЕТОВЫЙ"};

widgets::UpperCombo* makeBox(QWidget* parent, const char* name, int length) {
    auto* box = new widgets::UpperCombo(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaxLength(length);
    // The width comes from the layout, not from the longest item.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(3);
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return box;
}

QLabel* makeCaption(QWidget* parent, const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

}  // namespace

const QStringList& colourNames() {
    static const QStringList names = [] {
        QStringList list;
        for (const char* c : kColours) list << QString::fromUtf8(c);
        return list;
    }();
    return names;
}

CarValues CarValues::fromRow(const fb::Query& q) {
    auto text = [&q](const char* column) { return q.field(QString::fromLatin1(column)).asString(); };
    CarValues v;
    v.dev = text("Dev");
    v.mod = text("Mod");
    v.gnum = text("GNum");
    v.region = text("Region");
    v.d_year = text("d_Year");
    v.km = text("Km");
    v.vin = text("VIN");
    v.color = text("Color");
    v.engine = text("Engine");
    v.engine2 = text("Engine2");
    v.body = text("Body");
    v.body2 = text("Body2");
    v.owner = text("Owner");
    v.phone = text("Phone");
    return v;
}

void CarFields::createFields(QWidget* parent) {
    Box1 = makeBox(parent, "Box1", kDev);
    Box2 = makeBox(parent, "Box2", kMod);
    Box3 = makeBox(parent, "Box3", kGnum);
    Box4 = makeBox(parent, "Box4", kRegion);
    Box5 = makeBox(parent, "Box5", kInteger);
    Edit1 = new widgets::UpperEdit(parent);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(kInteger);
    Box6 = makeBox(parent, "Box6", kVin);
    Box7 = makeBox(parent, "Box7", kColor);
    Box7->setItems(colourNames());
    Box7->setText(QString());
    Box8 = makeBox(parent, "Box8", kEngine);
    Box81 = makeBox(parent, "Box81", kEngine2);
    Box9 = makeBox(parent, "Box9", kBody);
    Box91 = makeBox(parent, "Box91", kBody2);
    Box10 = makeBox(parent, "Box10", kOwner);
    Box11 = makeBox(parent, "Box11", kPhone);

    // Two columns of five rows; a row is its caption and one or two fields.
    auto* grid = new QGridLayout(parent);
    grid->setContentsMargins(10, 8, 10, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    struct Row {
        const char* caption;
        QWidget* first;
        QWidget* second;  // may be null
        int firstStretch, secondStretch;
    };
    const Row left[] = {{"МАРКА, МОДЕЛЬ", Box1, Box2, 1, 1},
                        {"ГОС. НОМЕР", Box3, Box4, 3, 1},
                        {"ГОД ВЫПУСКА", Box5, nullptr, 1, 2},
                        {"ПРОБЕГ", Edit1, nullptr, 1, 2},
                        {"VIN", Box6, nullptr, 1, 0}};
    const Row right[] = {{"ЦВЕТ", Box7, nullptr, 1, 0},
                         {"ДВИГАТЕЛЬ", Box8, Box81, 1, 1},
                         {"КУЗОВ", Box9, Box91, 1, 1},
                         {"ВЛАДЕЛЕЦ", Box10, nullptr, 1, 0},
                         {"ТЕЛЕФОН", Box11, nullptr, 1, 1}};
    QList<QLabel*> leftCaptions, rightCaptions;
    auto place = [&](const Row& r, int row, int col, QList<QLabel*>& out) {
        QLabel* caption = makeCaption(parent, r.caption);
        out << caption;
        auto* line = new QHBoxLayout;
        line->setSpacing(6);
        line->addWidget(r.first, r.firstStretch);
        if (r.second)
            line->addWidget(r.second, r.secondStretch);
        else if (r.secondStretch)
            line->addStretch(r.secondStretch);
        grid->addWidget(caption, row, col);
        grid->addLayout(line, row, col + 1);
    };
    for (int i = 0; i < 5; ++i) {
        place(left[i], i, 0, leftCaptions);
        place(right[i], i, 2, rightCaptions);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnMinimumWidth(2, 90);
    // The stretch of the short fields leaves them about a third of the row.
    Box5->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    Edit1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    captions = leftCaptions + rightCaptions;

    const QList<QWidget*> order = inTabOrder();
    for (int i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

QList<QWidget*> CarFields::inTabOrder() const {
    return {Box1, Box2, Box3, Box4, Box5, Edit1, Box6, Box7, Box8, Box81, Box9, Box91, Box10, Box11};
}

QList<widgets::UpperCombo*> CarFields::boxes() const {
    return {Box1, Box2, Box3, Box4, Box5, Box6, Box7, Box8, Box81, Box9, Box91, Box10, Box11};
}

CarValues CarFields::values() const {
    CarValues v;
    v.dev = Box1->text();
    v.mod = Box2->text();
    v.gnum = Box3->text();
    v.region = Box4->text();
    v.d_year = Box5->text();
    v.km = Edit1->text();
    v.vin = Box6->text();
    v.color = Box7->text();
    v.engine = Box8->text();
    v.engine2 = Box81->text();
    v.body = Box9->text();
    v.body2 = Box91->text();
    v.owner = Box10->text();
    v.phone = Box11->text();
    return v;
}

void CarFields::setValues(const CarValues& v) const {
    Box1->fill(v.dev);
    Box2->fill(v.mod);
    Box3->fill(v.gnum);
    Box4->fill(v.region);
    Box5->fill(v.d_year);
    Box6->fill(v.vin);
    Box7->fill(v.color);
    Box8->fill(v.engine);
    Box81->fill(v.engine2);
    Box9->fill(v.body);
    Box91->fill(v.body2);
    Box10->fill(v.owner);
    Box11->fill(v.phone);
    Edit1->setText(v.km);
}

void CarFields::bindFilter(fb::Query& q) const {
    const struct {
        const char* param;
        widgets::UpperCombo* box;
    } params[] = {{"dev", Box1},     {"mod", Box2},   {"gnum", Box3},    {"region", Box4}, {"d_year", Box5},
                  {"vin", Box6},     {"color", Box7}, {"engine", Box8},  {"engine2", Box81}, {"body", Box9},
                  {"body2", Box91},  {"owner", Box10}, {"phone", Box11}};
    for (const auto& p : params) {
        QString text = p.box->text();
        // The engine compares the year as ASCII text and refuses any other
        // letter ("Malformed string"); such a letter matches no year, so it
        // stands as '?' (not a wildcard) and the list is empty.
        if (p.box == Box5)
            for (QChar& ch : text)
                if (ch.unicode() > 127) ch = u'?';
        app::bindPrefix(q, QString::fromLatin1(p.param), text, p.box->maxLength());
    }
}

void CarFields::bindCar(fb::Query& q) const {
    const int year = rtl::StrToInt(Box5->text());
    const QString km = Edit1->text().trimmed();
    const bool noKm = km.isEmpty();
    const int mileage = noKm ? 0 : rtl::StrToInt(km);

    q.setString(QStringLiteral("dev"), Box1->text());
    q.setString(QStringLiteral("mod"), Box2->text());
    q.setString(QStringLiteral("gnum"), Box3->text());
    q.setString(QStringLiteral("region"), Box4->text());
    q.setInteger(QStringLiteral("d_year"), year);
    q.setString(QStringLiteral("vin"), Box6->text());
    q.setString(QStringLiteral("color"), Box7->text());
    q.setString(QStringLiteral("engine"), Box8->text());
    q.setString(QStringLiteral("engine2"), Box81->text());
    q.setString(QStringLiteral("body"), Box9->text());
    q.setString(QStringLiteral("body2"), Box91->text());
    if (noKm)
        q.setNull(QStringLiteral("km"));
    else
        q.setInteger(QStringLiteral("km"), mileage);
    q.setString(QStringLiteral("owner"), Box10->text());
    q.setString(QStringLiteral("phone"), Box11->text());
}

void CarFields::fillNameLists() const {
    app::FillNameCombo(Box1, QStringLiteral("dev"));
    app::FillNameCombo(Box8, QStringLiteral("engines"));
    app::FillNameCombo(Box9, QStringLiteral("body"));
}

void CarFields::fillModels() const {
    app::FillDependentCombo(Box1, Box2, app::kMakes);
}

void CarFields::fillEngineSpecs() const {
    app::FillDependentCombo(Box8, Box81, app::kEngines);
}

void CarFields::fillBodySpecs() const {
    app::FillDependentCombo(Box9, Box91, app::kBodies);
}

void CarFields::ensureDictionaries() const {
    app::EnsureDictionaryPair(Box1->text(), Box2->text(), app::kMakes);
    app::EnsureDictionaryPair(Box8->text(), Box81->text(), app::kEngines);
    app::EnsureDictionaryPair(Box9->text(), Box91->text(), app::kBodies);
}

}  // namespace cars
