#pragma once

#include "tarvic/platform/Object.h"

// An empty controller interface kept for the controlling application: it holds
// nothing and its operations do nothing. The controllers do not derive from it.
class TARVIC_EXPORT CRegulateur : public CObject {
public:
    CRegulateur();
    ~CRegulateur() override;

    virtual void SetFParam(int n, float v);
    virtual float LitFParam(int n);
};
