#include "window/Prompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
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
    case Prompts::File::Pdf: return {"Documents PDF (*.pdf)", "pdf"};
    }
    return {"", ""};
}

const char* DroppingText(Prompts::Dropping why)
{
    switch (why) {
    case Prompts::Dropping::Closing: return "de fermer";
    case Prompts::Dropping::OtherBench: return "de changer de banc";
    case Prompts::Dropping::Opening: return "d'ouvrir un autre essai";
    case Prompts::Dropping::NewRun: return "d'en d\xE9marrer un autre";
    }
    return "";
}

// Save, go on without saving, or stay.
Prompts::Closing Ask(QWidget* parent, const char* title, const std::string& question, const char* discardCaption)
{
    QMessageBox box(QMessageBox::Question, Q(title), Q(question), QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton(Q("&Enregistrer"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(Q(discardCaption), QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == save) return Prompts::Closing::Save;
    if (box.clickedButton() == discard) return Prompts::Closing::Discard;
    return Prompts::Closing::Cancel;
}

}  // namespace

const char* FileSuffix(Prompts::File file) { return KindOf(file).suffix; }

Prompts::~Prompts() = default;

Prompts::Closing DialogPrompts::AskBeforeClosing(QWidget* parent)
{
    return Ask(parent, "Essai en cours",
               "Un essai est en cours. Enregistrer ce qui a \xE9t\xE9 acquis avant de fermer ?",
               "&Fermer sans enregistrer");
}

Prompts::Closing DialogPrompts::AskBeforeDropping(QWidget* parent, Dropping why)
{
    return Ask(parent, "Essai non enregistr\xE9",
               std::string("Le dernier essai n'est pas enregistr\xE9. L'enregistrer avant ") + DroppingText(why) + " ?",
               "&Ne pas enregistrer");
}

std::string DialogPrompts::OpenPath(QWidget* parent, const std::string& folder)
{
    return QFileDialog::getOpenFileName(parent, Q("Ouvrir un essai"), QString::fromLocal8Bit(folder.c_str()),
                                        Q(KindOf(File::Archive).filter))
        .toLocal8Bit()
        .toStdString();
}

std::string DialogPrompts::SavePath(QWidget* parent, File file, const std::string& suggested, File* chosen)
{
    QFileDialog dialog(parent, Q("Enregistrer"), QString::fromLocal8Bit(suggested.c_str()), Q(KindOf(file).filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(Q(FileSuffix(file)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const bool french = file == File::Csv && dialog.nameFilters().indexOf(dialog.selectedNameFilter()) == 1;
    if (chosen) *chosen = french ? File::CsvFrench : file;
    return dialog.selectedFiles().front().toLocal8Bit().toStdString();
}

void DialogPrompts::Warn(QWidget* parent, const std::string& text)
{
    QMessageBox::warning(parent, Q("tarvic-banc-fenetre"), Q(text));
}

bool DialogPrompts::AskComment(QWidget* parent, const std::string& title, std::string& comment)
{
    bool given = false;
    const QString text = QInputDialog::getMultiLineText(parent, Q(title), Q("Commentaire :"), Q(comment), &given);
    // A character outside Latin-1 has no place in the engine's texts: it would come back as '?'.
    if (given) comment = Latin1(text);
    return given;
}

bool DialogPrompts::ConfirmRemoval(QWidget* parent, const std::string& question)
{
    QMessageBox box(QMessageBox::Warning, Q("Supprimer"), Q(question), QMessageBox::Cancel, parent);
    QPushButton* remove = box.addButton(Q("&Supprimer"), QMessageBox::DestructiveRole);
    // What cannot be undone is not what Enter does.
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == remove;
}

bool DialogPrompts::ChoosePrinter(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QString::fromLatin1("Imprimer le rapport"));
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace banc::window
