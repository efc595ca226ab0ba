#include <gtest/gtest.h>

#include <cstdio>
#include <string>

// The load and unload traces are written before any test can install a sink,
// so they are checked on a child process that shows the "tarvic" category.
TEST(Library, AnnouncesItsLoadAndUnloadOnTheDebugChannel)
{
    const std::string command = "QT_LOGGING_RULES='tarvic.debug=true' QT_MESSAGE_PATTERN='%{message}' " +
                                std::string(TARVIC_LOAD_PROBE) + " 2>&1";
    FILE* child = ::popen(command.c_str(), "r");
    ASSERT_NE(child, nullptr);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, child)) output += buffer;
    EXPECT_EQ(::pclose(child), 0);
    EXPECT_EQ(output, "TARVIC.DLL Initializing!\nprobe\nTARVIC.DLL Terminating!\n");
}
