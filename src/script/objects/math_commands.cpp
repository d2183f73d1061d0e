#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "resource/random_table.h"
#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/object_commands.h"

// The math object: results in ResultInt. Angles of sin and cos are in 1024ths
// of a full turn.
namespace mavu::script {
namespace {

using namespace arguments;

constexpr int32_t kDefaultRandomBound = 0xFFFFFF;
constexpr int32_t kFullTurn = 1024;
constexpr double kTanDivisor = 180.0;
constexpr double kDegreesPerTurn = 360.0;

// Rounded half away from zero into 32 bits; a result beyond them is held at
// the nearest end, and one that is not a number gives 0.
int32_t RoundToInt32(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLow = std::numeric_limits<int32_t>::min();
  constexpr double kHigh = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::clamp(std::round(value), kLow, kHigh));
}

double TurnRadians(int32_t angle) {
  const int32_t turned = ((angle % kFullTurn) + kFullTurn) % kFullTurn;
  return turned * 2.0 * std::numbers::pi / kFullTurn;
}

bool Result(const Command& command, int32_t value) {
  SetResultInt(command, value);
  return true;
}

// rnd[,n]: the next value of the random table bounded by n.
bool Random(const Command& command) {
  const int32_t bound = Has(command, 1) ? Integer(command, 1) : kDefaultRandomBound;
  return Result(command, resource::TheRandomTable().Draw(bound));
}

bool Sine(const Command& command) {
  return Result(command,
                RoundToInt32(std::sin(TurnRadians(Integer(command, 1))) * Integer(command, 2)));
}

bool Cosine(const Command& command) {
  return Result(command,
                RoundToInt32(std::cos(TurnRadians(Integer(command, 1))) * Integer(command, 2)));
}

// tan takes the angle divided by 180 as radians, as games written for it expect.
bool Tangent(const Command& command) {
  return Result(command,
                RoundToInt32(std::tan(Integer(command, 1) / kTanDivisor) * Integer(command, 2)));
}

// atan,a,b: the direction of the vector (a, b) in whole degrees, 0 to 359,
// counted from the positive a axis towards the positive b axis.
bool Arctangent(const Command& command) {
  const double radians = std::atan2(Integer(command, 2), Integer(command, 1));
  int32_t degrees = RoundToInt32(radians * kDegreesPerTurn / (2.0 * std::numbers::pi));
  if (degrees < 0) degrees += static_cast<int32_t>(kDegreesPerTurn);
  return Result(command, degrees % static_cast<int32_t>(kDegreesPerTurn));
}

// 32-bit arithmetic wraps, as script arithmetic does.
bool Absolute(const Command& command) {
  const int32_t n = Integer(command, 1);
  const uint32_t bits = static_cast<uint32_t>(n);
  return Result(command, static_cast<int32_t>(n < 0 ? 0u - bits : bits));
}

bool Square(const Command& command) {
  const uint32_t n = static_cast<uint32_t>(Integer(command, 1));
  return Result(command, static_cast<int32_t>(n * n));
}

// The root of a negative number is taken as 0.
bool SquareRoot(const Command& command) {
  const int32_t n = Integer(command, 1);
  return Result(command, n <= 0 ? 0 : RoundToInt32(std::sqrt(static_cast<double>(n))));
}

bool Power(const Command& command) {
  return Result(command, RoundToInt32(std::pow(static_cast<double>(Integer(command, 1)),
                                               static_cast<double>(Integer(command, 2)))));
}

// The smallest or largest of every argument; 0 without any.
template <typename Better>
bool Extreme(const Command& command, Better better) {
  int32_t best = Integer(command, 1);
  for (int i = 2; i < command.words.count; ++i) {
    const int32_t value = Integer(command, i);
    if (better(value, best)) best = value;
  }
  return Result(command, best);
}

bool Minimum(const Command& command) {
  return Extreme(command, std::less<int32_t>());
}

bool Maximum(const Command& command) {
  return Extreme(command, std::greater<int32_t>());
}

}  // namespace

void RegisterMathCommands(CommandTable& table) {
  constexpr uint8_t kMath = KindNumber(ObjectKind::kMath);
  table.AddObjectCommand(kMath, "rnd", Random);
  table.AddObjectCommand(kMath, "sin", Sine);
  table.AddObjectCommand(kMath, "cos", Cosine);
  table.AddObjectCommand(kMath, "tan", Tangent);
  table.AddObjectCommand(kMath, "atan", Arctangent);
  table.AddObjectCommand(kMath, "abs", Absolute);
  table.AddObjectCommand(kMath, "sqr", Square);
  table.AddObjectCommand(kMath, "sqrt", SquareRoot);
  table.AddObjectCommand(kMath, "pow", Power);
  table.AddObjectCommand(kMath, "min", Minimum);
  table.AddObjectCommand(kMath, "max", Maximum);
}

}  // namespace mavu::script
