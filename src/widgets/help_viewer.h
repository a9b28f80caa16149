#pragma once
// The in-program help: topics are HTML pages in the program's resources,
// qrc:/help/topic_<number>.html, shown in a browser window of their own.

#include <QDialog>

class QTextBrowser;

namespace tesmir {

class HelpViewer : public QDialog {
  Q_OBJECT

 public:
  explicit HelpViewer(QWidget* parent = nullptr);

  // Shows `topic`, or the contents (topic 1) when there is no such page. While
  // another window is modal the viewer is shown modal above it, so it stays
  // usable; otherwise it stays beside the program's windows.
  void showTopic(int topic);

  // The topic on screen.
  int currentTopic() const { return topic_; }

  static QString topicUrl(int topic);
  static bool hasTopic(int topic);

 private:
  QTextBrowser* browser_ = nullptr;
  int topic_ = 0;
};

}  // namespace tesmir
