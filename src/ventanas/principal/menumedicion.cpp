#include "principal/lozarform.h"
void LozarForm::MAnalisisSistemaMedicion_Click() {}
