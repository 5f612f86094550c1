// Fewest-move solutions stored as text, one line a stage, and their replay through the rules.
#include "tools/solve/solution_text.h"

#include <sstream>
#include <stdexcept>

#include "game/rules/rules.h"

namespace solve {

std::string formatSolution(int stage, const std::vector<Move>& moves) {
  std::ostringstream out;
  out << "stage " << stage << " moves " << moves.size() << ":";
  for (size_t i = 0; i < moves.size(); ++i) {
    out << (i ? "; " : " ") << moves[i].x << ',' << moves[i].y << ' '
        << directionName(moves[i].dx, moves[i].dy);
  }
  return out.str();
}

namespace {

[[noreturn]] void bad(int lineNo, const std::string& why) {
  throw std::runtime_error("line " + std::to_string(lineNo) + ": " + why);
}

Move parseMove(const std::string& text) {
  std::istringstream in(text);
  Move m;
  char comma = 0;
  std::string dir, rest;
  if (!(in >> m.x >> comma >> m.y >> dir) || comma != ',' || (in >> rest))
    throw std::runtime_error("bad move \"" + text + "\"");
  if (m.x < 0 || m.x > 9 || m.y < 0 || m.y > 9) throw std::runtime_error("cell outside the field");
  if (!parseDirection(dir, &m.dx, &m.dy))
    throw std::runtime_error("unknown direction \"" + dir + "\"");
  return m;
}

}  // namespace

std::vector<Move> parseMoveList(const std::string& text) {
  std::vector<Move> moves;
  std::istringstream body(text);
  std::string move;
  while (std::getline(body, move, ';'))
    if (move.find_first_not_of(" \t") != std::string::npos) moves.push_back(parseMove(move));
  return moves;
}

std::vector<StoredSolution> parseSolutions(const std::string& text) {
  std::vector<StoredSolution> out;
  std::istringstream lines(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(lines, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
    const size_t colon = line.find(':');
    if (colon == std::string::npos) bad(lineNo, "no colon");
    std::istringstream head(line.substr(0, colon));
    std::string w1, w2, rest;
    StoredSolution s;
    size_t count = 0;
    if (!(head >> w1 >> s.stage >> w2 >> count) || w1 != "stage" || w2 != "moves" || (head >> rest))
      bad(lineNo, "expected \"stage N moves M:\"");
    if (s.stage < 1 || s.stage > common::kStageCount) bad(lineNo, "stage number out of range");
    try {
      s.moves = parseMoveList(line.substr(colon + 1));
    } catch (const std::runtime_error& e) {
      bad(lineNo, e.what());
    }
    if (s.moves.size() != count) bad(lineNo, "move count does not match");
    out.push_back(std::move(s));
  }
  return out;
}

std::string replay(const common::StageSet& set, const StoredSolution& solution) {
  rules::PlayState ps;
  ps.loadStage(set, solution.stage);
  ps.numberPieces();
  if (ps.isCleared()) return "the field is clear before any move";
  ps.turnPass();
  for (size_t i = 0; i < solution.moves.size(); ++i) {
    const Move& m = solution.moves[i];
    const std::string where = "move " + std::to_string(i + 1) + ": ";
    if (ps.activeX != m.x || ps.activeY != m.y) {
      return where + "the active piece stands at " + std::to_string(ps.activeX) + "," +
             std::to_string(ps.activeY);
    }
    ps.aimDX = static_cast<int16_t>(m.dx);
    ps.aimDY = static_cast<int16_t>(m.dy);
    if (!ps.moveAttempt()) return where + "refused";
    ps.arrive(ps.moveDistance());
    const bool last = i + 1 == solution.moves.size();
    if (ps.isCleared() != last) return where + (last ? "the field is not clear" : "cleared early");
    if (!last) ps.turnPass();
  }
  if (solution.moves.empty()) return "no moves and the field is not clear";
  return "";
}

}  // namespace solve
