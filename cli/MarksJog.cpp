#include "cli/MarksJog.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "cli/CliCommon.h"
#include "cli/RememberedChoices.h"
#include "cli/Terminal.h"
#include "cutter/MarkJog.h"
#include "cutter/PortDiscovery.h"
#include "cutter/PortSettings.h"
#include "pipeline/JobPlacement.h"
#include "settings/FileException.h"
#include "settings/LaserOffset.h"

namespace {

const int CTRL_C = 3;

// The laser offset the settings file `iniPath` keeps for `model` into `offset`, left as it
// is when the file does not exist. 0; 1 after a message when the file cannot be read.
int ReadLaserOffset(const std::string& iniPath, int model, IntPoint& offset) {
  std::error_code absent;
  if (!std::filesystem::exists(std::filesystem::u8path(iniPath), absent)) return 0;
  try {
    CIniFile ini;
    ini.IniPath = iniPath;
    offset = LaserOffsetOf(ini, model);
  } catch (const CFileException& e) {
    return Fail(std::string("plotgate: cannot read the settings: ") + e.what());
  }
  return 0;
}

}  // namespace

std::function<int()> JogKeys(const std::string& keysPath) {
  if (keysPath.empty()) {
    auto keyboard = std::make_shared<CRawKeyboard>();
    return [keyboard] { return keyboard->Next(); };
  }
  std::ifstream file(keysPath, std::ios::binary);
  if (!file) {
    Fail("plotgate: cannot read " + keysPath);
    return nullptr;
  }
  auto bytes = std::make_shared<std::string>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  auto next = std::make_shared<size_t>(0);
  return [bytes, next] {
    return DecodeKey([&] { return *next < bytes->size() ? static_cast<unsigned char>((*bytes)[(*next)++]) : -1; });
  };
}

int OpenJogCutter(const Choices& given, const std::string& iniPath, JogCutter& cutter) {
  CutterTarget target;
  if (const int refused = FindCutterTarget(given, iniPath, target)) return refused;
  if (const int refused = RefuseTarget(target)) return refused;
  PrintSettingsWarnings(target.remembered, target.iniPath);
  const CutterModel& model = ModelTable[target.model];
  if (GetPortSettings(model.ProtocolNumber, target.port, target.usbSerialPort).mode == MODE_VENDOR_USB) {
    return Fail(std::string("plotgate: the head is jogged on serial lines only; ") + model.name +
                " cutters take jobs through the maker's USB link (VORN_USB)");
  }
  cutter.model = target.model;
  cutter.port = PortWithDevice(target.port);
  cutter.iniPath = target.iniPath;
  cutter.used = target.used;
  if (const int unread = ReadLaserOffset(target.iniPath, target.model, cutter.laserOffset)) return unread;
  return OpenCutter(cutter.session, model, target.port, target.usbSerialPort);
}

SendOutcome RunJogKeys(CJogSession& jog, const std::function<int()>& keys, const std::function<bool(int key)>& other) {
  for (;;) {
    const int key = keys();
    if (key == KEY_END || key == 'q' || key == CTRL_C) return SEND_DONE;
    const IntPoint before = jog.Head();
    SendOutcome sent = SEND_DONE;
    switch (key) {
      case KEY_UP: sent = jog.Arrow(JOG_UP); break;
      case KEY_DOWN: sent = jog.Arrow(JOG_DOWN); break;
      case KEY_RIGHT: sent = jog.Arrow(JOG_RIGHT); break;
      case KEY_LEFT: sent = jog.Arrow(JOG_LEFT); break;
      case '[':
      case ']':
        key == '[' ? jog.StepDown() : jog.StepUp();
        printf("step %g mm\n", jog.Step() / double(PLOT_UNITS_PER_MM));
        continue;
      default:
        if (!other(key)) return SEND_DONE;
        continue;
    }
    if (sent != SEND_DONE) return sent;
    if (jog.Head().x != before.x || jog.Head().y != before.y) printf("head at %s\n", PlaceText(jog.Head()).c_str());
  }
}

int JogFailure(const JogCutter& cutter, SendOutcome outcome) {
  if (outcome == SEND_CANCELLED) {
    fprintf(stderr, "plotgate: interrupted\n");
    return EXIT_INTERRUPTED;
  }
  return Fail("plotgate: writing to " + cutter.port + ": " + WriteFailureReason(cutter.session));
}

int JogToMarks(const CPlotJob& job, const Choices& given, const std::string& iniPath, const std::function<int()>& keys,
               RegistrationRecord& record) {
  JogCutter cutter;
  if (const int failed = OpenJogCutter(given, iniPath, cutter)) return failed;
  CJogSession jog(cutter.session, ModelTable[cutter.model]);
  CMarkJog marks(job.m_marks, cutter.laserOffset);
  printf(
      "Jog the %s onto each mark: the arrows move the head, [ and ] change the step, 1 to 4 choose the mark, g goes "
      "to it, Enter sets it, q ends.\n",
      cutter.laserOffset.x || cutter.laserOffset.y ? "laser dot" : "knife tip");
  fflush(stdout);
  SendOutcome sent = jog.Start();
  SendOutcome moved = SEND_DONE;  // of the last go to a mark
  int chosen = 1;
  if (sent == SEND_DONE) {
    sent = RunJogKeys(jog, keys, [&](int key) {
      if (key >= '1' && key <= '0' + MAX_MARKS) {
        chosen = key - '0';
        printf("mark %d%s\n", chosen, marks.HasMark(chosen) ? "" : ": the drawing has no such mark");
      } else if (key == 'g') {
        IntPoint head = {0, 0};
        if (!marks.HeadForMark(chosen, head)) {
          printf("mark %d: set a mark first, so that its place can be predicted\n", chosen);
          return true;
        }
        moved = jog.MoveTo(head);
        if (moved != SEND_DONE) return false;
        printf("head at %s\n", PlaceText(jog.Head()).c_str());
      } else if (key == KEY_ENTER) {
        if (marks.Set(jog, chosen)) printf("%s\n", marks.MarkText(chosen).c_str());
      }
      fflush(stdout);
      return true;
    });
  }
  if (sent == SEND_DONE) sent = moved;
  if (sent == SEND_DONE) sent = jog.End();
  if (sent != SEND_DONE) return JogFailure(cutter, sent);

  record.laserOffset = cutter.laserOffset;
  record.marks = marks.Measured();
  const std::string missing = MissingMarksProblem(record.marks);
  return missing.empty() ? 0 : Fail("plotgate: " + missing + "; nothing was saved");
}
