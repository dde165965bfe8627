#include "cutter/JogSession.h"

#include <algorithm>

#include "cutter/SendSession.h"
#include "pipeline/CommandDialect.h"

IntPoint Reachable(int64_t first, int64_t second) {
  const auto within = [](int64_t c) {
    return static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(c, 0), JOG_MAX_UNITS));
  };
  return IntPoint{within(first), within(second)};
}

CJogSession::CJogSession(CSendSession& session, const CutterModel& model)
    : CJogSession(DialectOfProtocol(model.ProtocolNumber),
                  [&session](const std::string& bytes) { return session.StreamBytes(bytes, [](int) {}); }) {}

CJogSession::CJogSession(int dialect, Sink sink) : m_dialect(dialect), m_sink(std::move(sink)) {}

SendOutcome CJogSession::Start(const ToolSettings& tool) {
  const DialectStrings& strings = StringsFor(m_dialect);
  char origin[COMMAND_TEXT_MAX];
  return SendCommands(
      HeaderText(strings, tool) + std::string(origin, FormatCommand(origin, strings, KIND_PEN_UP, 0, 0)),
      IntPoint{0, 0});
}

SendOutcome CJogSession::SendCommands(const std::string& commands, IntPoint at) {
  const SendOutcome sent = m_sink(commands);
  if (sent == SEND_DONE) m_head = at;
  return sent;
}

SendOutcome CJogSession::Arrow(JogArrow arrow) {
  int64_t first = m_head.x, second = m_head.y;
  switch (arrow) {
    case JOG_UP: first += Step(); break;
    case JOG_DOWN: first -= Step(); break;
    case JOG_RIGHT: second -= Step(); break;
    case JOG_LEFT: second += Step(); break;
  }
  return MoveTo(Reachable(first, second));
}

SendOutcome CJogSession::MoveTo(IntPoint to) {
  to = Reachable(to.x, to.y);
  if (to.x == m_head.x && to.y == m_head.y) return SEND_DONE;
  char command[COMMAND_TEXT_MAX];
  const SendOutcome sent =
      m_sink(std::string(command, FormatCommand(command, StringsFor(m_dialect), KIND_PEN_UP, to.x, to.y)));
  if (sent == SEND_DONE) m_head = to;
  return sent;
}

SendOutcome CJogSession::End() { return m_sink(StringsFor(m_dialect).terminator); }

void CJogSession::StepUp() { SetStep(m_step + 1); }

void CJogSession::StepDown() { SetStep(m_step - 1); }

void CJogSession::SetStep(int index) { m_step = std::min(std::max(index, 0), JOG_STEP_COUNT - 1); }
