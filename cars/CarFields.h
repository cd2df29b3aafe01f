#pragma once
// The fourteen car fields, shown alike by the car picker, the car directory
// and the contract editor: Box1 make, Box2 model, Box3 registration number,
// Box4 region, Box5 year, Edit1 mileage, Box6 VIN, Box7 colour, Box8 engine,
// Box81 engine specification, Box9 body, Box91 body specification, Box10
// owner, Box11 phone.
//
// A window either derives from CarFields and calls createFields(group) in its
// constructor (the fields then are its members Box1 ... Edit1), or describes
// controls it made itself with CarFields::of(window). The helpers read and
// write the texts; the windows connect the change signals themselves:
// UpperCombo::userChanged for the boxes (user edits only), textChanged for
// Edit1 (every change, the window's own ones included).
#include <QList>
#include <QString>
#include <QStringList>

class QLabel;
class QWidget;
namespace fb { class Query; }
namespace widgets {
class UpperCombo;
class UpperEdit;
}

namespace cars {

// The 101 colour names of Box7, in alphabetical order.
const QStringList& colourNames();

// One row of Cars as the fields show it: every column as text.
struct CarValues {
    QString dev, mod, gnum, region, d_year, km, vin, color, engine, engine2, body, body2, owner, phone;

    // The current row of a query over Cars (SELECT * FROM Cars ...).
    static CarValues fromRow(const fb::Query& q);
    bool operator==(const CarValues&) const = default;
};

struct CarFields {
    widgets::UpperCombo *Box1 = nullptr, *Box2 = nullptr, *Box3 = nullptr, *Box4 = nullptr, *Box5 = nullptr,
                        *Box6 = nullptr, *Box7 = nullptr, *Box8 = nullptr, *Box81 = nullptr, *Box9 = nullptr,
                        *Box91 = nullptr, *Box10 = nullptr, *Box11 = nullptr;
    widgets::UpperEdit* Edit1 = nullptr;

    // The row captions ("МАРКА, МОДЕЛЬ", "ГОС. НОМЕР", ..., "ТЕЛЕФОН"), in
    // tab order; empty for a set made by of().
    QList<QLabel*> captions;

    // Creates the fields and their captions as children of `parent`, in a
    // layout set on it (two columns of five rows), with upper-case entry,
    // completion, the column lengths of Cars as maximum lengths, the colour
    // list in Box7, and the tab order among the fields.
    void createFields(QWidget* parent);

    // The controls of a window that has members of the same names.
    template <class Window> static CarFields of(Window* w) {
        CarFields f;
        f.Box1 = w->Box1, f.Box2 = w->Box2, f.Box3 = w->Box3, f.Box4 = w->Box4, f.Box5 = w->Box5;
        f.Box6 = w->Box6, f.Box7 = w->Box7, f.Box8 = w->Box8, f.Box81 = w->Box81, f.Box9 = w->Box9;
        f.Box91 = w->Box91, f.Box10 = w->Box10, f.Box11 = w->Box11, f.Edit1 = w->Edit1;
        return f;
    }

    // The fourteen fields in tab order (Box1, Box2, Box3, Box4, Box5, Edit1,
    // Box6, Box7, Box8, Box81, Box9, Box91, Box10, Box11); the thirteen boxes.
    QList<QWidget*> inTabOrder() const;
    QList<widgets::UpperCombo*> boxes() const;

    CarValues values() const;
    // Box1 ... Box11 first (each showing the beginning of its text), Edit1
    // last; no userChanged, Edit1's textChanged when its text changes. The
    // item lists stay.
    void setValues(const CarValues& v) const;
    void clear() const { setValues(CarValues()); }

    // The thirteen parameters of the car filter (every field but the
    // mileage): prefix patterns, the texts taken as they stand.
    void bindFilter(fb::Query& q) const;
    // The fourteen column parameters of the car insert or update: d_year the
    // year as a whole number, km the mileage as a whole number or NULL when
    // the field is blank, the others as text. A year or mileage that is not a
    // whole number throws the conversion error before any parameter is set.
    void bindCar(fb::Query& q) const;

    // The lists of Box1, Box8 and Box9 from dev, engines and body; the texts stay.
    void fillNameLists() const;
    // The dependent lists, emptied with their texts and refilled for the
    // master's text: Box2 for the make, Box81 for the engine, Box91 for the body.
    void fillModels() const;
    void fillEngineSpecs() const;
    void fillBodySpecs() const;
    // Makes sure the make/model, engine/specification and body/specification
    // names of the fields are in their dictionaries (empty names included).
    void ensureDictionaries() const;
};

}  // namespace cars
