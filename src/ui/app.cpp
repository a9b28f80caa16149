#include "ui/app.h"

#include <QScreen>
#include <QStatusBar>

#include "ui/context_help.h"
#include "ui/help_viewer.h"
#include "ui/hints.h"

namespace tesmir {

App::App() : mainForm_(scheme_, messages_, resultForm_) {
  mainForm_.setAboutWindow(&aboutForm_);
  mainForm_.setHelpOpener([this](int topic) { openHelp(topic); });
  // The results window has no status bar of its own: its hints go to the
  // program's one, as every other hint does.
  AttachHintBar(&resultForm_, mainForm_.statusBar());
  for (QWidget* window : {static_cast<QWidget*>(&mainForm_), static_cast<QWidget*>(&resultForm_)}) {
    InstallContextHelp(window, [this](int topic) { openHelp(topic); });
  }
}

App::~App() = default;

void App::showMainWindow() {
  if (QScreen* screen = mainForm_.screen()) {
    const QRect area = screen->availableGeometry();
    mainForm_.move(area.center() - QPoint(mainForm_.width() / 2, mainForm_.height() / 2));
  }
  mainForm_.show();
}

HelpViewer& App::helpViewer() {
  if (!help_) {
    help_ = std::make_unique<HelpViewer>();
  }
  return *help_;
}

void App::openHelp(int topic) { helpViewer().showTopic(topic); }

}  // namespace tesmir
