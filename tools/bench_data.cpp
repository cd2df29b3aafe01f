// Bulk data for the benchmark: a shop's ten years of contracts, generated.
// Rows go in as EXECUTE BLOCK statements of many inserts each, prepared once
// and executed with new parameters, which is several times faster than one
// prepared insert per row.
#include "tools/DbTools.h"

#include "app/Payments.h"
#include "app/SchemaSteps.h"
#include "tools/Rng.h"

#include "app/SchemaSteps.h"
#include "fb/Client.h"
#include "fb/Error.h"
#include "fb/Query.h"
#include "fb/Transaction.h"

#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <numeric>
#include <variant>
#include <vector>

namespace tools {

namespace {

// ---- Batched inserts ------------------------------------------------------

struct Param {
    QString name;  // the row's parameter is name + row number, e.g. "DEV12"
    QString type;  // its declared type inside the block
};

// Collects rows and writes them `perBlock` at a time through one prepared
// EXECUTE BLOCK. `body` holds the statements of one row, with %1 standing for
// the row number; inside the block a parameter is referenced as :"NAME%1" (a
// quoted name, which the named-parameter translation leaves alone).
class BlockInsert {
public:
    BlockInsert(fb::Connection& db, fb::Transaction& tr, std::vector<Param> params, QString body, int perBlock,
                QString locals = QString())
        : db_(db), tr_(tr), params_(std::move(params)), body_(std::move(body)), locals_(std::move(locals)),
          perBlock_(perBlock) {
        names_.resize(size_t(perBlock_));
        for (int r = 0; r < perBlock_; ++r)
            for (const Param& p : params_) names_[size_t(r)].push_back(p.name + QString::number(r));
        values_.resize(size_t(perBlock_) * params_.size());
    }

    void set(int p, const QString& v) { values_[slot(p)] = v; }
    void set(int p, qint64 v) { values_[slot(p)] = v; }
    void set(int p, double v) { values_[slot(p)] = v; }
    void set(int p, const QDate& v) { values_[slot(p)] = v; }
    void setNull(int p) { values_[slot(p)] = std::monostate{}; }

    void endRow() {
        if (++rows_ == perBlock_) write();
    }
    void flush() {
        if (rows_ > 0) write();
    }

private:
    using Value = std::variant<std::monostate, QString, qint64, double, QDate>;

    size_t slot(int p) const { return size_t(rows_) * params_.size() + size_t(p); }

    QStringList blockText(int rows) const {
        QStringList lines;
        lines << QStringLiteral("EXECUTE BLOCK (");
        for (int r = 0; r < rows; ++r)
            for (size_t p = 0; p < params_.size(); ++p) {
                const QString& n = names_[size_t(r)][p];
                const bool last = r == rows - 1 && p == params_.size() - 1;
                lines << QStringLiteral("  %1 %2 = :%1%3").arg(n, params_[p].type, last ? QString() : QStringLiteral(","));
            }
        lines << QStringLiteral(") AS");
        if (!locals_.isEmpty()) lines << locals_;
        lines << QStringLiteral("BEGIN");
        for (int r = 0; r < rows; ++r) lines << body_.arg(r);
        lines << QStringLiteral("END");
        return lines;
    }

    void write() {
        // Full blocks share one statement; the last, shorter one gets its own.
        std::unique_ptr<fb::Query>& q = rows_ == perBlock_ ? full_ : tail_;
        if (!q || q->paramNames().size() != qsizetype(size_t(rows_) * params_.size())) {
            q = std::make_unique<fb::Query>(&db_, &tr_);
            q->setSQL(blockText(rows_));
        }
        for (int r = 0; r < rows_; ++r)
            for (size_t p = 0; p < params_.size(); ++p) {
                const QString& n = names_[size_t(r)][p];
                const Value& v = values_[size_t(r) * params_.size() + p];
                if (const auto* s = std::get_if<QString>(&v)) q->setString(n, *s);
                else if (const auto* i = std::get_if<qint64>(&v)) q->setInteger(n, *i);
                else if (const auto* d = std::get_if<double>(&v)) q->setFloat(n, *d);
                else if (const auto* dt = std::get_if<QDate>(&v)) q->setDate(n, *dt);
                else q->setNull(n);
            }
        q->execSQL();
        rows_ = 0;
    }

