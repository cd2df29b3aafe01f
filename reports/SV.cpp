#include "reports/SV.h"

TSV* SV = nullptr;

TSV::TSV(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SV"));
    setWindowTitle(QStringLiteral("Итоговый свод"));
}
