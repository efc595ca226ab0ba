#include "tarvic/control/Regulateur.h"

CRegulateur::CRegulateur() = default;

CRegulateur::~CRegulateur() = default;

void CRegulateur::SetFParam(int, float) {}

float CRegulateur::LitFParam(int) { return 0.0f; }
