#pragma once
// The tab "Схема" of the journal window: the tree's single-line diagram as
// the journal's paper draws it, its pages one under another, zoomable with
// Ctrl++ / Ctrl+- / Ctrl+0, Ctrl+wheel and the zoom list. The diagram is laid
// out once per change of the journal (and only while it is shown), never on
// painting.

#include <QWidget>
#include <vector>

#include "paper/journal_diagram.h"

class QComboBox;
class QScrollArea;
class QTimer;
class QToolButton;

namespace tesmir {

class LineJournal;

class JournalDiagramView : public QWidget {
  Q_OBJECT

 public:
  // The zoom steps, percent.
  static constexpr int kZoomSteps[] = {25, 50, 75, 100, 125, 150, 200, 300, 400};

  explicit JournalDiagramView(LineJournal& journal, QWidget* parent = nullptr);
  ~JournalDiagramView() override;

  int zoomPercent() const { return zoom_; }
  // Takes the nearest step.
  void setZoomPercent(int percent);
  void zoomIn();
  void zoomOut();

  const std::vector<DiagramPage>& pages() const { return pages_; }
  // The widget the pages are painted on, as large as they are at the zoom.
  QWidget* canvas() const;
  // How many times the diagram has been laid out.
  int layouts() const { return layouts_; }

  bool eventFilter(QObject* watched, QEvent* event) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void invalidate();
  void layOut();
  void showZoom();

  LineJournal& journal_;
  QScrollArea* scroll_ = nullptr;
  QComboBox* zoomList_ = nullptr;
  QToolButton* zoomOut_ = nullptr;
  QToolButton* zoomIn_ = nullptr;
  QTimer* relayout_ = nullptr;
  std::vector<DiagramPage> pages_;
  DiagramStyle style_;
  QSizeF pageSize_;
  int zoom_ = 100;
  bool dirty_ = true;
  int layouts_ = 0;
};

}  // namespace tesmir
