#include "widgets/journal_diagram_view.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "document/journal_document.h"
#include "paper/journal_paper.h"

namespace tesmir {
namespace {

// The room around and between the pages, points.
constexpr qreal kPageGap = 12;

// The pages one under another, painted where they are exposed.
class DiagramCanvas final : public QWidget {
 public:
  DiagramCanvas(const std::vector<DiagramPage>& pages, const QFont& font, QWidget* parent)
      : QWidget(parent), pages_(pages), font_(font) {
    setObjectName(QStringLiteral("JournalDiagramCanvas"));
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

  // Takes the pages anew (after a layout) at `zoom` (1 = the paper's size).
  void showPages(qreal zoom) {
    zoom_ = zoom;
    tops_.clear();
    qreal y = kPageGap;
    width_ = 0;
    for (const DiagramPage& page : pages_) {
      tops_.push_back(y);
      y += page.size.height() + kPageGap;
      width_ = std::max(width_, page.size.width());
    }
    height_ = y;
    width_ += 2 * kPageGap;
    const qreal f = scale();
    resize(static_cast<int>(std::ceil(width_ * f)), static_cast<int>(std::ceil(height_ * f)));
    update();
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Dark));
    const qreal f = scale();
    painter.scale(f, f);
    const QRectF exposed(event->rect().x() / f, event->rect().y() / f, event->rect().width() / f,
                         event->rect().height() / f);
    for (std::size_t i = 0; i < pages_.size(); ++i) {
      const DiagramPage& page = pages_[i];
      if (tops_[i] + page.size.height() < exposed.top()) continue;
      if (tops_[i] > exposed.bottom()) break;
      const QRectF sheet(kPageGap, tops_[i], page.size.width(), page.size.height());
      painter.fillRect(sheet, Qt::white);
      painter.setPen(QPen(Qt::gray, 0));
      painter.drawRect(sheet);
      painter.save();
      painter.translate(sheet.topLeft());
      PaintDiagramPage(painter, page, font_);
      painter.restore();
    }
  }

 private:
  // Pixels per point.
  qreal scale() const { return zoom_ * logicalDpiX() / 72.0; }

  const std::vector<DiagramPage>& pages_;
  QFont font_;
  std::vector<qreal> tops_;
  qreal zoom_ = 1;
  qreal width_ = 0;
  qreal height_ = 0;
};

}  // namespace

JournalDiagramView::JournalDiagramView(LineJournal& journal, QWidget* parent) : QWidget(parent), journal_(journal) {
  setObjectName(QStringLiteral("JournalDiagramView"));
  style_ = JournalDiagramStyle();
  pageSize_ = JournalDiagramPageSize();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* bar = new QHBoxLayout;
  zoomOut_ = new QToolButton(this);
  zoomOut_->setObjectName(QStringLiteral("JournalZoomOutButton"));
  zoomOut_->setText(QStringLiteral("−"));
  zoomOut_->setStatusTip(QStringLiteral("Уменьшить схему (Ctrl+-)"));
  zoomOut_->setFocusPolicy(Qt::StrongFocus);
  zoomList_ = new QComboBox(this);
  zoomList_->setObjectName(QStringLiteral("JournalZoomComboBox"));
  for (const int step : kZoomSteps) zoomList_->addItem(QStringLiteral("%1 %").arg(step));
  zoomList_->setStatusTip(QStringLiteral("Масштаб схемы; Ctrl+0 — 100 %, Ctrl и колесо мыши — крупнее или мельче"));
  zoomIn_ = new QToolButton(this);
  zoomIn_->setObjectName(QStringLiteral("JournalZoomInButton"));
  zoomIn_->setText(QStringLiteral("+"));
  zoomIn_->setStatusTip(QStringLiteral("Увеличить схему (Ctrl++)"));
  zoomIn_->setFocusPolicy(Qt::StrongFocus);
  auto* caption = new QLabel(QStringLiteral("&Масштаб:"), this);
  caption->setBuddy(zoomList_);
  bar->addWidget(caption);
  bar->addWidget(zoomOut_);
  bar->addWidget(zoomList_);
  bar->addWidget(zoomIn_);
  bar->addStretch(1);
  layout->addLayout(bar);

  scroll_ = new QScrollArea(this);
  scroll_->setObjectName(QStringLiteral("JournalDiagramScroll"));
  scroll_->setWidgetResizable(false);
  scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  scroll_->setBackgroundRole(QPalette::Dark);
  // Reached by Tab: the arrows scroll and the zoom keys work there too.
  scroll_->setFocusPolicy(Qt::StrongFocus);
  scroll_->setStatusTip(
      QStringLiteral("Однолинейная схема сети, как на листах PDF; линии с нарушениями — жирным "
                     "шрифтом и толстым пунктиром"));
  scroll_->setWidget(new DiagramCanvas(pages_, style_.font, scroll_));
  scroll_->viewport()->installEventFilter(this);
  layout->addWidget(scroll_, 1);

  const auto key = [this](const QList<QKeySequence>& keys, void (JournalDiagramView::*slot)()) {
    auto* a = new QAction(this);
    a->setShortcuts(keys);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(a, &QAction::triggered, this, slot);
    addAction(a);
  };
  key({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}, &JournalDiagramView::zoomIn);
  key({QKeySequence::ZoomOut}, &JournalDiagramView::zoomOut);
  auto* reset = new QAction(this);
  reset->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  reset->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(reset, &QAction::triggered, this, [this] { setZoomPercent(100); });
  addAction(reset);
  connect(zoomOut_, &QToolButton::clicked, this, &JournalDiagramView::zoomOut);
  connect(zoomIn_, &QToolButton::clicked, this, &JournalDiagramView::zoomIn);
  connect(zoomList_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0) setZoomPercent(kZoomSteps[index]);
  });

  // Several changes in a row are laid out once, after them.
  relayout_ = new QTimer(this);
  relayout_->setSingleShot(true);
  relayout_->setInterval(0);
  connect(relayout_, &QTimer::timeout, this, &JournalDiagramView::layOut);
  connect(&journal_, &LineJournal::linesReset, this, &JournalDiagramView::invalidate);
  connect(&journal_, &LineJournal::resultsChanged, this, &JournalDiagramView::invalidate);
  showZoom();
}

