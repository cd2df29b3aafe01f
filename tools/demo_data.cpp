// The demo database: a small shop's dictionaries, catalogues, mechanics,
// cars and two years of contracts. The same data comes out on every run;
// only the contract dates move with `today`.
#include "tools/DbTools.h"
#include "tools/Rng.h"
#include "app/SchemaSteps.h"
#include "app/Settings.h"

#include "app/OwnerSchema.h"
#include "app/SchemaSteps.h"

#include "fb/Error.h"
#include "fb/Query.h"
#include "fb/Transaction.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tools {

namespace {

struct Master {
    const char* name;
    std::vector<const char*> details;
};

const std::vector<Master> kEngines = {
    {"БЕНЗИН", {"1.4 16V", "1.5 8V", "1.6 8V", "1.6 16V", "1.7 8V", "1.8 16V", "2.0 16V", "2.4 8V", "2.5 16V",
                "2.7 16V", "1.4 TSI", "1.8 TSI", "2.0 TSI"}},
    {"ДИЗЕЛЬ", {"1.5 DCI", "1.9 TDI", "2.0 TDI", "2.0 CRDI", "2.2 CRDI", "2.2 TDCI", "2.8 TD", "4.5 TD"}},
    {"ГИБРИД", {"1.8 HSD", "2.5 HSD"}},
};

const std::vector<Master> kBodies = {
    {"СЕДАН", {"4 ДВЕРИ"}},
    {"ХЭТЧБЕК", {"3 ДВЕРИ", "5 ДВЕРЕЙ"}},
    {"УНИВЕРСАЛ", {"5 ДВЕРЕЙ"}},
    {"ЛИФТБЕК", {"5 ДВЕРЕЙ"}},
    {"ВНЕДОРОЖНИК", {"3 ДВЕРИ", "5 ДВЕРЕЙ"}},
    {"КРОССОВЕР", {"5 ДВЕРЕЙ"}},
    {"МИНИВЭН", {"5 ДВЕРЕЙ"}},
    {"ФУРГОН", {"ЦЕЛЬНОМЕТАЛЛИЧЕСКИЙ", "ГРУЗОПАССАЖИРСКИЙ"}},
    {"ПИКАП", {"4 ДВЕРИ"}},
};

// One version of a model as cars of it are built; a model may have several.
struct Version {
    const char* make;
    const char* model;
    const char* body;
    const char* body2;
    const char* engine;
    const char* engine2;
    int from, to;  // years of manufacture
};

const std::vector<Version> kVersions = {
    {"ВАЗ", "2107", "СЕДАН", "4 ДВЕРИ", "БЕНЗИН", "1.6 8V", 1995, 2012},
    {"ВАЗ", "2110", "СЕДАН", "4 ДВЕРИ", "БЕНЗИН", "1.6 8V", 1996, 2007},
    {"ВАЗ", "2114", "ХЭТЧБЕК", "5 ДВЕРЕЙ", "БЕНЗИН", "1.6 8V", 2001, 2013},
    {"ВАЗ", "ПРИОРА", "СЕДАН", "4 ДВЕРИ", "БЕНЗИН", "1.6 16V", 2007, 2018},
    {"ВАЗ", "ПРИОРА", "ХЭТЧБЕК", "5 ДВЕРЕЙ", "БЕНЗИН", "1.6 16V", 2008, 2015},
    {"ВАЗ", "ГРАНТА", "СЕДАН", "4 ДВЕРИ", "БЕНЗИН", "1.6 8V", 2011, 2024},
    {"ВАЗ", "ГРАНТА", "ЛИФТБЕК", "5 ДВЕРЕЙ", "БЕНЗИН", "1.6 16V", 2014, 2024},
    {"ВАЗ", "КАЛИНА", "УНИВЕРСАЛ", "5 ДВЕРЕЙ", "БЕНЗИН", "1.6 8V", 2004, 2018},
    {"ВАЗ", "ВЕСТА", "СЕДАН", "4 ДВЕРИ", "БЕНЗИН", "1.6 16V", 2015, 2024},
    {"ВАЗ", "НИВА", "ВНЕДОРОЖНИК", "3 ДВЕРИ", "БЕНЗИН", "1.7 8V", 1995, 2024},
    {"ВАЗ", "ЛАРГУС", "УНИВЕРСАЛ", "5 ДВЕРЕЙ", "БЕНЗИН", "1.6 16V", 2012, 2024},
    {"ГАЗ", "3110", "СЕДАН", "4 ДВЕРИ", "БЕНЗИН", "2.4 8V", 1997, 2005},
    {"ГАЗ", "ГАЗЕЛЬ", "ФУРГОН", "ЦЕЛЬНОМЕТАЛЛИЧЕСКИЙ", "ДИЗЕЛЬ", "2.8 TD", 2010, 2024},
    {"ГАЗ", "СОБОЛЬ", "ФУРГОН", "ГРУЗОПАССАЖИРСКИЙ", "БЕНЗИН", "2.7 16V", 2003, 2020},
    {"УАЗ", "ПАТРИОТ", "ВНЕДОРОЖНИК", "5 ДВЕРЕЙ", "БЕНЗИН", "2.7 16V", 2005, 2024},
    {"УАЗ", "ХАНТЕР", "ВНЕДОРОЖНИК", "5 ДВЕРЕЙ", "БЕНЗИН", "2.7 16V", 2003, 2024},
    {"УАЗ", "ПИКАП", "ПИКАП", "4 ДВЕРИ", "БЕНЗИН", "2.7 16V", 2008, 2024},
    {"KIA", "RIO", "СЕДАН", "4 ДВЕРИ", "БЕНЗИН", "1.6 16V", 2011, 2024},
    {"KIA", "CEED", "ХЭТЧБЕК", "5 ДВЕРЕЙ", "БЕНЗИН", "1.6 16V", 2007, 2024},
    {"KIA", "SPORTAGE", "КРОССОВЕР", "5 ДВЕРЕЙ", "БЕНЗИН", "2.0 16V", 2010, 2024},
    {"KIA", "SORENTO", "КРОССОВЕР", "5 ДВЕРЕЙ", "ДИЗЕЛЬ", "2.2 CRDI", 2009, 2024},
    {"HYUNDAI", "SOLARIS", "СЕДАН", "4 ДВЕРИ", "БЕНЗИН", "1.6 16V", 2010, 2024},
    {"HYUNDAI", "SOLARIS", "ХЭТЧБЕК", "5 ДВЕРЕЙ", "БЕНЗИН", "1.4 16V", 2011, 2017},
    {"HYUNDAI", "CRETA", "КРОССОВЕР", "5 ДВЕРЕЙ", "БЕНЗИН", "1.6 16V", 2016, 2024},
    {"HYUNDAI", "TUCSON", "КРОССОВЕР", "5 ДВЕРЕЙ", "ДИЗЕЛЬ", "2.0 CRDI", 2004, 2024},
    {"HYUNDAI", "ELANTRA", "СЕДАН", "4 ДВЕРИ", "БЕНЗИН", "1.8 16V", 2006, 2020},
    {"TOYOTA", "COROLLA", "СЕДАН", "4 ДВЕРИ", "БЕНЗИН", "1.6 16V", 2002, 2024},
    {"TOYOTA", "CAMRY", "СЕДАН", "4 ДВЕРИ", "БЕНЗИН", "2.5 16V", 2006, 2024},
    {"TOYOTA", "RAV4", "КРОССОВЕР", "5 ДВЕРЕЙ", "БЕНЗИН", "2.0 16V", 2006, 2024},
    {"TOYOTA", "LAND CRUISER", "ВНЕДОРОЖНИК", "5 ДВЕРЕЙ", "ДИЗЕЛЬ", "4.5 TD", 2008, 2021},
    {"TOYOTA", "PRIUS", "ЛИФТБЕК", "5 ДВЕРЕЙ", "ГИБРИД", "1.8 HSD", 2009, 2022},
    {"RENAULT", "LOGAN", "СЕДАН", "4 ДВЕРИ", "БЕНЗИН", "1.6 8V", 2005, 2022},
    {"RENAULT", "SANDERO", "ХЭТЧБЕК", "5 ДВЕРЕЙ", "БЕНЗИН", "1.6 8V", 2009, 2022},
    {"RENAULT", "DUSTER", "КРОССОВЕР", "5 ДВЕРЕЙ", "БЕНЗИН", "2.0 16V", 2011, 2024},
    {"RENAULT", "DUSTER", "КРОССОВЕР", "5 ДВЕРЕЙ", "ДИЗЕЛЬ", "1.5 DCI", 2012, 2024},
    {"RENAULT", "KANGOO", "ФУРГОН", "ГРУЗОПАССАЖИРСКИЙ", "ДИЗЕЛЬ", "1.5 DCI", 2008, 2020},
    {"VOLKSWAGEN", "POLO", "СЕДАН", "4 ДВЕРИ", "БЕНЗИН", "1.6 16V", 2010, 2020},
    {"VOLKSWAGEN", "GOLF", "ХЭТЧБЕК", "5 ДВЕРЕЙ", "БЕНЗИН", "1.4 TSI", 2008, 2020},
    {"VOLKSWAGEN", "PASSAT", "УНИВЕРСАЛ", "5 ДВЕРЕЙ", "ДИЗЕЛЬ", "2.0 TDI", 2005, 2020},
    {"VOLKSWAGEN", "TIGUAN", "КРОССОВЕР", "5 ДВЕРЕЙ", "БЕНЗИН", "2.0 TSI", 2008, 2024},
    {"VOLKSWAGEN", "TRANSPORTER", "МИНИВЭН", "5 ДВЕРЕЙ", "ДИЗЕЛЬ", "1.9 TDI", 2003, 2015},
    {"FORD", "FOCUS", "ХЭТЧБЕК", "5 ДВЕРЕЙ", "БЕНЗИН", "1.6 16V", 2005, 2019},
    {"FORD", "FOCUS", "УНИВЕРСАЛ", "5 ДВЕРЕЙ", "БЕНЗИН", "1.8 16V", 2005, 2015},
    {"FORD", "MONDEO", "СЕДАН", "4 ДВЕРИ", "БЕНЗИН", "2.0 16V", 2007, 2019},
    {"FORD", "TRANSIT", "ФУРГОН", "ЦЕЛЬНОМЕТАЛЛИЧЕСКИЙ", "ДИЗЕЛЬ", "2.2 TDCI", 2006, 2024},
    {"CHEVROLET", "NIVA", "ВНЕДОРОЖНИК", "5 ДВЕРЕЙ", "БЕНЗИН", "1.7 8V", 2002, 2020},
    {"CHEVROLET", "LACETTI", "СЕДАН", "4 ДВЕРИ", "БЕНЗИН", "1.6 16V", 2004, 2013},
    {"CHEVROLET", "AVEO", "ХЭТЧБЕК", "5 ДВЕРЕЙ", "БЕНЗИН", "1.4 16V", 2006, 2015},
    {"CHEVROLET", "CRUZE", "СЕДАН", "4 ДВЕРИ", "БЕНЗИН", "1.8 16V", 2009, 2015},
    {"NISSAN", "ALMERA", "СЕДАН", "4 ДВЕРИ", "БЕНЗИН", "1.6 16V", 2012, 2018},
    {"NISSAN", "QASHQAI", "КРОССОВЕР", "5 ДВЕРЕЙ", "БЕНЗИН", "2.0 16V", 2007, 2022},
    {"NISSAN", "X-TRAIL", "КРОССОВЕР", "5 ДВЕРЕЙ", "БЕНЗИН", "2.5 16V", 2007, 2022},
    {"SKODA", "OCTAVIA", "ЛИФТБЕК", "5 ДВЕРЕЙ", "БЕНЗИН", "1.8 TSI", 2004, 2024},
    {"SKODA", "RAPID", "ЛИФТБЕК", "5 ДВЕРЕЙ", "БЕНЗИН", "1.6 16V", 2014, 2020},
};

// World manufacturer codes as the cars of these makes sold here carry them.
const QHash<QString, QString> kWmi = {
    {"ВАЗ", "XTA"},  {"ГАЗ", "X96"},     {"УАЗ", "XTT"},     {"KIA", "XWE"},        {"HYUNDAI", "Z94"},
    {"TOYOTA", "JTD"}, {"RENAULT", "X7L"}, {"VOLKSWAGEN", "XW8"}, {"FORD", "X9F"}, {"CHEVROLET", "X9L"},
    {"NISSAN", "SJN"}, {"SKODA", "TMB"},
};

struct Spare {
    const char* name;
    double price;
    int qty;  // how many a job usually takes
};

const std::vector<Spare> kSpares = {
    {"МАСЛО МОТОРНОЕ 5W-40 (4 Л)", 2450, 1},
    {"ФИЛЬТР МАСЛЯНЫЙ", 390, 1},
    {"ФИЛЬТР ВОЗДУШНЫЙ", 420, 1},
    {"ФИЛЬТР САЛОННЫЙ", 480, 1},
    {"ФИЛЬТР ТОПЛИВНЫЙ", 650, 1},
    {"СВЕЧА ЗАЖИГАНИЯ", 289.9, 4},
    {"КОЛОДКИ ТОРМОЗНЫЕ ПЕРЕДНИЕ (КОМПЛЕКТ)", 1850, 1},
    {"КОЛОДКИ ТОРМОЗНЫЕ ЗАДНИЕ (КОМПЛЕКТ)", 1490, 1},
    {"ДИСК ТОРМОЗНОЙ ПЕРЕДНИЙ", 2300, 2},
    {"ЖИДКОСТЬ ТОРМОЗНАЯ DOT-4 (1 Л)", 540, 1},
    {"РЕМЕНЬ ГРМ", 1750, 1},
    {"РОЛИК НАТЯЖНОЙ ГРМ", 1320, 1},
    {"ПОМПА ВОДЯНАЯ", 2650, 1},
    {"АНТИФРИЗ G12 (5 Л)", 1190, 1},
    {"РЕМЕНЬ ПРИВОДНОЙ ГЕНЕРАТОРА", 890, 1},
    {"АККУМУЛЯТОР 60 А/Ч", 7900, 1},
    {"АМОРТИЗАТОР ПЕРЕДНИЙ", 3450, 2},
    {"АМОРТИЗАТОР ЗАДНИЙ", 2780, 2},
    {"ОПОРА ШАРОВАЯ", 980, 1},
    {"НАКОНЕЧНИК РУЛЕВОЙ", 760, 1},
    {"СТОЙКА СТАБИЛИЗАТОРА", 640, 2},
    {"САЙЛЕНТБЛОК РЫЧАГА", 420, 2},
    {"ПОДШИПНИК СТУПИЦЫ ПЕРЕДНЕЙ", 1580, 1},
    {"ШРУС НАРУЖНЫЙ", 3200, 1},
    {"ПЫЛЬНИК ШРУСА", 350, 1},
    {"КОМПЛЕКТ СЦЕПЛЕНИЯ", 8900, 1},
    {"ЛАМПА H4", 259.5, 2},
    {"ЩЕТКА СТЕКЛООЧИСТИТЕЛЯ", 549, 2},
    {"ГЛУШИТЕЛЬ ОСНОВНОЙ", 3900, 1},
    {"ПРОКЛАДКА КЛАПАННОЙ КРЫШКИ", 450, 1},
    {"ТЕРМОСТАТ", 1150, 1},
    {"МАСЛО ТРАНСМИССИОННОЕ 75W-90 (1 Л)", 780, 2},
    {"ДАТЧИК КИСЛОРОДНЫЙ", 3300, 1},
    {"ПРОКЛАДКА ГБЦ", 1250, 1},
    {"ХОМУТ ЧЕРВЯЧНЫЙ", 45, 4},
    {"ОЧИСТИТЕЛЬ ДРОССЕЛЯ (АЭРОЗОЛЬ)", 390, 1},
};

struct Work {
    const char* name;
    double price;
    std::vector<const char*> spares;  // the parts the job usually needs
};

const std::vector<Work> kWorks = {
    {"ЗАМЕНА МАСЛА В ДВИГАТЕЛЕ", 800, {"МАСЛО МОТОРНОЕ 5W-40 (4 Л)", "ФИЛЬТР МАСЛЯНЫЙ"}},
    {"ЗАМЕНА ВОЗДУШНОГО ФИЛЬТРА", 300, {"ФИЛЬТР ВОЗДУШНЫЙ"}},
    {"ЗАМЕНА САЛОННОГО ФИЛЬТРА", 400, {"ФИЛЬТР САЛОННЫЙ"}},
    {"ЗАМЕНА ТОПЛИВНОГО ФИЛЬТРА", 700, {"ФИЛЬТР ТОПЛИВНЫЙ"}},
    {"ЗАМЕНА СВЕЧЕЙ ЗАЖИГАНИЯ", 600, {"СВЕЧА ЗАЖИГАНИЯ"}},
    {"ЗАМЕНА ТОРМОЗНЫХ КОЛОДОК ПЕРЕДНИХ", 1200, {"КОЛОДКИ ТОРМОЗНЫЕ ПЕРЕДНИЕ (КОМПЛЕКТ)"}},
    {"ЗАМЕНА ТОРМОЗНЫХ КОЛОДОК ЗАДНИХ", 1500, {"КОЛОДКИ ТОРМОЗНЫЕ ЗАДНИЕ (КОМПЛЕКТ)"}},
    {"ЗАМЕНА ТОРМОЗНЫХ ДИСКОВ ПЕРЕДНИХ", 2000, {"ДИСК ТОРМОЗНОЙ ПЕРЕДНИЙ", "КОЛОДКИ ТОРМОЗНЫЕ ПЕРЕДНИЕ (КОМПЛЕКТ)"}},
    {"ЗАМЕНА ТОРМОЗНОЙ ЖИДКОСТИ", 900, {"ЖИДКОСТЬ ТОРМОЗНАЯ DOT-4 (1 Л)"}},
    {"ЗАМЕНА РЕМНЯ ГРМ", 4500, {"РЕМЕНЬ ГРМ", "РОЛИК НАТЯЖНОЙ ГРМ"}},
    {"ЗАМЕНА ПОМПЫ", 2500, {"ПОМПА ВОДЯНАЯ", "АНТИФРИЗ G12 (5 Л)"}},
    {"ЗАМЕНА АНТИФРИЗА", 1200, {"АНТИФРИЗ G12 (5 Л)"}},
    {"ЗАМЕНА РЕМНЯ ГЕНЕРАТОРА", 700, {"РЕМЕНЬ ПРИВОДНОЙ ГЕНЕРАТОРА"}},
    {"ЗАМЕНА АККУМУЛЯТОРА", 300, {"АККУМУЛЯТОР 60 А/Ч"}},
    {"ЗАМЕНА АМОРТИЗАТОРОВ ПЕРЕДНИХ", 3600, {"АМОРТИЗАТОР ПЕРЕДНИЙ"}},
    {"ЗАМЕНА АМОРТИЗАТОРОВ ЗАДНИХ", 2400, {"АМОРТИЗАТОР ЗАДНИЙ"}},
    {"ЗАМЕНА ШАРОВОЙ ОПОРЫ", 1100, {"ОПОРА ШАРОВАЯ"}},
    {"ЗАМЕНА РУЛЕВОГО НАКОНЕЧНИКА", 800, {"НАКОНЕЧНИК РУЛЕВОЙ"}},
    {"ЗАМЕНА СТОЕК СТАБИЛИЗАТОРА", 900, {"СТОЙКА СТАБИЛИЗАТОРА"}},
    {"ЗАМЕНА САЙЛЕНТБЛОКОВ РЫЧАГА", 2200, {"САЙЛЕНТБЛОК РЫЧАГА"}},
    {"ЗАМЕНА ПОДШИПНИКА СТУПИЦЫ", 1900, {"ПОДШИПНИК СТУПИЦЫ ПЕРЕДНЕЙ"}},
    {"ЗАМЕНА ШРУСА НАРУЖНОГО", 1600, {"ШРУС НАРУЖНЫЙ", "ПЫЛЬНИК ШРУСА"}},
    {"ЗАМЕНА СЦЕПЛЕНИЯ", 6500, {"КОМПЛЕКТ СЦЕПЛЕНИЯ"}},
    {"ЗАМЕНА ЛАМПЫ ФАРЫ", 250, {"ЛАМПА H4"}},
    {"ЗАМЕНА ЩЕТОК СТЕКЛООЧИСТИТЕЛЯ", 150, {"ЩЕТКА СТЕКЛООЧИСТИТЕЛЯ"}},
    {"ЗАМЕНА ГЛУШИТЕЛЯ", 1500, {"ГЛУШИТЕЛЬ ОСНОВНОЙ", "ХОМУТ ЧЕРВЯЧНЫЙ"}},
    {"ЗАМЕНА ПРОКЛАДКИ КЛАПАННОЙ КРЫШКИ", 1000, {"ПРОКЛАДКА КЛАПАННОЙ КРЫШКИ"}},
    {"ЗАМЕНА ТЕРМОСТАТА", 1300, {"ТЕРМОСТАТ", "АНТИФРИЗ G12 (5 Л)"}},
    {"ЗАМЕНА МАСЛА В КПП", 1000, {"МАСЛО ТРАНСМИССИОННОЕ 75W-90 (1 Л)"}},
    {"ЗАМЕНА ДАТЧИКА КИСЛОРОДА", 700, {"ДАТЧИК КИСЛОРОДНЫЙ"}},
    {"ЗАМЕНА ПРОКЛАДКИ ГБЦ", 7000, {"ПРОКЛАДКА ГБЦ", "АНТИФРИЗ G12 (5 Л)"}},
    {"КОМПЬЮТЕРНАЯ ДИАГНОСТИКА ДВИГАТЕЛЯ", 1000, {}},
    {"ДИАГНОСТИКА ХОДОВОЙ ЧАСТИ", 500, {}},
    {"РЕГУЛИРОВКА СХОДА-РАЗВАЛА", 1500, {}},
    {"РЕГУЛИРОВКА КЛАПАНОВ", 2500, {}},
    {"ШИНОМОНТАЖ (4 КОЛЕСА)", 1600, {}},
    {"БАЛАНСИРОВКА КОЛЕС", 800, {}},
    {"ПРОМЫВКА ИНЖЕКТОРА", 2000, {}},
    {"ЧИСТКА ДРОССЕЛЬНОЙ ЗАСЛОНКИ", 800, {"ОЧИСТИТЕЛЬ ДРОССЕЛЯ (АЭРОЗОЛЬ)"}},
    {"ЗАПРАВКА КОНДИЦИОНЕРА", 2500, {}},
    {"СНЯТИЕ И УСТАНОВКА ЗАЩИТЫ КАРТЕРА", 400, {}},
};

const char* const kMechanics[] = {
    "ПЕТРОВ СЕРГЕЙ НИКОЛАЕВИЧ",
    "КУЗНЕЦОВ АЛЕКСЕЙ ВИКТОРОВИЧ",
    "СМИРНОВ ДМИТРИЙ ИГОРЕВИЧ",
    "ВОЛКОВ АНДРЕЙ ПАВЛОВИЧ",
};

// Surnames in the masculine form; the feminine adds "А".
const char* const kSurnames[] = {
    "ИВАНОВ",  "СОКОЛОВ", "ПОПОВ",    "ЛЕБЕДЕВ", "КОЗЛОВ",  "НОВИКОВ", "МОРОЗОВ", "СОЛОВЬЕВ", "ВАСИЛЬЕВ",
    "ЗАЙЦЕВ",  "ПАВЛОВ",  "СЕМЕНОВ", "ГОЛУБЕВ", "ВИНОГРАДОВ", "БОГДАНОВ", "ВОРОБЬЕВ", "ФЕДОРОВ", "МИХАЙЛОВ",
    "БЕЛЯЕВ",  "ТАРАСОВ", "БЕЛОВ",   "КОМАРОВ", "ОРЛОВ",   "КИСЕЛЕВ", "МАКАРОВ", "АНДРЕЕВ",  "КОВАЛЕВ",
    "ИЛЬИН",   "ГУСЕВ",   "ТИТОВ",   "КУЗЬМИН", "КУДРЯВЦЕВ", "БАРАНОВ", "КУЛИКОВ", "АЛЕКСЕЕВ", "СТЕПАНОВ",
};
const char* const kMaleNames[] = {
    "АЛЕКСАНДР", "СЕРГЕЙ", "ДМИТРИЙ", "АНДРЕЙ", "АЛЕКСЕЙ", "МАКСИМ", "ЕВГЕНИЙ", "ИВАН",    "МИХАИЛ",
    "НИКОЛАЙ",   "ВЛАДИМИР", "ПАВЕЛ", "ОЛЕГ",   "ИГОРЬ",   "ЮРИЙ",   "ВИКТОР",  "АРТЕМ",   "РОМАН",
};
const char* const kFemaleNames[] = {
    "ЕЛЕНА", "ОЛЬГА", "НАТАЛЬЯ", "ТАТЬЯНА", "ИРИНА", "СВЕТЛАНА", "МАРИЯ", "АННА", "ЕКАТЕРИНА", "ЮЛИЯ",
};
struct Patronymic {
    const char* male;
    const char* female;
};
const Patronymic kPatronymics[] = {
    {"ИВАНОВИЧ", "ИВАНОВНА"},       {"ПЕТРОВИЧ", "ПЕТРОВНА"},       {"СЕРГЕЕВИЧ", "СЕРГЕЕВНА"},
    {"АЛЕКСАНДРОВИЧ", "АЛЕКСАНДРОВНА"}, {"НИКОЛАЕВИЧ", "НИКОЛАЕВНА"}, {"ВЛАДИМИРОВИЧ", "ВЛАДИМИРОВНА"},
    {"АЛЕКСЕЕВИЧ", "АЛЕКСЕЕВНА"},   {"ВИКТОРОВИЧ", "ВИКТОРОВНА"},   {"ЮРЬЕВИЧ", "ЮРЬЕВНА"},
    {"МИХАЙЛОВИЧ", "МИХАЙЛОВНА"},   {"АНАТОЛЬЕВИЧ", "АНАТОЛЬЕВНА"}, {"ДМИТРИЕВИЧ", "ДМИТРИЕВНА"},
    {"ОЛЕГОВИЧ", "ОЛЕГОВНА"},       {"ВАСИЛЬЕВИЧ", "ВАСИЛЬЕВНА"},
};

// Names of the colour list of the car fields, spelt as there.
const char* const kColors[] = {
    "БЕЛЫЙ", "ЧЁРНЫЙ", "СЕРЕБРИСТЫЙ", "ТЁМНО-СЕРЫЙ", "СИНИЙ", "КРАСНЫЙ", "ЗЕЛЁНЫЙ", "БЕЖЕВЫЙ", "КОРИЧНЕВЫЙ",
    "ВИШНЁВЫЙ", "ТЁМНО-СИНИЙ", "ЖЁЛТЫЙ", "ОРАНЖЕВЫЙ", "ГРАФИТОВЫЙ МЕТАЛЛИК",
};
// The region codes of the city and its oblast.
const char* const kRegions[] = {"77", "97", "99", "177", "197", "777", "50", "90", "150", "190", "750"};
const char* const kOperators[] = {"903", "905", "909", "915", "916", "925", "926", "977", "985", "999"};

const char* const kRemarks[] = {
    "Клиент жалуется на стук в передней подвеске",
    "Запчасти клиента",
    "Повторное обращение по гарантии",
    "Рекомендована замена тормозных дисков",
    "Горит лампа CHECK ENGINE",
    "Машину забрать после 18:00",
    "Рекомендована замена ремня ГРМ при следующем ТО",
    "Скрип при торможении",
    "Плавают обороты на холостом ходу",
    "Подготовка к техосмотру",
    "Клиент оставил зимнюю резину на хранение",
    "Течь масла из-под клапанной крышки",
};

// Letters that Russian registration plates use (they look alike in Latin).
const QString kPlateLetters = QStringLiteral("АВЕКМНОРСТУХ");
// Characters allowed in a VIN, and the model-year code of the tenth place.
const QString kVinChars = QStringLiteral("ABCDEFGHJKLMNPRSTUVWXYZ0123456789");
const QString kYearCodes = QStringLiteral("ABCDEFGHJKLMNPRSTVWXY123456789");  // from 1980, cycles of 30

QString plate(Rng& rng) {
    QString s;
    s += kPlateLetters[rng.below(int(kPlateLetters.size()))];
    s += QString::number(1 + rng.below(999)).rightJustified(3, u'0');
    s += kPlateLetters[rng.below(int(kPlateLetters.size()))];
    s += kPlateLetters[rng.below(int(kPlateLetters.size()))];
    return s;
}

QString vin(Rng& rng, const QString& make, int year) {
    QString s = kWmi.value(make, QStringLiteral("XTA"));
    while (s.size() < 9) s += kVinChars[rng.below(int(kVinChars.size()))];
    s += kYearCodes[(year - 1980) % int(kYearCodes.size())];
    s += kVinChars[rng.below(int(kVinChars.size()))];
    s += QString::number(rng.below(1000000)).rightJustified(6, u'0');
    return s;
}

QString owner(Rng& rng) {
    const bool female = rng.chance(0.3);
    const QString surname = QString::fromUtf8(rng.pick(kSurnames)) + (female ? QStringLiteral("А") : QString());
    const QString name = QString::fromUtf8(female ? rng.pick(kFemaleNames) : rng.pick(kMaleNames));
    const Patronymic& p = rng.pick(kPatronymics);
    return surname + u' ' + name + u' ' + QString::fromUtf8(female ? p.female : p.male);
}

QString phone(Rng& rng) {
    const auto digits = [&](int n) {
        int limit = 1;
        for (int i = 0; i < n; ++i) limit *= 10;
        return QString::number(rng.below(limit)).rightJustified(n, u'0');
    };
    const QString op = QString::fromUtf8(rng.pick(kOperators));
    const QString a = digits(3), b = digits(2), c = digits(2);
    return QStringLiteral("+7 %1 %2-%3-%4").arg(op, a, b, c);
}

int insertReturningKey(fb::Query& q) {
    q.execSQL();
    return q.field(QStringLiteral("pk_id")).asInteger();
}

// A master table with its detail table, e.g. engines and engine_sp.
void fillTwoLevel(fb::Connection& db, fb::Transaction& tr, const QString& master, const QString& detail,
                  const QString& fk, const std::vector<Master>& rows) {
    fb::Query m(&db, &tr), d(&db, &tr);
    m.setSQL({QStringLiteral("INSERT INTO %1 (name) VALUES (:name) RETURNING pk_id").arg(master)});
    d.setSQL({QStringLiteral("INSERT INTO %1 (name, %2) VALUES (:name, :fk)").arg(detail, fk)});
    for (const Master& row : rows) {
        m.setString(QStringLiteral("name"), QString::fromUtf8(row.name));
        const int key = insertReturningKey(m);
        for (const char* name : row.details) {
            d.setString(QStringLiteral("name"), QString::fromUtf8(name));
            d.setInteger(QStringLiteral("fk"), key);
            d.execSQL();
        }
    }
}

void fillMakes(fb::Connection& db, fb::Transaction& tr) {
    fb::Query m(&db, &tr), d(&db, &tr);
    m.setSQL({QStringLiteral("INSERT INTO dev (name) VALUES (:name) RETURNING pk_id")});
    d.setSQL({QStringLiteral("INSERT INTO models (name, dv_fk) VALUES (:name, :dv_fk)")});
    QHash<QString, int> makes;
    QSet<QString> models;
    for (const Version& v : kVersions) {
        const QString make = QString::fromUtf8(v.make);
        if (!makes.contains(make)) {
            m.setString(QStringLiteral("name"), make);
            makes.insert(make, insertReturningKey(m));
        }
        const QString model = QString::fromUtf8(v.model);
        if (models.contains(make + u'\n' + model)) continue;
        models.insert(make + u'\n' + model);
        d.setString(QStringLiteral("name"), model);
        d.setInteger(QStringLiteral("dv_fk"), makes.value(make));
        d.execSQL();
    }
}

void fillCatalogues(fb::Connection& db, fb::Transaction& tr) {
    fb::Query w(&db, &tr), s(&db, &tr), m(&db, &tr);
    w.setSQL({QStringLiteral("INSERT INTO Works (name, price) VALUES (:name, :price)")});
    for (const Work& x : kWorks) {
        w.setString(QStringLiteral("name"), QString::fromUtf8(x.name));
        w.setFloat(QStringLiteral("price"), x.price);
        w.execSQL();
    }
    s.setSQL({QStringLiteral("INSERT INTO Spares (name, price) VALUES (:name, :price)")});
    for (const Spare& x : kSpares) {
        s.setString(QStringLiteral("name"), QString::fromUtf8(x.name));
        s.setFloat(QStringLiteral("price"), x.price);
        s.execSQL();
    }
    m.setSQL({QStringLiteral("INSERT INTO meh (name) VALUES (:name)")});
    for (const char* name : kMechanics) {
        m.setString(QStringLiteral("name"), QString::fromUtf8(name));
        m.execSQL();
    }
}

constexpr int kCars = 60;
constexpr int kContracts = 300;
constexpr int kToday = 4;       // contracts dated today
constexpr int kLastDays = 12;   // contracts in the nine days before

// A car's mileage today and the day it started from 0 (1 January of its
// year): its mileage at a visit grows evenly between them.
struct CarMileage {
    int km = 0;
    QDate from;
    int at(const QDate& date, const QDate& today) const {
        const qint64 all = std::max<qint64>(1, from.daysTo(today));
        const qint64 then = std::clamp<qint64>(from.daysTo(date), 0, all);
        return int(qint64(km) * then / all / 10 * 10);
    }
};

std::vector<int> fillCars(fb::Connection& db, fb::Transaction& tr, Rng& rng, const QDate& today,
                          std::vector<CarMileage>& mileage) {
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("INSERT INTO Cars (dev, mod, gnum, region, d_year, vin, color, engine, engine2,"),
              QStringLiteral("  body, body2, km, owner, phone)"),
              QStringLiteral("VALUES (:dev, :mod, :gnum, :region, :d_year, :vin, :color, :engine, :engine2,"),
              QStringLiteral("  :body, :body2, :km, :owner, :phone) RETURNING pk_id")});
    // Every car is at least a year old, so that none is younger than its contracts.
    const int lastYear = today.year() - 1;
    std::vector<int> keys;
    QSet<QString> plates;
    for (int i = 0; i < kCars; ++i) {
        const Version& v = kVersions[size_t(rng.below(int(kVersions.size())))];
        const int to = std::max(v.from, std::min(v.to, lastYear));
        const int year = v.from + int(rng.unit() * (to - v.from + 1));
        QString gnum = plate(rng);
        while (plates.contains(gnum)) gnum = plate(rng);
        plates.insert(gnum);
        const int age = std::max(1, today.year() - year);
        const int km = (age * (9000 + rng.below(14000)) + rng.below(1000)) / 10 * 10;
        const QString make = QString::fromUtf8(v.make);
        q.setString(QStringLiteral("dev"), make);
        q.setString(QStringLiteral("mod"), QString::fromUtf8(v.model));
        q.setString(QStringLiteral("gnum"), gnum);
        q.setString(QStringLiteral("region"), QString::fromUtf8(rng.pick(kRegions)));
        q.setInteger(QStringLiteral("d_year"), year);
        q.setString(QStringLiteral("vin"), vin(rng, make, year));
        q.setString(QStringLiteral("color"), QString::fromUtf8(rng.pick(kColors)));
        q.setString(QStringLiteral("engine"), QString::fromUtf8(v.engine));
        q.setString(QStringLiteral("engine2"), QString::fromUtf8(v.engine2));
        q.setString(QStringLiteral("body"), QString::fromUtf8(v.body));
        q.setString(QStringLiteral("body2"), QString::fromUtf8(v.body2));
        q.setInteger(QStringLiteral("km"), km);
        q.setString(QStringLiteral("owner"), owner(rng));
        q.setString(QStringLiteral("phone"), phone(rng));
        keys.push_back(insertReturningKey(q));
        mileage.push_back({km, QDate(year, 1, 1)});
    }
    return keys;
}

