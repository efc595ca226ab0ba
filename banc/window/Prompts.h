#pragma once

#include <string>

class QPrinter;
class QWidget;

namespace banc::window {

// The questions the window puts to the user, behind an interface so that the
// tests answer them.
class Prompts {
public:
    enum class Closing { Save, Discard, Cancel };
    enum class File { Archive, Csv, CsvFrench, Png, Pdf };
    // What would drop the last run.
    enum class Dropping { Closing, OtherBench, Opening, NewRun };

    virtual ~Prompts();
    // A run is on as the window closes.
    virtual Closing AskBeforeClosing(QWidget* parent) = 0;
    // The last run, over, is in no archive and `why` would drop it.
    virtual Closing AskBeforeDropping(QWidget* parent, Dropping why) = 0;
    // The file to open, from `folder` on, or to write, `suggested` offered; "" when the user gave up.
    // For a CSV, `chosen` takes the kind picked among the dialog's file types.
    virtual std::string OpenPath(QWidget* parent, const std::string& folder) = 0;
    virtual std::string SavePath(QWidget* parent, File file, const std::string& suggested, File* chosen = nullptr) = 0;
    // A failure the user must see (Latin-1).
    virtual void Warn(QWidget* parent, const std::string& text) = 0;
    // The comment of a kept run, `comment` offered and taken back (Latin-1); false when the user gave up.
    virtual bool AskComment(QWidget* parent, const std::string& title, std::string& comment) = 0;
    // Whether to remove what `question` says (Latin-1) for good.
    virtual bool ConfirmRemoval(QWidget* parent, const std::string& question) = 0;
    // The printer and its settings, through the system's print dialog; false when the user gave up.
    virtual bool ChoosePrinter(QWidget* parent, QPrinter& printer) = 0;
};

// The usual suffix of a file of that kind, without its point: "tbc".
const char* FileSuffix(Prompts::File file);

// With the usual message boxes and file dialogs.
class DialogPrompts : public Prompts {
public:
    Closing AskBeforeClosing(QWidget* parent) override;
    Closing AskBeforeDropping(QWidget* parent, Dropping why) override;
    std::string OpenPath(QWidget* parent, const std::string& folder) override;
    std::string SavePath(QWidget* parent, File file, const std::string& suggested, File* chosen = nullptr) override;
    void Warn(QWidget* parent, const std::string& text) override;
    bool AskComment(QWidget* parent, const std::string& title, std::string& comment) override;
    bool ConfirmRemoval(QWidget* parent, const std::string& question) override;
    bool ChoosePrinter(QWidget* parent, QPrinter& printer) override;
};

}  // namespace banc::window
