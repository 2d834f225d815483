#include "app/load_failure.h"

namespace {
LoadFailureHandler installedHandler = nullptr;
}

// A file that could not be opened for writing says why; one that could not be read is named.
std::string plainLoadFailure(const Problem& failure) {
  const std::string& path = failure.file;
  switch (failure.kind) {
    case Failure::Missing:
    case Failure::CannotOpen:
    case Failure::CannotRead:
    case Failure::TooLarge:
    case Failure::Refused:
      if (!failure.detail.empty()) return path + " cannot be written: " + failure.detail + ".";
      return path + " cannot be opened (it or its folder is missing, or access is refused).";
    case Failure::NotAFile:
      return path + " is " + failure.detail + ", not a file the game reads.";
    case Failure::CannotWrite:
      return path + " could not be written: " +
             (failure.detail.empty() ? "the disk may be full or the file read-only" : failure.detail) + ".";
    case Failure::Empty:
      return path + " is empty.";
    case Failure::UnknownRecord:
    case Failure::Malformed:
      return path + " is not a level file (" + failure.detail + ").";
    case Failure::MissingResource:
    case Failure::MissingSheet:
      return path + " cannot be loaded: it is missing or not a picture or font the game reads.";
    case Failure::MissingFrame:
      return path + " holds fewer pictures than the game needs.";
  }
  return "";
}

std::vector<std::string> loadFailureLines(const Problem& failure) {
  return {plainLoadFailure(failure), failure.message};
}

void setLoadFailureHandler(LoadFailureHandler handler) { installedHandler = handler; }

void reportLoadFailure(const Problem& failure) {
  if (installedHandler) installedHandler(failure);
}
