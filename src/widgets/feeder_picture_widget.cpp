#include "widgets/feeder_picture_widget.h"

#include <QPainter>
#include <QPalette>
#include <utility>

namespace tesmir {

FeederPictureWidget::FeederPictureWidget(std::function<DeviceTexts()> deviceTexts, QWidget* parent)
    : QWidget(parent), deviceTexts_(std::move(deviceTexts)) {
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
}

void FeederPictureWidget::setCalculation(const SchemeState& scheme, const ResultTexts& texts,
                                         const NumberSeparators& seps) {
  scheme_ = scheme;
  texts_ = texts;
  seps_ = seps;
  computed_ = true;
  update();
}

FeederPictureModel FeederPictureWidget::model() const {
  return MakePictureModel(scheme_, texts_, deviceTexts_ ? deviceTexts_() : DeviceTexts{}, seps_);
}

QSize FeederPictureWidget::minimumSizeHint() const {
  return QSize(200, static_cast<int>(FeederPictureHeight(fontMetrics().lineSpacing())));
}

void FeederPictureWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  painted_.clear();
  if (!computed_) return;
  const qreal margin = fontMetrics().averageCharWidth();
  painted_ = PaintFeederPicture(p, QRectF(rect()).adjusted(margin, 0, -margin, 0), model());
}

}  // namespace tesmir
