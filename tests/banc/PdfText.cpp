#include "PdfText.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <regex>

namespace banc::test {

std::string ToolOutput(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(-1);
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString();
    return process.readAllStandardOutput().toStdString();
}

std::string Words(std::string text)
{
    text = std::regex_replace(text, std::regex("[ \t\f]+"), " ");
    return std::regex_replace(text, std::regex("( ?\n ?)+"), "\n");
}

std::string PdfText(const std::string& path, bool layout)
{
    QStringList arguments{QString::fromStdString(path), "-"};
    if (layout) arguments.prepend("-layout");
    return Words(ToolOutput("pdftotext", arguments));
}

}  // namespace banc::test
