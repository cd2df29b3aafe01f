// The main window's owner-only items of "Сервис": the server's users and the
// change log.
#include "app/WindowFlow.h"
#include "contracts/MF.h"
#include "users/AU.h"
#include "users/US.h"

void TMF::N44Click() {
    US->FormActivate();
    app::openModal(US, this);
}

void TMF::N45Click() {
    AU->FormActivate();
    app::openModal(AU, this);
    if (!AU->ChosenKey.isEmpty()) ViewContract(AU->ChosenKey, AU->ChosenNumber);
}
