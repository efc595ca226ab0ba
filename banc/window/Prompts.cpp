#include "window/Prompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "window/Latin1.h"

namespace banc::window {
namespace {

struct FileKind {
    const char* filter;
    const char* suffix;
};

FileKind KindOf(Prompts::File file)
{
    switch (file) {
    case Prompts::File::Archive: return {"Essais (*.tbc);;Tous les fichiers (*)", "tbc"};
    case Prompts::File::Csv:
    case Prompts::File::CsvFrench: return {"CSV (*.csv);;CSV pour tableur en fran\xE7" "ais (*.csv)", "csv"};
    case Prompts::File::Png: return {"Images PNG (*.png)", "png"};
    }
    return {"", ""};
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
    return QFileDialog::getOpenFileName(parent, Q("Ouvrir un essai"), {}, Q(KindOf(File::Archive).filter)).toLocal8Bit().toStdString();
}

std::string DialogPrompts::SavePath(QWidget* parent, File file, File* chosen)
{
    QFileDialog dialog(parent, Q("Enregistrer"), {}, Q(KindOf(file).filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(Q(KindOf(file).suffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const bool french = file == File::Csv && dialog.nameFilters().indexOf(dialog.selectedNameFilter()) == 1;
    if (chosen) *chosen = french ? File::CsvFrench : file;
    return dialog.selectedFiles().front().toLocal8Bit().toStdString();
}

void DialogPrompts::Warn(QWidget* parent, const std::string& text)
{
    QMessageBox::warning(parent, Q("tarvic-banc-fenetre"), Q(text));
}

}  // namespace banc::window
