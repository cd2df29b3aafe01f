// The mechanics directory's second field: the mechanic's share of the labour
// he did ("СТАВКА, %"), on a database that keeps it.
#include "catalogues/MH.h"

#include "app/MechanicRate.h"
#include "app/OwnerSchema.h"
#include "fb/Query.h"
#include "widgets/LineEdit.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperEdit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include <cmath>

void TMH::buildRate(QGridLayout* fields) {
    Label2 = new QLabel(QString::fromUtf8(app::kRateCaption), GP);
    Label2->setObjectName(QStringLiteral("Label2"));
    EditRate = new widgets::LineEdit(GP);
    EditRate->setObjectName(QStringLiteral("EditRate"));
    EditRate->setMaxLength(6);
    EditRate->setFont(Edit1->font());
    EditRate->setFixedWidth(70);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(EditRate, 1, 1, Qt::AlignLeft);
    setTabOrder(Edit1, EditRate);
    connect(EditRate, &QLineEdit::textChanged, this, &TMH::Edit1Change);
    // Enter saves as in the name's field; Esc drops the mode.
    connect(EditRate, &widgets::LineEdit::enterPressed, this, [this] { Edit1KeyPress(QChar(13)); });
    connect(EditRate, &widgets::LineEdit::escapePressed, this, [this] { Edit1KeyPress(QChar(27)); });
}

bool TMH::withRate() const { return app::hasMechanicRates(); }

void TMH::showRateColumn() {
    const bool on = withRate();
    Label2->setVisible(on);
    EditRate->setVisible(on);
    Grid_meh->setColCount(on ? 3 : 2);
    Grid_meh->setColWidth(1, on ? 256 : 336);
    if (on) {
        Grid_meh->setColWidth(2, 76);
        Grid_meh->setTitles({QStringLiteral("ID"), QStringLiteral("МЕХАНИКИ"), QString::fromUtf8(app::kRateCaption)});
    }
}

void TMH::bindRate(fb::Query& q) const {
    if (!withRate()) return;
    const std::optional<int> rate = app::parseRate(EditRate->text());  // throws before anything is written
    if (rate) q.setString(QStringLiteral("rate"), app::rateParam(*rate));
    else q.setNull(QStringLiteral("rate"));
}

QString TMH::rateColumns() const { return withRate() ? QStringLiteral(", rate") : QString(); }

std::optional<int> TMH::storedRate(const fb::RowSet& rows, int row) {
    const int c = rows.indexOf(QStringLiteral("rate"));
    if (c < 0 || rows.isNull(row, c)) return std::nullopt;
    return int(std::llround(rows.number(row, c) * 100));
}

std::optional<int> TMH::storedRate(const fb::Field& field) {
    if (field.isNull()) return std::nullopt;
    return int(std::llround(field.asFloat() * 100));
}
