#pragma once
// The journal on paper: A4 landscape, the network's data at the top, the
// results table with its headings on every page and "Страница N из M",
// failing cells marked so they show in black and white, then the tree's
// single-line diagram. Vector drawing and text, as any PDF of the program.

#include <QDate>
#include <QString>

#include "core/result.h"
#include "journal/journal_calc.h"
#include "journal/journal_network.h"
#include "paper/journal_diagram.h"
#include "report/file_io.h"

class QPagedPaintDevice;

namespace tesmir {

// The mark before a failing cell's text.
inline const QString kFailingCellMark = QStringLiteral("✗ ");

// The diagram's style on the journal's paper, and the size (points) of one
// diagram page: the page less its margins and the footer. The window's
// "Схема" lays the diagram out with the same two, so it shows the pages the
// paper has.
DiagramStyle JournalDiagramStyle();
QSizeF JournalDiagramPageSize();

// Paints the journal on `device`; `pageTotal` > 0 numbers the pages "N из
// M". Returns the pages painted, 0 when painting could not start.
int PaintJournalPages(QPagedPaintDevice& device, const JournalNetwork& network, const JournalResult& result,
                      const QString& fileName, const QDate& date, int pageTotal);

// Paints the journal with its page count known (a first layout counts them).
bool PaintJournal(QPagedPaintDevice& device, const JournalNetwork& network, const JournalResult& result,
                  const QString& fileName, const QDate& date);

// Writes the journal's PDF at `path` through the program's save helper.
Result<FileSaved, FileError> WriteJournalPdf(const QString& path, const JournalNetwork& network,
                                             const JournalResult& result, const QString& fileName, const QDate& date);

}  // namespace tesmir
