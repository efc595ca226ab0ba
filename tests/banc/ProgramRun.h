#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace banc::test {

// The console program (or `program`) run as a user would run it, in a
// process group of its own (as a shell's job), with its output kept.
class ProgramRun {
public:
    // `environment`: NAME=value entries added to the test's own.
    ProgramRun(const std::vector<std::string>& arguments, const std::string& folder,
               const std::vector<std::string>& environment = {}, const std::string& program = TARVIC_BANC_PROGRAM);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Reads standard error until it holds `text`; false when the program ended first or the time is up.
    bool WaitForError(const std::string& text, std::chrono::milliseconds timeout = std::chrono::seconds(30));
    // A Ctrl-C at the terminal: SIGINT to the whole process group.
    void Interrupt();
    // To the program alone, as kill does.
    void Send(int signal);
    // The reader of standard error goes, as a pipe's does with its terminal.
    void CloseErrors();
    // Waits for the end and returns the exit status (-1 when killed by a signal).
    int Finish();

    const std::string& Output() const { return m_output; }
    const std::string& Errors() const { return m_errors; }

private:
    bool Pump(int timeoutMs);

    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
    std::string m_output;
    std::string m_errors;
    int m_status = -1;
};

// Runs to the end; the exit status.
int RunProgram(const std::vector<std::string>& arguments, const std::string& folder, std::string* output,
               std::string* errors, const std::vector<std::string>& environment = {},
               const std::string& program = TARVIC_BANC_PROGRAM);

}  // namespace banc::test
