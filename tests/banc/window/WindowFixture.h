#pragma once

#include <QApplication>

#include <chrono>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "BancTestSupport.h"
#include "net/MqttSettings.h"
#include "support/TraceCapture.h"
#include "window/BenchWindow.h"
#include "window/Prompts.h"

namespace banc::test {

// The user's answers, given in advance; what the window said is kept.
class ScriptedPrompts : public window::Prompts {
public:
    Closing AskBeforeClosing(QWidget*) override;
    // Unscripted, the last run is let go, as it was before the window asked.
    Closing AskBeforeDropping(QWidget*, Dropping why) override;
    std::string OpenPath(QWidget*, const std::string& folder) override;
    std::string SavePath(QWidget*, File file, const std::string& suggested, File* chosen = nullptr) override;
    void Warn(QWidget*, const std::string& text) override { warnings.push_back(text); }
    // Unscripted, the user gives up.
    bool AskComment(QWidget*, const std::string& title, std::string& comment) override;
    bool ConfirmRemoval(QWidget*, const std::string& question) override;
    // Unscripted, the user gives up; else the printer writes the PDF file given.
    bool ChoosePrinter(QWidget*, QPrinter& printer) override;

    std::deque<Closing> closing;
    std::deque<Closing> dropping;
    std::vector<Dropping> droppingAsked;
    std::deque<std::string> paths;
    File csv = File::Csv;              // the CSV's file type chosen
    std::vector<std::string> offered;  // the folder a file dialog opened in, or the file it suggested
    std::vector<std::string> warnings;
    std::deque<std::string> comments;         // typed in the comment's dialog
    std::vector<std::string> commentOffered;  // what the dialog showed, as "title|comment"
    std::deque<bool> removals;                // the answers to the removal's confirmation
    std::vector<std::string> removalAsked;
    std::deque<std::string> printed;  // the PDF file each print goes to
    int questions = 0;

private:
    std::string Take();
};

// The application the window needs: the program's, else one made for the tests, deleted once they are over.
QApplication& Application();

// Runs the event loop until the condition holds or the time is out.
template <class Condition>
bool SpinUntil(Condition condition, std::chrono::milliseconds timeout = std::chrono::milliseconds(15000))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return condition();
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// A window on a profile folder of its own, with the card of the window's
// profile: the simulated one by default, fast, polled often.
class WindowFixture {
public:
    WindowFixture();
    ~WindowFixture();

    // The window's profile says what it opens on.
    void Prefer(const char* bench, const char* mode, double speed);
    void PreferPort(const std::string& port);
    window::BenchWindow& Open(LinkTiming timing = {std::chrono::milliseconds(2000), 3});
    void Close();
    window::BenchWindow& Window() { return *m_window; }
    window::Workbench& Bench() { return m_window->GetWorkbench(); }
    // Clicks the synoptic's item at the centre of its rectangle.
    void ClickItem(int number);
    // Starts a run and waits for its end.
    bool RunToTheEnd();

    TemporaryFolder folder;
    std::string student;     // the name runs are kept under, "" the login
    net::MqttSettings mqtt;  // the room's broker, off by default
    ScriptedPrompts prompts;
    tarvic::test::TraceCapture traces;  // the generator's tables are traced

private:
    std::unique_ptr<window::BenchWindow> m_window;
};

}  // namespace banc::test
