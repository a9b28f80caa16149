#pragma once
// The results window: the breakdown of the last successful calculation. It
// computes nothing; the main window writes its texts after each success and
// the protective device check writes the device tab.

#include <QDialog>
#include <array>
#include <functional>

#include "core/display_format.h"
#include "core/loop_calc.h"
#include "texts/result_texts.h"

class QLabel;
class QTabWidget;

namespace tesmir {

class FeederPictureWidget;

class ResultForm : public QDialog {
  Q_OBJECT

 public:
  // The numbers are written with the system locale's separators unless
  // `setSeparators` says otherwise.
  explicit ResultForm(QWidget* parent = nullptr);

  void setSeparators(const NumberSeparators& separators) { separators_ = separators; }
  const NumberSeparators& separators() const { return separators_; }

  // Writes the transformer tab, the line tab, the block below the tabs and
  // the result line, in that order. `powerText` and `windKindText` are the
  // main window's texts as typed; `resultLine` is its result line.
  void showCalculation(const SchemeState& scheme, const QString& powerText, const QString& windKindText,
                       const QString& resultLine);

  // The texts written by the last showCalculation (start texts are empty).
  const ResultTexts& shownTexts() const { return shown_; }
  // What the device tab shows now: the source's texts once one is given
  // (the feeder's device, which the tab then shows), else the tab's labels.
  DeviceTexts deviceTexts() const;
  void setDeviceSource(std::function<DeviceTexts()> source) { deviceSource_ = std::move(source); }
  // The page "Схема".
  FeederPictureWidget* pictureWidget() const { return picture_; }

  // The device tab's value labels, written by the protective device check.
  QLabel* typeDDLabel() const { return typeDD_; }
  QLabel* toknomLabel() const { return toknom_; }
  QLabel* kzLabel() const { return kz_; }
  QLabel* tokSRLabel() const { return tokSR_; }
  QLabel* timeSRLabel() const { return timeSR_; }
  QLabel* statusDDLabel() const { return statusDD_; }

 private:
  QWidget* buildTransTab();
  QWidget* buildLineTab();
  QWidget* buildDefenceTab();
  QWidget* buildLoopBlock();

  NumberSeparators separators_;
  QTabWidget* pages_ = nullptr;
  ResultTexts shown_;
  FeederPictureWidget* picture_ = nullptr;
  std::function<DeviceTexts()> deviceSource_;

  QLabel* st_ = nullptr;
  QLabel* windKind_ = nullptr;
  QLabel* rt_ = nullptr;
  QLabel* xt_ = nullptr;
  QLabel* zt_ = nullptr;
  std::array<QLabel*, kLineCount> rLine_{};
  std::array<QLabel*, kLineCount> xLine_{};
  std::array<QLabel*, kLineCount> zLine_{};
  QLabel* rLineSum_ = nullptr;
  QLabel* xLineSum_ = nullptr;
  QLabel* zLineSum_ = nullptr;
  QLabel* rother_ = nullptr;
  QLabel* rsum_ = nullptr;
  QLabel* xsum_ = nullptr;
  QLabel* zsum_ = nullptr;
  QLabel* iokzrez_ = nullptr;

  QLabel* typeDD_ = nullptr;
  QLabel* toknom_ = nullptr;
  QLabel* kz_ = nullptr;
  QLabel* tokSR_ = nullptr;
  QLabel* timeSR_ = nullptr;
  QLabel* statusDD_ = nullptr;
};

}  // namespace tesmir
