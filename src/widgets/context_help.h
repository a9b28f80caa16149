#pragma once
// Context help: windows and controls carry a help topic number in the
// "helpContext" property; F1 opens the topic of the focused control, or the
// window's own when the control has none.

#include <functional>

class QWidget;

namespace tesmir {

inline constexpr char kHelpContextProperty[] = "helpContext";

// The help topics, each a page help/topic_<number>.html.
enum class HelpTopic : int {
  kContents = 1,  // also the main window's own topic
  kTransformer = 31,
  kLines = 32,
  kArc = 33,
  kDevice = 34,
  kReport = 35,
  kResults = 36,
  kProtectionCheck = 37,
  kLineJournal = 38,
};

inline constexpr int TopicNumber(HelpTopic topic) { return static_cast<int>(topic); }

void SetHelpContext(QWidget* widget, HelpTopic topic);

// The topic for F1: the first widget from `focus` up to `window` that carries
// a help context; 0 when none does.
int HelpTopicFor(const QWidget* focus, const QWidget* window);

// Makes F1 in `window` call `open` with the topic for the focused control.
void InstallContextHelp(QWidget* window, std::function<void(int)> open);

}  // namespace tesmir
