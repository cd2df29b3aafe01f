#include "cars/CarSearch.h"

#include "app/FetchedRows.h"
#include "cars/CarList.h"
#include "cars/SearchFold.h"
#include "fb/Error.h"

#include <algorithm>
#include <cstring>

namespace cars {

namespace {

// The columns as carListColumns() opens them.
enum { Key, Dev, Mod, Gnum, Region, Year, Km, Color, Engine, Engine2, Body, Body2, Owner, Phone, Vin };

// Between values, and after each row, so that no match spans two of them.
constexpr char kGap = '\x1F';

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

// Marks the rows of `buffer` in which `needle` occurs.
void scan(const CarSearch::Buffer& buffer, const std::string& needle, std::vector<char>& found) {
    if (needle.empty()) return;
    const char* base = buffer.bytes.data();
    const size_t size = buffer.bytes.size();
    size_t from = 0;
    while (from < size) {
        const void* hit = memmem(base + from, size - from, needle.data(), needle.size());
        if (!hit) return;
        const auto at = std::uint32_t(static_cast<const char*>(hit) - base);
        const auto next = std::upper_bound(buffer.starts.begin(), buffer.starts.end(), at);
        found[size_t(next - buffer.starts.begin() - 1)] = 1;
        from = *next;  // the row is found; on to the next one
    }
}

}  // namespace

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

void CarSearch::prepare() const {
    if (indexed_) return;
    const int n = rows_->rowCount();
    for (Buffer* b : {&text_, &plates_, &phones_}) {
        b->bytes.reserve(size_t(n) * (b == &text_ ? 96 : 16));
        b->starts.reserve(size_t(n) + 1);
    }
    const fb::RowSet& rs = *rows_;
    for (int r = 0; r < n; ++r) {
        text_.starts.push_back(std::uint32_t(text_.bytes.size()));
        std::string& t = text_.bytes;
        fold::appendText(t, rs.bytes(r, Gnum));
        t += ' ';
        fold::appendText(t, rs.bytes(r, Region));
        t += kGap;
        fold::appendText(t, rs.bytes(r, Owner));
        t += kGap;
        fold::appendText(t, rs.bytes(r, Vin));
        t += kGap;
        fold::appendText(t, rs.bytes(r, Dev));
        t += ' ';
        fold::appendText(t, rs.bytes(r, Mod));
        t += kGap;

        plates_.starts.push_back(std::uint32_t(plates_.bytes.size()));
        fold::appendPlate(plates_.bytes, rs.bytes(r, Gnum));
        fold::appendPlate(plates_.bytes, rs.bytes(r, Region));
        plates_.bytes += kGap;

        phones_.starts.push_back(std::uint32_t(phones_.bytes.size()));
        fold::appendPhone(phones_.bytes, rs.bytes(r, Phone));
        phones_.bytes += kGap;
    }
    for (Buffer* b : {&text_, &plates_, &phones_}) b->starts.push_back(std::uint32_t(b->bytes.size()));
    indexed_ = true;
}

std::vector<int> CarSearch::matches(const QString& search) const {
    const QString typed = search.trimmed();
    std::vector<int> out;
    const int n = rows_->rowCount();
    if (typed.isEmpty()) {
        out.resize(size_t(n));
        for (int r = 0; r < n; ++r) out[size_t(r)] = r;
        return out;
    }
    const std::optional<std::string> text = fold::text(typed);
    if (!text) return out;  // a character no stored value can hold
    prepare();
    std::vector<char> found(size_t(n), 0);
    scan(text_, *text, found);
    scan(plates_, fold::withoutBlanks(*text), found);
    scan(phones_, fold::phonePart(*text), found);  // signs alone find no phone
    scan(phones_, fold::phoneStart(*text), found);
    for (int r = 0; r < n; ++r)
        if (found[size_t(r)]) out.push_back(r);
    return out;
}

std::shared_ptr<const widgets::GridRows> CarSearch::rows(const QString& text) const {
    if (text.trimmed().isEmpty()) return list_;
    return std::make_shared<Found>(list_, matches(text));
}

}  // namespace cars
