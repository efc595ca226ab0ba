#pragma once

#include "tarvic/platform/Export.h"

class QLineEdit;
class QWidget;

// What a dialog's data exchange needs: its direction, and the dialog's edit
// boxes found by their numeric identifier (the objectName of a child widget
// is its identifier written in decimal).
class TARVIC_EXPORT CDataExchange {
public:
    CDataExchange(QWidget* dialog, bool saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    // The edit box `id` among the dialog's children at any depth, or null.
    QLineEdit* PrepareEditCtrl(int id) const;

    bool m_bSaveAndValidate;  // true: controls to members; false: members to controls
    QWidget* m_pDlgWnd;
};

// Moves a member to or from the edit box `id` through its text, of which at
// most 31 characters are read. A text that does not scan as a number, or a
// missing edit box, leaves the member unchanged.
TARVIC_EXPORT void DDX_float(CDataExchange* pDX, int id, float& value);   // "%.2f"
TARVIC_EXPORT void DDX_float0(CDataExchange* pDX, int id, float& value);  // "%.f"
TARVIC_EXPORT void DDX_float3(CDataExchange* pDX, int id, float& value);  // "%.3f"
TARVIC_EXPORT void DDX_hexa4(CDataExchange* pDX, int id, int& value);     // "%4.4X"
