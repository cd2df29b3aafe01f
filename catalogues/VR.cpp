#include "catalogues/VR.h"

#include "app/DM.h"
#include "widgets/StringGrid.h"

#include <QToolButton>

TVR* VR = nullptr;

namespace {
const PricedCatalogueConfig kWorks{
    "VR",
    "Справочник видов работ",
    true,
    &TDM::iWork,
    &TDM::iWork_Ins,
    &TDM::iWork_Upd,
    "SELECT * FROM Works WHERE PK_id = :pk_id",
    "DELETE FROM works WHERE pk_id = :pk_id",
    "НАИМЕНОВАНИЕ РАБОТЫ",
    "Grid_work",
    {2, 910, 140},
    "Наименование работы",
    "Сохранение документа",
    "ToolButton10",
};
}  // namespace

TVR::TVR(QWidget* parent) : PricedCatalogue(kWorks, parent), Grid_work(list()), ToolButton10(deleteButton()) {
    connect(ToolButton10, &QToolButton::clicked, this, &TVR::ToolButton10Click);
    connect(Grid_work, &widgets::StringGrid::rowClicked, this, &TVR::Grid_workClick);
    connect(Grid_work, &widgets::StringGrid::rowDoubleClicked, this, &TVR::Grid_workClick);
    connect(Grid_work, &widgets::StringGrid::keyDown, this, &TVR::Grid_workKeyDown);
}

void TVR::ToolButton10Click() { DeleteClick(); }
void TVR::Grid_workClick() { GridClick(); }
void TVR::Grid_workKeyDown() { GridKeyDown(); }
