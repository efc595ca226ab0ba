#include "window/Prompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "window/Latin1.h"

namespace banc::window {
namespace {

const char* Filter(Prompts::File file)
{
    switch (file) {
    case Prompts::File::Archive: return "Essais (*.tbc);;Tous les fichiers (*)";
    case Prompts::File::Csv: return "CSV (*.csv)";
    case Prompts::File::Png: return "Images PNG (*.png)";
    }
    return "";
}

const char* Suffix(Prompts::File file)
{
    switch (file) {
    case Prompts::File::Archive: return "tbc";
    case Prompts::File::Csv: return "csv";
    case Prompts::File::Png: return "png";
    }
    return "";
}

}  // namespace

Prompts::~Prompts() = default;

Prompts::Closing DialogPrompts::AskBeforeClosing(QWidget* parent)
{
    QMessageBox box(QMessageBox::Question, Q("Essai en cours"),
                    Q("Un essai est en cours. Enregistrer ce qui a \xE9t\xE9 acquis avant de fermer ?"),
                    QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton(Q("&Enregistrer"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(Q("&Fermer sans enregistrer"), QMessageBox::DestructiveRole);
    box.addButton(Q("&Annuler"), QMessageBox::RejectRole);
    box.exec();
    if (box.clickedButton() == save) return Closing::Save;
    if (box.clickedButton() == discard) return Closing::Discard;
    return Closing::Cancel;
}

std::string DialogPrompts::OpenPath(QWidget* parent)
{
    return QFileDialog::getOpenFileName(parent, Q("Ouvrir un essai"), {}, Q(Filter(File::Archive))).toLocal8Bit().toStdString();
}

std::string DialogPrompts::SavePath(QWidget* parent, File file)
{
    QFileDialog dialog(parent, Q("Enregistrer"), {}, Q(Filter(file)));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(Q(Suffix(file)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toLocal8Bit().toStdString();
}

void DialogPrompts::Warn(QWidget* parent, const std::string& text)
{
    QMessageBox::warning(parent, Q("tarvic-banc-fenetre"), Q(text));
}

}  // namespace banc::window
