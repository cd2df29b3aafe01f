#pragma once
// The windows and the data module, each created once in the order of start-up.
#include <QStringList>

namespace program {

void createForms();   // MF, DC, DM, CF, CF2, VR, CF3, SP, CF4, SM, SE, SB, MH, SV, AboutBox, Hst, RQ, HS
void destroyForms();  // for tests: every instance deleted, pointers cleared
QStringList creationOrder();  // object names in the order they were created

}  // namespace program