    fb::Connection& db_;
    fb::Transaction& tr_;
    std::vector<Param> params_;
    QString body_, locals_;
    int perBlock_;
    std::vector<QStringList> names_;
    std::vector<Value> values_;
    int rows_ = 0;
    std::unique_ptr<fb::Query> full_, tail_;
};

// ---- Generated names ------------------------------------------------------

const std::vector<std::pair<QString, QStringList>> kMakes = {
    {"ВАЗ", {"2107", "2110", "2114", "ПРИОРА", "ГРАНТА", "КАЛИНА", "ВЕСТА", "НИВА"}},
    {"ГАЗ", {"3110", "ГАЗЕЛЬ", "СОБОЛЬ"}},
    {"УАЗ", {"ПАТРИОТ", "ХАНТЕР", "ПИКАП"}},
    {"KIA", {"RIO", "CEED", "SPORTAGE", "SORENTO", "SOUL"}},
    {"HYUNDAI", {"SOLARIS", "CRETA", "TUCSON", "ELANTRA", "SANTA FE"}},
    {"TOYOTA", {"COROLLA", "CAMRY", "RAV4", "LAND CRUISER", "PRIUS"}},
    {"RENAULT", {"LOGAN", "SANDERO", "DUSTER", "KAPTUR", "KANGOO"}},
    {"VOLKSWAGEN", {"POLO", "GOLF", "PASSAT", "TIGUAN", "TRANSPORTER"}},
    {"FORD", {"FOCUS", "MONDEO", "FIESTA", "KUGA", "TRANSIT"}},
    {"CHEVROLET", {"NIVA", "LACETTI", "AVEO", "CRUZE", "LANOS"}},
    {"NISSAN", {"ALMERA", "QASHQAI", "X-TRAIL", "NOTE", "TEANA"}},
    {"SKODA", {"OCTAVIA", "RAPID", "FABIA", "SUPERB", "YETI"}},
    {"MITSUBISHI", {"LANCER", "OUTLANDER", "PAJERO", "ASX", "L200"}},
    {"MAZDA", {"3", "6", "CX-5", "DEMIO"}},
    {"HONDA", {"CIVIC", "ACCORD", "CR-V", "JAZZ"}},
    {"OPEL", {"ASTRA", "CORSA", "VECTRA", "ZAFIRA"}},
    {"PEUGEOT", {"206", "307", "308", "408", "PARTNER"}},
    {"DAEWOO", {"NEXIA", "MATIZ", "GENTRA"}},
    {"SUZUKI", {"SX4", "VITARA", "SWIFT", "JIMNY"}},
    {"ЛАДА", {"ЛАРГУС", "XRAY", "4X4"}},
};
const std::vector<std::pair<QString, QStringList>> kEngines = {
    {"БЕНЗИН", {"1.4 16V", "1.6 8V", "1.6 16V", "1.8 16V", "2.0 16V", "2.5 16V", "1.4 TSI", "2.0 TSI"}},
    {"ДИЗЕЛЬ", {"1.5 DCI", "1.9 TDI", "2.0 TDI", "2.2 CRDI", "2.8 TD"}},
    {"ГИБРИД", {"1.8 HSD"}},
};
const std::vector<std::pair<QString, QStringList>> kBodies = {
    {"СЕДАН", {"4 ДВЕРИ"}},
    {"ХЭТЧБЕК", {"3 ДВЕРИ", "5 ДВЕРЕЙ"}},
    {"УНИВЕРСАЛ", {"5 ДВЕРЕЙ"}},
    {"ЛИФТБЕК", {"5 ДВЕРЕЙ"}},
    {"ВНЕДОРОЖНИК", {"3 ДВЕРИ", "5 ДВЕРЕЙ"}},
    {"КРОССОВЕР", {"5 ДВЕРЕЙ"}},
    {"МИНИВЭН", {"5 ДВЕРЕЙ"}},
    {"ФУРГОН", {"ЦЕЛЬНОМЕТАЛЛИЧЕСКИЙ", "ГРУЗОПАССАЖИРСКИЙ"}},
};
const std::vector<QString> kMechanics = {
    "ПЕТРОВ СЕРГЕЙ НИКОЛАЕВИЧ", "КУЗНЕЦОВ АЛЕКСЕЙ ВИКТОРОВИЧ", "СМИРНОВ ДМИТРИЙ ИГОРЕВИЧ",
    "ВОЛКОВ АНДРЕЙ ПАВЛОВИЧ",   "ЕГОРОВ ИГОРЬ ВАСИЛЬЕВИЧ",     "НИКИТИН ОЛЕГ ЮРЬЕВИЧ",
};
const std::vector<QString> kSurnames = {
    "ИВАНОВ",  "СОКОЛОВ", "ПОПОВ",   "ЛЕБЕДЕВ", "КОЗЛОВ",     "НОВИКОВ",  "МОРОЗОВ",  "СОЛОВЬЕВ", "ВАСИЛЬЕВ",
    "ЗАЙЦЕВ",  "ПАВЛОВ",  "СЕМЕНОВ", "ГОЛУБЕВ", "ВИНОГРАДОВ", "БОГДАНОВ", "ВОРОБЬЕВ", "ФЕДОРОВ",  "МИХАЙЛОВ",
    "БЕЛЯЕВ",  "ТАРАСОВ", "БЕЛОВ",   "КОМАРОВ", "ОРЛОВ",      "КИСЕЛЕВ",  "МАКАРОВ",  "АНДРЕЕВ",  "КОВАЛЕВ",
    "ИЛЬИН",   "ГУСЕВ",   "ТИТОВ",   "КУЗЬМИН", "КУДРЯВЦЕВ",  "БАРАНОВ",  "КУЛИКОВ",  "АЛЕКСЕЕВ", "СТЕПАНОВ",
    "ЯКОВЛЕВ", "СОРОКИН", "СЕРГЕЕВ", "РОМАНОВ", "ЗАХАРОВ",    "БОРИСОВ",  "КОРОЛЕВ",  "ГЕРАСИМОВ", "ПОНОМАРЕВ",
    "ГРИГОРЬЕВ", "ЛАЗАРЕВ", "МЕДВЕДЕВ", "ЕРШОВ", "НИКИФОРОВ", "ФРОЛОВ",  "ЖУКОВ",    "ДАНИЛОВ",  "ЧЕРНОВ",
};
const std::vector<QString> kMaleNames = {
    "АЛЕКСАНДР", "СЕРГЕЙ", "ДМИТРИЙ", "АНДРЕЙ", "АЛЕКСЕЙ", "МАКСИМ",  "ЕВГЕНИЙ", "ИВАН",    "МИХАИЛ", "НИКОЛАЙ",
    "ВЛАДИМИР",  "ПАВЕЛ",  "ОЛЕГ",    "ИГОРЬ",  "ЮРИЙ",    "ВИКТОР",  "АРТЕМ",   "РОМАН",   "ДЕНИС",  "КИРИЛЛ",
};
const std::vector<QString> kFemaleNames = {
    "ЕЛЕНА", "ОЛЬГА", "НАТАЛЬЯ", "ТАТЬЯНА", "ИРИНА", "СВЕТЛАНА", "МАРИЯ", "АННА", "ЕКАТЕРИНА", "ЮЛИЯ",
};
const std::vector<std::pair<QString, QString>> kPatronymics = {
    {"ИВАНОВИЧ", "ИВАНОВНА"},     {"ПЕТРОВИЧ", "ПЕТРОВНА"},         {"СЕРГЕЕВИЧ", "СЕРГЕЕВНА"},
    {"АЛЕКСАНДРОВИЧ", "АЛЕКСАНДРОВНА"}, {"НИКОЛАЕВИЧ", "НИКОЛАЕВНА"}, {"ВЛАДИМИРОВИЧ", "ВЛАДИМИРОВНА"},
    {"АЛЕКСЕЕВИЧ", "АЛЕКСЕЕВНА"}, {"ВИКТОРОВИЧ", "ВИКТОРОВНА"},     {"ЮРЬЕВИЧ", "ЮРЬЕВНА"},
    {"МИХАЙЛОВИЧ", "МИХАЙЛОВНА"}, {"АНАТОЛЬЕВИЧ", "АНАТОЛЬЕВНА"},   {"ДМИТРИЕВИЧ", "ДМИТРИЕВНА"},
};
const std::vector<QString> kColors = {
    "БЕЛЫЙ", "ЧЁРНЫЙ", "СЕРЕБРИСТЫЙ", "ТЁМНО-СЕРЫЙ", "СИНИЙ", "КРАСНЫЙ", "ЗЕЛЁНЫЙ", "БЕЖЕВЫЙ", "КОРИЧНЕВЫЙ", "ВИШНЁВЫЙ",
};
const std::vector<QString> kRegions = {"77", "97", "99", "177", "197", "777", "50", "90", "150", "190", "750", "40", "71"};
const std::vector<QString> kRemarks = {
    "Запчасти клиента", "Повторное обращение", "Рекомендована замена тормозных дисков", "Скрип при торможении",
    "Горит лампа CHECK ENGINE", "Машину забрать после 18:00",
};
const std::vector<QString> kActions = {
    "ЗАМЕНА", "РЕМОНТ", "ДИАГНОСТИКА", "РЕГУЛИРОВКА", "СНЯТИЕ И УСТАНОВКА", "ПРОВЕРКА", "ОЧИСТКА", "ПРОМЫВКА",
    "ПОКРАСКА", "ДЕФЕКТОВКА",
};
const std::vector<QString> kObjects = {
    "ДВИГАТЕЛЯ", "КПП",       "СЦЕПЛЕНИЯ", "ГЕНЕРАТОРА", "СТАРТЕРА", "ПОМПЫ",           "РАДИАТОРА", "ТЕРМОСТАТА",
    "ГЛУШИТЕЛЯ", "КАТАЛИЗАТОРА", "ТОПЛИВНОГО НАСОСА", "ИНЖЕКТОРА", "ТУРБИНЫ", "ФАРЫ",   "ЗЕРКАЛА",   "БАМПЕРА",
    "КАПОТА",    "ДВЕРИ",     "СТЕКЛА",    "РУЛЕВОЙ РЕЙКИ", "ТОРМОЗНОГО СУППОРТА", "АМОРТИЗАТОРА", "ПРУЖИНЫ",
    "РЫЧАГА",    "СТУПИЦЫ",   "ШРУСА",     "ПРИВОДА",    "КАРДАНА",  "РЕДУКТОРА",       "ПЕЧКИ",
};
const std::vector<QString> kParts = {
    "ФИЛЬТР МАСЛЯНЫЙ",     "ФИЛЬТР ВОЗДУШНЫЙ",    "ФИЛЬТР САЛОННЫЙ",  "ФИЛЬТР ТОПЛИВНЫЙ",     "СВЕЧА ЗАЖИГАНИЯ",
    "КОЛОДКИ ТОРМОЗНЫЕ",   "ДИСК ТОРМОЗНОЙ",      "РЕМЕНЬ ГРМ",       "РОЛИК НАТЯЖНОЙ",       "ПОМПА ВОДЯНАЯ",
    "АМОРТИЗАТОР",         "ОПОРА ШАРОВАЯ",       "НАКОНЕЧНИК РУЛЕВОЙ", "СТОЙКА СТАБИЛИЗАТОРА", "САЙЛЕНТБЛОК",
    "ПОДШИПНИК СТУПИЦЫ",   "ШРУС НАРУЖНЫЙ",       "ПЫЛЬНИК ШРУСА",    "КОМПЛЕКТ СЦЕПЛЕНИЯ",   "ЛАМПА H4",
    "ЩЕТКА СТЕКЛООЧИСТИТЕЛЯ", "ГЛУШИТЕЛЬ",        "ПРОКЛАДКА ГБЦ",    "ТЕРМОСТАТ",            "ДАТЧИК КИСЛОРОДНЫЙ",
    "КАТУШКА ЗАЖИГАНИЯ",   "РАДИАТОР",            "ТРОС СЦЕПЛЕНИЯ",   "ГЕНЕРАТОР",            "СТАРТЕР",
};

const QString kPlateLetters = QStringLiteral("АВЕКМНОРСТУХ");
const QString kVinChars = QStringLiteral("ABCDEFGHJKLMNPRSTUVWXYZ0123456789");

QString digits(Rng& rng, int n) {
    QString s(n, u'0');
    for (int i = 0; i < n; ++i) s[i] = QChar(u'0' + rng.below(10));
    return s;
}

// The i-th of 12 × 999 × 144 plates, scattered so that neighbours differ.
QString plate(qint64 i) {
    const qint64 total = 12LL * 999 * 144;
    qint64 k = (i * 1000003LL + 7777) % total;  // 1000003 is prime, so this is a permutation
    const int number = int(k % 999) + 1;
    k /= 999;
    QString s;
    s += kPlateLetters[int(k % 12)];
    s += QString::number(number).rightJustified(3, u'0');
    k /= 12;
    s += kPlateLetters[int(k % 12)];
    s += kPlateLetters[int(k / 12 % 12)];
    return s;
}

QString vin(Rng& rng) {
    QString s(17, u'0');
    for (int i = 0; i < 17; ++i) s[i] = kVinChars[rng.below(int(kVinChars.size()))];
    return s;
}

QString owner(Rng& rng) {
    const bool female = rng.chance(0.3);
    const auto& p = rng.pick(kPatronymics);
    return rng.pick(kSurnames) + (female ? QStringLiteral("А ") : QStringLiteral(" ")) +
           (female ? rng.pick(kFemaleNames) : rng.pick(kMaleNames)) + u' ' + (female ? p.second : p.first);
}

QString phone(Rng& rng) {
    return QStringLiteral("+7 9%1 %2-%3-%4").arg(digits(rng, 2), digits(rng, 3), digits(rng, 2), digits(rng, 2));
}

struct Item {
    QString name;
    double price;
};

// Catalogue names are unique: every combination once, in a shuffled order,
// then the same again with a number when more are asked for.
std::vector<Item> worksCatalogue(Rng& rng, int n) {
    const int total = int(kActions.size() * kObjects.size() * kMakes.size());
    std::vector<int> order(static_cast<size_t>(total));
    std::iota(order.begin(), order.end(), 0);
    for (int i = total - 1; i > 0; --i) std::swap(order[size_t(i)], order[size_t(rng.below(i + 1))]);
    std::vector<Item> out;
    for (int i = 0; i < n; ++i) {
        int c = order[size_t(i % total)];
        const QString& action = kActions[size_t(c % int(kActions.size()))];
        c /= int(kActions.size());
        const QString& object = kObjects[size_t(c % int(kObjects.size()))];
        const QString& make = kMakes[size_t(c / int(kObjects.size()))].first;
        QString name = action + u' ' + object + u' ' + make;
        if (i >= total) name += QStringLiteral(" (%1)").arg(i / total + 1);
        out.push_back({name, double(200 + 50 * rng.below(300))});
    }
    return out;
}

std::vector<Item> sparesCatalogue(Rng& rng, int n) {
    std::vector<Item> out;
    for (int i = 0; i < n; ++i) {
        // A five-digit article, distinct for the first 90,000 parts; the index keeps later ones apart.
        const qint64 article = 10000 + (qint64(i) * 7919 + 4321) % 90000;
        QString name = rng.pick(kParts) + u' ' + rng.pick(kMakes).first + u' ' + QString::number(article);
        if (i >= 90000) name += u'-' + QString::number(i);
        const double rub = 50 + 10 * rng.below(2000);
        out.push_back({name, rng.chance(0.3) ? rub - 0.1 : rub});
    }
    return out;
}

// ---- Tables ---------------------------------------------------------------

void fillTwoLevel(fb::Connection& db, fb::Transaction& tr, const QString& master, const QString& detail,
                  const QString& fk, const std::vector<std::pair<QString, QStringList>>& rows) {
    fb::Query m(&db, &tr), d(&db, &tr);
    m.setSQL({QStringLiteral("INSERT INTO %1 (name) VALUES (:name) RETURNING pk_id").arg(master)});
    d.setSQL({QStringLiteral("INSERT INTO %1 (name, %2) VALUES (:name, :fk)").arg(detail, fk)});
    for (const auto& [name, details] : rows) {
        m.setString(QStringLiteral("name"), name);
        m.execSQL();
        const int key = m.field(QStringLiteral("pk_id")).asInteger();
        for (const QString& dn : details) {
            d.setString(QStringLiteral("name"), dn);
            d.setInteger(QStringLiteral("fk"), key);
            d.execSQL();
        }
    }
}

void fillCatalogue(fb::Connection& db, fb::Transaction& tr, const QString& table, const std::vector<Item>& items) {
    BlockInsert ins(db, tr, {{"N", "VARCHAR(150)"}, {"P", "DOUBLE PRECISION"}},
                    QStringLiteral("  INSERT INTO %1 (name, price) VALUES (:\"N%2\", :\"P%2\");").arg(table, "%1"), 50);
    for (const Item& it : items) {
        ins.set(0, it.name);
        ins.set(1, it.price);
        ins.endRow();
    }
    ins.flush();
}

void fillCars(fb::Connection& db, fb::Transaction& tr, Rng& rng, int count, const QDate& today) {
    static const char* const cols[] = {"dev",     "mod",  "gnum",  "region", "d_year", "vin",   "color",
                                       "engine",  "engine2", "body", "body2", "km",     "owner", "phone"};
    std::vector<Param> params;
    QStringList names, refs;
    for (const char* c : cols) {
        const QString n = QString::fromLatin1(c).toUpper();
        const bool number = n == QLatin1String("D_YEAR") || n == QLatin1String("KM");
        params.push_back({n + u'_', number ? QStringLiteral("INTEGER") : QStringLiteral("VARCHAR(100)")});
        names << QString::fromLatin1(c);
        refs << QStringLiteral(":\"%1_%2\"").arg(n, "%1");
    }
    BlockInsert ins(db, tr, params,
                    QStringLiteral("  INSERT INTO Cars (%1) VALUES (%2);").arg(names.join(", "), refs.join(", ")), 7);
    for (int i = 0; i < count; ++i) {
        const auto& make = rng.pick(kMakes);
        const auto& engine = rng.pick(kEngines);
        const auto& body = rng.pick(kBodies);
        const int year = today.year() - rng.below(25);
        ins.set(0, make.first);
        ins.set(1, make.second[rng.below(int(make.second.size()))]);
        ins.set(2, plate(i));
        ins.set(3, rng.pick(kRegions));
        ins.set(4, qint64(year));
        ins.set(5, vin(rng));
        ins.set(6, rng.pick(kColors));
        ins.set(7, engine.first);
        ins.set(8, engine.second[rng.below(int(engine.second.size()))]);
        ins.set(9, body.first);
        ins.set(10, body.second[rng.below(int(body.second.size()))]);
        ins.set(11, qint64((today.year() - year + 1) * (5000 + rng.below(20000))));
        ins.set(12, owner(rng));
        ins.set(13, phone(rng));
        ins.endRow();
        if ((i + 1) % 10000 == 0) {
            ins.flush();
            tr.commit();
        }
    }
    ins.flush();
    tr.commit();
}

std::vector<int> carKeys(fb::Connection& db, fb::Transaction& tr) {
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT pk_id FROM Cars ORDER BY pk_id")});
    q.open();
    std::vector<int> keys;
    keys.reserve(size_t(q.recordCount()));
    for (int r = 0; r < q.recordCount(); ++r) keys.push_back(int(q.rows().integer(r, 0)));
    return keys;
}

// The mileage of a visit from the car and the date alone (each car runs its
// own distance a day from a mileage of its own), so that the car's visits
// agree whatever order they come in; every third visit sets the next
// service a year and 15,000 km ahead, and every fifth of those was called.
// Nothing here draws from the generator: the rest of the data stays as it was.
int setMileage(BlockInsert& ins, int p, int i, int car, const QDate& date, const QDate& first) {
    const std::uint64_t h = std::uint64_t(car) * 0x9E3779B97F4A7C15ull;
    const qint64 start = qint64((h >> 20) % 150000);
    const qint64 perDay = 10 + qint64((h >> 40) % 80);
    const qint64 km = start + perDay * first.daysTo(date);
    ins.set(p++, km);
    if (i % 3 == 0) {
        ins.set(p++, date.addYears(1));
        ins.set(p++, km + 15000);
        if (i % 5 == 0) ins.set(p++, date.addYears(1).addDays(-14));
        else ins.setNull(p++);
    } else {
        for (int k = 0; k < 3; ++k) ins.setNull(p++);
    }
    return p;
}

void fillContracts(fb::Connection& db, fb::Transaction& tr, Rng& rng, const BenchSize& size,
                   const std::vector<int>& cars, const std::vector<Item>& works, const std::vector<Item>& spares,
                   const QDate& today, bool mileage) {
    // One row: the contract, then its lines, which take its key from RETURNING.
    std::vector<Param> params = {{"D", "DATE"}, {"M", "VARCHAR(60)"}, {"R", "VARCHAR(1000)"}, {"C", "INTEGER"}};
    QString body = QStringLiteral("  INSERT INTO Contracts (c_date, meh, rem, cr_fk) VALUES "
                                  "(:\"D%1\", :\"M%1\", :\"R%1\", :\"C%1\") RETURNING pk_id INTO :\"ID\";\n");
    if (mileage) {
        // The visit's mileage, and on some visits the next service and a call.
        for (const char* p : {"K", "ND", "NK", "RM"})
            params.push_back({QString::fromLatin1(p), *p == 'K' || p[1] == 'K' ? "INTEGER" : "DATE"});
        body = QStringLiteral("  INSERT INTO Contracts (c_date, meh, rem, cr_fk, km, next_date, next_km, reminded) VALUES "
                              "(:\"D%1\", :\"M%1\", :\"R%1\", :\"C%1\", :\"K%1\", :\"ND%1\", :\"NK%1\", "
                              ":\"RM%1\") RETURNING pk_id INTO :\"ID\";\n");
    }
    const int nw = works.empty() ? 0 : size.worksPerContract;
    const int ns = spares.empty() ? 0 : size.sparesPerContract;
    for (int k = 0; k < nw; ++k) {
        params.push_back({QStringLiteral("WN%1_").arg(k), "VARCHAR(150)"});
        params.push_back({QStringLiteral("WP%1_").arg(k), "DOUBLE PRECISION"});
        body += QStringLiteral("  INSERT INTO CT_Works (ct_fk, name, price) VALUES (:\"ID\", :\"WN%1_%2\", :\"WP%1_%2\");\n")
                    .arg(k)
                    .arg("%1");
    }
    for (int k = 0; k < ns; ++k) {
        params.push_back({QStringLiteral("SN%1_").arg(k), "VARCHAR(150)"});
        params.push_back({QStringLiteral("SP%1_").arg(k), "DOUBLE PRECISION"});
        params.push_back({QStringLiteral("SQ%1_").arg(k), "INTEGER"});
        body += QStringLiteral("  INSERT INTO CT_Spares (ct_fk, name, price, num) VALUES "
                               "(:\"ID\", :\"SN%1_%2\", :\"SP%1_%2\", :\"SQ%1_%2\");\n")
                    .arg(k)
                    .arg("%1");
    }
    body.chop(1);
    // About a hundred parameters a statement: measured faster than fewer
    // (one engine call per contract) and than more (the parameter lookup
    // grows with their number).
    const int perBlock = std::max(1, 100 / int(params.size()));
    BlockInsert ins(db, tr, params, body, perBlock, QStringLiteral("DECLARE ID INTEGER;"));

    // Ten years up to today, oldest first, so that numbers follow the dates.
    const QDate first = today.addYears(-10).addDays(1);
    const double span = double(first.daysTo(today) + 1);
    const int n = size.contracts;
    for (int i = 0; i < n; ++i) {
        int p = 0;
        const QDate date = first.addDays(qint64((i + rng.unit()) * span / n));
        ins.set(p++, date);
        ins.set(p++, rng.pick(kMechanics));
        ins.set(p++, rng.chance(0.2) ? rng.pick(kRemarks) : QString());
        const int car = cars[size_t(rng.below(int(cars.size())))];
        ins.set(p++, qint64(car));
        if (mileage) p = setMileage(ins, p, i, car, date, first);
        for (int k = 0; k < nw; ++k) {
            const Item& w = rng.pick(works);
            ins.set(p++, w.name);
            ins.set(p++, w.price);
        }
        for (int k = 0; k < ns; ++k) {
            const Item& s = rng.pick(spares);
            ins.set(p++, s.name);
            ins.set(p++, s.price);
            ins.set(p++, qint64(1 + rng.below(4)));
        }
        ins.endRow();
        if ((i + 1) % 10000 == 0) {
            ins.flush();
            tr.commit();
        }
    }
    ins.flush();
    tr.commit();
}

// Forced writes make the engine wait for the disk at every page it writes;
// bulk filling goes many times faster without. The flag is a property of the
// database, set through an attachment of its own.
void setForcedWrites(const fb::Connection& db, bool on) {
    fb::ThrowStatus st;
    const std::unique_ptr<Firebird::IXpbBuilder, fb::Disposed> dpb(
        fb::client().util->getXpbBuilder(st.get(), Firebird::IXpbBuilder::DPB, nullptr, 0));
    dpb->insertString(st.get(), isc_dpb_user_name, db.userName.toUtf8().constData());
    dpb->insertString(st.get(), isc_dpb_password, db.password.toUtf8().constData());
    dpb->insertInt(st.get(), isc_dpb_force_write, on ? 1 : 0);
    const unsigned length = dpb->getBufferLength(st.get());
    const unsigned char* buffer = dpb->getBuffer(st.get());
    const QByteArray path = db.databaseName.toLocal8Bit();
    Firebird::IAttachment* att = fb::client().provider->attachDatabase(st.get(), path.constData(), length, buffer);
    fb::Status detaching;
    att->detach(detaching.get());
    if (detaching.failed()) att->release();
    detaching.check();
}

// Payments as a shop's ten years have them, by key (the same every time):
// a contract older than two months is paid in full (in cash or by card in
// turn), every fiftieth of those only half; of the last two months' one in
// three is paid in full, one in three half, the rest not yet.
void fillPayments(fb::Connection& db, fb::Transaction& tr) {
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("INSERT INTO Payments (ct_fk, p_date, amount, method)"),
              QStringLiteral("SELECT pk_id, c_date, IIF(half = 0, total, CAST(total / 2 AS NUMERIC(18,2))),"),
              QStringLiteral("  IIF(MOD(pk_id, 2) = 1, '%1', '%2')").arg(app::paymentMethods()[0], app::paymentMethods()[1]),
              QStringLiteral("FROM (SELECT ct.pk_id, ct.c_date, CAST(%1 AS NUMERIC(18,2)) AS total,")
                  .arg(app::totalSql(QStringLiteral("ct.pk_id"))),
              QStringLiteral("  IIF(ct.c_date < last.d - 60, IIF(MOD(ct.pk_id, 50) = 0, 1, 0), IIF(MOD(ct.pk_id, 3) = 2, 1, 0)) AS half"),
              QStringLiteral("  FROM Contracts ct CROSS JOIN (SELECT MAX(c_date) AS d FROM Contracts) last"),
              QStringLiteral("  WHERE ct.c_date < last.d - 60 OR MOD(ct.pk_id, 3) <> 0) WHERE total > 0")});
    q.execSQL();
    tr.commit();
}

}  // namespace

