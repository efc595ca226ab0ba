#pragma once

#include <QDialog>

#include "PanelVariant.h"

// The program's name and version, with its icon.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(const PanelVariant& variant, QWidget* parent = nullptr);
};
