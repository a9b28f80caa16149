#include "widgets/help_viewer.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "tesmir_version.h"
#include "widgets/button_keys.h"
#include "widgets/context_help.h"

// The help pages live in a static library; their resources must be registered
// by name, as nothing else pulls them into the program.
static void InitHelpResources() { Q_INIT_RESOURCE(help); }

namespace tesmir {
namespace {

QString ResourcePath(int topic) { return QStringLiteral(":/help/topic_%1.html").arg(topic); }

}  // namespace

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent) {
  InitHelpResources();
  setObjectName(QStringLiteral("HelpViewer"));
  setWindowTitle(QString::fromUtf8(kProgramTitle) + QStringLiteral(" — справка"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  // An open help window never keeps the program running.
  setAttribute(Qt::WA_QuitOnClose, false);

  auto* layout = new QVBoxLayout(this);
  auto* nav = new QHBoxLayout;
  auto* back = new QPushButton(QStringLiteral("Назад"), this);
  back->setObjectName(QStringLiteral("HelpBackButton"));
  auto* contents = new QPushButton(QStringLiteral("Содержание"), this);
  contents->setObjectName(QStringLiteral("HelpContentsButton"));
  auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
  close->setObjectName(QStringLiteral("HelpCloseButton"));
  for (QPushButton* button : {back, contents, close}) {
    button->setAutoDefault(false);
  }
  nav->addWidget(back);
  nav->addWidget(contents);
  nav->addStretch(1);
  nav->addWidget(close);
  layout->addLayout(nav);

  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setOpenLinks(true);
  browser_->setOpenExternalLinks(false);
  layout->addWidget(browser_);

  back->setEnabled(false);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(contents, &QPushButton::clicked, this,
          [this] { browser_->setSource(QUrl(topicUrl(TopicNumber(HelpTopic::kContents)))); });
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
    const QString name = url.fileName();
    const QString prefix = QStringLiteral("topic_");
    if (name.startsWith(prefix)) {
      topic_ = name.mid(prefix.size()).section(QLatin1Char('.'), 0, 0).toInt();
    }
  });

  resize(640, 560);
  EnterClicksFocusedButtons(this);
}

QString HelpViewer::topicUrl(int topic) { return QStringLiteral("qrc:/help/topic_%1.html").arg(topic); }

bool HelpViewer::hasTopic(int topic) {
  InitHelpResources();
  return QFile::exists(ResourcePath(topic));
}

void HelpViewer::showTopic(int topic) {
  if (!hasTopic(topic)) {
    topic = TopicNumber(HelpTopic::kContents);
  }
  browser_->setSource(QUrl(topicUrl(topic)));
  topic_ = topic;

  const Qt::WindowModality modality =
      QApplication::activeModalWidget() != nullptr && QApplication::activeModalWidget() != this ? Qt::ApplicationModal
                                                                                                : Qt::NonModal;
  if (isVisible() && windowModality() != modality) {
    hide();
  }
  setWindowModality(modality);
  show();
  raise();
  activateWindow();
}

}  // namespace tesmir
