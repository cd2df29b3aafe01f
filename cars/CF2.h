#pragma once
// The car picker: the car fields filter the list of cars while the user
// types; a car taken from the list, or the typed fields inserted as a new
// car, is handed over through carTaken (the program's start gives it to
// the contract editor).
#include "cars/CarFields.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
namespace widgets { class StringGrid; }

class TCF2 : public QDialog, public cars::CarFields {
    Q_OBJECT
public:
    explicit TCF2(QWidget* parent = nullptr);

    QGroupBox* GroupBox1;  // "Данные по машине", holds Box1 ... Edit1
    widgets::StringGrid* Grid_cars;
    QPushButton* BitBtn1;  // accept
    QPushButton* BitBtn2;  // cancel
    // Key of the car that accepting hands over, or "*": accepting inserts the
    // fields as a new car. Changed only by loading a car from the list, by
    // inserting one, and by a filter that finds no car.
    QLabel* Car_id;
    QLabel* Label18;  // names Car_id on the form; hidden

    void FormActivate();
    void FilterCars();
    void LoadChosenCar();
    // Hands the car of Car_id (inserted first when "*") over through carTaken.
    // False when nothing was handed over: the car behind Car_id is gone.
    bool AcceptCar();
    int AddCar();
    void EnsureDictionaryPair(const QString& master, const QString& detail, const QString& masterTable,
                              const QString& detailTable, const QString& keyColumn);

    static QString carGoneMessage();

signals:
    // The chosen car with its key, at the moment it is accepted.
    void carTaken(const cars::CarValues& car, const QString& key);

public slots:
    void BitBtn1Click();
    void BitBtn2Click();

private slots:
    void Box1Change();
    void Box8Change();
    void Box9Change();
    void Box2Change();
    void Box81Change();
    void Box91Change();
    void Box3Change();
    void Grid_carsDblClick();

private:
    void Box1KeyPress(QWidget* field);
    void Grid_carsKeyPress(int key);
};

extern TCF2* CF2;