// Contract dates: a few today, some in the last days, the rest spread from
// 1 January of last year to today; oldest first, so numbers follow the dates.
std::vector<QDate> contractDates(Rng& rng, const QDate& today) {
    const QDate first(today.year() - 1, 1, 1);
    const qint64 span = first.daysTo(today) + 1;
    std::vector<QDate> dates;
    for (int i = 0; i < kToday; ++i) dates.push_back(today);
    for (int i = 0; i < kLastDays; ++i) dates.push_back(today.addDays(-1 - rng.below(9)));
    while (int(dates.size()) < kContracts) dates.push_back(first.addDays(qint64(rng.unit() * double(span))));
    std::stable_sort(dates.begin(), dates.end());
    return dates;
}

// With `withMileage` each contract records the car's mileage at the visit
// and the next service by the shop's default intervals.
void fillContracts(fb::Connection& db, fb::Transaction& tr, Rng& rng, const QDate& today,
                   const std::vector<int>& cars, const std::vector<CarMileage>& mileage, bool withMileage) {
    QHash<QString, int> spareIndex;
    for (size_t i = 0; i < kSpares.size(); ++i) spareIndex.insert(QString::fromUtf8(kSpares[i].name), int(i));

    fb::Query c(&db, &tr), w(&db, &tr), s(&db, &tr), k(&db, &tr);
    k.setSQL({QStringLiteral("UPDATE Contracts SET km = :km, next_date = :next_date, next_km = :next_km"),
              QStringLiteral("WHERE pk_id = :pk_id")});
    c.setSQL({QStringLiteral("INSERT INTO Contracts (c_date, meh, rem, cr_fk)"),
              QStringLiteral("VALUES (:c_date, :meh, :rem, :cr_fk) RETURNING pk_id")});
    w.setSQL({QStringLiteral("INSERT INTO CT_Works (ct_fk, name, price) VALUES (:ct_fk, :name, :price)")});
    s.setSQL({QStringLiteral("INSERT INTO CT_Spares (ct_fk, name, price, num) VALUES (:ct_fk, :name, :price, :num)")});

    static const int workCounts[] = {1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 4, 4, 5, 6};
    static const int spareCounts[] = {0, 0, 1, 1, 2, 2, 2, 3, 3, 4, 5};
    for (const QDate& date : contractDates(rng, today)) {
        c.setDate(QStringLiteral("c_date"), date);
        c.setString(QStringLiteral("meh"), QString::fromUtf8(rng.pick(kMechanics)));
        c.setString(QStringLiteral("rem"), rng.chance(0.35) ? QString::fromUtf8(rng.pick(kRemarks)) : QString());
        const size_t car = size_t(rng.below(int(cars.size())));
        c.setInteger(QStringLiteral("cr_fk"), cars[car]);
        const int key = insertReturningKey(c);
        if (withMileage) {
            const int km = mileage[car].at(date, today);
            k.setInteger(QStringLiteral("km"), km);
            k.setDate(QStringLiteral("next_date"), date.addMonths(app::kDefaultServiceMonths));
            k.setInteger(QStringLiteral("next_km"), km + app::kDefaultServiceKm);
            k.setInteger(QStringLiteral("pk_id"), key);
            k.execSQL();
        }

        // Works, each at most once; the parts they need come first among the spares.
        const int nWorks = rng.pick(workCounts);
        std::vector<int> works, spares;
        while (int(works.size()) < nWorks) {
            const int k = rng.below(int(kWorks.size()));
            if (std::find(works.begin(), works.end(), k) == works.end()) works.push_back(k);
        }
        const int nSpares = rng.pick(spareCounts);
        for (int k : works)
            for (const char* name : kWorks[size_t(k)].spares) {
                const auto it = spareIndex.constFind(QString::fromUtf8(name));
                if (it == spareIndex.constEnd()) throw fb::Error(QStringLiteral("demo data: no spare '%1'").arg(name));
                if (int(spares.size()) < nSpares && std::find(spares.begin(), spares.end(), *it) == spares.end())
                    spares.push_back(*it);
            }
        while (int(spares.size()) < nSpares) {
            const int k = rng.below(int(kSpares.size()));
            if (std::find(spares.begin(), spares.end(), k) == spares.end()) spares.push_back(k);
        }

        for (int k : works) {
            w.setInteger(QStringLiteral("ct_fk"), key);
            w.setString(QStringLiteral("name"), QString::fromUtf8(kWorks[size_t(k)].name));
            w.setFloat(QStringLiteral("price"), kWorks[size_t(k)].price);
            w.execSQL();
        }
        for (int k : spares) {
            const Spare& sp = kSpares[size_t(k)];
            const int num = sp.qty > 1 ? sp.qty : (rng.chance(0.15) ? 2 : 1);
            s.setInteger(QStringLiteral("ct_fk"), key);
            s.setString(QStringLiteral("name"), QString::fromUtf8(sp.name));
            s.setFloat(QStringLiteral("price"), sp.price);
            s.setInteger(QStringLiteral("num"), num);
            s.execSQL();
        }
    }
}

