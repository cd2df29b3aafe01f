#include "catalogues/SP.h"

TSP* SP = nullptr;

TSP::TSP(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SP"));
    setWindowTitle(QStringLiteral("Справочник запасных частей, комплектующих, расходных материалов"));
}
