#pragma once
// The page "Схема" of the results window: the feeder picture of the last
// calculation, painted by the paper's painter.

#include <QWidget>
#include <functional>
#include <vector>

#include "core/loop_calc.h"
#include "paper/feeder_picture.h"
#include "texts/result_texts.h"

namespace tesmir {

class FeederPictureWidget : public QWidget {
  Q_OBJECT

 public:
  explicit FeederPictureWidget(std::function<DeviceTexts()> deviceTexts, QWidget* parent = nullptr);

  void setCalculation(const SchemeState& scheme, const ResultTexts& texts, const NumberSeparators& seps);
  bool hasCalculation() const { return computed_; }
  FeederPictureModel model() const;
  // The texts of the last paint, for tests.
  const std::vector<PaintedText>& paintedTexts() const { return painted_; }

  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::function<DeviceTexts()> deviceTexts_;
  SchemeState scheme_;
  ResultTexts texts_;
  NumberSeparators seps_;
  bool computed_ = false;
  std::vector<PaintedText> painted_;
};

}  // namespace tesmir