// Each mechanic's share of his labour, in the order of kMechanics.
void fillRates(fb::Connection& db, fb::Transaction& tr) {
    const char* const rates[] = {"40", "35", "37.5", "30"};
    fb::Query m(&db, &tr);
    m.setSQL({QStringLiteral("UPDATE meh SET rate = :rate WHERE name = :name")});
    for (size_t i = 0; i < std::size(kMechanics); ++i) {
        m.setString(QStringLiteral("rate"), QString::fromLatin1(rates[i]));
        m.setString(QStringLiteral("name"), QString::fromUtf8(kMechanics[i]));
        m.execSQL();
    }
}

// The demo shop's details (made-up numbers with valid control digits), so
// that its work orders and forms print whole.
void fillShop(fb::Connection& db, fb::Transaction& tr) {
    const char* const details[][2] = {
        {"shop_name", "ООО «Колесо»"},
        {"shop_form", "Общество с ограниченной ответственностью"},
        {"shop_inn", "7701234560"},
        {"shop_ogrn", "1027700123450"},
        {"shop_address", "г. Тула, ул. Заводская, 12"},
        {"shop_phone", "+7 4872 55-12-34"},
        {"shop_taker_position", "Мастер-приёмщик"},
        {"shop_taker_name", "Петров П. П."},
        {"shop_warranty", "На выполненные работы — 30 дней или 1000 км пробега, что наступит раньше; "
                          "на запчасти исполнителя — гарантия их производителя."},
        {"shop_terms", "Оплата при получении автомобиля наличными, картой или переводом; "
                       "по соглашению сторон возможна предоплата запчастей."},
    };
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("UPDATE OR INSERT INTO Settings (name, val) VALUES (:name, :val) MATCHING (name)")});
    for (const auto& [name, value] : details) {
        q.setString(QStringLiteral("name"), QString::fromLatin1(name));
        q.setString(QStringLiteral("val"), QString::fromUtf8(value));
        q.execSQL();
    }
}

