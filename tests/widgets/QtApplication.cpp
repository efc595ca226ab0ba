#include <gtest/gtest.h>

#include <QApplication>

#include <memory>

namespace {

// The one application object of the widget tests: made before the first test
// and destroyed after the last, while Qt is still whole.
class QtApplication : public ::testing::Environment {
public:
    void SetUp() override { m_application = std::make_unique<QApplication>(m_argc, m_argv); }
    void TearDown() override { m_application.reset(); }

private:
    int m_argc = 1;
    char m_name[13] = "test_widgets";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_application;
};

[[maybe_unused]] ::testing::Environment* const application = ::testing::AddGlobalTestEnvironment(new QtApplication);

}  // namespace
