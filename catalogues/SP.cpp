#include "catalogues/SP.h"

#include "app/DM.h"
#include "widgets/StringGrid.h"

#include <QToolButton>

TSP* SP = nullptr;

namespace {
const PricedCatalogueConfig kSpares{
    "SP",
    "Справочник запасных частей, комплектующих, расходных материалов",
    false,
    &TDM::iSP,
    &TDM::iSP_Ins,
    &TDM::iSp_Upd,
    "SELECT * FROM Spares WHERE PK_id = :pk_id",
    "DELETE FROM spares WHERE pk_id = :pk_id",
    "НАИМЕНОВАНИЕ ЗАПЧАСТИ",
    "Grid_Sp",
    {2, 910, 143},
    "Наименование запчасти",
    "Сохранение изменений",
    "ToolButton7",
};
}  // namespace

TSP::TSP(QWidget* parent) : PricedCatalogue(kSpares, parent), Grid_Sp(list()), ToolButton7(deleteButton()) {
    addArticleFields(&TDM::iSP_InsArt, &TDM::iSp_UpdArt);
    connect(ToolButton7, &QToolButton::clicked, this, &TSP::ToolButton7Click);
    connect(Grid_Sp, &widgets::StringGrid::rowClicked, this, &TSP::Grid_SpClick);
    connect(Grid_Sp, &widgets::StringGrid::rowDoubleClicked, this, &TSP::Grid_SpDblClick);
    connect(Grid_Sp, &widgets::StringGrid::keyDown, this, &TSP::Grid_SpKeyDown);
}

void TSP::ToolButton7Click() { DeleteClick(); }
void TSP::Grid_SpClick() { GridClick(); }
void TSP::Grid_SpDblClick() { GridClick(); }
void TSP::Grid_SpKeyDown() { GridKeyDown(); }