JournalDiagramView::~JournalDiagramView() { journal_.disconnect(this); }

QWidget* JournalDiagramView::canvas() const { return scroll_->widget(); }

void JournalDiagramView::invalidate() {
  dirty_ = true;
  if (isVisible()) relayout_->start();
}

void JournalDiagramView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (dirty_) layOut();
}

void JournalDiagramView::layOut() {
  relayout_->stop();
  dirty_ = false;
  pages_ = LayoutJournalDiagram(journal_.network(), journal_.result(), pageSize_, style_);
  ++layouts_;
  static_cast<DiagramCanvas*>(canvas())->showPages(zoom_ / 100.0);
}

void JournalDiagramView::setZoomPercent(int percent) {
  const int* nearest = std::min_element(std::begin(kZoomSteps), std::end(kZoomSteps), [percent](int a, int b) {
    return std::abs(a - percent) < std::abs(b - percent);
  });
  if (*nearest == zoom_) return;
  // The point in the middle of the view stays in the middle.
  const QSize view = scroll_->viewport()->size();
  const qreal ratio = static_cast<qreal>(*nearest) / zoom_;
  const QPointF middle(scroll_->horizontalScrollBar()->value() + view.width() / 2.0,
                       scroll_->verticalScrollBar()->value() + view.height() / 2.0);
  zoom_ = *nearest;
  static_cast<DiagramCanvas*>(canvas())->showPages(zoom_ / 100.0);
  scroll_->horizontalScrollBar()->setValue(static_cast<int>(middle.x() * ratio - view.width() / 2.0));
  scroll_->verticalScrollBar()->setValue(static_cast<int>(middle.y() * ratio - view.height() / 2.0));
  showZoom();
}

void JournalDiagramView::zoomIn() {
  const int* next = std::upper_bound(std::begin(kZoomSteps), std::end(kZoomSteps), zoom_);
  if (next != std::end(kZoomSteps)) setZoomPercent(*next);
}

void JournalDiagramView::zoomOut() {
  const int* before = std::lower_bound(std::begin(kZoomSteps), std::end(kZoomSteps), zoom_);
  if (before != std::begin(kZoomSteps)) setZoomPercent(*std::prev(before));
}

void JournalDiagramView::showZoom() {
  const int* at = std::find(std::begin(kZoomSteps), std::end(kZoomSteps), zoom_);
  {
    const QSignalBlocker quiet(zoomList_);
    zoomList_->setCurrentIndex(static_cast<int>(std::distance(std::begin(kZoomSteps), at)));
  }
  zoomOut_->setEnabled(zoom_ > kZoomSteps[0]);
  zoomIn_->setEnabled(zoom_ < kZoomSteps[std::size(kZoomSteps) - 1]);
}

bool JournalDiagramView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == scroll_->viewport() && event->type() == QEvent::Wheel) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (wheel->modifiers() & Qt::ControlModifier) {
      const int delta = wheel->angleDelta().y();
      if (delta > 0) zoomIn();
      if (delta < 0) zoomOut();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tesmir
