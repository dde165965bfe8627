// The choices of a job and of its send, in one value that the dialog and every command
// read, merge and write: each choice is std::nullopt where it was not given (an option
// left out, an entry the settings file does not hold), so that a command's "--no-..."
// option is a value like any other, and the choices in use are the given ones over the
// remembered ones over the defaults.
//
// Every remembered entry of "Plotgate.ini" is a row of CHOICE_ROWS, in the order the
// entries are read and written:
//
//   [Device] Type, Port          the model and the Port list entry, always written
//   [Offset] ChkBladeOffset, ChkOverCut, BladeOffset, OverCut      always written
//   [CommandLine] Port           a port the Port list cannot show; removed otherwise
//   [CutOrder] InsideFirst, ShortestTravel, ChkWeedBorder, WeedBorder, Passes
//   [Media] ChkWidth, Width, Panels, PanelOverlap, PanelGap
//   [Tool] Force, Speed, Preset  the knife's force and speed (0 off) and the material preset
//
// A row of a later section is written only once its value differs from what the file
// holds (or, without the entry, from its default), so a file of a user who never changes
// such a choice never gains the section; older versions ignore the sections they do not
// read.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pipeline/CutOrder.h"
#include "pipeline/JobFileWriter.h"
#include "pipeline/Panels.h"
#include "settings/IniFile.h"

struct Choices {
  // The job's own, never remembered.
  std::optional<bool> mirror;
  std::optional<int> rotation;  // degrees clockwise: 0, 90, 180 or 270
  // The cutter.
  std::optional<int> model;         // index into the model table
  std::optional<std::string> port;  // "COM3", a device path, or "VORN_USB"; none for the automatic choice
  // The option controls: each check box and the text of its edit (millimetres, as typed),
  // which an unticked box keeps.
  std::optional<bool> bladeOffset;
  std::optional<std::string> bladeOffsetText;
  std::optional<bool> overCut;
  std::optional<std::string> overCutText;
  // The cut order (CutOrder.h).
  std::optional<bool> insideFirst;
  std::optional<bool> shortestTravel;
  std::optional<bool> weedBorder;
  std::optional<std::string> weedBorderText;
  std::optional<int> passes;
  // The media's width across the roll and the panels of a job wider than it (Panels.h).
  std::optional<bool> mediaWidth;
  std::optional<std::string> mediaWidthText;
  std::optional<bool> panels;
  std::optional<std::string> panelOverlapText;
  std::optional<std::string> panelGapText;
  // The knife force (grams) and speed (cm/s) the job's header sets, 0 for off; the material
  // preset the choices came from ("" for none).
  std::optional<int> force;
  std::optional<int> speed;
  std::optional<std::string> preset;
};

// Each choice of `given`, else of `fallback`.
Choices Merged(const Choices& given, const Choices& fallback);

// The choices of a first run: every one set (the model the first, the port the automatic
// choice, every box unticked, the edits' first texts, one pass) but the port.
Choices DefaultChoices();

// The pipeline's options for complete choices (as Merged with DefaultChoices gives them).
// The weed border's text is read with strtod and brought into its range, the passes into
// 1 to 5.
OffsetOptions OffsetsOf(const Choices& choices);
CutOrder CutOrderFrom(const Choices& choices);

// Makes `used` the choices of a test cut: those in use without the job's own (mirror,
// rotation and the cut order but the passes).
void LeaveOutJobChoices(Choices& used);
// The media's width in plotter units, 0 when its box is unticked; and the panels, off unless
// both the media width and the panels are ticked. Each text is read with strtod and
// brought into its range (ChoiceLimits.h).
int32_t MediaWidthFrom(const Choices& choices);
PanelLayout PanelsFrom(const Choices& choices);

enum ChoiceKind {
  CHOICE_NUMBER,      // a whole number; out of range it is brought into the range or replaced (see clamped)
  CHOICE_TICK,        // a check box: 0 unticked, any other number ticked
  CHOICE_TEXT,        // an edit's text as typed
  CHOICE_PORT_INDEX,  // the Port list entry of the port (PortList.h); entry 0 stands for the automatic choice
  CHOICE_PORT_TEXT,   // the port when the Port list cannot show it, "" otherwise
};

// One remembered entry. A row uses the field of its kind: number for CHOICE_NUMBER, tick for
// CHOICE_TICK, text for CHOICE_TEXT, the port for both port kinds.
struct ChoiceRow {
  const char* section;
  const char* key;
  ChoiceKind kind;
  const char* defaultText;
  bool alwaysWritten;  // written on every save; otherwise only when it changes
  std::optional<int> Choices::*number;
  std::optional<bool> Choices::*tick;
  std::optional<std::string> Choices::*text;
  int min, max;  // a number's range
  bool clamped;  // a number outside the range is brought into it; otherwise it becomes the default
};

const int CHOICE_ROW_COUNT = 20;

// What the file holds for each row, in table order: the entry's text, or std::nullopt when
// it has none.
typedef std::vector<std::optional<std::string>> ChoiceTexts;
extern const ChoiceRow CHOICE_ROWS[CHOICE_ROW_COUNT];

// The row of `key` in `section`; null for none.
const ChoiceRow* FindChoiceRow(const char* section, const char* key);

// The number a CHOICE_NUMBER or CHOICE_PORT_INDEX row's text stands for, in the row's range.
int ChoiceNumber(const ChoiceRow& row, const std::string& text);

// The text the file holds for `row` among `texts` (as ReadChoiceTexts gives them), or the
// row's default.
std::string ChoiceText(const ChoiceTexts& texts, const ChoiceRow& row);

// Reads the texts of every row. Raises CFileException; the first lookup creates an absent
// file empty.
ChoiceTexts ReadChoiceTexts(CIniFile& ini);

// The choices the texts stand for, corrected as the dialog reads them (a model or Port entry
// outside its list becomes the first, the passes are brought into 1 to 5, a check value
// other than 0 ticks); a choice whose entry is absent is std::nullopt, and so is the port
// for the Port list's entry 0 ("VORN_USB", the automatic choice) unless the command line's
// own entry names one.
Choices ChoicesFromTexts(const ChoiceTexts& texts);

// ReadChoiceTexts and ChoicesFromTexts. Raises CFileException.
Choices ReadChoices(CIniFile& ini);

// Writes complete choices (as Merged with DefaultChoices gives them) as CHOICE_ROWS says; a
// choice of a later section that is not given leaves its entry as the file holds it:
// the numbers as decimal text, the ticks as 0 or 1, the texts as they are; the port as its
// Port list entry, or, when the list cannot show it, as the command line's entry beside the
// entry the file holds. A number, tick or text the choices do not give is left as the file
// holds it, so that a front end without a control for it keeps what another saved. Raises
// CFileException.
void WriteChoices(CIniFile& ini, const Choices& choices);
