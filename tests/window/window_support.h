#pragma once
// Helpers of the window tests: a program application object on the off-screen
// platform for the whole run, driving modal boxes without blocking, and a
// fixture that resets the program-wide box settings.

#include <gtest/gtest.h>

#include <QWidget>

#include <functional>

namespace tb::test {

// Calls `action` with the modal window once it is on the screen (from the
// modal loop's own event processing). After five seconds without one it
// records a test failure instead.
void WhenModal(std::function<void(QWidget&)> action);

// Every window test starts with no main window, no hooks and plain dialogs.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

} // namespace tb::test