void fillBench(fb::Connection& db, const BenchSize& size) {
    if (size.contracts > 0 && size.cars <= 0) throw fb::Error(QStringLiteral("contracts need at least one car"));
    const QDate today = QDate::currentDate();
    Rng rng(77001);
    // Off while filling, on again at the end (also after a failure), as a
    // database of the program has it.
    setForcedWrites(db, false);
    struct Restore {
        const fb::Connection& db;
        bool armed = true;
        ~Restore() {
            if (!armed) return;
            try {
                setForcedWrites(db, true);
            } catch (...) {
            }
        }
    } restore{db};
    fb::Transaction tr(&db);
    fillTwoLevel(db, tr, "dev", "models", "dv_fk", kMakes);
    fillTwoLevel(db, tr, "engines", "engine_sp", "en_fk", kEngines);
    fillTwoLevel(db, tr, "body", "body_sp", "bd_fk", kBodies);
    {
        fb::Query m(&db, &tr);
        m.setSQL({QStringLiteral("INSERT INTO meh (name) VALUES (:name)")});
        for (const QString& name : kMechanics) {
            m.setString(QStringLiteral("name"), name);
            m.execSQL();
        }
    }
    const std::vector<Item> works = worksCatalogue(rng, std::max(0, size.works));
    const std::vector<Item> spares = sparesCatalogue(rng, std::max(0, size.spares));
    fillCatalogue(db, tr, "Works", works);
    fillCatalogue(db, tr, "Spares", spares);
    tr.commit();
    fillCars(db, tr, rng, std::max(0, size.cars), today);
    if (size.contracts > 0)
        fillContracts(db, tr, rng, size, carKeys(db, tr), works, spares, today, app::schemaVersion(db) >= 1);
    tr.commit();
    if (app::schemaVersion(db) >= 2) fillPayments(db, tr);
    restore.armed = false;
    setForcedWrites(db, true);
}

}  // namespace tools
