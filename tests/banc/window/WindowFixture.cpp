#include "WindowFixture.h"

#include <QMouseEvent>
#include <QPrinter>

#include <gtest/gtest.h>

#include <tarvic/platform/IniProfile.h>

#include "engine/outputs/Synoptic.h"
#include "window/SynopticView.h"
#include "window/WindowApplication.h"

namespace banc::test {

window::Prompts::Closing ScriptedPrompts::AskBeforeClosing(QWidget*)
{
    ++questions;
    if (closing.empty()) return Closing::Cancel;
    const Closing answer = closing.front();
    closing.pop_front();
    return answer;
}

window::Prompts::Closing ScriptedPrompts::AskBeforeDropping(QWidget*, Dropping why)
{
    droppingAsked.push_back(why);
    if (dropping.empty()) return Closing::Discard;
    const Closing answer = dropping.front();
    dropping.pop_front();
    return answer;
}

std::string ScriptedPrompts::OpenPath(QWidget*, const std::string& folder)
{
    offered.push_back(folder);
    return Take();
}

bool ScriptedPrompts::ChoosePrinter(QWidget*, QPrinter& printer)
{
    if (printed.empty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(printed.front()));
    printed.pop_front();
    return true;
}

std::string ScriptedPrompts::SavePath(QWidget*, File file, const std::string& suggested, File* chosen)
{
    offered.push_back(suggested);
    if (chosen) *chosen = file == File::Csv ? csv : file;
    return Take();
}

bool ScriptedPrompts::AskComment(QWidget*, const std::string& title, std::string& comment)
{
    commentOffered.push_back(title + "|" + comment);
    if (comments.empty()) return false;
    comment = comments.front();
    comments.pop_front();
    return true;
}

bool ScriptedPrompts::ConfirmRemoval(QWidget*, const std::string& question)
{
    removalAsked.push_back(question);
    if (removals.empty()) return false;
    const bool answer = removals.front();
    removals.pop_front();
    return answer;
}

std::string ScriptedPrompts::Take()
{
    if (paths.empty()) return {};
    std::string path = paths.front();
    paths.pop_front();
    return path;
}

namespace {

// The application goes when the tests are over, before the program's statics:
// Qt's own go first, and some of its objects would be left to a list gone already.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void TearDown() override { delete QCoreApplication::instance(); }
};
[[maybe_unused]] const auto* const kApplicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace

QApplication& Application()
{
    if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance())) return *application;
    static int argc = 1;
    static char name[] = "tarvic-banc-fenetre";
    static char* argv[] = {name, nullptr};
    auto* application = new QApplication(argc, argv);
    // As the program's own: Qt's texts in French too.
    window::SetUpApplication(*application);
    return *application;
}

WindowFixture::WindowFixture() { Application(); }

WindowFixture::~WindowFixture() { Close(); }

void WindowFixture::Prefer(const char* bench, const char* mode, double speed)
{
    tarvic::IniProfile profile(folder.File("tarvic-banc-fenetre.ini"));
    profile.WriteProfileString("FENETRE", "BANC", bench);
    profile.WriteProfileString(bench, "MODE", mode);
    profile.WriteProfileString("FENETRE", "CARTE", "simulee");
    profile.WriteProfileString("FENETRE", "VITESSE", std::to_string(speed));
}

void WindowFixture::PreferPort(const std::string& port)
{
    tarvic::IniProfile profile(folder.File("tarvic-banc-fenetre.ini"));
    profile.WriteProfileString("FENETRE", "CARTE", "port");
    profile.WriteProfileString("FENETRE", "PORT", port);
}

window::BenchWindow& WindowFixture::Open(LinkTiming timing)
{
    window::Workbench::Places places;
    places.profileFolder = folder.Path();
    // Never the user's own history.
    places.historyPath = folder.File("essais.sqlite");
    places.user = student;
    places.mqtt = mqtt;
    places.card.cardsim = EmbeddedCard::Locate("");
    places.card.timing = timing;
    places.card.watchInterval = std::chrono::milliseconds(20);
    places.card.retryInterval = std::chrono::milliseconds(50);
    m_window = std::make_unique<window::BenchWindow>(places, prompts);
    // Tall enough for the plot at its own size: the cursor's pixels are the drawing's.
    m_window->resize(1700, 1080);
    m_window->show();
    return *m_window;
}

void WindowFixture::Close()
{
    if (!m_window) return;
    m_window->close();
    m_window.reset();
}

void WindowFixture::ClickItem(int number)
{
    window::SynopticView& view = *m_window->Synoptic();
    const CElement* item = view.Items().Find(number);
    if (!item) return;
    const CRect rect = item->GetRect();
    const QPoint at = view.ToWidget(CPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), view.mapToGlobal(QPointF(at)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &press);
}

bool WindowFixture::RunToTheEnd()
{
    m_window->Do(window::Action::Start);
    if (!Bench().Running()) return false;
    return SpinUntil([&] { return !Bench().Running(); }, std::chrono::milliseconds(60000));
}

}  // namespace banc::test
