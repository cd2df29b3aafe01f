#include "cars/CarSearch.h"

#include "app/FetchedRows.h"
#include "cars/CarList.h"
#include "fb/Error.h"

#include <QStringMatcher>

namespace cars {

namespace {

// The columns as carListColumns() opens them.
enum { Key, Dev, Mod, Gnum, Region, Year, Km, Color, Engine, Engine2, Body, Body2, Owner, Phone, Vin };

// Between the values of one car, so that no match spans two of them.
constexpr QChar kGap(0x1F);

// The rows of a list that a search kept.
class Found : public widgets::GridRows {
public:
    Found(std::shared_ptr<const widgets::GridRows> all, std::vector<int> rows)
        : all_(std::move(all)), rows_(std::move(rows)) {}
    int count() const override { return int(rows_.size()); }
    QString text(int col, int row) const override { return all_->text(col, rows_[size_t(row)]); }

private:
    std::shared_ptr<const widgets::GridRows> all_;
    std::vector<int> rows_;
};

}  // namespace

QString phoneText(const QString& text) {
    QString t;
    t.reserve(text.size());
    for (QChar c : text)
        if (c != u' ' && c != u'+' && c != u'-' && c != u'(' && c != u')') t += c;
    return t;
}

const QStringList& searchColumns() {
    static const QStringList names = carListColumns() + QStringList{QStringLiteral("VIN")};
    return names;
}

CarSearch::CarSearch(std::shared_ptr<const widgets::GridRows> list) : list_(std::move(list)) {
    const auto* fetched = dynamic_cast<const app::FetchedRows*>(list_.get());
    if (!fetched || fetched->rows().columnCount() <= Vin)
        throw fb::Error(QStringLiteral("The car search needs the rows of searchColumns()"));
    rows_ = &fetched->rows();
}

void CarSearch::index() const {
    if (!text_.empty() || rows_->rowCount() == 0) return;
    const int n = rows_->rowCount();
    text_.resize(size_t(n));
    phone_.resize(size_t(n));
    QString all;
    for (int r = 0; r < n; ++r) {
        const QString gnum = rows_->text(r, Gnum), region = rows_->text(r, Region);
        all.clear();
        all.append(gnum).append(u' ').append(region).append(kGap).append(gnum).append(region).append(kGap);
        all.append(rows_->text(r, Owner)).append(kGap).append(rows_->text(r, Vin)).append(kGap);
        all.append(rows_->text(r, Dev)).append(u' ').append(rows_->text(r, Mod));
        text_[size_t(r)] = all.toUpper();
        phone_[size_t(r)] = phoneText(rows_->text(r, Phone)).toUpper();
    }
}

std::vector<int> CarSearch::matches(const QString& search) const {
    const QString text = search.trimmed().toUpper();
    std::vector<int> out;
    const int n = rows_->rowCount();
    if (text.isEmpty()) {
        out.resize(size_t(n));
        for (int r = 0; r < n; ++r) out[size_t(r)] = r;
        return out;
    }
    index();
    const QStringMatcher inText(text);
    const QString digits = phoneText(text);  // signs alone find no phone
    const QStringMatcher inPhone(digits);
    for (int r = 0; r < n; ++r)
        if (inText.indexIn(text_[size_t(r)]) >= 0 || (!digits.isEmpty() && inPhone.indexIn(phone_[size_t(r)]) >= 0))
            out.push_back(r);
    return out;
}

std::shared_ptr<const widgets::GridRows> CarSearch::rows(const QString& text) const {
    if (text.trimmed().isEmpty()) return list_;
    return std::make_shared<Found>(list_, matches(text));
}

}  // namespace cars
