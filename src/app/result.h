#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

// What went wrong, for callers to branch on; the words of a problem are for people only.
enum class Failure {
  Missing,          // nothing at the path
  CannotOpen,       // there, but it (or its folder, or a place beside it) cannot be opened
  NotAFile,         // a folder, named pipe or device where a file should be
  CannotRead,       // opened, but reading it failed
  TooLarge,         // more bytes than the reader takes
  CannotWrite,      // opened, but the bytes could not all be written
  Refused,          // left alone on purpose: a file that may not be replaced, a copy over itself
  Empty,            // nothing in it, where something was needed
  UnknownRecord,    // a record whose code no kind has
  Malformed,        // cut short, or holding what its format does not allow
  MissingResource,  // an image, sound or font the game cannot load
  MissingSheet,     // a sheet's picture the game cannot load
  MissingFrame,     // a sheet with fewer pictures than the game asks for
};

// A failure: its kind, what is wrong in the reader's or writer's own words, and where: the file,
// and the line (from 1) or the byte (from 0) of the first problem when they are known.
struct Problem {
  Failure kind = Failure::Malformed;
  std::string message;
  std::string file;
  int line = 0;         // 0: not known
  long long byte = -1;  // -1: not known
  // More for the player: where reading stopped and why ("it stops at byte 0: unknown record
  // 'ga'"), the system's reason a level could not be written, the kind of thing found instead
  // of a file ("a folder").
  std::string detail;
};

Problem fail(Failure kind, std::string message, std::string file = "");
// The message with its line or byte before it, as a reader reports it: "line 3: ...", "byte 12: ...".
std::string located(const Problem& failed);

// The value an operation gives (a file's bytes, a decoded replay, a compiled level) or the
// problem that kept it from giving one. Loads, saves, decodes and parses all answer with one.
template <typename T = void>
class Result {
 public:
  // Implicit both ways, so that a function returns its value or its problem as it is.
  // cppcheck-suppress noExplicitConstructor
  Result(T value) : outcome_(std::in_place_index<0>, std::move(value)) {}
  // cppcheck-suppress noExplicitConstructor
  Result(Problem failed) : outcome_(std::in_place_index<1>, std::move(failed)) {}

  bool ok() const { return outcome_.index() == 0; }
  const T& value() const { return std::get<0>(outcome_); }
  T& value() { return std::get<0>(outcome_); }
  const Problem& problem() const { return std::get<1>(outcome_); }
  Failure kind() const { return problem().kind; }

 private:
  std::variant<T, Problem> outcome_;
};

// An operation that gives nothing but its success.
template <>
class Result<void> {
 public:
  Result() = default;
  // cppcheck-suppress noExplicitConstructor
  Result(Problem failed) : problem_(std::move(failed)) {}

  bool ok() const { return !problem_; }
  const Problem& problem() const { return *problem_; }
  Failure kind() const { return problem_->kind; }

 private:
  std::optional<Problem> problem_;
};
