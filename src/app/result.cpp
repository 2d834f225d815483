#include "app/result.h"

Problem fail(Failure kind, std::string message, std::string file) {
  Problem failed;
  failed.kind = kind;
  failed.message = std::move(message);
  failed.file = std::move(file);
  return failed;
}

std::string located(const Problem& failed) {
  if (failed.line > 0) return "line " + std::to_string(failed.line) + ": " + failed.message;
  if (failed.byte >= 0) return "byte " + std::to_string(failed.byte) + ": " + failed.message;
  return failed.message;
}
