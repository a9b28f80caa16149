// The yardstick for Тесмир's start: a bare Qt Widgets main window of about the
// same kind (a menu bar, a status bar, some thirty lists, edits and labels,
// two buttons), linked to QtWidgets alone. bench_startup_pair starts it.
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "startup_probe.h"

int main(int argc, char** argv) {
  startup_probe::ProbeApplication application(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Окно"));
  QMenu* file = window.menuBar()->addMenu(QStringLiteral("Файл"));
  for (const char* item : {"Открыть...", "Сохранить", "Сохранить как...", "Печать...", "Выход"}) {
    file->addAction(QString::fromUtf8(item));
  }
  for (const char* item : {"Расчет", "Результаты", "Отчет", "Проверка", "Помощь", "О программе"}) {
    window.menuBar()->addAction(QString::fromUtf8(item));
  }

  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  auto* top = new QGroupBox(QStringLiteral("Трансформатор"));
  auto* topGrid = new QGridLayout(top);
  for (int c = 0; c < 3; ++c) {
    topGrid->addWidget(new QLabel(QStringLiteral("Поле %1").arg(c + 1)), 0, c);
    auto* box = new QComboBox;
    box->addItems({QStringLiteral("Y/Yн"), QStringLiteral("Д/Yн"), QStringLiteral("Y/Zн")});
    topGrid->addWidget(box, 1, c);
  }
  layout->addWidget(top);
  auto* lines = new QGroupBox(QStringLiteral("Линии"));
  auto* grid = new QGridLayout(lines);
  for (int r = 0; r < 6; ++r) {
    grid->addWidget(new QLabel(QStringLiteral("Линия %1").arg(r + 1)), r, 0);
    for (int c = 0; c < 4; ++c) {
      auto* box = new QComboBox;
      box->addItems({QStringLiteral("Кабель"), QStringLiteral("Провод"), QStringLiteral("Шинопровод")});
      grid->addWidget(box, r, 1 + c);
    }
    grid->addWidget(new QLineEdit(QStringLiteral("100")), r, 5);
  }
  layout->addWidget(lines);
  auto* result = new QLabel(QStringLiteral("Ток однофазного короткого замыкания"));
  layout->addWidget(result);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(new QPushButton(QStringLiteral("Расчет")));
  buttons->addWidget(new QPushButton(QStringLiteral("Выход")));
  layout->addLayout(buttons);
  window.setCentralWidget(central);
  window.statusBar()->showMessage(QStringLiteral("Готово"));

  application.watch(&window);
  window.show();
  return QApplication::exec();
}
