#pragma once
// The help window: one program-wide, non-modal window that shows the game's
// own HTML help topics. A topic is the name of a page in the help folder
// (TFolders::HelpFolder / (topic + ".html")); links between the pages open
// the linked topic in the same window.

#include <QWidget>

#include <filesystem>
#include <string_view>

namespace tb {

// Opens the help window, or raises it when it is open, at the topic. A topic
// that is not installed, or that is not a plain file name (empty, or holding
// "/", "\" or ".."), shows the page "This help topic is not installed: <topic>".
// When a modal dialog is up (F1 in a dialog), the window opens above it and
// takes the input until it is closed.
void ShowHelpTopic(const std::filesystem::path& helpFolder, std::string_view topic);

// The help window; nullptr until the first ShowHelpTopic.
QWidget* HelpWindow();

// The page of a topic in the help folder; an empty path for a topic that is
// not a plain file name. The page need not exist.
std::filesystem::path HelpTopicFile(const std::filesystem::path& helpFolder,
                                    std::string_view topic);

} // namespace tb