// Payments as a shop has them: contracts older than ten days paid (by cash,
// card or transfer in turn), every seventeenth of them half, the newest not
// yet. Made from the sums the database keeps, so only on a database of step 6.
void fillPayments(fb::Connection& db, fb::Transaction& tr, const QDate& today) {
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("INSERT INTO Payments (ct_fk, p_date, amount, method)"),
              QStringLiteral("SELECT pk_id, c_date,"),
              QStringLiteral("  CAST(IIF(MOD(pk_id, 17) = 0, (works_sum + spares_sum) / 2, works_sum + spares_sum) AS NUMERIC(18,2)),"),
              QStringLiteral("  DECODE(MOD(pk_id, 3), 0, :cash, 1, :card, :transfer)"),
              QStringLiteral("FROM Contracts WHERE c_date < :since AND works_sum + spares_sum > 0")});
    q.setString(QStringLiteral("cash"), QStringLiteral("НАЛИЧНЫЕ"));
    q.setString(QStringLiteral("card"), QStringLiteral("КАРТА"));
    q.setString(QStringLiteral("transfer"), QStringLiteral("ПЕРЕВОД"));
    q.setDate(QStringLiteral("since"), today.addDays(-10));
    q.execSQL();
}

}  // namespace

void fillDemo(fb::Connection& db, const QDate& today) {
    Rng rng(20240917);
    const bool rates = app::schemaVersion(db) >= app::kMechanicRateStep;
    const bool withMileage = app::schemaVersion(db) >= 1;
    fb::Transaction tr(&db);  // rolled back by its destructor when a step throws
    fillMakes(db, tr);
    fillTwoLevel(db, tr, QStringLiteral("engines"), QStringLiteral("engine_sp"), QStringLiteral("en_fk"), kEngines);
    fillTwoLevel(db, tr, QStringLiteral("body"), QStringLiteral("body_sp"), QStringLiteral("bd_fk"), kBodies);
    fillCatalogues(db, tr);
    std::vector<CarMileage> mileage;
    const std::vector<int> cars = fillCars(db, tr, rng, today, mileage);
    fillContracts(db, tr, rng, today, cars, mileage, withMileage);
    if (rates) fillRates(db, tr);
    if (withMileage) fillShop(db, tr);  // Settings come with step 1
    if (app::schemaVersion(db) >= 6) fillPayments(db, tr, today);
    tr.commit();
}

}  // namespace tools
