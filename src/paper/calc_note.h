#pragma once
// The calculation note: an A4 document in Russian with the inputs of the last
// calculation, the single-line picture of the feeder, the method with every
// formula and its numbers, the results as the results window shows them and
// the protective device with its verdict. Written to PDF or to a printer.

#include <QDate>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

#include "core/loop_calc.h"
#include "report/file_io.h"
#include "texts/result_texts.h"

class QPagedPaintDevice;

namespace tesmir {

// The note's document title (PDF title, print job name).
inline const QString kCalcNoteTitle = QStringLiteral("Расчет тока однофазного короткого замыкания");

// A block of already formatted figures that follows the device section.
struct NoteSection {
  QString title;
  std::vector<std::pair<QString, QString>> rows;  // label, value
};

struct CalcNote {
  QDate date;
  QString pointName;  // may be empty
  SchemeState scheme;
  ResultTexts texts;
  DeviceTexts device;
  NumberSeparators seps;
  std::vector<NoteSection> extraSections;
};

// One block of the note, in the order of the page: what is painted, as data,
// so the note's content can be compared without reading a PDF back.
struct NoteBlock {
  enum class Kind { Title, Heading, Subheading, Paragraph, BoldParagraph, Pairs, Table, Picture };
  Kind kind = Kind::Paragraph;
  QString text;                                    // title, heading, paragraph
  std::vector<std::pair<QString, QString>> pairs;  // Pairs: label, value
  std::vector<qreal> widths;                       // Table: fractions of the text width
  std::vector<QStringList> rows;                   // Table: the rows, heading rows first
  int headerRows = 0;                              // Table
  bool operator==(const NoteBlock&) const = default;
};

// The note's blocks, the picture as one block whose model MakePictureModel
// makes from the same note.
std::vector<NoteBlock> MakeNoteBlocks(const CalcNote& note);

// Appends a section of label/value pairs after the device and its verdict.
void AddNoteSection(CalcNote& note, const QString& title, std::vector<std::pair<QString, QString>> rows);

// Lays the note out on `device` (A4 portrait is set here) page by page.
bool PaintCalcNote(QPagedPaintDevice& device, const CalcNote& note);

// Writes the note as a PDF file; returns the empty text or the error text.
Result<FileSaved, FileError> WriteCalcNotePdf(const QString& path, const CalcNote& note);

// The point-name rules of the report, except that an empty name is allowed:
// returns the empty text or the message to show.
QString NotePointNameProblem(const QString& name);

}  // namespace tesmir
