#include "app/load_result.h"

namespace {
LoadFailureHandler installedHandler = nullptr;
}

LoadResult loadFailure(LoadError error, std::string path, std::string message, bool endsLine) {
  return LoadResult{error, std::move(path), std::move(message), "", endsLine};
}

std::string plainLoadFailure(const LoadResult& failure) {
  const std::string& path = failure.path;
  switch (failure.error) {
    case LoadError::None:
      return "";
    case LoadError::CannotOpen:
      if (!failure.detail.empty()) return path + " cannot be written: " + failure.detail + ".";
      return path + " cannot be opened (it or its folder is missing, or access is refused).";
    case LoadError::NotAFile:
      return path + " is " + failure.detail + ", not a file the game reads.";
    case LoadError::CannotWrite:
      return path + " could not be written: " +
             (failure.detail.empty() ? "the disk may be full or the file read-only" : failure.detail) + ".";
    case LoadError::EmptyFile:
      return path + " is empty.";
    case LoadError::UnknownRecord:
    case LoadError::MalformedRecord:
      return path + " is not a level file (" + failure.detail + ").";
    case LoadError::MissingResource:
      return path + " cannot be loaded: it is missing or not a picture or font the game reads.";
    case LoadError::MissingFrame:
      return path + " holds fewer pictures than the game needs.";
  }
  return "";
}

std::vector<std::string> loadFailureLines(const LoadResult& failure) {
  return {plainLoadFailure(failure), failure.message};
}

void setLoadFailureHandler(LoadFailureHandler handler) { installedHandler = handler; }

void reportLoadFailure(const LoadResult& failure) {
  if (installedHandler) installedHandler(failure);
}
